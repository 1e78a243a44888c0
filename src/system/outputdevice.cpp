#include "system/outputdevice.h"

#include "system/filedescriptor.h"
#include "system/systemerror.h"

#include <QTextStream>

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
    if (error_ == 0)
        error_ = writeAll(fd_, QByteArrayView(data, size));
    return error_ == 0 ? size : -1;
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
