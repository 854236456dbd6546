// The panes as documents for assistive technology and for keyboard focus.
#pragma once

#include "platform/platform.h"

// Describes the main window's panes to the platform: the upper one as "Page", the lower
// one as "Commentary" while it has a height, each with the text of its page view in
// reading order; moving the keyboard focus to a pane makes it the active pane.
void ExposePanes(platform::Window* mainWindow);
// Tells assistive technology of each shown pane whose selection is not what it was at the
// last call (made, moved or cleared). Cheap when nothing changed: the main window calls it
// after every message, wherever in the reader the selection changed.
void ReportSelectionChanges(platform::Window* mainWindow);
