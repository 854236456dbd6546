#include "reader/commands.h"

#include "dialogs/about_box.h"
#include "dialogs/font_chooser.h"
#include "dialogs/language_choice.h"
#include "export/export.h"
#include "index/index_dialog.h"
#include "search/find_all_list.h"
#include "search/search.h"
#include "search/search_dialog.h"
#include "shell/bookmarks.h"
#include "shell/command_ids.h"
#include "shell/menu_marks.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "reader/colour_scheme_switch.h"
#include "reader/font_steps.h"
#include "reader/print_command.h"
#include "reader/go_to_verse.h"
#include "view/page_view.h"

namespace {

void ChangeLowerPaneSize(platform::Window* mainWindow, uint32_t id) {
  const int32_t code = int32_t(id) - kCmdLowerPaneBase;
  if (code == gReaderSettings.bottomSection) return;
  gReaderSettings.bottomSection = code;
  KeepActivePaneShown();
  LayOutPanes(mainWindow, kLastClientSize);
  RepaintPanes(mainWindow, kRepaintAfterResize | kRepaintEraseClient);
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
    case kCmdSearch: SearchWithDialog(mainWindow); return 0;
    case kCmdSearchAgain: SearchAgain(mainWindow); return 0;
    case kCmdFindAll: FindAll(mainWindow); return 0;
    case kCmdDarkColours: ToggleColourScheme(mainWindow); return 0;
    case kCmdGoToVerse: OpenGoToVerseDialog(mainWindow); return 0;
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
    case kCmdLanguage: OpenLanguageChoice(mainWindow); return 0;
    case kCmdExit: platform::DestroyWindow(mainWindow); return 0;
    case kCmdFont: {
      // The chooser makes a letter base of 0 the Unicode one even when it is cancelled:
      // the panes keep their own copy of the FontSpec and must follow that too.
      const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
      const bool chosen = OpenFontChooser(mainWindow, &gReaderSettings.fontSpec) == 1;
      if (chosen) gFontSteps.chosenSize = gReaderSettings.fontSpec.size;
      if (chosen || gReaderSettings.fontSpec.fontAsciiBase != base) ApplyFontToPanes(mainWindow);
      return 0;
    }
    case kCmdFontLarger: StepFontSize(mainWindow, +1); return 0;
    case kCmdFontSmaller: StepFontSize(mainWindow, -1); return 0;
    case kCmdFontChosenSize: StepFontSize(mainWindow, 0); return 0;
    case kCmdCopy: CopySelectionOrArticle(ActiveView(), false); return 0;
    case kCmdAppend: CopySelectionOrArticle(ActiveView(), true); return 0;
    case kCmdPrint: PrintWithDialog(mainWindow); return 0;
    default: return 1;
  }
}
