#include "shell/menu_marks.h"

#include "shell/bookmarks.h"
#include "shell/command_ids.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"

platform::Menu* ReaderMenu() {
  return platform::BarMenu(gShellWindows.bar, gDeviceOptions.menuBarOnBottom ? kCmdMenuGo : 0);
}

platform::Menu* LowerPaneSizeMenu() {
  return platform::BarMenu(gShellWindows.bar, gDeviceOptions.menuBarOnBottom ? kCmdMenuQuelm : 0);
}

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

void CheckLowerPaneSize() {
  platform::CheckMenuRadioItem(LowerPaneSizeMenu(), kCmdLowerPaneFirst, kCmdLowerPaneLast,
                               uint16_t(kCmdLowerPaneBase + gReaderSettings.bottomSection));
}
