#include "xsession.h"

#include "failurereport.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {

QString editorPath()
{
    return QString::fromLocal8Bit(qgetenv("QUINTARAZ_EDITOR"));
}

} // namespace

XSession::XSession()
{
    // A server that comes up badly (a machine under load, a display that was just
    // freed) is set aside and another one started.
    for (int attempt = 0; attempt < 3 && !running_; ++attempt) {
        if (attempt > 0) {
            qWarning("starting another X server");
            stopAll();
        }
        running_ = startServer();
    }
}

bool XSession::startServer()
{
    // The server picks a free display itself and tells its number on standard output.
    // Without -noreset it would start afresh whenever its last client leaves, and refuse
    // whoever comes next meanwhile: the window manager, or the editor.
    QProcess* server =
        start(QStringLiteral("Xvfb"),
              {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
               QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!waitUntil([&] {
            server->waitForReadyRead(50);
            return server->canReadLine() || server->state() != QProcess::Running;
        }) ||
        !server->canReadLine()) {
        qWarning("Xvfb did not start");
        return false;
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(server->readLine()).trimmed();
    if (!waitUntil([&] {
            return run(QStringLiteral("xdotool"), {QStringLiteral("getmouselocation")})
                .contains(QLatin1String("x:"));
        })) {
        qWarning("X server %s does not answer", qPrintable(display_));
        return false;
    }
    windowManager_ = start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!waitUntil([&] {
            return windowManager_->waitForFinished(1) ||
                   !run(QStringLiteral("wmctrl"), {"-m"}).isEmpty();
        }) ||
        windowManager_->state() != QProcess::Running) {
        qWarning("no window manager on %s", qPrintable(display_));
        return false;
    }
    return true;
}

XSession::~XSession()
{
    keepEvidenceOfFailure();
    stopAll();
}

void XSession::keepEvidenceOfFailure()
{
    if (evidenceKept_ || !running_ || !QTest::currentTestFailed())
        return;
    evidenceKept_ = true;
    keepFailureReport(*this);
}

void XSession::stopAll()
{
    // Newest first: the editors before the window manager before the server.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& process = **it;
        if (process.state() == QProcess::NotRunning)
            continue;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    processes_.clear();
    editor_ = nullptr;
    probe_.setEditor(nullptr);
    windowManager_ = nullptr;
}

void XSession::stopWindowManager()
{
    windowManager_->terminate();
    windowManager_->waitForFinished(30000);
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    if (!sessionBus_.isEmpty()) {
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus_);
        // As when a screen reader runs: Qt then serves its accessibility tree.
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    }
    return environment;
}

bool XSession::startAccessibilityBus()
{
    // The accessibility bus is started on demand through the session bus.
    QProcess* bus = start(QStringLiteral("dbus-daemon"),
                          {QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--print-address=1")});
    if (!waitUntil([&] {
            bus->waitForReadyRead(50);
            return bus->canReadLine() || bus->state() != QProcess::Running;
        }) ||
        !bus->canReadLine())
        return false;
    sessionBus_ = QString::fromLatin1(bus->readLine()).trimmed();
    return !sessionBus_.isEmpty();
}

QProcess* XSession::start(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (program != QLatin1String("Xvfb") && program != QLatin1String("dbus-daemon"))
        process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program, arguments);
    process->waitForStarted();
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

QString XSession::startEditor(const QStringList& launcher, const QStringList& arguments)
{
    const QStringList command =
        launcher + probe_.launcher() + QStringList{editorPath()} + arguments;
    editor_ = start(command.constFirst(), command.mid(1));
    probe_.setEditor(editor_);
    const QString id = waitForFocusedWindow(QStringLiteral("Quintaraz Editor"));
    if (id.isEmpty())
        qWarning("the editor's window did not show framed and focused: editor %s, its windows "
                 "[%s], active window %s",
                 editor_->waitForFinished(1) ? "ended" : "running",
                 qPrintable(windowsOf(editor_->processId()).join(u' ')),
                 qPrintable(xdotool({QStringLiteral("getactivewindow")})));
    return id;
}

QString XSession::run(const QString& program, const QStringList& arguments)
{
    // The first step after a failed check: the screen still shows what made it fail.
    keepEvidenceOfFailure();
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        qWarning("%s did not finish", qPrintable(program));
        process.kill();
        process.waitForFinished();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString XSession::waitForWindow(const QString& title)
{
    QString id;
    waitUntil([&] {
        id = windowsNamed(title).value(0);
        return !id.isEmpty();
    });
    return id;
}

QString XSession::waitForFocusedWindow(const QString& title)
{
    QString id;
    const bool focused = waitUntil([&] {
        const QStringList windows = windowsNamed(title);
        id = windows.isEmpty() ? QString() : windows.constLast();
        return !id.isEmpty() && xdotool({QStringLiteral("getactivewindow")}) == id &&
               run(QStringLiteral("xprop"),
                   {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")})
                   .contains(QLatin1Char('='));
    });
    return focused ? id : QString();
}

QStringList XSession::windowsNamed(const QString& title)
{
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), pattern})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool XSession::waitForWindows(const QString& title, int count)
{
    return waitUntil([&] { return windowsNamed(title).size() >= count; });
}

bool XSession::waitForNoWindow(const QString& title)
{
    return waitUntil([&] { return windowsNamed(title).isEmpty(); });
}

QStringList XSession::windowsOf(qint64 pid)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QRect XSession::geometry(const QString& window)
{
    // Without an id xwininfo would wait for a click on the window to describe.
    if (window.isEmpty())
        return {};
    // xwininfo gives the position on the screen also for a window inside a frame.
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    const auto value = [&](const char* key) {
        const QRegularExpression line(QStringLiteral("^\\s*%1:\\s*(-?\\d+)$")
                                          .arg(QRegularExpression::escape(QLatin1String(key))),
                                      QRegularExpression::MultilineOption);
        return line.match(info).captured(1).toInt();
    };
    return {value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
            value("Height")};
}

QRect XSession::frameGeometry(const QString& window)
{
    if (window.isEmpty())
        return {};
    // _NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom
    const QString extents = run(QStringLiteral("xprop"), {QStringLiteral("-id"), window,
                                                          QStringLiteral("_NET_FRAME_EXTENTS")});
    const QStringList numbers = extents.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    const QRect inside = geometry(window);
    if (numbers.size() != 4)
        return inside;
    return inside.adjusted(-numbers[0].trimmed().toInt(), -numbers[2].trimmed().toInt(),
                           numbers[1].trimmed().toInt(), numbers[3].trimmed().toInt());
}

QImage XSession::shot(const QRect& area)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    // The whole screen, cut here: import's own cropping keeps a page offset.
    process.start(QStringLiteral("import"),
                  {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    process.waitForFinished(10000);
    QImage screen = QImage::fromData(process.readAllStandardOutput(), "PNG")
                        .convertToFormat(QImage::Format_RGB32);
    // Plain device pixels, as the editor composed them: no colour space attached.
    screen.setColorSpace(QColorSpace());
    return screen.copy(area);
}

void XSession::click(const QString& window, QPoint at, int button)
{
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
             QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QString::number(button)});
}

void XSession::keys(const QStringList& keys)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} +
            keys);
}

void XSession::type(const QString& text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

QString XSession::clipboard()
{
    return run(QStringLiteral("xclip"),
               {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
}

void XSession::chooseMenuItem(const QString& mainWindow, int index)
{
    const int before = windowsOf(editor_->processId()).size();
    click(mainWindow, {24, 10});
    // The menu is a window of its own; once it shows, it takes the keys.
    waitUntil([&] { return windowsOf(editor_->processId()).size() > before; });
    QStringList presses(index + 1, QStringLiteral("Down"));
    presses.append(QStringLiteral("Return"));
    keys(presses);
}

bool XSession::chooseFile(const QString& title, const QString& path)
{
    if (waitForFocusedWindow(title).isEmpty())
        return false;
    type(path);
    // Confirmed only once every key has reached the name field: a busy editor may still be
    // taking them in, and a name that lost a key names another file.
    if (!waitForNameField(path))
        return false;
    keys({QStringLiteral("Return")});
    return waitForNoWindow(title);
}

bool XSession::waitForNameField(const QString& text)
{
    QString field;
    if (waitUntil([&] {
            field = nameField();
            return field == text;
        }))
        return true;
    qWarning("the name field holds «%s», not «%s»", qPrintable(field), qPrintable(text));
    return false;
}

QString XSession::nameField()
{
    const QString field = probe_.says(QStringLiteral("name field"));
    return field.startsWith(u'«') && field.endsWith(u'»') ? field.mid(1, field.size() - 2)
                                                          : QString();
}

QString XSession::artifactFolder()
{
    const QString folder = QString::fromLocal8Bit(qgetenv("QUINTARAZ_E2E_ARTIFACTS"));
    if (!folder.isEmpty())
        return folder;
    // ctest runs the test in the build folder's tests/ and logs to Testing/Temporary.
    const QDir log(QStringLiteral("../Testing/Temporary"));
    return log.exists() ? log.absolutePath() : QDir::currentPath();
}

bool XSession::waitUntil(const std::function<bool()>& condition, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(25);
    }
    return true;
}
