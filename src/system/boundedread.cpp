#include "system/boundedread.h"

#include "system/filedescriptor.h"
#include "system/filenames.h"
#include "system/systemerror.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

namespace {

FileBytes failure(FileProblem problem, int error = 0)
{
    FileBytes failed;
    failed.problem = problem;
    failed.systemError = error;
    return failed;
}

/** Waits until a pipe can be read; false, with errno, when waiting failed. */
bool waitForPipe(int fd)
{
    pollfd readable{fd, POLLIN, 0};
    return ::poll(&readable, 1, -1) >= 0 || errno == EINTR;
}

/**
 * Reads what is left of fd to its end into the size and SHA-256 of a file too large to keep,
 * whose first bytes were read already, in pieces; false, with errno, when a read failed.
 */
bool digestRest(int fd, bool pipe, QByteArrayView read, FileBytes& large)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(read);
    qint64 size = read.size();
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (;;) {
        if (pipe && !waitForPipe(fd))
            return false;
        const ssize_t count = ::read(fd, piece.data(), size_t(piece.size()));
        if (count == 0)
            break;
        if (count < 0 && (errno == EINTR || (pipe && errno == EAGAIN)))
            continue;
        if (count < 0)
            return false;
        hash.addData(QByteArrayView(piece).first(count));
        size += count;
    }
    large.size = size;
    large.sha256 = hash.result();
    return true;
}

/**
 * Reads fd to its end, at most limit bytes. Plain reads, never a mapping that a file cut
 * short underneath would turn into SIGBUS. Some files report a size of 0 and have text, so
 * it reads on to the end from expected. Any file but a pipe that would block is refused.
 * A pipe is waited for before each read: opened without blocking, a named one says it has
 * ended until a writer comes, and waiting tells that from a writer that came and left.
 */
FileBytes readToEnd(int fd, qint64 expected, qint64 limit, bool pipe, LargeFiles large)
{
    QByteArray bytes(qsizetype(std::min(expected, limit)) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit) {
                FileBytes head;
                head.problem = FileProblem::TooLarge;
                if (large == LargeFiles::HeadAndDigest && !digestRest(fd, pipe, bytes, head))
                    return failure(FileProblem::CannotRead, errno);
                bytes.truncate(largeFileHead);
                head.bytes = bytes;
                return head;
            }
            bytes.resize(std::min<qsizetype>(2 * filled + 4096, limit + 1));
        }
        if (pipe && !waitForPipe(fd))
            return failure(FileProblem::CannotRead, errno);
        const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count == 0)
            break;
        if (count < 0 && (errno == EINTR || (pipe && errno == EAGAIN)))
            continue;
        if (count < 0)
            return failure(FileProblem::CannotRead, errno);
        filled += count;
    }
    bytes.truncate(filled);
    FileBytes whole;
    whole.bytes = bytes;
    return whole;
}

/** The first bytes of a plain file that is too large to read whole. */
FileBytes headOfLargeFile(int fd, LargeFiles large)
{
    FileBytes head = readToEnd(fd, largeFileHead, largeFileHead, false, large);
    if (head.problem == FileProblem::CannotRead)
        return head;
    head.bytes.truncate(largeFileHead);
    head.problem = FileProblem::TooLarge;
    return head;
}

} // namespace

FileBytes readFileAtMost(const QString& path, qint64 limit, InputKinds kinds, LargeFiles large)
{
    const bool pipes = kinds == InputKinds::AlsoPipes;
    if (pipes && path == QLatin1String("-")) {
        struct stat info {};
        if (::fstat(STDIN_FILENO, &info) != 0)
            return failure(FileProblem::CannotRead, errno);
        if (S_ISDIR(info.st_mode))
            return failure(FileProblem::NotAPlainFile);
        const bool plain = S_ISREG(info.st_mode);
        return readToEnd(STDIN_FILENO, plain ? info.st_size : 0, limit, !plain, large);
    }
    // Non-blocking: some files say they are plain files and then never give a byte.
    FileDescriptor file(
        ::open(fileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen())
        return failure(FileProblem::CannotOpen, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return failure(FileProblem::CannotRead, errno);
    if (pipes && S_ISFIFO(info.st_mode))
        return readToEnd(file.get(), 0, limit, true, large);
    if (!S_ISREG(info.st_mode))
        return failure(FileProblem::NotAPlainFile);
    if (info.st_size > limit)
        return headOfLargeFile(file.get(), large);
    return readToEnd(file.get(), info.st_size, limit, false, large);
}

QString fileProblemText(FileProblem problem, int systemError, qint64 limit,
                        const QString& noneSoLarge)
{
    switch (problem) {
    case FileProblem::NotAPlainFile:
        return QStringLiteral("no es un archivo normal");
    case FileProblem::TooLarge:
        return QStringLiteral("mide más de %1 MiB y ningún %2 es tan grande")
            .arg(limit / (1024 * 1024))
            .arg(noneSoLarge);
    default:
        return systemErrorText(systemError);
    }
}

} // namespace quintaraz
