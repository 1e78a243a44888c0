#include "system/safewriter.h"

#include "system/filedescriptor.h"
#include "system/filenames.h"
#include "system/systemerror.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

/** The system's reason for a failed call, or the toolkit's when the system gave none. */
bool failWith(QString* error, int systemError, const QString& toolkitReason)
{
    return fail(error, systemError ? systemErrorText(systemError) : toolkitReason);
}

/**
 * Gives the new file the owner, group and mode of the one it replaces, as far as this
 * process may: only root may give a file away, an owner may still set a group of its own.
 * What cannot be set stays as the save file made it.
 */
void keepOwnerAndMode(int fd, const struct stat& old)
{
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, uid_t(-1), old.st_gid);
    // After fchown, which clears the set-id bits.
    (void)::fchmod(fd, old.st_mode & 07777);
}

} // namespace

QString notAPlainFileText(const QString& path)
{
    return QStringLiteral("%1 no es un archivo normal").arg(printableName(path));
}

bool writeFileSafely(const QString& path, QByteArrayView bytes, QString* error)
{
    // Qt's save file would write to another name, with U+FFFD for each such byte.
    if (hasForeignBytes(path))
        return fail(error, QStringLiteral("el nombre %1 no es UTF-8 y no se puede escribir")
                               .arg(printableName(path)));
    // What is replaced is what a link leads to, and only a plain file.
    struct stat existing {};
    const bool replacing = ::stat(fileNameBytes(path).constData(), &existing) == 0;
    if (!replacing && errno != ENOENT)
        return fail(error, systemErrorText(errno));
    if (replacing && !S_ISREG(existing.st_mode))
        return fail(error, notAPlainFileText(path));

    // Unbuffered: a buffered write that fails when it is flushed inside commit() goes
    // unnoticed, and a short file replaces the old one. errno is read right after each
    // call, for the reason in Spanish.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWith(error, errno, file.errorString());
    for (qsizetype written = 0; written < bytes.size();) {
        errno = 0;
        const qint64 count = file.write(bytes.data() + written, bytes.size() - written);
        if (count <= 0)
            return failWith(error, errno, file.errorString());
        written += count;
    }
    if (replacing)
        keepOwnerAndMode(file.handle(), existing);
    // Every byte is on the disk before the new file takes the old one's place.
    if (::fsync(file.handle()) != 0)
        return fail(error, systemErrorText(errno));
    errno = 0;
    if (!file.commit())
        return failWith(error, errno, file.errorString());
    return true;
}

bool writeFileInPlace(const QString& path, QByteArrayView bytes, QString* error)
{
    const QByteArray name = fileNameBytes(path);
    bool created = true;
    int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        // Non-blocking: a pipe without a reader is refused, not waited for.
        fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }
    if (fd < 0)
        return fail(error, systemErrorText(errno));
    FileDescriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(error, systemErrorText(errno));
    if (!S_ISREG(info.st_mode))
        return fail(error, notAPlainFileText(path));
    int problem = ::ftruncate(fd, 0) == 0 ? writeAll(fd, bytes) : errno;
    if (const int closing = file.close(); problem == 0)
        problem = closing;
    if (problem == 0)
        return true;
    if (created)
        ::unlink(name.constData());
    return fail(error, systemErrorText(problem));
}

} // namespace quintaraz
