#include "shell/shell_state.h"

ShellWindows gShellWindows{};
DeviceOptions gDeviceOptions{};
PaneState gPaneState{};
IndexBitmaps gIndexBitmaps{};
FontSteps gFontSteps{};
WaitingMessages gWaitingMessages{};
DialogSizes gDialogSizes{};

void ResetShellState() {
  gShellWindows = ShellWindows{};
  gDeviceOptions = DeviceOptions{};
  gPaneState = PaneState{};
  gIndexBitmaps = IndexBitmaps{};
  gFontSteps = FontSteps{};
  gWaitingMessages = WaitingMessages{};
  gDialogSizes = DialogSizes{};
}
