#include "shell/menu_marks.h"

#include "shell/bookmarks.h"
#include "shell/command_ids.h"
#include "shell/panes.h"
#include "shell/reader_menus.h"
#include "shell/reader_settings.h"

bool SetMenuCheck(platform::Menu* menu, MenuCheckMode mode, uint16_t command, uint32_t value) {
  if (mode == MenuCheckMode::kSet) {
    platform::CheckMenuItem(menu, command, value != 0);
    return value != 0;
  }
  const bool checked = !platform::IsMenuItemChecked(menu, command);
  platform::CheckMenuItem(menu, command, checked);
  return checked;
}

void RefreshBookmarkCheck() { SetMenuCheck(ReaderMenu(), MenuCheckMode::kSet, kCmdBookmark, IsBookmarked()); }

void SyncReverseCheck(MenuCheckMode mode) {
  const bool on = SetMenuCheck(ReaderMenu(), mode, kCmdReverse, gReaderSettings.flags & kFlagReverse);
  if (on)
    gReaderSettings.flags |= kFlagReverse;
  else
    gReaderSettings.flags &= ~kFlagReverse;
  SetPanesReversed(on);
}
