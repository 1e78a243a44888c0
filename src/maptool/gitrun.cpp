#include "maptool/gitrun.h"

#include <QProcess>

namespace quintaraz {

GitRun runGit(const QStringList& arguments, const QString& folder, const QByteArray& input)
{
    QProcess git;
    git.setWorkingDirectory(folder);
    git.start(QStringLiteral("git"), arguments);
    GitRun run;
    if (!git.waitForStarted()) {
        run.problem = QStringLiteral("no se puede ejecutar git: ¿está instalado?");
        return run;
    }
    git.write(input);
    git.closeWriteChannel();
    if (!git.waitForFinished(120000) || git.exitStatus() != QProcess::NormalExit) {
        run.problem = QStringLiteral("git no terminó");
        return run;
    }
    run.out = git.readAllStandardOutput();
    run.status = git.exitCode();
    run.succeeded = run.status == 0;
    if (!run.succeeded)
        run.problem =
            QStringLiteral("git dice: ") + QString::fromUtf8(git.readAllStandardError()).trimmed();
    return run;
}

} // namespace quintaraz
