#pragma once

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

} // namespace quintaraz
