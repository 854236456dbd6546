#include "reader/pane_input.h"

#include <algorithm>
#include <vector>

#include "content/streams.h"
#include "content/verse_map.h"
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

// Pixels a pressed mouse must move before the press becomes a drag.
constexpr int32_t kDragDistance = 4;

// The pane at x, y: the upper one, or the lower one when it shows; none elsewhere.
PageView* PaneAt(int32_t x, int32_t y) {
  if (InsidePane(gPaneState.upperView, x, y)) return gPaneState.upperView;
  if (InsidePane(ShownLowerView(), x, y)) return gPaneState.lowerView;
  return nullptr;
}

uint32_t PaneRepaintFlags(const PageView* view) {
  return view == gPaneState.upperView ? kRepaintUpperPane : kRepaintLowerPane;
}

void RepaintPane(platform::Window* mainWindow, PageView* view) {
  RepaintPanes(mainWindow, PaneRepaintFlags(view));
  SyncScrollBar(view == gPaneState.lowerView ? gPaneState.lowerScrollBar : gPaneState.upperScrollBar);
}

// The other pane's selection goes when one pane's begins.
void ClearOtherSelection(platform::Window* mainWindow, const PageView* view) {
  PageView* other = view == gPaneState.upperView ? gPaneState.lowerView : gPaneState.upperView;
  if (!PageViewHasSelection(other)) return;
  PageViewClearSelection(other);
  RepaintPanes(mainWindow, PaneRepaintFlags(other));
}

// The character under x, y in view; a point above or below the view counts as its top or
// bottom row.
bool KeyNear(PageView* view, int32_t x, int32_t y, uint16_t* key) {
  if (PageViewKeyAt(view, x, y, key)) return true;
  const int32_t cx = std::clamp(x, view->x, view->x + view->width - 1);
  const int32_t cy = std::clamp(y, view->y, view->y + view->height - 1);
  return PageViewKeyAt(view, cx, cy, key);
}

// The line at the view's top row (the line below, when the top row is an empty row).
int32_t TopLine(const PageView* view) {
  uint32_t rows = 0;
  int32_t line = 0;
  while (!LineRecordIsEnd(view->lines[line]) && rows < view->topRow) {
    rows += (view->lines[line].flags & kParaExtraRow) ? 2 : 1;
    ++line;
  }
  return line;
}

// The x at which line starts in reading order: its right end for right-to-left text.
int32_t ReadingStartX(const PageView* view, int32_t line) {
  return (view->lines[line].flags & kParaRightToLeft) ? view->x + view->width - 1 : view->x;
}

// Shift+Up or Shift+Down: the selection's moving end goes to the character at the same
// place on the text row above or below; without a selection one starts at the top row.
intptr_t ExtendByRow(platform::Window* mainWindow, PageView* view, int32_t delta) {
  if (!view || !view->text || !view->lines) return 0;
  uint16_t anchor = 0, focus = 0;
  if (PageViewHasSelection(view)) {
    anchor = view->selectionAnchor;
    focus = view->selectionFocus;
  } else {
    int32_t line = TopLine(view);
    while (!LineRecordIsEnd(view->lines[line]) && !PageViewKeyOnLine(view, line, ReadingStartX(view, line), &anchor))
      ++line;
    if (anchor == 0) return 0;
    focus = anchor;
  }
  int32_t line = 0, x = 0;
  if (!PageViewKeyPlace(view, focus, &line, &x)) return 0;
  uint16_t next = 0;
  for (int32_t l = line + delta; l >= 0 && !LineRecordIsEnd(view->lines[l]); l += delta)
    if (PageViewKeyOnLine(view, l, x, &next)) {
      line = l;
      break;
    }
  ClearOtherSelection(mainWindow, view);
  PageViewSelect(view, anchor, next ? next : focus);
  // The moving end stays in view.
  const int32_t row = PageViewRowOfLine(view, line);
  const int32_t shown = std::max<int32_t>(view->rowsPainted, 1);
  if (row < view->topRow)
    PageViewScroll(view, row - view->topRow, 0, 1);
  else if (row >= view->topRow + shown)
    PageViewScroll(view, row - (view->topRow + shown) + 1, 0, 1);
  RepaintPane(mainWindow, view);
  return 0;
}

}  // namespace

bool ClearSelections(platform::Window* mainWindow) {
  bool any = false;
  for (PageView* view : {gPaneState.upperView, gPaneState.lowerView}) {
    if (!PageViewHasSelection(view)) continue;
    PageViewClearSelection(view);
    RepaintPanes(mainWindow, PaneRepaintFlags(view));
    any = true;
  }
  return any;
}

void OnMouseDrag(platform::Window* mainWindow, int32_t x, int32_t y) {
  PaneState& panes = gPaneState;
  PageView* view = panes.pressView;
  if (!view || !view->text) return;
  if (!panes.dragging) {
    if (std::abs(x - panes.pressX) + std::abs(y - panes.pressY) < kDragDistance) return;
    panes.dragging = true;
    ClearOtherSelection(mainWindow, view);
  }
  // Past the top or the bottom the pane scrolls a row a move, so a drag reaches on.
  if (y < view->y)
    PageViewScroll(view, -1, 0, 1);
  else if (y >= view->y + view->height)
    PageViewScroll(view, 1, 0, 1);
  uint16_t key = 0;
  if (!KeyNear(view, x, y, &key)) return;
  if (panes.pressKey == 0) panes.pressKey = key;
  PageViewSelect(view, panes.pressKey, key);
  RepaintPane(mainWindow, view);
}

void OnMouseRelease(platform::Window* mainWindow, int32_t /*x*/, int32_t /*y*/) {
  PaneState& panes = gPaneState;
  PageView* view = panes.pressView;
  panes.pressView = nullptr;
  if (!view) return;
  if (panes.dragging) {
    panes.dragging = false;
    return;
  }
  // A click: every selection goes, and the tap rules apply where the press was.
  ClearSelections(mainWindow);
  if (panes.pressPickedPane) return;
  panes.clickView = view;
  panes.clickTopRow = view->topRow;
  if (view == panes.upperView)
    TapPane(view, panes.pressX, panes.pressY, true);
  else if (TapPane(view, panes.pressX, panes.pressY, false) == 1)
    RepaintPanes(mainWindow, kRepaintLower);
}

void OnMultipleClick(platform::Window* mainWindow, int32_t x, int32_t y, int count) {
  PaneState& panes = gPaneState;
  panes.pressView = nullptr;
  panes.dragging = false;
  PageView* view = PaneAt(x, y);
  if (!view || !view->text) return;
  // The double click's first click paged the pane: it goes back to where it was pressed.
  if (panes.clickView == view && view->topRow != panes.clickTopRow)
    PageViewScroll(view, int32_t(panes.clickTopRow) - int32_t(view->topRow), 0, 0);
  panes.clickView = nullptr;
  MakeActive(view);
  ClearOtherSelection(mainWindow, view);
  uint16_t key = 0;
  if (!PageViewKeyAt(view, x, y, &key)) {
    RepaintPane(mainWindow, view);
    return;
  }
  uint16_t first = key, last = key;
  if (count == 2) {
    PageViewWordAround(view, key, &first, &last);
  } else {
    // The verse: the records of the text that carry the verse of the record clicked; in the
    // commentary, and for a heading, the record itself.
    const std::vector<RecordVerseKey> records = ArticleRecordVerses(view->text, view->textLength);
    size_t at = 0;
    while (at < records.size() && !(key >= records[at].recordOffset + 2u && key + 1u < records[at].recordEnd)) ++at;
    if (at < records.size()) {
      size_t from = at, to = at;
      if (view == panes.upperView && records[at].key.verse != 0) {
        const VerseKey verse = records[at].key;
        // A rule may stand inside a verse; the walk stops at another verse's records and
        // comes back to the verse's own first and last.
        auto within = [&](size_t i) { return records[i].key == verse || records[i].key.verse == 0; };
        while (from > 0 && within(from - 1)) --from;
        while (to + 1 < records.size() && within(to + 1)) ++to;
        while (!(records[from].key == verse)) ++from;
        while (!(records[to].key == verse)) --to;
      }
      first = uint16_t(records[from].recordOffset + 2);
      last = uint16_t(records[to].recordEnd - 2);
    }
  }
  PageViewSelect(view, first, last);
  RepaintPane(mainWindow, view);
}

intptr_t OnKeyDown(platform::Window* mainWindow, uint32_t key, bool withShift) {
  PageView* view = ActiveView();
  if (withShift && (key == platform::kVkUp || key == platform::kVkDown))
    return ExtendByRow(mainWindow, view, key == platform::kVkUp ? -1 : 1);
  switch (key) {
    case platform::kVkEscape: return ClearSelections(mainWindow) ? 0 : 1;
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

void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y, bool fromMouse, bool shift) {
  PageView* upper = gPaneState.upperView;
  if (!upper) return;
  PageView* lower = ShownLowerView();
  if (fromMouse) {
    PaneState& panes = gPaneState;
    panes.pressView = nullptr;
    panes.dragging = false;
    PageView* clicked = PaneAt(x, y);
    if (!clicked) return;
    uint16_t key = 0;
    const bool onText = clicked->text && PageViewKeyAt(clicked, x, y, &key);
    if (shift && clicked == ActiveView() && onText) {
      // Shift+click: from the selection's anchor (or the character clicked) to here.
      const uint16_t anchor = PageViewHasSelection(clicked) ? clicked->selectionAnchor : key;
      ClearOtherSelection(mainWindow, clicked);
      PageViewSelect(clicked, anchor, key);
      RepaintPane(mainWindow, clicked);
      return;
    }
    // The press waits: a drag selects, a click (the release) follows the tap rules. A
    // press that picks another pane only picks it.
    panes.pressView = clicked;
    panes.pressX = x;
    panes.pressY = y;
    panes.pressKey = onText ? key : 0;
    panes.pressPickedPane = clicked != ActiveView();
    if (panes.pressPickedPane) MakeActive(clicked);
    return;
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
