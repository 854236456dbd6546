// Message boxes owned by the main window, which never appear before it: during start-up
// the window is not on screen yet, and a box then would stand alone on the desktop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Shows the box over owner now when owner is on screen (or is none) and answers the button
// chosen. Otherwise the box waits for ShowWaitingMessages and this answers the box's
// dismiss answer (nothing is decided by a box that has not been seen). text and caption
// must be static. When four boxes already wait, a further one is shown at once.
int ShowOwnedMessage(platform::Window* owner, const char16_t* text, const char16_t* caption, uint32_t type);
// Shows the boxes that waited, in order, owned by owner, and forgets them.
void ShowWaitingMessages(platform::Window* owner);
