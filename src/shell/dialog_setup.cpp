#include "shell/dialog_setup.h"

#include "shell/shell_state.h"

namespace {

// In full-screen mode a window keeps its left edge and grows to the top of the screen.
void MoveToScreenTop(platform::Window* window) {
  platform::Rect r{0, 0, 0, 0};
  if (!platform::GetWindowRect(window, &r)) return;
  platform::MoveWindow(window, r.left, 0, r.right, r.bottom, false);
}

}  // namespace

void SetUpDialog(platform::Window* dialog, uint32_t flags) {
  platform::ShellInitDialog(dialog, gDeviceOptions.fullScreen ? flags : flags | platform::kDialogDoneButton);
  if (gDeviceOptions.fullScreen) MoveToScreenTop(dialog);
}
