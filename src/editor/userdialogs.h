#pragma once

#include <QString>

namespace quintaraz {

/**
 * The modal questions the editor asks: message boxes and the file dialog. The editor
 * runs against this seam, so that tests can script the answers without a window.
 */
class UserDialogs {
public:
    enum class Icon { Error, Information };

    virtual ~UserDialogs() = default;

    /** Yes and No, Yes the default, no icon; true for Yes. */
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    /** A message with an OK button; a detail, when given, says why. */
    virtual void showMessage(const QString& title, const QString& text, Icon icon,
                             const QString& detail = {}) = 0;
    /** The full path chosen in the file dialog, or an empty text when cancelled. */
    virtual QString chooseFileToOpen() = 0;
    virtual QString chooseFileToSave() = 0;
};

} // namespace quintaraz
