#include "editorprobe.h"

#include "xsession.h"

#include <QFile>
#include <QRegularExpression>

#include <csignal>

QStringList EditorProbe::launcher() const
{
    return {QStringLiteral("env"),
            QStringLiteral("LD_PRELOAD=") + qEnvironmentVariable("QUINTARAZ_EDITOR_PRELOAD"),
            QStringLiteral("QUINTARAZ_PROBE_STATE=") + answerFile()};
}

QString EditorProbe::ask(int milliseconds, QString* whyNot) const
{
    const auto refuse = [&](const QString& why) {
        if (whyNot)
            *whyNot = why;
        return QString();
    };
    if (!editor_ || editor_->state() != QProcess::Running)
        return refuse(QStringLiteral("nothing, it does not run"));
    // Without its probe the signal would end the editor.
    QFile maps(QStringLiteral("/proc/%1/maps").arg(editor_->processId()));
    if (!maps.open(QIODevice::ReadOnly) || !maps.readAll().contains("editorprobe"))
        return refuse(QStringLiteral("nothing, it carries no probe"));
    QFile::remove(answerFile());
    ::kill(pid_t(editor_->processId()), SIGUSR1);
    if (!XSession::waitUntil([&] { return QFile::exists(answerFile()); }, milliseconds))
        return refuse(QStringLiteral("nothing within %1 s: its event loop does not run")
                          .arg(milliseconds / 1000));
    QFile answer(answerFile());
    answer.open(QIODevice::ReadOnly);
    return QString::fromUtf8(answer.readAll());
}

QString EditorProbe::says(const QString& what) const
{
    const QRegularExpression line(
        QStringLiteral("^\\s*%1: (.*)$").arg(QRegularExpression::escape(what)),
        QRegularExpression::MultilineOption);
    // Asked again and again while a test waits: a busy editor's silence is no answer.
    return line.match(ask(5000)).captured(1);
}
