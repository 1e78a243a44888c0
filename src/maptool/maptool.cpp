#include "maptool/maptool.h"

#include "art/tileart.h"
#include "map/mapfilename.h"
#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "map/newmap.h"
#include "map/problemtext.h"
#include "maptool/commandparser.h"
#include "maptool/mapreport.h"
#include "maptool/outputfiles.h"
#include "render/mappicture.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "tiled/tiledformat.h"
#include "tiled/tiledreader.h"
#include "tiled/tiledwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quintaraz {

const std::array<MapTool::Command, 13> MapTool::commands_{{
    {"check", "[--strict] [--json] ARCHIVO...",
     "Dice de cada archivo si el editor lo abre y, si no, por qué y dónde; avisa de lo que "
     "un juego puede no esperar. Sale con 0 si todos se abren (con --strict, y sin "
     "avisos), con 1 si no.",
     &MapTool::check},
    {"render", "ARCHIVO SALIDA.png [--cell N]",
     "Dibuja el mapa entero, cada celda y cada comienzo, con los dibujos del editor, a N "
     "píxeles por celda (de 1 a 100; 25 si no se dice).",
     &MapTool::render},
    {"info", "ARCHIVO [--json]",
     "Muestra el tamaño, cuántas celdas hay de cada terreno y dónde comienza cada jugador.",
     &MapTool::info},
    {"thumbnail", "ARCHIVO SALIDA.png TAMAÑO",
     "Una vista previa en PNG cuyo lado mayor mide a lo sumo TAMAÑO píxeles, para los "
     "gestores de archivos. Si el archivo no es un mapa, no escribe nada y sale con 1.",
     &MapTool::thumbnail},
    {"export", "[--force] ARCHIVO SALIDA.tmx|SALIDA.tmj",
     "Convierte el mapa al formato de Tiled (TMX, o JSON con .tmj): la capa de patrones "
     "«terreno» y la capa de objetos «comienzos» con un marcador por jugador, con los "
     "conjuntos de patrones instalados en ../share/quintaraz-editor/tiled junto al programa "
     "(o, si no están, con sus dibujos terrenos.png y jugadores.png junto a la salida). Un "
     "archivo que ya existe con otro "
     "contenido solo se reemplaza con --force; si algo falla, no queda ninguno nuevo.",
     &MapTool::exportMap},
    {"import", "[--json] ENTRADA.tmx|ENTRADA.tmj SALIDA.map",
     "Convierte un mapa de Tiled en un mapa del editor, con las mismas reglas con las que "
     "el editor lo guarda; dice qué falta y dónde si no se puede.",
     &MapTool::importMap},
    {"new", "[--force] COLUMNAS FILAS SALIDA.map|SALIDA.tmx|SALIDA.tmj",
     "Escribe un mapa nuevo de COLUMNAS x FILAS celdas (de 17 a 100), todo hierba, con el "
     "comienzo de cada jugador en una celda propia: un .map, o un mapa de Tiled como los de "
     "export. No reemplaza un archivo que ya existe con otro contenido sin --force.",
     &MapTool::newMap},
    {"grid", "ARCHIVO",
     "El mapa como texto para git (textconv): el tamaño, una línea por fila con un carácter "
     "por celda (el número de su terreno) y el comienzo de cada jugador, uno por línea. De un "
     "archivo que no es un mapa dice por qué y muestra sus primeros bytes, y sale con 0 para "
     "que git muestre todas las versiones. ARCHIVO puede ser una tubería, o «-» para la "
     "entrada estándar.",
     &MapTool::grid},
    {"diff", "[--json] [--picture SALIDA.png] VIEJO NUEVO",
     "Dice qué cambia de un mapa a otro: el tamaño, las celdas cambiadas en rectángulos con "
     "su terreno antes y después, y el comienzo de cada jugador que se mueve (el orden de los "
     "comienzos en el archivo es el jugador). VIEJO y NUEVO pueden ser tuberías, y uno de "
     "ellos «-», la entrada estándar. Sale con 0 si es el mismo mapa, con 1 si no, con 2 si "
     "un archivo no se puede leer. Dice también cómo cambia el equilibrio (véase balance).",
     &MapTool::diff},
    {"merge", "[--picture SALIDA.png] [--name NOMBRE] BASE NUESTRO SUYO",
     "Mezcla dos versiones de un mapa que vienen de BASE, celda a celda y jugador a jugador, "
     "y deja el resultado en NUESTRO (el driver de mezcla de git: --name %P -- %O %A %B). "
     "BASE vacía es que no hay base común: cada diferencia es un conflicto. BASE y SUYO "
     "pueden ser tuberías o «-». Sale con 0 si no hay conflictos, con 1 si los hay (NUESTRO "
     "queda como un mapa válido con nuestro valor en cada conflicto, que se nombra en la "
     "salida de errores) y con 2 si un archivo no se puede leer o escribir, sin tocar "
     "NUESTRO.",
     &MapTool::merge},
    {"balance",
     "[--json] [--picture SALIDA.png] [--radius N] [--threshold R] [--blocking LISTA] "
     "ARCHIVO...",
     "Mide si el mapa es justo para los ocho jugadores.\n\n"
     "Casillas transitables: las que no son roca (1) ni agua (2) ni un terreno que el editor\n"
     "no conoce; --blocking 1,2,3 dice qué terrenos cortan el paso. Un paso va a una de las\n"
     "cuatro casillas que comparten un lado; la distancia de un jugador a una casilla es el\n"
     "menor número de pasos desde su comienzo por casillas transitables. Un comienzo en una\n"
     "casilla que corta el paso o fuera del mapa no alcanza nada.\n\n"
     "De cada jugador: región (casillas que alcanza, la suya incluida), espacio (casillas\n"
     "a R pasos o menos; R es --radius, 12 si no se dice), árboles y parcelas a R, 2R y 4R\n"
     "pasos (si cortan el paso, a un paso más que su vecina alcanzada más cercana),\n"
     "territorio (las casillas, árboles y parcelas a las que llega antes que nadie; una\n"
     "casilla a la que llegan primero dos o más a la vez está disputada y no es de nadie),\n"
     "rival cercano y lejano (pasos hasta el comienzo de otro jugador), alcanza (a cuántos\n"
     "de los otros siete comienzos llega) y paso estrecho: el ancho del paso más estrecho\n"
     "en el camino más ancho hasta el rival más cercano, donde el ancho de una casilla es\n"
     "el lado del mayor cuadrado de casillas transitables que la contiene (un pasillo de\n"
     "3 casillas de ancho mide 3).\n\n"
     "Simetrías: cuántas casillas lleva cada giro o espejo a otro terreno, y si lleva las\n"
     "casillas de comienzo a casillas de comienzo. Medidas (espacio, árboles y parcelas a\n"
     "2R, territorio, rival cercano): el peor y el mejor jugador, la razón peor/mejor y el\n"
     "índice de Jain. Veredicto: injusto si algún comienzo no alcanza a todos los demás;\n"
     "equilibrado si la razón de cada medida llega al umbral (--threshold, 0.9 si no se\n"
     "dice); desequilibrado si no.\n\n"
     "Sale con 0 si todos los mapas están equilibrados, con 1 si alguno no, con 2 si un\n"
     "archivo no es un mapa, la salida no se puede escribir o la orden no se entiende.",
     &MapTool::balance},
    {"git-setup", "[--global]",
     "Prepara git para los mapas en el repositorio de la carpeta actual: añade a "
     ".gitattributes la línea de los mapas y pone en la configuración del repositorio grid "
     "como vista de texto y merge como driver de mezcla. Con --global, para todos los "
     "repositorios del usuario: en su configuración y en su archivo de atributos de git.",
     &MapTool::gitSetup},
    {"generate",
     "[--size CxF] [--seed N] [--symmetry CLASE] [--water P] [--rock P] [--trees P] [--soil P] "
     "[--earth P] [--tries K] [--force] [--json] SALIDA.map",
     "Hace un mapa nuevo para ocho jugadores, simétrico, justo y pintado a manchas, y lo\n"
     "escribe en SALIDA.map; no reemplaza un archivo que ya existe con otro contenido sin\n"
     "--force.\n\n"
     "Simetrías (W y H son la columna y la fila más altas): espejo-vertical (x, y) -> (W-x, y),\n"
     "espejo-horizontal (x, y) -> (x, H-y) y giro-180 (x, y) -> (W-x, H-y) emparejan a los\n"
     "jugadores: el 5 es la imagen del 1, el 6 la del 2, el 7 la del 3 y el 8 la del 4. El\n"
     "mapa sale también simétrico con los otros dos en todo menos la tierra desnuda, que no\n"
     "cuenta en balance: así quedan equilibrados los ocho. cuadrantes: los dos espejos a la\n"
     "vez (y el 5 es la imagen del 1 por el giro-180). octogonal, solo en mapas cuadrados: los\n"
     "ocho giros y espejos del cuadrado; cada jugador es imagen de los otros siete y todos\n"
     "tienen las mismas cifras. auto: octogonal si el mapa es cuadrado, cuadrantes si no.\n"
     "Con un número impar de columnas, la del medio es el eje del espejo vertical y se\n"
     "refleja sobre sí misma; con uno par, el eje pasa entre las dos del medio, que son\n"
     "imagen una de otra. Lo mismo las filas. Ningún comienzo está en un eje ni, en la\n"
     "octogonal, en una diagonal.\n\n"
     "Todo mapa que escribe cumple: el editor lo abre y check --strict no avisa de nada;\n"
     "cada comienzo alcanza a los otros siete; entre dos comienzos hay al menos un tercio\n"
     "del lado menor del mapa en pasos por filas y columnas; cada jugador tiene árboles y\n"
     "parcelas a 2R = 24 pasos o menos, si se piden; balance dice equilibrado con su umbral\n"
     "de 0.9; al menos la mitad de las casillas tiene el terreno de todas sus vecinas del\n"
     "mapa, como un mapa pintado a mano. Los porcentajes son de las casillas del mapa; lo\n"
     "que sale se acerca a ellos (y se dice). La misma semilla con las mismas opciones da\n"
     "el mismo archivo, byte a byte, en cualquier máquina.\n\n"
     "Prueba mapas candidatos hasta que uno lo cumple todo, --tries como mucho; dice la\n"
     "semilla, la orden que lo repite, el veredicto de balance con sus cinco razones y\n"
     "cuántos candidatos hicieron falta. Si ninguno lo cumple, no escribe nada y sale con 1;\n"
     "con 2 si la orden no se entiende.",
     &MapTool::generate},
}};

namespace {

/** One line of JSON: the one object of a single file's report, or the list of them. */
QByteArray jsonLine(const QJsonArray& reports)
{
    const QJsonDocument document =
        reports.size() == 1 ? QJsonDocument(reports.first().toObject()) : QJsonDocument(reports);
    return document.toJson(QJsonDocument::Compact) + '\n';
}

QJsonArray problemsJson(const std::vector<MapProblem>& problems)
{
    QJsonArray list;
    for (const MapProblem& problem : problems)
        list.append(problemJson(problem));
    return list;
}

/** What check finds of a file: whether it opens, and why not, or the map and its warnings. */
struct FileCheck {
    bool opens = false;
    QString why{};
    GameMap map{};
    std::vector<MapProblem> warnings{};
};

FileCheck checkFile(const QString& file)
{
    // The name without its folder, as the editor's dialog gives it.
    if (!hasMapExtension(file.mid(file.lastIndexOf(u'/') + 1)))
        return {.why = QStringLiteral("el nombre no termina en .map y el editor no lo abre")};
    MapReading reading = readMapFile(file);
    if (reading.outcome != LoadOutcome::Loaded)
        return {.why = describeReading(reading)};
    const std::vector<MapProblem> warnings = mapProblems(reading.map);
    return {.opens = true, .map = std::move(reading.map), .warnings = warnings};
}

QString checkText(const QString& file, const FileCheck& checked)
{
    if (!checked.opens)
        return printableName(file) + QStringLiteral(": ") + checked.why + u'\n';
    // One string: a collection of maps is mostly lines like this one.
    QString text = printableName(file) + QStringLiteral(": correcto (") +
                   QString::number(checked.map.columns()) + QStringLiteral(" x ") +
                   QString::number(checked.map.rows()) + QStringLiteral(", 8 comienzos)\n");
    for (const MapProblem& warning : checked.warnings)
        text += QStringLiteral("  aviso: ") + problemText(warning) + u'\n';
    return text;
}

QJsonObject checkJson(const QString& file, const FileCheck& checked)
{
    QJsonObject report{{QStringLiteral("archivo"), printableName(file)},
                       {QStringLiteral("correcto"), checked.opens}};
    if (!checked.opens) {
        report[QStringLiteral("motivo")] = checked.why;
        return report;
    }
    report[QStringLiteral("columnas")] = checked.map.columns();
    report[QStringLiteral("filas")] = checked.map.rows();
    report[QStringLiteral("avisos")] = problemsJson(checked.warnings);
    return report;
}

} // namespace

QString MapTool::Command::usage() const
{
    return QLatin1String(name) + u' ' + QString::fromUtf8(arguments);
}

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
                "y los dibujos del editor, los convierte a Tiled y desde Tiled, los compara "
                "y mezcla para git, y hace mapas nuevos.\n\nÓrdenes:\n";
        for (const Command& command : commands_)
            out_ << "  quintaraz-map " << command.usage() << '\n';
        out_ << "\n«quintaraz-map ORDEN --help» explica cada orden.\n";
        return 0;
    }
    if (name == QLatin1String("--version")) {
        out_ << "quintaraz-map " << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    for (const Command& command : commands_)
        if (name == QLatin1String(command.name))
            return (this->*command.run)(command,
                                        QStringList{arguments.value(0)} + arguments.mid(2));
    return usageError(nullptr, name.isEmpty()
                                   ? QStringLiteral("falta la orden")
                                   : QStringLiteral("no hay ninguna orden «%1»").arg(name));
}

int MapTool::usageError(const Command* command, const QString& problem)
{
    err_ << "quintaraz-map: " << problem << '\n';
    if (command) {
        err_ << "Uso: quintaraz-map " << command->usage() << '\n';
    } else {
        QStringList names;
        for (const Command& known : commands_)
            names << QLatin1String(known.name);
        err_ << "Uso: quintaraz-map " << names.join(u'|') << " ... (véase --help)\n";
    }
    return 2;
}

CommandParser MapTool::parserFor(const Command& command)
{
    return CommandParser(command.name, command.arguments, command.description, out_);
}

std::optional<int> MapTool::parse(CommandParser& line, const Command& command,
                                  const QStringList& arguments, int least, int most)
{
    if (const QString problem = line.parse(arguments, least, most); !problem.isEmpty())
        return usageError(&command, problem);
    if (line.helped())
        return 0;
    return std::nullopt;
}

int MapTool::fail(const QString& file, const QString& problem)
{
    err_ << "quintaraz-map: " << printableName(file) << ": " << problem << '\n';
    return 1;
}

CommandMap MapTool::readMap(const QString& file, const MapInput& input)
{
    return loadedMap(readMapFile(file, input.kinds), file, input);
}

CommandMap MapTool::loadedMap(MapReading reading, const QString& file, const MapInput& input)
{
    if (reading.outcome == LoadOutcome::Loaded)
        return {std::move(reading.map)};
    fail(input.name.isEmpty() ? file : input.name, describeReading(reading) + input.after);
    return {std::nullopt, input.failure};
}

int MapTool::trouble(const QString& file, const QString& problem)
{
    fail(file, problem);
    return 2;
}

int MapTool::check(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption strict(QStringLiteral("strict"),
                                    QStringLiteral("Los avisos también cuentan como fallo."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas: un objeto por "
                                                 "archivo, una lista si son varios."));
    line.addOption(strict);
    line.addOption(json);
    if (const std::optional<int> status = parse(line, command, arguments, 1, -1))
        return *status;
    int status = 0;
    QJsonArray reports;
    for (const QString& file : line.files()) {
        const FileCheck checked = checkFile(file);
        if (!checked.opens || (line.isSet(strict) && !checked.warnings.empty()))
            status = 1;
        if (line.isSet(json))
            reports.append(checkJson(file, checked));
        else
            out_ << checkText(file, checked);
    }
    if (line.isSet(json))
        out_ << jsonLine(reports);
    return status;
}

int MapTool::render(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption cell(QStringLiteral("cell"),
                                  QStringLiteral("Píxeles por celda, de 1 a 100."),
                                  QStringLiteral("N"), QString::number(cellSize));
    line.addOption(cell);
    if (const std::optional<int> status = parse(line, command, arguments, 2, 2))
        return *status;
    bool number = false;
    const int size = line.value(cell).toInt(&number);
    if (!number || size < 1 || size > 100)
        return usageError(&command, QStringLiteral("--cell pide un número de 1 a 100"));
    return drawToPng(line.files().at(0), line.files().at(1), Output::Replacing,
                     [size](const MapPicture& picture, const GameMap& map) {
                         return picture.render(map, size);
                     });
}

int MapTool::drawToPng(const QString& map, const QString& png, Output output,
                       const std::function<QImage(const MapPicture&, const GameMap&)>& draw,
                       PngCompression compression)
{
    if (const QString problem = outputProblem(png, map, OutputKind::Picture); !problem.isEmpty())
        return fail(png, problem);
    const CommandMap read = readMap(map);
    if (!read.map)
        return read.status;
    const TileArt art;
    return writePng(png, draw(MapPicture(art), *read.map), output, compression) ? 0 : 1;
}

bool MapTool::writePng(const QString& png, const QImage& picture, Output output,
                       PngCompression compression)
{
    const QByteArray bytes = encodePng(picture, compression);
    if (bytes.isEmpty())
        return fail(png, QStringLiteral("no hay memoria para el dibujo")), false;
    QString problem;
    const bool written = output == Output::InPlace ? writeFileInPlace(png, bytes, &problem)
                                                   : writeFileSafely(png, bytes, &problem);
    if (!written)
        fail(png, problem);
    return written;
}

int MapTool::info(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas."));
    line.addOption(json);
    if (const std::optional<int> status = parse(line, command, arguments, 1, 1))
        return *status;
    const QString file = line.files().at(0);
    const CommandMap read = readMap(file);
    if (!read.map)
        return read.status;
    if (line.isSet(json))
        out_ << mapReportJson(printableName(file), *read.map);
    else
        out_ << mapReport(printableName(file), *read.map);
    return 0;
}

int MapTool::thumbnail(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    if (const std::optional<int> status = parse(line, command, arguments, 3, 3))
        return *status;
    bool number = false;
    const int size = line.files().at(2).toInt(&number);
    if (!number || size < 1 || size > 4096)
        return usageError(&command, QStringLiteral("TAMAÑO pide un número de 1 a 4096"));
    // A preview service may hold the output file open and read it afterwards: the picture
    // goes into that file, not into a new one renamed over it. It waits for the picture,
    // which is small: compressed fast.
    return drawToPng(
        line.files().at(0), line.files().at(1), Output::InPlace,
        [size](const MapPicture& picture, const GameMap& map) {
            return picture.thumbnail(map, size);
        },
        PngCompression::Fast);
}

int MapTool::exportMap(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Reemplaza la salida y los dibujos aunque ya "
                                                  "existan con otro contenido."));
    line.addOption(force);
    if (const std::optional<int> status = parse(line, command, arguments, 2, 2))
        return *status;
    const QString map = line.files().at(0);
    const QString output = line.files().at(1);
    const std::optional<TiledFormat> format = tiledFormatOf(output);
    if (!format)
        return usageError(&command, QStringLiteral("la salida debe terminar en .tmx o en .tmj"));

    const CommandMap read = readMap(map);
    if (!read.map)
        return read.status;
    return writeTiled(*read.map, map, output, *format, line.isSet(force));
}

int MapTool::writeTiled(const GameMap& map, const QString& source, const QString& output,
                        TiledFormat format, bool force)
{
    // The installed tilesets where there are some: nothing is written beside the output, and
    // the map keeps working wherever it goes.
    const QString installed = installedTilesets();
    QString problem;
    const QByteArray text = tiledText(map, format, &problem, installed);
    if (text.isEmpty())
        return fail(source, problem);
    QList<PlannedFile> files{{output, text}};
    if (installed.isEmpty()) {
        // Tiled finds the tilesets' pictures beside the map, by these names.
        const QString folder = QFileInfo(output).path();
        const auto beside = [&](const char* name) {
            return folder == u'.' ? QString::fromLatin1(name) : folder + u'/' + QLatin1String(name);
        };
        files.prepend({beside(tiled::playerImage), TileArt::playerTilesetPng()});
        files.prepend({beside(tiled::terrainImage), TileArt::terrainTilesetPng()});
    }
    return writeFiles(files, source, force);
}

int MapTool::writeFiles(QList<PlannedFile> files, const QString& source, bool force)
{
    for (PlannedFile& file : files)
        if (const QString problem = exportProblem(file, source, force); !problem.isEmpty())
            return fail(file.path, problem);
    QString failed;
    QString problem;
    return writeAllOrNone(files, &failed, &problem) ? 0 : fail(failed, problem);
}

int MapTool::newMap(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Reemplaza la salida aunque ya exista con "
                                                  "otro contenido."));
    line.addOption(force);
    if (const std::optional<int> status = parse(line, command, arguments, 3, 3))
        return *status;
    int size[2] = {};
    for (int k = 0; k < 2; ++k) {
        bool number = false;
        size[k] = line.files().at(k).toInt(&number);
        if (!number || !mapSizeLimits.contains(size[k] - 1))
            return usageError(
                &command, QStringLiteral("%1 pide un número de %2 a %3")
                              .arg(k == 0 ? QStringLiteral("COLUMNAS") : QStringLiteral("FILAS"))
                              .arg(mapSizeLimits.lowest + 1)
                              .arg(mapSizeLimits.highest + 1));
    }
    const QString output = line.files().at(2);
    const GameMap map = newMapWithStarts(size[0], size[1]);
    if (const std::optional<TiledFormat> format = tiledFormatOf(output))
        return writeTiled(map, QString(), output, *format, line.isSet(force));
    if (!hasMapExtension(QFileInfo(output).fileName()))
        return usageError(&command,
                          QStringLiteral("la salida debe terminar en .map, en .tmx o en .tmj"));
    return writeFiles({{output, mapText(map)}}, QString(), line.isSet(force));
}

int MapTool::importMap(const Command& command, const QStringList& arguments)
{
    CommandParser line = parserFor(command);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Lo mismo en JSON, para programas: los problemas "
                                                 "y los avisos, cada uno con su tipo, su texto, su "
                                                 "jugador, su celda o sus zonas y su capa."));
    line.addOption(json);
    if (const std::optional<int> status = parse(line, command, arguments, 2, 2))
        return *status;
    const QString input = line.files().at(0);
    const QString map = line.files().at(1);
    if (!hasMapExtension(QFileInfo(map).fileName()))
        return usageError(&command, QStringLiteral("la salida debe terminar en .map"));
    if (const QString problem = outputProblem(map, input, OutputKind::Map); !problem.isEmpty())
        return fail(map, problem);
    const TiledReading reading = readTiledFile(input);
    if (!line.isSet(json)) {
        for (const MapProblem& problem : reading.problems)
            fail(input, problemText(problem));
        for (const MapProblem& warning : reading.warnings)
            err_ << "quintaraz-map: " << input << ": aviso: " << problemText(warning) << '\n';
    }
    QString problem;
    const bool saved = reading.read() && savemap(reading.map, map, &problem);
    if (line.isSet(json))
        out_ << QJsonDocument(
                    QJsonObject{{QStringLiteral("archivo"), printableName(input)},
                                {QStringLiteral("salida"), printableName(map)},
                                {QStringLiteral("guardado"), saved},
                                {QStringLiteral("problemas"), problemsJson(reading.problems)},
                                {QStringLiteral("avisos"), problemsJson(reading.warnings)}})
                    .toJson(QJsonDocument::Compact)
             << '\n';
    if (!reading.read())
        return 1;
    return saved ? 0 : fail(map, problem);
}

} // namespace quintaraz
