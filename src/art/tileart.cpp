#include "art/tileart.h"

#include <QFile>
#include <QString>

// Resources of a static library are registered by name, outside any namespace.
static void registerArt()
{
    Q_INIT_RESOURCE(art);
}

namespace quintaraz {

namespace {

QImage load(const QString& name)
{
    // RGB32 is the view's own format: tiles are copied row by row without conversion.
    return QImage(QStringLiteral(":/art/%1.png").arg(name)).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TileArt::TileArt()
{
    registerArt();
    for (int i = 0; i < terrainCount; ++i)
        terrains_[i] = load(QStringLiteral("terrain%1").arg(i));
    for (int p = 0; p < playerCount; ++p)
        players_[p] = load(QStringLiteral("player%1").arg(p));
    unknown_ = load(QStringLiteral("unknown"));
    start_ = load(QStringLiteral("start"));
    icon_ = load(QStringLiteral("icon"));
}

const QImage& TileArt::terrain(int i) const
{
    return isTerrain(i) ? terrains_[i] : unknown_;
}

QByteArray TileArt::terrainTilesetPng()
{
    registerArt();
    QFile file(QStringLiteral(":/art/terrenos.png"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TileArt::playerTilesetPng()
{
    registerArt();
    QFile file(QStringLiteral(":/art/jugadores.png"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace quintaraz
