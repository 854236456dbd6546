#include "shell/window/pane_input.h"

#include "search/search.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

// What a pane's scrolling repaints: the pane itself, with the upper pane erased first.
// (The erase bit does nothing for the lower pane, which paints over its own background.)
constexpr uint32_t kRepaintUpperPane = kRepaintUpper | kRepaintEraseUpper;
constexpr uint32_t kRepaintLowerPane = kRepaintLower | kRepaintEraseUpper;
// A move of the lower pane's scroll bar repaints both panes, the upper one not erased.
constexpr uint32_t kRepaintLowerBar = kRepaintUpper | kRepaintLower;

// Rows one page step moves for a page mode: half the painted rows for modes 2 and 4, else
// the painted rows less one. Never negative: before anything was painted (no rows) a page
// key or tap must not move the other way. Keys and taps share it.
int32_t PageStep(const PageView* view, uint32_t mode) {
  const int32_t rows = view ? view->rowsPainted : 0;
  const int32_t step = (mode == 2 || mode == 4) ? rows / 2 : rows - 1;
  return step < 0 ? 0 : step;
}

uint32_t KeyPageMode() { return (gReaderSettings.flags & kFlagKeyPageModeMask) >> kFlagKeyPageModeShift; }
uint32_t TapPageMode() { return (gReaderSettings.flags & kFlagTapPageModeMask) >> kFlagTapPageModeShift; }

intptr_t ScrollByKey(platform::Window* mainWindow, PageView* view, int32_t delta) {
  if (PageViewScroll(view, delta, 0, 1) != kScrollNothingDone)
    RepaintPanes(mainWindow, view == gPaneState.upperView ? kRepaintUpperPane : kRepaintLowerPane);
  SyncScrollBar(gPaneState.activeScrollBar);
  return 0;
}

// Whether x, y lies in the view or within the gutter around it (bounds included). The
// pane's inner margin counts as the pane's too.
bool InsidePane(const PageView* view, int32_t x, int32_t y) {
  const int32_t g = gDeviceOptions.surroundingGutter;
  const int32_t m = g + gPaneState.margin;
  return view && view->x - m <= x && x <= view->x + view->width + m && view->y - g <= y &&
         y <= view->y + view->height + g;
}

// The lower pane when it shows (the size "none" hides it), else none.
PageView* ShownLowerView() { return LowerPaneShown() ? gPaneState.lowerView : nullptr; }

void MakeActive(PageView* view) {
  PaneState& panes = gPaneState;
  panes.activeView = view;
  panes.activeScrollBar = view == panes.lowerView ? panes.lowerScrollBar : panes.upperScrollBar;
}

}  // namespace

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
  // The hidden lower pane's bar lies outside the client area; should input still come from
  // it, it changes nothing.
  if (scrollBar && scrollBar == panes.lowerScrollBar && !LowerPaneShown()) return 1;
  if (scrollBar && scrollBar == panes.lowerScrollBar) {
    panes.activeScrollBar = panes.lowerScrollBar;
    view = panes.lowerView;
    repaintFlags = kRepaintLowerBar;
  } else {
    panes.activeScrollBar = panes.upperScrollBar;
    view = panes.upperView;
    repaintFlags = kRepaintUpperPane;
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
    // The bar's own "Bottom" goes to the end, as "Top" goes to the start.
    case platform::kSbBottom: delta = view ? int32_t(view->maxTopRow) - top : 0; break;
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
  MakeActive(view);
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
  const int32_t step = PageStep(view, TapPageMode());
  PageViewScroll(view, c < middle ? -step : step, repaintNow ? 1 : 0, 1);
  SyncScrollBar(panes.activeScrollBar);
  return 1;
}

void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y, bool fromMouse) {
  PageView* upper = gPaneState.upperView;
  if (!upper) return;
  PageView* lower = ShownLowerView();
  if (fromMouse) {
    // A click that picks another pane only picks it; clicks on the active pane follow the
    // tap rules below.
    PageView* clicked = InsidePane(upper, x, y) ? upper : InsidePane(lower, x, y) ? lower : nullptr;
    if (clicked && clicked != ActiveView()) {
      MakeActive(clicked);
      return;
    }
  }
  if (TapPane(upper, x, y, true) == 1) return;
  if (lower && TapPane(lower, x, y, false) == 1) RepaintPanes(mainWindow, kRepaintLower);
}

void OnMouseWheel(platform::Window* mainWindow, int32_t x, int32_t y, int32_t wheelDelta) {
  PaneState& panes = gPaneState;
  platform::Window* bar;
  if (InsidePane(panes.upperView, x, y))
    bar = panes.upperScrollBar;
  else if (InsidePane(ShownLowerView(), x, y))
    bar = panes.lowerScrollBar;
  else
    return;
  // Fine-grained wheels send parts of a notch; the parts add up to whole rows.
  if (bar != panes.wheelBar || (panes.wheelPending > 0) != (wheelDelta > 0)) panes.wheelPending = 0;
  panes.wheelBar = bar;
  panes.wheelPending += wheelDelta * 3;
  const int32_t rows = panes.wheelPending / platform::kWheelDelta;
  panes.wheelPending -= rows * platform::kWheelDelta;

  if (rows == 0) {
    // Still activates the pane, as a tap would.
    OnScrollBar(mainWindow, platform::kSbEndScroll, 0, bar);
    return;
  }
  const uint32_t code = rows > 0 ? platform::kSbLineUp : platform::kSbLineDown;
  for (int32_t i = 0; i < (rows > 0 ? rows : -rows); ++i) OnScrollBar(mainWindow, code, 0, bar);
}
