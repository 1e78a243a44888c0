#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <limits>

/** What a program run to its end wrote, and its exit status. */
struct ProgramRun {
    int status = std::numeric_limits<int>::min(); // until the program ends of itself
    QString out;
    QString err;
};

/**
 * Runs a program to its end, two minutes at most, in folder and with environment. A crash
 * or a hang leaves a status that no program gives, which fails the test that compares it.
 */
inline ProgramRun
runProgram(const QString& program, const QStringList& arguments, const QString& folder = {},
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
