#include "shell/shell_state.h"

ShellWindows gShellWindows{};
DeviceOptions gDeviceOptions{};
PaneState gPaneState{};
IndexBitmaps gIndexBitmaps{};

void ResetShellState() {
  gShellWindows = ShellWindows{};
  gDeviceOptions = DeviceOptions{};
  gPaneState = PaneState{};
  gIndexBitmaps = IndexBitmaps{};
}
