#include "tool/outputfiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <cctype>
#include <sys/stat.h>

namespace quintaraz {

namespace {

/** Whether a file's first bytes are those of its kind. */
bool looksLike(const QString& path, OutputKind kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(512);
    switch (kind) {
    case OutputKind::Picture:
        return head.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8));
    case OutputKind::TiledMap:
        return head.trimmed().startsWith('<') || head.trimmed().startsWith('{');
    case OutputKind::Map:
        // Two sizes of two digits each, as every map file begins.
        return head.size() >= 6 && head[2] == ',' && head[5] == ',' &&
               std::isdigit(uchar(head[0])) && std::isdigit(uchar(head[1])) &&
               std::isdigit(uchar(head[3])) && std::isdigit(uchar(head[4]));
    }
    return false;
}

} // namespace

QString outputProblem(const QString& output, const QString& input, OutputKind kind)
{
    struct stat target {};
    if (::stat(QFile::encodeName(output).constData(), &target) != 0)
        return {}; // a new file, or a reason that the writer will give
    struct stat source {};
    if (::stat(QFile::encodeName(input).constData(), &source) == 0 &&
        source.st_dev == target.st_dev && source.st_ino == target.st_ino)
        return QStringLiteral("es el propio archivo que se lee; no se sobrescribe");
    if (!S_ISREG(target.st_mode))
        return QStringLiteral("no es un archivo normal; no se sobrescribe");
    if (target.st_size == 0 || looksLike(output, kind))
        return {};
    switch (kind) {
    case OutputKind::Picture:
        return QStringLiteral("ya existe y no es un PNG; no se sobrescribe");
    case OutputKind::TiledMap:
        return QStringLiteral("ya existe y no es un mapa de Tiled; no se sobrescribe");
    case OutputKind::Map:
        break;
    }
    return QStringLiteral("ya existe y no es un mapa; no se sobrescribe");
}

QByteArray encodePng(const QImage& image, PngCompression compression)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt's PNG writer takes quality 0 to 100 as zlib's levels 9 to 0; 80 is level 1.
    if (compression == PngCompression::Fast)
        writer.setQuality(80);
    return !image.isNull() && writer.write(image) ? bytes : QByteArray();
}

} // namespace quintaraz
