#include "shell/commands.h"

#include "content/article.h"
#include "content/reader_settings.h"
#include "shell/bookmarks.h"
#include "shell/later_commands.h"
#include "shell/main_window.h"
#include "shell/panes.h"
#include "shell/settings.h"
#include "shell/shell_resources.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

// Rows one page step moves for a page mode: half the painted rows for modes 2 and 4, else
// the painted rows less one. Never negative: before anything was painted (no rows) a page
// key must not move the other way.
int32_t PageStep(const PageView* view, uint32_t mode) {
  const int32_t rows = view ? view->rowsPainted : 0;
  const int32_t step = (mode == 2 || mode == 4) ? rows / 2 : rows - 1;
  return step < 0 ? 0 : step;
}

uint32_t KeyPageMode() { return (gReaderSettings.flags & kFlagKeyPageModeMask) >> kFlagKeyPageModeShift; }
uint32_t TapPageMode() { return (gReaderSettings.flags & kFlagTapPageModeMask) >> kFlagTapPageModeShift; }

intptr_t ScrollByKey(platform::Window* mainWindow, PageView* view, int32_t delta) {
  if (PageViewScroll(view, delta, 0, 1) != kScrollNothingDone)
    RepaintPanes(mainWindow, view == gPaneState.upperView ? 0x101 : 0x102);
  SyncScrollBar(gPaneState.activeScrollBar);
  return 0;
}

// Whether x, y lies in the view or within the gutter around it (bounds included).
bool InsidePane(const PageView* view, int32_t x, int32_t y) {
  const int32_t g = gDeviceOptions.surroundingGutter;
  return view && view->x - g <= x && x <= view->x + view->width + g && view->y - g <= y &&
         y <= view->y + view->height + g;
}

void ChangeLowerPaneSize(platform::Window* mainWindow, uint32_t id) {
  const int32_t code = int32_t(id) - kCmdLowerPaneBase;
  if (code == gReaderSettings.bottomSection) return;
  gReaderSettings.bottomSection = code;
  LayOutPanes(mainWindow, kLastClientSize);
  RepaintPanes(mainWindow, kRepaintAfterResize);
  platform::CheckMenuRadioItem(LowerPaneSizeMenu(), kCmdLowerPaneFirst, kCmdLowerPaneLast, uint16_t(id));
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
    case 401: case 412: case 413: case 414: case 423: case 434:
      ChangeLowerPaneSize(mainWindow, id);
      return 0;
    case kCmdAbout: OpenAboutBox(mainWindow); return 0;
    case kCmdExit: platform::DestroyWindow(mainWindow); return 0;
    case kCmdFont:
      if (OpenFontChooser(mainWindow, &gReaderSettings.fontSpec) == 1) {
        PageViewSetFont(gPaneState.upperView, &gReaderSettings.fontSpec);
        PageViewSetFont(gPaneState.lowerView, &gReaderSettings.fontSpec);
      }
      return 0;
    case kCmdCopy: CopyArticle(ActiveView(), false); return 0;
    case kCmdAppend: CopyArticle(ActiveView(), true); return 0;
    default: return 1;
  }
}

void StepArticle(platform::Window* mainWindow, int step) {
  int n = int(gReaderSettings.lesson) + step;
  if (n > kLastArticle)
    n = 1;
  else if (n < 1)
    n = kLastPage;
  GoToArticle(mainWindow, n);
}

int GoToArticle(platform::Window* mainWindow, int n) {
  const uint16_t previous = gReaderSettings.lesson;
  SelectArticle(uint16_t(n));
  if (!LoadArticleIntoView(gPaneState.upperView, gReaderSettings.lesson, true)) {
    gReaderSettings.lesson = previous;
    return 1;
  }
  if (gPaneState.upperView) gPaneState.upperView->topRow = 0;
  LoadCommentaryPane(mainWindow);
  RepaintPanes(mainWindow, kRepaintAll);
  RefreshBookmarkCheck();
  return 0;
}

int ReloadCurrentArticle(platform::Window* mainWindow) {
  if (!LoadArticleIntoView(gPaneState.upperView, gReaderSettings.lesson, true)) return 1;
  if (gPaneState.upperView) gPaneState.upperView->topRow = 0;
  RepaintPanes(mainWindow, kRepaintAll);
  RefreshBookmarkCheck();
  return 0;
}

intptr_t OnKeyDown(platform::Window* mainWindow, uint32_t key) {
  PageView* view = ActiveView();
  switch (key) {
    case platform::kVkReturn:
      if (gReaderSettings.searchString[0] != 0) SearchAgain(mainWindow);
      return 0;
    case platform::kVkPrior: return ScrollByKey(mainWindow, view, -PageStep(view, KeyPageMode()));
    case platform::kVkNext: return ScrollByKey(mainWindow, view, PageStep(view, KeyPageMode()));
    case platform::kVkEnd:
      return ScrollByKey(mainWindow, view,
                         view && view->maxTopRow != 0 ? int32_t(view->maxTopRow) : PageStep(view, KeyPageMode()));
    case platform::kVkHome:
      return ScrollByKey(mainWindow, view,
                         view && view->topRow != 0 ? -int32_t(view->topRow) : -PageStep(view, KeyPageMode()));
    case platform::kVkLeft: StepArticle(mainWindow, -2); return 0;
    case platform::kVkUp: return ScrollByKey(mainWindow, view, -1);
    case platform::kVkRight: StepArticle(mainWindow, +2); return 0;
    case platform::kVkDown: return ScrollByKey(mainWindow, view, +1);
    default: return 1;
  }
}

intptr_t OnScrollBar(platform::Window* mainWindow, uint32_t code, int32_t position, platform::Window* scrollBar) {
  PaneState& panes = gPaneState;
  PageView* view;
  uint32_t repaintFlags;
  if (scrollBar && scrollBar == panes.lowerScrollBar) {
    panes.activeScrollBar = panes.lowerScrollBar;
    view = panes.lowerView;
    repaintFlags = 3;
  } else {
    panes.activeScrollBar = panes.upperScrollBar;
    view = panes.upperView;
    repaintFlags = 0x101;
  }
  panes.activeView = view;
  if (!view) view = panes.upperView;

  const int32_t rows = view ? view->rowsPainted : 0;
  const int32_t top = view ? view->topRow : 0;
  int32_t delta = 0;
  switch (code) {
    case platform::kSbLineUp: delta = -1; break;
    case platform::kSbLineDown: delta = 1; break;
    // A page never moves the other way, even before anything was painted.
    case platform::kSbPageUp: delta = rows > 1 ? 1 - rows : 0; break;
    case platform::kSbPageDown: delta = rows > 1 ? rows - 1 : 0; break;
    case platform::kSbThumbPosition:
    case platform::kSbThumbTrack: delta = position - top; break;
    case platform::kSbTop: delta = -top; break;
    case platform::kSbBottom: delta = 1; break;
    default: delta = 0; break;
  }

  if (delta != 0 && PageViewScroll(view, delta, 0, 1) != kScrollNothingDone) RepaintPanes(mainWindow, repaintFlags);
  platform::DefWindowProc(mainWindow, platform::kMsgVScroll,
                          uintptr_t(platform::MakeLong(code, uint32_t(position))), intptr_t(scrollBar));
  if (delta != 0) SyncScrollBar(panes.activeScrollBar);
  return 1;
}

int TapPane(PageView* view, int32_t x, int32_t y, bool repaintNow) {
  if (!InsidePane(view, x, y)) return 0;
  PaneState& panes = gPaneState;
  panes.activeView = view;
  panes.activeScrollBar = view == panes.lowerView ? panes.lowerScrollBar : panes.upperScrollBar;
  const uint32_t flags = gReaderSettings.flags;
  if (!(flags & kFlagTapTurnsPages)) return 0;

  int32_t c, middle;
  if (flags & kFlagTapZonesVertical) {
    c = y;
    middle = view->y + view->height / 2;
  } else {
    c = x;
    middle = view->x + view->width / 2;
  }
  const uint32_t mode = TapPageMode();
  int32_t step = (mode == 2 || mode == 4) ? view->rowsPainted / 2 : view->rowsPainted - 1;
  if (step < 0) step = -step;
  PageViewScroll(view, c < middle ? -step : step, repaintNow ? 1 : 0, 1);
  SyncScrollBar(panes.activeScrollBar);
  return 1;
}

void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y) {
  if (!gPaneState.upperView) return;
  if (TapPane(gPaneState.upperView, x, y, true) == 1) return;
  if (gPaneState.lowerView && TapPane(gPaneState.lowerView, x, y, false) == 1) RepaintPanes(mainWindow, kRepaintLower);
}

void OnMouseWheel(platform::Window* mainWindow, int32_t x, int32_t y, int32_t wheelDelta) {
  PaneState& panes = gPaneState;
  platform::Window* bar;
  if (InsidePane(panes.upperView, x, y))
    bar = panes.upperScrollBar;
  else if (InsidePane(panes.lowerView, x, y))
    bar = panes.lowerScrollBar;
  else
    return;
  // Fine-grained wheels send parts of a notch; the parts add up to whole rows.
  static int32_t pending = 0;
  static platform::Window* pendingBar = nullptr;
  if (bar != pendingBar || (pending > 0) != (wheelDelta > 0)) pending = 0;
  pendingBar = bar;
  pending += wheelDelta * 3;
  const int32_t rows = pending / platform::kWheelDelta;
  pending -= rows * platform::kWheelDelta;

  if (rows == 0) {
    // Still activates the pane, as a tap would.
    OnScrollBar(mainWindow, platform::kSbEndScroll, 0, bar);
    return;
  }
  const uint32_t code = rows > 0 ? platform::kSbLineUp : platform::kSbLineDown;
  for (int32_t i = 0; i < (rows > 0 ? rows : -rows); ++i) OnScrollBar(mainWindow, code, 0, bar);
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
}
