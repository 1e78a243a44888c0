#pragma once

#include <QIODevice>

class QTextStream;

namespace quintaraz {

/**
 * Standard output, or any descriptor, as a write-only device that checks every write and
 * keeps the first error, so that a program can tell at its end whether all it wrote
 * arrived: /dev/full, a full disk and a closed pipe all fail a write.
 */
class OutputDevice : public QIODevice {
    Q_OBJECT

public:
    explicit OutputDevice(int fd, QObject* parent = nullptr);

    /** 0, or the system error of the first write that failed. */
    int error() const { return error_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    int fd_;
    int error_ = 0;
};

/**
 * A program's last step: flushes out, which writes to device, and gives the exit status,
 * which becomes 1, with the reason on err, when not all of it was written.
 */
int finishOutput(QTextStream& out, const OutputDevice& device, QTextStream& err,
                 const char* program, int status);

} // namespace quintaraz
