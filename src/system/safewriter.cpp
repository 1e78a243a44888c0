#include "system/safewriter.h"

#include "system/filedescriptor.h"
#include "system/filenames.h"
#include "system/systemerror.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

namespace {

/**
 * A file written beside its place and made to take it later: until then, and when it is
 * dropped, the file at that place stays as it was.
 */
class StagedFile {
public:
    explicit StagedFile(const QString& path)
        : file_(path)
    {
    }

    /** Writes every byte to the disk beside the file's place. */
    bool write(QByteArrayView bytes, QString* error)
    {
        const QString path = file_.fileName();
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
        errno = 0;
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failWith(error, errno, file_.errorString());
        for (qsizetype written = 0; written < bytes.size();) {
            errno = 0;
            const qint64 count = file_.write(bytes.data() + written, bytes.size() - written);
            if (count <= 0)
                return failWith(error, errno, file_.errorString());
            written += count;
        }
        if (replacing)
            keepOwnerAndMode(file_.handle(), existing);
        // Every byte is on the disk before the new file takes the old one's place.
        if (::fsync(file_.handle()) != 0)
            return fail(error, systemErrorText(errno));
        return true;
    }

    /** The written file takes its place. */
    bool commit(QString* error)
    {
        errno = 0;
        if (!file_.commit())
            return failWith(error, errno, file_.errorString());
        return true;
    }

private:
    QSaveFile file_;
};

} // namespace

bool writeFileSafely(const QString& path, QByteArrayView bytes, QString* error)
{
    StagedFile file(path);
    return file.write(bytes, error) && file.commit(error);
}

bool writeFilesSafely(const QList<FileToWrite>& files, qsizetype* failed, QString* error)
{
    // Every file is written beside its place before any takes it: a full disk, a size limit
    // or a failing device stops the writing while every old file is still there.
    std::vector<std::unique_ptr<StagedFile>> staged;
    for (qsizetype k = 0; k < files.size(); ++k) {
        staged.push_back(std::make_unique<StagedFile>(files[k].path));
        if (!staged.back()->write(files[k].bytes, error)) {
            *failed = k;
            return false;
        }
    }
    // Then only renames are left, which need no room of their own and seldom fail.
    for (qsizetype k = 0; k < files.size(); ++k) {
        if (!staged[std::size_t(k)]->commit(error)) {
            *failed = k;
            return false;
        }
    }
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
