// The panes as documents for assistive technology and for keyboard focus.
#pragma once

#include "platform/platform.h"

// Describes the main window's panes to the platform: the upper one as "Page", the lower
// one as "Commentary" while it has a height, each with the text of its page view in
// reading order; moving the keyboard focus to a pane makes it the active pane.
void ExposePanes(platform::Window* mainWindow);
