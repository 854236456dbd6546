// Internal to the fake backend: what a window handle is, and the window table's helpers the
// dialog code shares with the window code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/fake/fake_platform.h"

namespace platform {

struct Window {
  fake::FakeWindowInfo info;
  WindowProc proc;
  bool isBar;
  fake::FakeBarInfo bar;
  Menu* barMenu;                  // the whole menu of the bar
  std::vector<uint16_t> buttonCommands;  // menu-bar buttons, parallel to barMenu->popups
  // Dialogs.
  bool isDialog;
  bool dialogEnded;
  intptr_t dialogResult;
  const DialogTemplate* dialogTemplate;  // none for a scripted dialog without one
  std::vector<Window*> controls;         // in template order
  bool mirrored;                         // made in a right-to-left interface
  std::vector<fake::MessageCall> delivered;  // messages its procedure got so far
  // Controls of a dialog.
  bool isControl;
  fake::FakeControl control;
};

}  // namespace platform

namespace fake {

// Whether the fake made this handle (destroyed windows included).
bool Known(platform::Window* window);
// A new window in the table.
platform::Window* NewWindow(const std::u16string& className, const std::u16string& title, platform::Window* parent);
// Marks every descendant of parent destroyed.
void DestroyChildren(platform::Window* parent);
int32_t DefaultWindowWidth();
int32_t DefaultWindowHeight();
// What SystemMetric(kSystemMetricPaneMarginPercent) answers.
int32_t PaneMarginPercent();
// Forgets the dialog scripts, the recorded dialogs, the control log and the focus.
void ResetDialogs();
// Forgets the recorded dialogs and the control log, and a focus on a destroyed window;
// scripts and any other focus stay.
void TrimDialogRecords();
// Clears the keyboard focus when its window has been destroyed (a destroyed dialog, or its
// control, keeps no focus, as on a real desktop).
void ForgetDestroyedFocus();
// Each area's part of TrimRecords.
void TrimWindows();
void TrimClipboard();
void TrimShell();
void TrimFontChooserSupport();

}  // namespace fake
