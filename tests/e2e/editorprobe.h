#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/**
 * Asks an editor what it holds, through the probe that the end-to-end tests preload into it
 * (probeineditor.cpp): its windows, the active one, the keyboard focus, the file dialog's
 * name field, the list that is open.
 */
class EditorProbe {
public:
    /**
     * The words that start the editor with the probe in it, put before the editor's path:
     * the probe goes into the editor alone, not into a launcher such as prlimit.
     */
    QStringList launcher() const;
    /** The editor to ask from now on. */
    void setEditor(const QProcess* editor) { editor_ = editor; }

    /**
     * The editor's whole account of itself; nothing, and why in whyNot, when none comes
     * within the time given: an editor that is blocked never answers.
     */
    QString ask(int milliseconds, QString* whyNot = nullptr) const;
    /**
     * The value of the editor's line "what: value" ("active window", "focus widget",
     * "popup", "name field"); nothing when the editor does not answer.
     */
    QString says(const QString& what) const;

private:
    QString answerFile() const { return scratch_.filePath(QStringLiteral("editor-state")); }

    QTemporaryDir scratch_;
    const QProcess* editor_ = nullptr;
};
