#include "shell/window/commands.h"

#include "dialogs/about_box.h"
#include "dialogs/font_chooser.h"
#include "export/export.h"
#include "index/index_dialog.h"
#include "search/search.h"
#include "search/search_dialog.h"
#include "shell/bookmarks.h"
#include "shell/command_ids.h"
#include "shell/menu_marks.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

void ChangeLowerPaneSize(platform::Window* mainWindow, uint32_t id) {
  const int32_t code = int32_t(id) - kCmdLowerPaneBase;
  if (code == gReaderSettings.bottomSection) return;
  gReaderSettings.bottomSection = code;
  // Keys, Copy and Append act on the active pane: a pane that is no longer shown hands
  // that role to the upper one.
  if (!LowerPaneShown() && gPaneState.activeView && gPaneState.activeView == gPaneState.lowerView) {
    gPaneState.activeView = nullptr;
    gPaneState.activeScrollBar = gPaneState.upperScrollBar;
  }
  LayOutPanes(mainWindow, kLastClientSize);
  RepaintPanes(mainWindow, kRepaintAfterResize);
  CheckLowerPaneSize();
}

}  // namespace

intptr_t DispatchCommand(platform::Window* mainWindow, uint32_t id) {
  switch (id) {
    case kCmdIndexOld:
    case kCmdIndex: {
      const uint16_t chosen = OpenIndexDialog(mainWindow, gReaderSettings.lesson, &gReaderSettings.fontSpec);
      if (chosen != 0 && chosen != gReaderSettings.lesson) GoToArticle(mainWindow, chosen);
      return 0;
    }
    case kCmdNextArticle: StepArticle(mainWindow, +2); return 0;
    case kCmdPreviousArticle: StepArticle(mainWindow, -2); return 0;
    case kCmdSearch: OpenSearchDialog(mainWindow); return 0;
    case kCmdSearchAgain: SearchAgain(mainWindow); return 0;
    case kCmdReverse:
      SyncReverseCheck(MenuCheckMode::kToggle);
      RepaintPanes(mainWindow, kRepaintAll);
      return 0;
    case kCmdBookmark:
      ToggleBookmark(IsBookmarked());
      RefreshBookmarkCheck();
      return 0;
    case kCmdCheckForUpdates: CheckForUpdates(mainWindow); return 0;
    case kCmdLowerPaneNone:
    case kCmdLowerPaneHalf:
    case kCmdLowerPaneThird:
    case kCmdLowerPaneQuarter:
    case kCmdLowerPaneTwoThirds:
    case kCmdLowerPaneThreeQuarters:
      ChangeLowerPaneSize(mainWindow, id);
      return 0;
    case kCmdAbout: OpenAboutBox(mainWindow); return 0;
    case kCmdExit: platform::DestroyWindow(mainWindow); return 0;
    case kCmdFont: {
      // The chooser makes a letter base of 0 the Unicode one even when it is cancelled:
      // the panes keep their own copy of the FontSpec and must follow that too.
      const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
      if (OpenFontChooser(mainWindow, &gReaderSettings.fontSpec) == 1 ||
          gReaderSettings.fontSpec.fontAsciiBase != base) {
        PageViewSetFont(gPaneState.upperView, &gReaderSettings.fontSpec);
        PageViewSetFont(gPaneState.lowerView, &gReaderSettings.fontSpec);
      }
      return 0;
    }
    case kCmdCopy: CopyArticle(ActiveView(), false); return 0;
    case kCmdAppend: CopyArticle(ActiveView(), true); return 0;
    default: return 1;
  }
}
