#include "reader/main_window.h"

#include "dialogs/about_box.h"
#include "search/find_all_list.h"
#include "shell/colour_scheme_choice.h"
#include "shell/command_ids.h"
#include "shell/dialog_setup.h"
#include "shell/menu_marks.h"
#include "shell/pane_accessibility.h"
#include "shell/panes.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "reader/commands.h"
#include "reader/colour_scheme_switch.h"
#include "reader/font_steps.h"
#include "reader/go_to_verse.h"
#include "reader/menu_tables.h"
#include "reader/pane_input.h"
#include "view/page_view.h"

namespace {

constexpr uint32_t kPositionFlagsHighBits = 0xFFFF0000u;

}  // namespace

bool RegisterMainWindowClass(void* /*instance*/, const char16_t* className) {
  const platform::WindowClass windowClass{platform::kCsHRedraw | platform::kCsVRedraw, MainWindowProc,
                                          platform::LoadIcon(kIconReader),
                                          StockBrushOfColour(gColourScheme->gutter), className};
  return platform::RegisterWindowClass(windowClass);
}

void CreateBars() {
  const platform::OsVersion version = platform::GetOsVersion();
  if (version.major > 4 || (version.major == 4 && version.minor >= 21)) gDeviceOptions.menuBarOnBottom = 1;

  platform::Window* owner = gShellWindows.mainWindow;
  platform::Window* bar;
  if (gDeviceOptions.menuBarOnBottom) {
    bar = platform::CreateMenuBar(owner, kReaderMenu, kReaderMenuBarButtons, 2,
                                  platform::kMenuBarHideInputPanelButton);
    if (bar) {
      gShellWindows.bar = bar;
      gShellWindows.barHeight = platform::BarHeight(bar);
    }
  } else {
    bar = platform::CreateCommandBar(owner, 1);
    gShellWindows.bar = bar;
    gShellWindows.barHeight = platform::BarHeight(bar);
    platform::CommandBarInsertMenu(bar, kReaderMenu);
  }
  // Without a bar the reader runs without menu and buttons; nothing is reported.
  if (!bar) return;
  platform::BarAddTips(bar, kReaderToolTips, 7);
  platform::BarAddBitmap(bar, kBitmapToolButtons, 6, kToolButtonImageSize, kToolButtonImageSize);
  platform::BarAddButtons(bar, kReaderToolButtons, 6);
  if (gDeviceOptions.fullScreen && !gDeviceOptions.menuBarOnBottom) platform::CommandBarAddCloseButton(bar);
  platform::ShowWindow(bar, platform::kSwShow);
}

namespace {

intptr_t HandleMessage(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgCreate:
      gShellWindows.mainWindow = window;
      CreateBars();
      CreatePanes(window);
      ExposePanes(window);
      ShowColourSchemeInWindow();
      SyncReverseCheck(MenuCheckMode::kSet);
      RefreshBookmarkCheck();
      return 0;
    case platform::kMsgDestroy:
      if (gPaneState.upperView) platform::ReleaseWindowDc(window, gPaneState.upperView->dc);
      if (gShellWindows.bar) {
        platform::DestroyWindow(gShellWindows.bar);
        gShellWindows.bar = nullptr;
      }
      // A list of every hit still open keeps the size the user gave it.
      if (gFindAll.dialog) RememberDialogSize(gFindAll.dialog, DialogSizeSlot::kFindAll);
      SaveSettingsAndQuit();
      return 0;
    case platform::kMsgSize:
      LayOutPanes(window, uint32_t(lParam));
      return 0;
    case platform::kMsgActivate:
      if (gDeviceOptions.ignoreActivate) return platform::DefWindowProc(window, message, wParam, lParam);
      if (platform::LowWord(wParam) != 0)
        platform::SetFullScreenState(window, gDeviceOptions.fullScreen ? kFullScreenAll
                                                                       : platform::kFullScreenHideInputPanelButton);
      return 0;
    case platform::kMsgPaint:
      PaintPanes(reinterpret_cast<platform::Dc*>(wParam), window, kRepaintUpper | kRepaintLower | kRepaintEraseUpper);
      return 0;
    case platform::kMsgSysColourChange:
      OnDesktopColoursChanged(window);
      return 0;
    case platform::kMsgSettingChange:
      platform::HandleSettingChange(window, wParam, lParam);
      return 0;
    case platform::kMsgWindowPositionChanged: {
      const auto* position = reinterpret_cast<const platform::WindowPosition*>(lParam);
      // A position change with any of the high flag bits and no activation is the shell's
      // request to close the reader.
      if (position && (position->flags & kPositionFlagsHighBits) && (position->flags & platform::kSwpNoActivate))
        platform::DestroyWindow(window);
      return 0;
    }
    case platform::kMsgHelp:
      OpenAboutBox(window);
      return 0;
    case platform::kMsgKeyDown:
      return OnKeyDown(window, uint32_t(wParam), (lParam & platform::kKeyWithShift) != 0);
    case platform::kMsgCommand:
      if (DispatchCommand(window, platform::LowWord(wParam)) != 0)
        return platform::DefWindowProc(window, message, wParam, lParam);
      return 0;
    case platform::kMsgVScroll:
      return OnScrollBar(window, platform::LowWord(wParam), int16_t(platform::HighWord(wParam)),
                         reinterpret_cast<platform::Window*>(lParam));
    case platform::kMsgLButtonDown:
      OnTap(window, uint16_t(platform::LowWord(uintptr_t(lParam))), uint16_t(platform::HighWord(uintptr_t(lParam))),
            (platform::LowWord(wParam) & platform::kMkFromMouse) != 0,
            (platform::LowWord(wParam) & platform::kMkShift) != 0);
      return 0;
    case platform::kMsgMouseMove:
      OnMouseDrag(window, int16_t(platform::LowWord(uintptr_t(lParam))), int16_t(platform::HighWord(uintptr_t(lParam))));
      return 0;
    case platform::kMsgLButtonUp:
      OnMouseRelease(window, int16_t(platform::LowWord(uintptr_t(lParam))),
                     int16_t(platform::HighWord(uintptr_t(lParam))));
      return 0;
    case platform::kMsgLButtonDblClk:
      OnMultipleClick(window, int16_t(platform::LowWord(uintptr_t(lParam))),
                      int16_t(platform::HighWord(uintptr_t(lParam))), int(platform::HighWord(wParam)));
      return 0;
    case platform::kMsgMouseWheel:
      // Ctrl+wheel sizes the text, as in other desktop programs.
      if (platform::LowWord(wParam) & platform::kMkControl)
        OnFontSizeWheel(window, int16_t(platform::HighWord(wParam)));
      else
        OnMouseWheel(window, int16_t(platform::LowWord(uintptr_t(lParam))),
                     int16_t(platform::HighWord(uintptr_t(lParam))), int16_t(platform::HighWord(wParam)));
      return 0;
    case platform::kMsgPrivateQuit:
      platform::DestroyWindow(window);
      return 0;
    case platform::kMsgSecondStart:
      OnSecondStart(window);
      return 0;
    case platform::kMsgGoToReference:
      OnGoToRequest(window, reinterpret_cast<const char16_t*>(lParam));
      return 0;
    default:
      return platform::DefWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace

intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const intptr_t answer = HandleMessage(window, message, wParam, lParam);
  // Whatever the message did to a pane's selection (a drag, a key, a command, a page turned),
  // screen readers hear of it.
  if (message != platform::kMsgDestroy) ReportSelectionChanges(window);
  return answer;
}

void OnSecondStart(platform::Window* mainWindow) {
  platform::Window* foreground = platform::GetForegroundWindow();
  platform::Window* top = foreground;
  while (top && platform::GetParent(top)) top = platform::GetParent(top);
  if (mainWindow == foreground)
    platform::SendMessage(mainWindow, platform::kMsgCommand, kCmdIndex, 0);
  else if (mainWindow != top)
    platform::SetForegroundWindow(mainWindow);
}
