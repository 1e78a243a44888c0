#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quintaraz {

/** What a run of git wrote, or why it failed. */
struct GitRun {
    bool succeeded = false;
    int status = -1; // git's exit status, when it ran to its end
    QByteArray out;
    QString problem;
};

/**
 * Runs git to its end, two minutes at most, in folder (the current one when empty), with
 * input on its standard input. A git that cannot run is said so, never taken for a git that
 * said no.
 */
GitRun runGit(const QStringList& arguments, const QString& folder = {},
              const QByteArray& input = {});

} // namespace quintaraz
