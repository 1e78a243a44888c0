#pragma once

#include "editor/editormessage.h"

#include <QString>

namespace quintaraz {

/**
 * The modal questions the editor asks: message boxes and the file dialog. The editor
 * runs against this seam, so that tests can script the answers without a window.
 */
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /** Yes and No, Yes the default, no icon; true for Yes. */
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    /** A message with an OK button, in the words messageWords gives; a detail says why. */
    virtual void showMessage(EditorMessage message, const QString& detail = {}) = 0;
    /** The full path chosen in the file dialog, or an empty text when cancelled. */
    virtual QString chooseFileToOpen() = 0;
    virtual QString chooseFileToSave() = 0;
};

} // namespace quintaraz
