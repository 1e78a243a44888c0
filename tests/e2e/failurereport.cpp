#include "failurereport.h"

#include "xsession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

/** A name for files about the current test and its data row. */
QString currentTestName()
{
    QString name = QString::fromLatin1(QTest::currentTestFunction());
    const QString row = QString::fromUtf8(QTest::currentDataTag());
    if (!row.isEmpty())
        name += QLatin1Char('-') + row;
    return name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
}

QString describeEditorProcess(const QProcess* editor)
{
    if (!editor)
        return QStringLiteral("not started");
    if (editor->state() == QProcess::Running) {
        // The launcher's name until it has started the editor.
        QFile name(QStringLiteral("/proc/%1/comm").arg(editor->processId()));
        name.open(QIODevice::ReadOnly);
        return QStringLiteral("running, process %1 (%2)")
            .arg(editor->processId())
            .arg(QString::fromLocal8Bit(name.readAll().trimmed()));
    }
    if (editor->exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed");
    return QStringLiteral("ended with status %1").arg(editor->exitCode());
}

/** A window's id, title and place on the screen, in one line. */
QString describeWindow(XSession& x, const QString& window)
{
    if (window.isEmpty())
        return QStringLiteral("none");
    const QRect place = x.geometry(window);
    return QStringLiteral("%1 «%2» at %3,%4 %5x%6")
        .arg(window, x.xdotool({QStringLiteral("getwindowname"), window}))
        .arg(place.x())
        .arg(place.y())
        .arg(place.width())
        .arg(place.height());
}

/** Whether a window is mapped, in what, and what a window manager made of it. */
QString describeMapping(XSession& x, const QString& window)
{
    const QString info =
        x.run(QStringLiteral("xwininfo"), {QStringLiteral("-children"), QStringLiteral("-stats"),
                                           QStringLiteral("-id"), window});
    const auto field = [&](const QString& name) {
        const QRegularExpression line(QStringLiteral("^\\s*%1:\\s*(.*)$").arg(name),
                                      QRegularExpression::MultilineOption);
        return line.match(info).captured(1);
    };
    const QString state =
        x.run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_STATE")});
    return QStringLiteral("%1: %2, parent %3, %4")
        .arg(window, field(QStringLiteral("Map State")), field(QStringLiteral("Parent window id")),
             state.contains(QLatin1String("window state:"))
                 ? state.section(QStringLiteral("window state:"), 1).section(u'\n', 0, 0).trimmed()
                 : QStringLiteral("not managed by a window manager"));
}

} // namespace

QString describeState(XSession& x)
{
    QStringList lines;
    lines << QStringLiteral("editor: %1").arg(describeEditorProcess(x.editor()));
    lines << QStringLiteral("window manager: %1")
                 .arg(x.windowManagerRuns() ? QStringLiteral("running") : QStringLiteral("ended"));
    lines << QStringLiteral("pointer: %1").arg(x.xdotool({QStringLiteral("getmouselocation")}));
    // The X server's own input focus, whatever a window manager says is active.
    const QString focus = x.xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("-f")});
    lines << QStringLiteral("keyboard focus: %1")
                 .arg(focus == QLatin1String("1")   ? QStringLiteral("the window under the pointer")
                      : focus == QLatin1String("0") ? QStringLiteral("none")
                                                    : describeWindow(x, focus));
    const QString active = x.xdotool({QStringLiteral("getactivewindow")});
    lines << QStringLiteral("active window: %1")
                 .arg(active.isEmpty() ? QStringLiteral("none") : describeWindow(x, active));
    // Titled windows only: a window manager's frames and buttons have no titles.
    lines << QStringLiteral("visible windows with a title, oldest first:");
    for (const QString& window :
         x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), QStringLiteral(".")})
             .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << QStringLiteral("  ") + describeWindow(x, window);

    QElapsedTimer asked;
    asked.start();
    QString whyNot;
    const QString own = x.probe().ask(20000, &whyNot);
    lines << QStringLiteral("the editor says:");
    if (own.isEmpty())
        lines << QStringLiteral("  ") + whyNot;
    else
        lines << QStringLiteral("  (answered in %1 ms)").arg(asked.elapsed());
    for (const QString& line : own.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << QStringLiteral("  ") + line;
    // A window the editor shows may yet be unmapped, or mapped in a frame that is not.
    static const QRegularExpression shownWindow(QStringLiteral("^window .* (0x[0-9a-f]+) at "),
                                                QRegularExpression::MultilineOption);
    for (auto it = shownWindow.globalMatch(own); it.hasNext();)
        lines << QStringLiteral("  on the X server, ") + describeMapping(x, it.next().captured(1));
    return lines.join(QLatin1Char('\n'));
}

void keepFailureReport(XSession& x)
{
    // The picture first: describing the state changes nothing on the screen, but takes time.
    const QImage screen = x.shot(QRect(0, 0, 1280, 1024));
    const QString state = describeState(x);
    QDir().mkpath(XSession::artifactFolder());
    const QString base = XSession::artifactFolder() + QLatin1Char('/') + currentTestName() +
                         QStringLiteral("-failed");
    const QString picture = base + QStringLiteral(".png");
    QFile text(base + QStringLiteral(".txt"));
    const bool textKept = text.open(QIODevice::WriteOnly) && text.write(state.toUtf8()) >= 0;
    qWarning("the screen at the failure: %s\nthe state at the failure%s:\n%s",
             screen.save(picture) ? qPrintable(picture) : "not kept",
             textKept ? qPrintable(QStringLiteral(" (%1)").arg(text.fileName())) : "",
             qPrintable(state));
}
