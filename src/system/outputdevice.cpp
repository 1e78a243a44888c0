#include "system/outputdevice.h"

#include "system/systemerror.h"

#include <QTextStream>

#include <cerrno>
#include <unistd.h>

namespace quintaraz {

OutputDevice::OutputDevice(int fd, QObject* parent)
    : QIODevice(parent)
    , fd_(fd)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputDevice::readData(char*, qint64)
{
    return -1;
}

qint64 OutputDevice::writeData(const char* data, qint64 size)
{
    if (error_)
        return -1;
    for (qint64 written = 0; written < size;) {
        const ssize_t count = ::write(fd_, data + written, size_t(size - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error_ = errno;
            return -1;
        }
        written += count;
    }
    return size;
}

int finishOutput(QTextStream& out, const OutputDevice& device, QTextStream& err,
                 const char* program, int status)
{
    out.flush();
    if (device.error() == 0)
        return status;
    err << program << ": no se ha podido escribir la salida: " << systemErrorText(device.error())
        << Qt::endl;
    return 1;
}

} // namespace quintaraz
