#include "maptool/outputfiles.h"

#include "system/boundedread.h"
#include "system/filenames.h"
#include "system/safewriter.h"
#include "tiled/tiledformat.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    case OutputKind::Map:
        // Two sizes of two digits each, as every map file begins.
        return head.size() >= 6 && head[2] == ',' && head[5] == ',' &&
               std::isdigit(uchar(head[0])) && std::isdigit(uchar(head[1])) &&
               std::isdigit(uchar(head[3])) && std::isdigit(uchar(head[4]));
    }
    return false;
}

/**
 * What stands in the output's place: nothing (no file there, or a reason the writer will
 * give), or a plain file of that size that is not the input. Otherwise, the problem.
 */
struct Existing {
    bool exists = false;
    qint64 size = 0;
    QString problem;
};

Existing existingOutput(const QString& output, const QString& input)
{
    struct stat target {};
    if (::stat(fileNameBytes(output).constData(), &target) != 0)
        return {};
    struct stat source {};
    if (::stat(fileNameBytes(input).constData(), &source) == 0 && source.st_dev == target.st_dev &&
        source.st_ino == target.st_ino)
        return {true, 0, QStringLiteral("es el propio archivo que se lee; no se sobrescribe")};
    if (!S_ISREG(target.st_mode))
        return {true, 0, QStringLiteral("no es un archivo normal; no se sobrescribe")};
    return {true, qint64(target.st_size), {}};
}

} // namespace

QString outputProblem(const QString& output, const QString& input, OutputKind kind)
{
    const Existing existing = existingOutput(output, input);
    if (!existing.exists || !existing.problem.isEmpty())
        return existing.problem;
    if (existing.size == 0 || looksLike(output, kind))
        return {};
    switch (kind) {
    case OutputKind::Picture:
        return QStringLiteral("ya existe y no es un PNG; no se sobrescribe");
    case OutputKind::Map:
        break;
    }
    return QStringLiteral("ya existe y no es un mapa; no se sobrescribe");
}

QString exportProblem(PlannedFile& file, const QString& input, bool force)
{
    const Existing existing = existingOutput(file.path, input);
    if (!existing.exists || !existing.problem.isEmpty())
        return existing.problem;
    if (existing.size == file.bytes.size()) {
        const FileBytes old = readFileAtMost(file.path, file.bytes.size());
        file.unchanged = old.problem == FileProblem::None && old.bytes == file.bytes;
    }
    if (file.unchanged || force)
        return {};
    return QStringLiteral("ya existe con otro contenido; no se sobrescribe (--force lo reemplaza)");
}

bool writeAllOrNone(const QList<PlannedFile>& files, QString* failed, QString* error)
{
    QList<FileToWrite> written;
    for (const PlannedFile& file : files)
        if (!file.unchanged)
            written.append({file.path, file.bytes});
    qsizetype failing = 0;
    if (writeFilesSafely(written, &failing, error))
        return true;
    *failed = written[failing].path;
    return false;
}

QString installedTilesets()
{
    // Beside the running program, as installed: the same build works under /usr, in a
    // private prefix and in a package unpacked anywhere.
    const QString folder = qEnvironmentVariableIsSet("QUINTARAZ_TILED_TILESETS")
                               ? qEnvironmentVariable("QUINTARAZ_TILED_TILESETS")
                               : QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                                                 QStringLiteral(QUINTARAZ_TILED_TILESETS));
    for (const char* name : {tiled::terrainTilesetFile, tiled::playerTilesetFile,
                             tiled::terrainImage, tiled::playerImage})
        if (folder.isEmpty() || !QFileInfo(folder + u'/' + QLatin1String(name)).isFile())
            return {};
    return folder;
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
