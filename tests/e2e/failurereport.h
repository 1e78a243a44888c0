#pragma once

#include <QString>

class XSession;

/**
 * What the screen and the editor hold: the editor's process, the pointer, the keyboard
 * focus, the visible windows, and the editor's own account of its windows, focus widget and
 * file dialog, with how each of its windows stands on the X server.
 */
QString describeState(XSession& x);

/**
 * Keeps a picture of the screen and the state beside the test's log, named after the test
 * and its data row, and prints both into the log, so that a failure on a CI machine
 * explains itself.
 */
void keepFailureReport(XSession& x);
