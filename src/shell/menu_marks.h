// The check marks of the reader's menu that follow the reader's state: "Re&verse" and
// "&Bookmark".
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum class MenuCheckMode { kSet, kToggle };

// Sets or toggles an item's check mark; answers the item's new state.
bool SetMenuCheck(platform::Menu* menu, MenuCheckMode mode, uint16_t command, uint32_t value);
// The "&Bookmark" mark follows whether the current article is bookmarked.
void RefreshBookmarkCheck();
// Set: the "Re&verse" mark shows the Reverse flag. Toggle: the mark flips and the flag
// follows it. Either way both panes draw by the flag from then on.
void SyncReverseCheck(MenuCheckMode mode);
