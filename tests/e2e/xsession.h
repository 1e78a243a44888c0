#pragma once

#include "editorprobe.h"

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

/**
 * One virtual X server with a window manager, and the editor processes started on it.
 * Everything it started is ended when it goes, also when a test fails halfway.
 */
class XSession {
public:
    XSession();
    ~XSession();

    bool isRunning() const { return running_; }
    QString display() const { return display_; }

    /**
     * Starts a session bus of its own with the accessibility bus behind it, as a desktop
     * with a screen reader has, for every program started afterwards; false if it could not.
     */
    bool startAccessibilityBus();

    /**
     * Ends the window manager. The keyboard focus then follows the pointer, as on a desktop
     * whose focus does: keys go to the window under the pointer, which Qt does not take
     * for the active one.
     */
    void stopWindowManager();

    /** Starts a program on this display; it is ended with the session. */
    QProcess* start(const QString& program, const QStringList& arguments = {});
    /**
     * Starts the editor, through a launcher such as prlimit when one is given, and waits
     * until its main window shows, framed and focused by the window manager; returns its
     * window id, or nothing if it never did. The editor carries the probe that tells its
     * state (QUINTARAZ_EDITOR_PRELOAD).
     */
    QString startEditor(const QStringList& launcher = {}, const QStringList& arguments = {});
    QProcess* editor() const { return editor_; }

    /** Runs a command on this display and gives its output. */
    QString run(const QString& program, const QStringList& arguments);
    QString xdotool(const QStringList& arguments)
    {
        return run(QStringLiteral("xdotool"), arguments);
    }

    /** The id of the visible window whose title is exactly title, waiting up to a few seconds. */
    QString waitForWindow(const QString& title);
    /**
     * The id of the newest visible window with exactly that title once it is framed and
     * holds the keyboard focus, so that keys typed next reach it; nothing if it never did.
     */
    QString waitForFocusedWindow(const QString& title);
    /** Visible windows whose title is exactly title, newest last. */
    QStringList windowsNamed(const QString& title);
    /** Waits until at least count visible windows have exactly that title. */
    bool waitForWindows(const QString& title, int count);
    /** Waits until no visible window has that title. */
    bool waitForNoWindow(const QString& title);
    /** Visible windows of a process, newest last. */
    QStringList windowsOf(qint64 pid);

    /** Inside of a window (without frame), in screen pixels; empty for no window. */
    QRect geometry(const QString& window);
    /** Outer frame of a window, as the window manager drew it. */
    QRect frameGeometry(const QString& window);

    /** A screenshot of part of the screen. */
    QImage shot(const QRect& area);

    void click(const QString& window, QPoint at, int button = 1);
    void keys(const QStringList& keys);
    void type(const QString& text);

    /** The text on the clipboard. */
    QString clipboard();

    /** Opens "Archivo" in a main window and chooses its item at index (0 "Nuevo" ... 3 "Salir"). */
    void chooseMenuItem(const QString& mainWindow, int index);
    /**
     * Types a full path into the file dialog with that title and confirms it once the name
     * field holds exactly that path.
     */
    bool chooseFile(const QString& title, const QString& path);
    /** The text in the name field of the editor's file dialog, as the editor tells it. */
    QString nameField();
    /** Waits until the name field holds exactly that text; says what it holds if it never does. */
    bool waitForNameField(const QString& text);

    /**
     * Where pictures of a failure are kept: QUINTARAZ_E2E_ARTIFACTS, or beside ctest's log
     * (Testing/Temporary of the build folder) when ctest runs the test.
     */
    static QString artifactFolder();

    /**
     * Waits until the condition holds, up to the given time; false if it never did. The
     * time only bounds a failure: a busy machine may take long to reach a state.
     */
    static bool waitUntil(const std::function<bool()>& condition, int milliseconds = 30000);

    /**
     * What the editor says of one thing: the value of its line "what: value" ("active
     * window", "focus widget", "popup", "name field"); nothing when it does not answer.
     */
    QString editorSays(const QString& what) const { return probe_.says(what); }
    const EditorProbe& probe() const { return probe_; }
    bool windowManagerRuns() const
    {
        return windowManager_ && windowManager_->state() == QProcess::Running;
    }

private:
    bool startServer();
    void stopAll();
    /** Once the test has failed, and only once: keeps the failure report (failurereport.h). */
    void keepEvidenceOfFailure();

    QProcessEnvironment environment() const;

    QString display_;
    QString sessionBus_;
    bool running_ = false;
    bool evidenceKept_ = false;
    EditorProbe probe_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    QProcess* editor_ = nullptr;
    QProcess* windowManager_ = nullptr;
};
