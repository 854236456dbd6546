#include "reader/startup.h"

#include <string>

#include "dialogs/font_chooser.h"
#include "shell/alloc_or_abort.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/owned_messages.h"
#include "shell/shell_state.h"
#include "shell/window_geometry.h"
#include "reader/font_steps.h"
#include "reader/go_to_verse.h"
#include "reader/main_window.h"
#include "reader/menu_tables.h"
#include "view/page_view.h"

int ReaderMain(void* instance, int showState, const char16_t* reference) {
  ResetShellState();
  ResetReaderSettings();
  gShellWindows.instance = instance;
  LoadDeviceOptions();
  if (gDeviceOptions.fullScreen) {
    gShellWindows.taskBar = platform::FindWindow(u"HHTaskBar", u"");
    if (gShellWindows.taskBar) gShellWindows.taskBarWasVisible = platform::IsWindowVisible(gShellWindows.taskBar);
  }
  platform::Window* window = StartReader(showState, 0, reference);
  if (!window) return 0;
  const int code = platform::RunMessageLoop(window, kReaderAccelerators,
                                            sizeof kReaderAccelerators / sizeof kReaderAccelerators[0]);
  if (gShellWindows.taskBar && gShellWindows.taskBarWasVisible) platform::ShowWindow(gShellWindows.taskBar, platform::kSwShow);
  return code;
}

namespace {

// How long the first start waits for the window's first frame before the font chooser.
constexpr int kFirstFrameWaitMs = 2000;

}  // namespace

platform::Window* StartReader(int showState, uint16_t startArticle, const char16_t* reference) {
  if (!platform::ClaimSingleInstance(kReaderClassName)) {
    if (reference)
      platform::SendInstanceRequest(kReaderClassName, platform::InstanceRequest::kGoTo, reference);
    else
      platform::SendInstanceRequest(kReaderClassName, platform::InstanceRequest::kSecondStart);
    return nullptr;
  }
  if (gShellWindows.taskBar) platform::ShowWindow(gShellWindows.taskBar, platform::kSwHide);
  // From here on, running out of memory saves what can be saved and ends the reader.
  SetOutOfMemoryHandler(SaveSettingsAndQuit);
  // Memory ran out while the settings loaded: the reader has told the user and stopped.
  if (!LoadSettings()) return nullptr;
  gFontSteps.chosenSize = gReaderSettings.fontSpec.size;
  SelectArticle(startArticle);
  RegisterMainWindowClass(gShellWindows.instance, kReaderClassName);
  platform::Window* window =
      platform::CreateWindow(platform::kWsExWindowEdge, kReaderClassName, kReaderClassName, platform::kWsVisible,
                             platform::kUseDefault, platform::kUseDefault, platform::kUseDefault,
                             platform::kUseDefault, nullptr, nullptr);
  if (!window) return nullptr;
  platform::ServeInstanceRequests(window);
  platform::SetMinimumClientSize(window, kMinimumClientWidth, kMinimumClientHeight);
  // Where the last run left the window; full screen takes the whole screen instead.
  if (!gDeviceOptions.fullScreen) RestoreWindowGeometry(window);
  if (gDeviceOptions.fullScreen) {
    platform::Rect r{0, 0, 0, 0};
    platform::GetWindowRect(window, &r);
    platform::SetFullScreenState(window, kFullScreenAll);
    platform::MoveWindow(window, r.left, 0, r.right, r.bottom, false);
  }
  platform::ShowWindow(window, showState);
  platform::UpdateWindow(window);
  // What went wrong while the window was made is told over it, now that it shows.
  ShowWaitingMessages(window);
  if (gReaderSettings.fontSpec.faceName[0] == 0) {
    // The first start asks for a font, with a good one chosen in advance; the views take
    // the FontSpec whatever the answer. The window shows first: the chooser's list of the
    // desktop's families is no work for the reader's first frame.
    platform::ShowFirstFrame(window, kFirstFrameWaitMs);
    OpenFontChooser(window, &gReaderSettings.fontSpec, FontChooserOpening::kFirstStart);
    gFontSteps.chosenSize = gReaderSettings.fontSpec.size;
    ApplyFontToPanes(window);
  }
  if (reference) {
    std::u16string message;
    if (GoToTypedReference(window, reference, &message) != 1)
      platform::MessageBox(window, message.c_str(), kGoToVerseCaption, platform::kMbOk | platform::kMbIconWarning);
  }
  return window;
}

