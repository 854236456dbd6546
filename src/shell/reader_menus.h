// The reader's two menus as the shell and the dialogs reach them; none without a bar.
#pragma once

#include "platform/platform.h"

// The menu carrying the "Re&verse" and "&Bookmark" marks.
platform::Menu* ReaderMenu();
// The menu with the lower-pane sizes.
platform::Menu* LowerPaneSizeMenu();
