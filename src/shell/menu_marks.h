// The reader's menus as the shell and the dialogs reach them, and the check marks that
// follow the reader's state: "Re&verse", "&Bookmark" and the lower-pane size.
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum class MenuCheckMode { kSet, kToggle };

// The menu carrying the "Re&verse" and "&Bookmark" marks, and the one with the lower-pane
// sizes; none without a bar.
platform::Menu* ReaderMenu();
platform::Menu* LowerPaneSizeMenu();

// Sets or toggles an item's check mark; answers the item's new state.
bool SetMenuCheck(platform::Menu* menu, MenuCheckMode mode, uint16_t command, uint32_t value);
// The "&Bookmark" mark follows whether the current article is bookmarked.
void RefreshBookmarkCheck();
// Set: the "Re&verse" mark shows the Reverse flag. Toggle: the mark flips and the flag
// follows it. Either way both panes draw by the flag from then on.
void SyncReverseCheck(MenuCheckMode mode);
// Puts the radio mark of the lower-pane size menu on the item of the current size code.
void CheckLowerPaneSize();
