#include "tool/maptool.h"

#include "art/tileart.h"
#include "document/mapfile.h"
#include "document/mapreading.h"
#include "document/mapwarnings.h"
#include "system/safewriter.h"
#include "view/mappicture.h"
#include "view/viewgeometry.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <memory>
#include <sys/stat.h>

namespace quintaraz {

namespace {

struct Command {
    const char* name;
    const char* arguments; // as the usage line shows them
    const char* description;
};

constexpr std::array<Command, 4> commands{{
    {"check", "[--strict] ARCHIVO...",
     "Dice de cada archivo si el editor lo abre y, si no, por qué y dónde; avisa de lo que "
     "un juego puede no esperar. Sale con 0 si todos se abren (con --strict, y sin "
     "avisos), con 1 si no."},
    {"render", "ARCHIVO SALIDA.png [--cell N]",
     "Dibuja el mapa entero, cada celda y cada comienzo, con los dibujos del editor, a N "
     "píxeles por celda (de 1 a 100; 25 si no se dice)."},
    {"info", "ARCHIVO [--json]",
     "Muestra el tamaño, cuántas celdas hay de cada terreno y "
     "dónde comienza cada jugador."},
    {"thumbnail", "ARCHIVO SALIDA.png TAMAÑO",
     "Una vista previa en PNG cuyo lado mayor mide a lo sumo TAMAÑO píxeles, para los "
     "gestores de archivos. Si el archivo no es un mapa, no escribe nada y sale con 1."},
}};

const Command* findCommand(const QString& name)
{
    for (const Command& command : commands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

// The terrains' names as keys of the JSON output: plain ASCII for scripts.
const std::array<const char*, terrainCount> terrainKeys{
    "hierba", "roca", "agua", "arbol", "parcela_de_tierra", "tierra_desnuda"};

/** The image as PNG, in memory; nothing when it could not be encoded. */
QByteArray encodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return !image.isNull() && QImageWriter(&buffer, "png").write(image) ? bytes : QByteArray();
}

/** Whether a file begins as every PNG does. */
bool isPng(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArrayView("\x89PNG\r\n\x1a\n", 8);
}

/**
 * Why the picture of map must not be written at png, or nothing: a picture replaces
 * nothing but an empty file or another picture, and never the map it shows.
 */
QString outputProblem(const QString& png, const QString& map)
{
    struct stat output {};
    if (::stat(QFile::encodeName(png).constData(), &output) != 0)
        return {}; // a new file, or a reason that the writer will give
    struct stat input {};
    if (::stat(QFile::encodeName(map).constData(), &input) == 0 && input.st_dev == output.st_dev &&
        input.st_ino == output.st_ino)
        return QStringLiteral("es el propio mapa; no se sobrescribe");
    if (!S_ISREG(output.st_mode))
        return QStringLiteral("no es un archivo normal; no se sobrescribe");
    if (output.st_size > 0 && !isPng(png))
        return QStringLiteral("ya existe y no es un PNG; no se sobrescribe");
    return {};
}

} // namespace

MapTool::MapTool(QTextStream& out, QTextStream& err)
    : out_(out)
    , err_(err)
{
}

int MapTool::run(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        out_ << "Uso: quintaraz-map ORDEN ...\n\n"
                "Comprueba, dibuja y describe mapas de Quintaraz (archivos .map) con el lector "
                "y los dibujos del editor.\n\nÓrdenes:\n";
        for (const Command& command : commands)
            out_ << "  quintaraz-map " << command.name << ' ' << command.arguments << '\n';
        out_ << "\n«quintaraz-map ORDEN --help» explica cada orden.\n";
        return 0;
    }
    if (name == QLatin1String("--version")) {
        out_ << "quintaraz-map " << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    const QStringList rest = QStringList{arguments.value(0)} + arguments.mid(2);
    if (name == QLatin1String("check"))
        return check(rest);
    if (name == QLatin1String("render"))
        return render(rest);
    if (name == QLatin1String("info"))
        return info(rest);
    if (name == QLatin1String("thumbnail"))
        return thumbnail(rest);
    return usageError(QString(), name.isEmpty()
                                     ? QStringLiteral("falta la orden")
                                     : QStringLiteral("no hay ninguna orden «%1»").arg(name));
}

int MapTool::usageError(const QString& command, const QString& problem)
{
    err_ << "quintaraz-map: " << problem << '\n';
    if (const Command* known = findCommand(command))
        err_ << "Uso: quintaraz-map " << known->name << ' ' << known->arguments << '\n';
    else
        err_ << "Uso: quintaraz-map check|render|info|thumbnail ... (véase --help)\n";
    return 2;
}

namespace {

/**
 * A command's own parser: its options, --help, and its arguments checked against the
 * counts it takes. Gives the exit status to return at once, if any.
 */
class CommandLine {
public:
    CommandLine(const Command& command, QTextStream& out)
        : command_(command)
        , out_(out)
    {
        parser_.addOption(help_);
    }

    void addOption(const QCommandLineOption& option)
    {
        parser_.addOption(option);
        options_.append(option);
    }
    QCommandLineParser& parser() { return parser_; }

    /** The problem with the arguments, or nothing; --help prints the command's help. */
    QString parse(const QStringList& arguments, int least, int most)
    {
        if (!parser_.parse(arguments))
            return parser_.errorText();
        if (parser_.isSet(help_)) {
            helped_ = true;
            out_ << "Uso: quintaraz-map " << command_.name << ' ' << command_.arguments << "\n\n"
                 << QString::fromUtf8(command_.description) << "\n\nOpciones:\n";
            for (const QCommandLineOption& option : options_)
                out_ << "  --" << option.names().constFirst()
                     << (option.valueName().isEmpty() ? QString() : ' ' + option.valueName())
                     << "  " << option.description() << '\n';
            out_ << "  -h, --help  Muestra esta ayuda.\n";
            return {};
        }
        const int count = int(parser_.positionalArguments().size());
        if (count < least)
            return QStringLiteral("faltan argumentos");
        if (most >= 0 && count > most)
            return QStringLiteral("sobra «%1»").arg(parser_.positionalArguments().at(most));
        return {};
    }

    bool helped() const { return helped_; }
    QStringList files() const { return parser_.positionalArguments(); }

private:
    const Command& command_;
    QTextStream& out_;
    QCommandLineParser parser_;
    const QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}};
    QList<QCommandLineOption> options_;
    bool helped_ = false;
};

/** The map of a file, read as the editor reads it; large, so kept on the heap. */
struct OpenedMap {
    MapReading reading;
    MapDocument document;
};

} // namespace

int MapTool::check(const QStringList& arguments)
{
    CommandLine line(*findCommand(QStringLiteral("check")), out_);
    const QCommandLineOption strict(QStringLiteral("strict"),
                                    QStringLiteral("Los avisos también cuentan como fallo."));
    line.addOption(strict);
    if (const QString problem = line.parse(arguments, 1, -1); !problem.isEmpty())
        return usageError(QStringLiteral("check"), problem);
    if (line.helped())
        return 0;
    int status = 0;
    for (const QString& file : line.files()) {
        // The name without its folder, as the editor's dialog gives it.
        if (!hasMapExtension(file.mid(file.lastIndexOf(u'/') + 1))) {
            out_ << file << ": el nombre no termina en .map y el editor no lo abre\n";
            status = 1;
            continue;
        }
        const MapReading reading = readMapFile(file);
        if (reading.outcome != LoadOutcome::Loaded) {
            out_ << file << ": " << describeReading(reading) << '\n';
            status = 1;
            continue;
        }
        // One string, written once: a collection of maps is mostly lines like this one.
        out_ << file + QStringLiteral(": correcto (") + QString::number(reading.columns()) +
                    QStringLiteral(" x ") + QString::number(reading.rows()) +
                    QStringLiteral(", 8 comienzos)\n");
        const QStringList warnings = mapWarnings(reading);
        for (const QString& warning : warnings)
            out_ << "  aviso: " << warning << '\n';
        if (line.parser().isSet(strict) && !warnings.isEmpty())
            status = 1;
    }
    return status;
}

int MapTool::render(const QStringList& arguments)
{
    CommandLine line(*findCommand(QStringLiteral("render")), out_);
    const QCommandLineOption cell(QStringLiteral("cell"),
                                  QStringLiteral("Píxeles por celda, de 1 a 100."),
                                  QStringLiteral("N"), QString::number(cellSize));
    line.addOption(cell);
    if (const QString problem = line.parse(arguments, 2, 2); !problem.isEmpty())
        return usageError(QStringLiteral("render"), problem);
    if (line.helped())
        return 0;
    bool number = false;
    const int size = line.parser().value(cell).toInt(&number);
    if (!number || size < 1 || size > 100)
        return usageError(QStringLiteral("render"),
                          QStringLiteral("--cell pide un número de 1 a 100"));
    return drawToPng(line.files().at(0), line.files().at(1), Output::Replacing,
                     [size](const MapPicture& picture, const MapDocument& document) {
                         return picture.render(document, size);
                     });
}

int MapTool::drawToPng(const QString& map, const QString& png, Output output,
                       const std::function<QImage(const MapPicture&, const MapDocument&)>& draw)
{
    const auto fail = [this](const QString& file, const QString& problem) {
        err_ << "quintaraz-map: " << file << ": " << problem << '\n';
        return 1;
    };
    if (const QString problem = outputProblem(png, map); !problem.isEmpty())
        return fail(png, problem);
    const auto opened = std::make_unique<OpenedMap>();
    opened->reading = readMapFile(map);
    if (opened->reading.outcome != LoadOutcome::Loaded)
        return fail(map, describeReading(opened->reading));
    takeMap(opened->reading, opened->document);
    const TileArt art;
    const QByteArray bytes = encodePng(draw(MapPicture(art), opened->document));
    if (bytes.isEmpty())
        return fail(png, QStringLiteral("no hay memoria para el dibujo"));
    QString problem;
    const bool written = output == Output::InPlace ? writeFileInPlace(png, bytes, &problem)
                                                   : writeFileSafely(png, bytes, &problem);
    return written ? 0 : fail(png, problem);
}

int MapTool::info(const QStringList& arguments)
{
    CommandLine line(*findCommand(QStringLiteral("info")), out_);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas."));
    line.addOption(json);
    if (const QString problem = line.parse(arguments, 1, 1); !problem.isEmpty())
        return usageError(QStringLiteral("info"), problem);
    if (line.helped())
        return 0;
    const QString file = line.files().at(0);
    const MapReading reading = readMapFile(file);
    if (reading.outcome != LoadOutcome::Loaded) {
        err_ << "quintaraz-map: " << file << ": " << describeReading(reading) << '\n';
        return 1;
    }
    std::array<int, terrainCount> counts{};
    int unknown = 0;
    for (int k = 0; k < reading.columns() * reading.rows(); ++k) {
        const int terrain = reading.terrain[k];
        if (isTerrain(terrain))
            ++counts[terrain];
        else
            ++unknown;
    }
    if (line.parser().isSet(json)) {
        QJsonObject terrains;
        for (int t = 0; t < terrainCount; ++t)
            terrains[QLatin1String(terrainKeys[t])] = counts[t];
        terrains[QLatin1String("desconocido")] = unknown;
        QJsonArray starts;
        for (int g = 0; g < playerCount; ++g)
            starts.append(QJsonObject{{QStringLiteral("jugador"), g + 1},
                                      {QStringLiteral("columna"), reading.starts[g].x},
                                      {QStringLiteral("fila"), reading.starts[g].y}});
        const QJsonObject report{{QStringLiteral("archivo"), file},
                                 {QStringLiteral("columnas"), reading.columns()},
                                 {QStringLiteral("filas"), reading.rows()},
                                 {QStringLiteral("terreno"), terrains},
                                 {QStringLiteral("comienzos"), starts}};
        out_ << QJsonDocument(report).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    out_ << file << '\n'
         << "  tamaño: " << reading.columns() << " x " << reading.rows()
         << " celdas (Ancho = " << reading.maxwidth << ", Alto = " << reading.maxheight << ")\n"
         << "  terreno:";
    for (int t = 0; t < terrainCount; ++t)
        out_ << (t ? ", " : " ") << QString::fromUtf8(terrainNames[t]).toLower() << ' '
             << counts[t];
    if (unknown > 0)
        out_ << ", desconocido " << unknown;
    out_ << '\n';
    for (int g = 0; g < playerCount; ++g)
        out_ << "  jugador " << g + 1 << ": columna " << reading.starts[g].x << ", fila "
             << reading.starts[g].y << '\n';
    return 0;
}

int MapTool::thumbnail(const QStringList& arguments)
{
    CommandLine line(*findCommand(QStringLiteral("thumbnail")), out_);
    if (const QString problem = line.parse(arguments, 3, 3); !problem.isEmpty())
        return usageError(QStringLiteral("thumbnail"), problem);
    if (line.helped())
        return 0;
    bool number = false;
    const int size = line.files().at(2).toInt(&number);
    if (!number || size < 1 || size > 4096)
        return usageError(QStringLiteral("thumbnail"),
                          QStringLiteral("TAMAÑO pide un número de 1 a 4096"));
    // A preview service may hold the output file open and read it afterwards: the picture
    // goes into that file, not into a new one renamed over it.
    return drawToPng(line.files().at(0), line.files().at(1), Output::InPlace,
                     [size](const MapPicture& picture, const MapDocument& document) {
                         return picture.thumbnail(document, size);
                     });
}

} // namespace quintaraz
