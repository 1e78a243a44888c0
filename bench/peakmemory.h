#pragma once

#include <QFile>
#include <QRegularExpression>

/** The process's peak resident memory so far, in kilobytes (VmHWM). */
inline long peakMemoryKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression line(QStringLiteral("^VmHWM:\\s*(\\d+) kB$"),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
}
