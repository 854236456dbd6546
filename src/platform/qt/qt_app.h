// Set-up of the Qt backend's windows and process services, for the program's front end
// and the end-to-end harness.
#pragma once

#include <QImage>

#include "platform/platform.h"

namespace platform::qt {

// Top-level windows made from now on are laid out and painted but never put on a screen
// (for rendering them into images).
void SetWindowsOffscreen(bool offscreen);
// Outer size of a top-level window created with kUseDefault; 0 x 0 (the start value)
// means the desktop default: 540 x 800, kept within the screen's available area.
void SetDefaultWindowSize(int width, int height);
// Disabled: ClaimSingleInstance always succeeds without holding the name and no request is
// served, for modes that must neither meet nor disturb a running reader. Enabled at start.
void SetSingleInstanceEnabled(bool enabled);

// Handles the events waiting now, then waits for the window to have been laid out and
// painted at least once (at most timeoutMs). False when that did not happen in time.
bool SettleWindow(Window* window, int timeoutMs);
// The top-level window as it shows: menu bar, tool bar and client area; a null image for
// none or a destroyed window.
QImage RenderWindow(Window* window);

// The server a single instance listens on: on Unix the full socket path
// <runtime directory>/name, in $XDG_RUNTIME_DIR or else in a directory <temp>/name-<uid>
// made for it, either checked to be this user's and closed to others. Empty (with a note
// on stderr) when there is no such directory.
QString InstanceServerName(const char16_t* name);
// The lock file beside that server: serverName.lock; empty for an empty server name.
QString InstanceLockPath(const QString& serverName);

}  // namespace platform::qt
