#include "system/boundedread.h"

#include "system/filedescriptor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quintaraz {

FileBytes readFileAtMost(const QString& path, qint64 limit)
{
    const auto fail = [](FileProblem problem, int error = 0) {
        return FileBytes{{}, problem, error};
    };
    // Non-blocking: some files say they are plain files and then never give a byte.
    const FileDescriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen())
        return fail(FileProblem::CannotOpen, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return fail(FileProblem::CannotRead, errno);
    if (!S_ISREG(info.st_mode))
        return fail(FileProblem::NotAPlainFile);
    if (info.st_size > limit)
        return fail(FileProblem::TooLarge);
    // Plain reads, never a mapping that a file cut short underneath would turn into SIGBUS.
    // Some files report a size of 0 and have text, so read on to the end, but never more
    // than the limit.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > limit)
                return fail(FileProblem::TooLarge);
            bytes.resize(std::min<qsizetype>(2 * filled + 4096, limit + 1));
        }
        const ssize_t count =
            ::read(file.get(), bytes.data() + filled, size_t(bytes.size() - filled));
        if (count == 0)
            break;
        if (count < 0 && errno != EINTR)
            return fail(FileProblem::CannotRead, errno);
        filled += std::max<ssize_t>(count, 0);
    }
    bytes.truncate(filled);
    return {bytes};
}

} // namespace quintaraz
