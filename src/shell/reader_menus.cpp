#include "shell/reader_menus.h"

#include "shell/command_ids.h"
#include "shell/shell_state.h"

platform::Menu* ReaderMenu() {
  return platform::BarMenu(gShellWindows.bar, gDeviceOptions.menuBarOnBottom ? kCmdMenuGo : 0);
}

platform::Menu* LowerPaneSizeMenu() {
  return platform::BarMenu(gShellWindows.bar, gDeviceOptions.menuBarOnBottom ? kCmdMenuQuelm : 0);
}
