// gallery: a static site of a collection of maps, an index and a page for each map, made
// and kept up to date by GallerySite; here its command line and what it says.

#include "maptool/balanceoptions.h"
#include "maptool/commandparser.h"
#include "maptool/gallerysite.h"
#include "maptool/gallerysources.h"
#include "maptool/toolcontext.h"
#include "system/filenames.h"

#include <QCoreApplication>

#include <unistd.h>

namespace quintaraz {

namespace {

/** balance's options that give these settings, as a person types them; defaults left out. */
QStringList verdictArguments(const BalanceSettings& settings)
{
    const BalanceSettings defaults;
    QStringList arguments;
    if (settings.radius != defaults.radius)
        arguments << QStringLiteral("--radius") << QString::number(settings.radius);
    if (settings.threshold != defaults.threshold)
        arguments << QStringLiteral("--threshold") << QString::number(settings.threshold);
    if (settings.blocking != defaults.blocking) {
        QStringList terrains;
        for (int t = 0; t < terrainCount; ++t)
            if (settings.blocking[std::size_t(t)])
                terrains << QString::number(t);
        arguments << QStringLiteral("--blocking")
                  << (terrains.isEmpty() ? QStringLiteral("''") : terrains.join(u','));
    }
    return arguments;
}

/** "1 mapa", "2 mapas". */
QString counted(qsizetype count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

/**
 * How far a long run has come, on a terminal only: one line written over itself, cleared at
 * the end. A log (standard error that is no terminal) gets none of it.
 */
class ProgressLine {
public:
    explicit ProgressLine(QTextStream& err)
        : err_(err)
        , shown_(::isatty(STDERR_FILENO) == 1)
    {
    }
    ~ProgressLine()
    {
        if (shown_ && written_) {
            err_ << "\r\x1b[K";
            err_.flush();
        }
    }

    void show(int done, int total)
    {
        if (!shown_)
            return;
        err_ << "\r\x1b[Kquintaraz-map gallery: mapa " << done << " de " << total;
        err_.flush();
        written_ = true;
    }

private:
    QTextStream& err_;
    const bool shown_;
    bool written_ = false;
};

ExitStatus gallery(ToolContext& tool, CommandParser& line)
{
    const QCommandLineOption output = line.option(
        QStringLiteral("output"),
        QStringLiteral("La carpeta del sitio, que hace falta: una nueva o vacía, o la de una "
                       "galería anterior."),
        QStringLiteral("CARPETA"));
    const QCommandLineOption title =
        line.option(QStringLiteral("title"), QStringLiteral("El título de la galería."),
                    QStringLiteral("TEXTO"), QStringLiteral("Galería de mapas"));
    const QCommandLineOption force =
        line.flag(QStringLiteral("force"),
                  QStringLiteral("Escribe el sitio también en una carpeta que ya existe y no es "
                                 "de una galería; lo que ya tiene y no es del sitio se queda."));
    const BalanceOptions verdict(line);
    if (const std::optional<ExitStatus> done = line.parse())
        return *done;
    const std::optional<BalanceSettings> settings = verdict.read();
    if (!settings)
        return ExitStatus::Usage;
    const QString folder = line.value(output);
    if (folder.isEmpty())
        return line.usageError(QStringLiteral("falta --output CARPETA, la carpeta del sitio"));

    GallerySettings options;
    options.balance = *settings;
    options.verdictArguments = verdictArguments(*settings);
    options.title = line.value(title);
    options.force = line.isSet(force);
    options.version = QCoreApplication::applicationVersion();
    GalleryRun run;
    {
        ProgressLine progress(tool.err());
        run = GallerySite(folder, options)
                  .build(gallerySources(line.files()),
                         [&](int done, int total) { progress.show(done, total); });
    }
    for (const MapSummary& file : run.files)
        if (!file.isMap())
            tool.trouble(file.name, file.problem);
    if (!run.written)
        return tool.trouble(run.failedFile, run.problem);
    const qsizetype maps = run.files.size() - run.notMaps();
    QString said = QStringLiteral("%1: %2, %3")
                       .arg(printableName(folder + QStringLiteral("/index.html")),
                            counted(maps, QStringLiteral("mapa"), QStringLiteral("mapas")),
                            counted(run.drawn.size(), QStringLiteral("dibujado"),
                                    QStringLiteral("dibujados")));
    if (!run.removed.isEmpty())
        said +=
            QStringLiteral(", ") + counted(run.removed.size(), QStringLiteral("archivo quitado"),
                                           QStringLiteral("archivos quitados"));
    if (run.notMaps() > 0)
        said +=
            QStringLiteral("; ") + counted(run.notMaps(), QStringLiteral("archivo no es un mapa"),
                                           QStringLiteral("archivos no son mapas"));
    tool.out() << said << '\n';
    return run.notMaps() > 0 ? ExitStatus::Trouble : ExitStatus::Success;
}

} // namespace

extern const CommandEntry galleryCommand{
    "gallery",
    "MAPA|CARPETA...",
    "Hace un sitio web estático con los mapas: un índice y una página por mapa.",
    "Hace en la carpeta de --output un sitio web estático de los mapas: index.html muestra\n"
    "cada mapa con su vista previa, su tamaño, su veredicto, su medida más débil y su razón\n"
    "y sus simetrías exactas, y se ordena y se filtra; cada mapa tiene su página con el mapa\n"
    "como lo dibuja render, su equilibrio como lo dibuja balance --picture, la clave de cada\n"
    "dibujo, las tablas de jugadores, medidas y simetrías, el archivo .map y las órdenes que\n"
    "dan lo mismo. Los archivos que no son mapas se listan con el motivo. Una CARPETA de\n"
    "mapas cuenta con todos sus archivos .map y los de sus carpetas, menos las de una\n"
    "galería. Los enlaces son relativos: el sitio funciona desde el disco, como artefacto de\n"
    "CI o en cualquier servidor estático.\n\n"
    "La carpeta de --output es de la galería: una que ya existe y tiene otras cosas no se\n"
    "toca sin --force. Otra vez sobre la misma carpeta, solo dibuja de nuevo los mapas que\n"
    "cambiaron (o las opciones, o la versión) y quita las páginas de los mapas que ya no\n"
    "están, y nada más. Se escribe todo o nada. --radius, --threshold y --blocking son los\n"
    "de balance.\n\n"
    "Sale con 0 si todos los archivos son mapas, con 2 si alguno no lo es (y se lista), si\n"
    "la salida no se puede escribir o si la orden no se entiende.",
    1,
    -1,
    &gallery};

} // namespace quintaraz
