#pragma once

#include <QByteArrayView>

#include <cerrno>
#include <unistd.h>

namespace quintaraz {

/** An open file descriptor, closed when it goes unless it was closed before. */
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { close(); }

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

    /** Closes it now; 0, or the error that closing reported (some file systems write then). */
    int close()
    {
        if (fd_ < 0)
            return 0;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

/** Writes all of bytes to fd; 0, or the error of the write that failed. */
inline int writeAll(int fd, QByteArrayView bytes)
{
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        // A short write (the disk filled up) is followed by one that says why.
        written += count;
    }
    return 0;
}

} // namespace quintaraz
