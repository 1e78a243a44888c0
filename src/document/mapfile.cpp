#include "document/mapfile.h"

#include "map/piecesplitter.h"

namespace quintaraz {

namespace {

LoadOutcome load(MapDocument& document, const MapReading& reading)
{
    if (reading.outcome == LoadOutcome::Loaded)
        document.setMap(reading.map);
    return reading.outcome;
}

} // namespace

LoadOutcome loadmapText(MapDocument& document, std::string_view text)
{
    return load(document, readMapText(text));
}

LoadOutcome loadmap(MapDocument& document, const QString& path)
{
    return load(document, readMapFile(path));
}

QByteArray mapText(const MapDocument& document)
{
    return mapText(document.map());
}

bool savemap(const MapDocument& document, const QString& path, QString* error)
{
    return savemap(document.map(), path, error);
}

bool hasMapExtension(const QString& fileTitle)
{
    const QByteArray title = fileTitle.toUtf8();
    PieceSplitter pieces(std::string_view(title.constData(), size_t(title.size())), ".");
    std::string_view piece;
    std::string_view last;
    bool any = false;
    while (pieces.next(piece)) {
        last = piece;
        any = true;
    }
    return any && last == "map";
}

} // namespace quintaraz
