// Every problem of a map in Spanish, in one table; see problemtext.h.

#include "map/problemtext.h"

#include <QJsonArray>

#include <array>
#include <charconv>

namespace quintaraz {

namespace {

using Kind = ProblemKind;

/** The most areas a sentence names; a map maker fixes those and checks again. */
constexpr std::size_t mostAreasNamed = 6;

/** Each kind's name in JSON, in the order of ProblemKind. */
constexpr std::array problemKeys{
    "falta_comienzo",
    "comienzo_fuera_del_mapa",
    "comienzo_bloqueado",
    "misma_celda",
    "terreno_desconocido",
    "comienzos_de_mas",
    "objeto_sin_jugador",
    "marcadores_repetidos",
    "marcador_con_otro_nombre",
    "marcador_girado",
    "marcador_oculto",
    "capa_oculta",
    "capa_desplazada",
    "capa_pintada",
    "falta_capa_de_terreno",
    "falta_capa_de_comienzos",
    "capa_repetida",
    "falta_conjunto_de_patrones",
    "celdas_vacias",
    "celdas_de_otro_conjunto",
    "celdas_sin_terreno",
    "mapa_infinito",
    "mapa_no_ortogonal",
    "patrones_de_otro_tamano",
    "tamano_fuera_de_limites",
    "patrones_volteados",
    "capas_que_no_pasan",
    "ilegible",
};
static_assert(problemKeys.size() == std::size_t(Kind::Unreadable) + 1);

QString player(int number)
{
    return QString::number(number + 1);
}

QString place(const std::optional<ProblemCell>& cell)
{
    return cell ? cellPlace(cell->column, cell->row) : QString();
}

/** "el marcador del jugador 3 (objeto 5, en la columna 2, fila 4 de «comienzos»)". */
QString marker(const MapProblem& problem)
{
    return QStringLiteral("el marcador del jugador %1 (objeto %2, en la %3 de «%4»)")
        .arg(player(problem.player), problem.object, place(problem.cell), problem.layer);
}

/** "columnas 40–59, filas 0–29; columna 3, fila 4 y 2 zonas más". */
QString areasText(const std::vector<CellArea>& areas)
{
    QStringList named;
    for (std::size_t k = 0; k < areas.size() && k < mostAreasNamed; ++k) {
        QString place;
        appendAreaPlace(place, areas[k]);
        named << place;
    }
    QString text = named.join(QStringLiteral("; "));
    if (areas.size() > mostAreasNamed)
        text += QStringLiteral(" y %1 zonas más").arg(areas.size() - mostAreasNamed);
    return text;
}

/** A problem of the starts, in a map file or, said of its markers, in a Tiled map. */
QString startText(const MapProblem& problem)
{
    const bool tiled = !problem.layer.isEmpty();
    switch (problem.kind) {
    case Kind::StartMissing:
        if (!tiled)
            return QStringLiteral("el jugador %1 no tiene comienzo").arg(player(problem.player));
        return QStringLiteral("falta el marcador del jugador %1 en «%2»: ponlo con Insertar "
                              "Patrón (Insert Tile) y el patrón del jugador %1 de «%3»")
            .arg(player(problem.player), problem.layer, problem.name);
    case Kind::StartOutside:
        if (!tiled)
            return QStringLiteral("el comienzo del jugador %1 (%2) está fuera del mapa")
                .arg(player(problem.player), place(problem.cell));
        return QStringLiteral("%1 cae fuera del mapa de %2 casillas: arrástralo dentro con "
                              "Seleccionar Objetos (Select Objects)")
            .arg(marker(problem), sizeText(qint64(problem.values[0]), qint64(problem.values[1])));
    case Kind::StartBlocked:
        return QStringLiteral("el comienzo del jugador %1 (%2) está en %3")
            .arg(player(problem.player), place(problem.cell), terrainWord(int(problem.number)));
    case Kind::StartsShareCell:
        if (!tiled)
            return QStringLiteral("los jugadores %1 y %2 comienzan en la misma casilla (%3); el "
                                  "editor deja al jugador %1 sin comienzo")
                .arg(player(problem.player), player(problem.otherPlayer), place(problem.cell));
        return QStringLiteral("los jugadores %1 y %2 comienzan en la misma casilla (%3) de «%4»: "
                              "mueve uno de los dos")
            .arg(player(problem.player), player(problem.otherPlayer), place(problem.cell),
                 problem.layer);
    default:
        return {};
    }
}

/** A problem of a Tiled map's markers. */
QString markerText(const MapProblem& problem)
{
    switch (problem.kind) {
    case Kind::NotAMarker:
        return QStringLiteral("el objeto %1 de «%2», en la %3, no es el marcador de ningún "
                              "jugador: bórralo o dale un patrón de «%4»")
            .arg(problem.object, problem.layer, place(problem.cell), problem.name);
    case Kind::MarkerTwice:
        return QStringLiteral("el jugador %1 tiene más de un marcador en «%2»: el objeto %3, en "
                              "la %4, y el objeto %5, en la %6; borra uno")
            .arg(player(problem.player), problem.layer, problem.object, place(problem.cell),
                 problem.otherObject, place(problem.otherCell));
    case Kind::MarkerNamedOther:
        return QStringLiteral("%1 se llama «%2», pero su patrón es el del jugador %3: cámbiale el "
                              "nombre a «Jugador %3» o dale el patrón del jugador %4 de «%5»")
            .arg(marker(problem), problem.otherName, player(problem.player),
                 player(problem.otherPlayer), problem.name);
    case Kind::MarkerRotated:
        return QStringLiteral("%1 está girado %2 grados: pon a 0 su Rotación (Rotation) en el "
                              "panel Atributos (Properties)")
            .arg(marker(problem))
            .arg(problem.values[0]);
    case Kind::MarkerHidden:
        return QStringLiteral("%1 está oculto: muéstralo con su ojo en el panel Objetos (Objects)")
            .arg(marker(problem));
    default:
        return {};
    }
}

/** A problem of a Tiled map's layers and tilesets. */
QString layerText(const MapProblem& problem)
{
    switch (problem.kind) {
    case Kind::LayerHidden:
        return QStringLiteral("la capa «%1» está oculta: muéstrala con su ojo en el panel Capas "
                              "(Layers)")
            .arg(problem.layer);
    case Kind::LayerMoved:
        return QStringLiteral("la capa «%1» está desplazada %2, %3 píxeles: pon a 0 su "
                              "Desplazamiento Horizontal y Vertical (Horizontal and Vertical "
                              "Offset) en el panel Atributos (Properties)")
            .arg(problem.layer)
            .arg(problem.values[0])
            .arg(problem.values[1]);
    case Kind::LayerPainted:
        return QStringLiteral("la capa «%1» tiene patrones pintados (el primero en la %2), que el "
                              "mapa no guarda: bórrala, o llévala justo encima de «%3» con Capa > "
                              "Raise Layers o Lower Layers (Layer > Raise Layers o Lower Layers) y "
                              "mézclala con ella con Capa > Mezclar Capas hacía Abajo (Layer > "
                              "Merge Layer Down)")
            .arg(problem.layer, place(problem.cell), problem.name);
    case Kind::TerrainLayerMissing:
        return QStringLiteral("falta la capa de patrones «%1»: dale ese nombre a la capa de "
                              "patrones del terreno (doble clic en su nombre en el panel Capas)")
            .arg(problem.layer);
    case Kind::StartLayerMissing:
        return QStringLiteral("falta la capa de objetos «%1»: créala con Capa > Nuevo > Capa de "
                              "Objetos (Layer > New > Object Layer)")
            .arg(problem.layer);
    case Kind::LayerRepeated:
        return QStringLiteral("hay %1 capas «%2»: deja solo una")
            .arg(problem.count)
            .arg(problem.layer);
    case Kind::TilesetMissing:
        return QStringLiteral("falta el conjunto de patrones «%1»: añade %1.tsx con Mapa > Añadir "
                              "un Conjunto de Patrones Externo… (Map > Add External Tileset…), o "
                              "empieza el mapa con Archivo > Nuevo > Nuevo mapa de Quintaraz… "
                              "(File > New > Nuevo mapa de Quintaraz…)")
            .arg(problem.name);
    case Kind::LayersLeftOut: {
        const bool one = problem.names.size() == 1;
        return QStringLiteral("%1 «%2» no pasa%3 al mapa: solo se guardan «%4» y «%5»")
            .arg(one ? QStringLiteral("la capa") : QStringLiteral("las capas"),
                 problem.names.join(QStringLiteral("», «")), one ? QString() : QStringLiteral("n"),
                 problem.name, problem.otherName);
    }
    default:
        return {};
    }
}

/** A problem of the cells of a Tiled map's terrain layer. */
QString cellsText(const MapProblem& problem)
{
    const bool one = problem.count == 1;
    const QString where = areasText(problem.areas);
    const QString repaint = one ? QStringLiteral("repíntala") : QStringLiteral("repíntalas");
    switch (problem.kind) {
    case Kind::EmptyCells:
        return QStringLiteral("la capa «%1» tiene %2 %3 (%4): %5 con el patrón Hierba de «%6» y "
                              "la Herramienta de Rellenado (Bucket Fill Tool)")
            .arg(problem.layer)
            .arg(problem.count)
            .arg(one ? QStringLiteral("casilla vacía") : QStringLiteral("casillas vacías"), where,
                 one ? QStringLiteral("rellénala") : QStringLiteral("rellénalas"), problem.name);
    case Kind::OtherTilesetCells: {
        // Two tilesets of one name: said by where each begins.
        const QString from =
            problem.name == problem.otherName
                ? QStringLiteral("del conjunto «%1» que empieza en el número %2, no del que "
                                 "empieza en el %3")
                      .arg(problem.name)
                      .arg(qint64(problem.values[0]))
                      .arg(qint64(problem.values[1]))
                : QStringLiteral("de «%1», no de «%2»").arg(problem.name, problem.otherName);
        return QStringLiteral("la capa «%1» tiene %2 %3 con patrones %4 (%5): %6 con los "
                              "patrones de «%7»")
            .arg(problem.layer)
            .arg(problem.count)
            .arg(one ? QStringLiteral("casilla pintada") : QStringLiteral("casillas pintadas"),
                 from, where, repaint, problem.otherName);
    }
    case Kind::NoTerrainCells:
        return QStringLiteral("la capa «%1» tiene %2 %3 con un patrón de «%4» que no es ninguno "
                              "de sus %5 terrenos (%6): %7")
            .arg(problem.layer)
            .arg(problem.count)
            .arg(one ? QStringLiteral("casilla") : QStringLiteral("casillas"), problem.name)
            .arg(terrainCount)
            .arg(where, repaint);
    default:
        return {};
    }
}

/** A problem of a map as a whole: its shape, its size, what it holds beyond the game's. */
QString mapText(const MapProblem& problem)
{
    switch (problem.kind) {
    case Kind::UnknownTerrain:
        if (problem.count == 1)
            return QStringLiteral(
                       "1 casilla tiene un terreno que el editor no conoce: %1, en la %2")
                .arg(problem.number)
                .arg(place(problem.cell));
        return QStringLiteral("%1 casillas tienen un terreno que el editor no conoce; la primera, "
                              "%2, en la %3")
            .arg(problem.count)
            .arg(problem.number)
            .arg(place(problem.cell));
    case Kind::ExtraStarts:
        return QStringLiteral("hay %1 comienzos; se leen los %2 primeros")
            .arg(problem.count)
            .arg(playerCount);
    case Kind::InfiniteMap:
        return QStringLiteral("el mapa es infinito: desmarca Infinito en Mapa > Atributos del "
                              "Mapa… (Map > Map Properties…)");
    case Kind::NotOrthogonal:
        return QStringLiteral("el mapa es «%1»: el editor solo tiene mapas ortogonales")
            .arg(problem.name);
    case Kind::OtherTileSize:
        return QStringLiteral("los patrones miden %1 x %2 píxeles; los del editor, %3 x %3")
            .arg(qint64(problem.values[0]))
            .arg(qint64(problem.values[1]))
            .arg(problem.number);
    case Kind::SizeOutOfRange:
        return QStringLiteral("el mapa mide %1 casillas; el editor abre de %2 a %3 por lado: "
                              "cámbialo con Mapa > Redimensionar Mapa… (Map > Resize Map…)")
            .arg(sizeText(qint64(problem.values[0]), qint64(problem.values[1])))
            .arg(mapSizeLimits.lowest + 1)
            .arg(mapSizeLimits.highest + 1);
    case Kind::FlippedTiles:
        if (problem.count == 1)
            return QStringLiteral("1 patrón o marcador estaba girado o volteado; el editor lo "
                                  "guarda sin girar");
        return QStringLiteral("%1 patrones o marcadores estaban girados o volteados; el editor los "
                              "guarda sin girar")
            .arg(problem.count);
    case Kind::Unreadable:
        return problem.name;
    default:
        return {};
    }
}

} // namespace

void appendNumber(QString& text, qint64 number)
{
    // From the stack: QString::number would allocate a string for each one.
    std::array<char, 24> digits;
    // Room for any 64-bit number: to_chars cannot fail here.
    const char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    text += QLatin1String(digits.data(), end - digits.data());
}

QString sizeText(qint64 columns, qint64 rows)
{
    QString text;
    appendNumber(text, columns);
    text += u'x';
    appendNumber(text, rows);
    return text;
}

void appendCellPlace(QString& text, qint64 column, qint64 row)
{
    text += QLatin1String("columna ");
    appendNumber(text, column);
    text += QLatin1String(", fila ");
    appendNumber(text, row);
}

void appendAreaPlace(QString& text, const CellArea& area)
{
    const auto span = [&](const char* one, const char* many, int first, int last) {
        text += QLatin1String(first == last ? one : many);
        appendNumber(text, first);
        if (first != last) {
            text += u'–';
            appendNumber(text, last);
        }
    };
    span("columna ", "columnas ", area.left, area.right);
    text += QLatin1String(", ");
    span("fila ", "filas ", area.top, area.bottom);
}

QString cellPlace(qint64 column, qint64 row)
{
    QString text;
    appendCellPlace(text, column, row);
    return text;
}

QString cellPlace(GridPoint cell)
{
    return cellPlace(cell.x, cell.y);
}

QString terrainName(int terrain)
{
    return isTerrain(terrain) ? QString::fromUtf8(terrainNames[std::size_t(terrain)])
                              : QStringLiteral("terreno %1").arg(terrain);
}

QString terrainWord(int terrain)
{
    return isTerrain(terrain) ? terrainName(terrain).toLower()
                              : QStringLiteral("el terreno %1").arg(terrain);
}

QString problemText(const MapProblem& problem)
{
    switch (problem.kind) {
    case Kind::StartMissing:
    case Kind::StartOutside:
    case Kind::StartBlocked:
    case Kind::StartsShareCell:
        return startText(problem);
    case Kind::NotAMarker:
    case Kind::MarkerTwice:
    case Kind::MarkerNamedOther:
    case Kind::MarkerRotated:
    case Kind::MarkerHidden:
        return markerText(problem);
    case Kind::LayerHidden:
    case Kind::LayerMoved:
    case Kind::LayerPainted:
    case Kind::TerrainLayerMissing:
    case Kind::StartLayerMissing:
    case Kind::LayerRepeated:
    case Kind::TilesetMissing:
    case Kind::LayersLeftOut:
        return layerText(problem);
    case Kind::EmptyCells:
    case Kind::OtherTilesetCells:
    case Kind::NoTerrainCells:
        return cellsText(problem);
    default:
        return mapText(problem);
    }
}

QString problemKey(ProblemKind kind)
{
    return QLatin1String(problemKeys[std::size_t(kind)]);
}

QJsonObject problemJson(const MapProblem& problem)
{
    QJsonObject json{{QStringLiteral("tipo"), problemKey(problem.kind)},
                     {QStringLiteral("texto"), problemText(problem)}};
    if (problem.player >= 0 && problem.kind == Kind::StartsShareCell)
        json[QStringLiteral("jugadores")] = QJsonArray{problem.player + 1, problem.otherPlayer + 1};
    else if (problem.player >= 0)
        json[QStringLiteral("jugador")] = problem.player + 1;
    if (problem.cell) {
        json[QStringLiteral("columna")] = problem.cell->column;
        json[QStringLiteral("fila")] = problem.cell->row;
    }
    if (!problem.areas.empty()) {
        QJsonArray areas;
        for (const CellArea& area : problem.areas)
            areas.append(QJsonObject{{QStringLiteral("izquierda"), area.left},
                                     {QStringLiteral("arriba"), area.top},
                                     {QStringLiteral("derecha"), area.right},
                                     {QStringLiteral("abajo"), area.bottom}});
        json[QStringLiteral("zonas")] = areas;
    }
    if (!problem.layer.isEmpty())
        json[QStringLiteral("capa")] = problem.layer;
    return json;
}

QJsonArray problemsJson(const std::vector<MapProblem>& problems)
{
    QJsonArray list;
    for (const MapProblem& problem : problems)
        list.append(problemJson(problem));
    return list;
}

} // namespace quintaraz
