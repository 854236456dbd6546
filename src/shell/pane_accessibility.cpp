#include "shell/pane_accessibility.h"

#include "shell/reader_settings.h"
#include "shell/panes.h"
#include "shell/shell_state.h"
#include "view/page_text.h"
#include "view/page_view.h"
#include "platform/ui_text.h"

namespace {

// The panes that show now, upper first. With the lower-pane size "none" the lower view
// keeps its size below the client area, where nobody sees it.
int PaneViews(PageView* views[2]) {
  int count = 0;
  const bool lowerShown = LowerPaneHeight(gReaderSettings.bottomSection, 1000) > 0;
  for (PageView* view : {gPaneState.upperView, lowerShown ? gPaneState.lowerView : nullptr})
    if (view && view->height > 0 && view->width > 0) views[count++] = view;
  return count;
}

PageView* PaneView(int index) {
  PageView* views[2] = {nullptr, nullptr};
  const int count = PaneViews(views);
  return index >= 0 && index < count ? views[index] : nullptr;
}

int Count(platform::Window*) {
  PageView* views[2] = {nullptr, nullptr};
  return PaneViews(views);
}

bool Describe(platform::Window*, int index, std::u16string* name, platform::Rect* rect) {
  PageView* view = PaneView(index);
  if (!view) return false;
  if (name) *name = view == gPaneState.lowerView ? SOLMAR_TEXT("Accessibility", "Commentary") : SOLMAR_TEXT("Accessibility", "Page");
  if (rect) *rect = {view->x, view->y, view->x + view->width, view->y + view->height};
  return true;
}

std::u16string Text(platform::Window*, int index, bool whole) {
  PageView* view = PaneView(index);
  return whole ? PageViewArticleText(view) : PageViewVisibleText(view);
}

// As a tap does: keys and the scroll bar keys act on this pane from now on.
void Focus(platform::Window*, int index) {
  PageView* view = PaneView(index);
  if (!view) return;
  PaneState& panes = gPaneState;
  panes.activeView = view;
  panes.activeScrollBar = view == panes.lowerView ? panes.lowerScrollBar : panes.upperScrollBar;
}

bool Selection(platform::Window*, int index, int* start, int* end) {
  PageView* view = PaneView(index);
  if (!PageViewHasSelection(view)) return false;
  *start = int(PageViewArticleTextOffset(view, view->selectionStart));
  // Just past the last character selected: the text up to the next key may already hold
  // the line end of a paragraph that follows.
  *end = int(PageViewArticleTextOffset(view, uint16_t(view->selectionEnd - 1))) + 1;
  return *end > *start;
}

constexpr platform::AccessibleDocuments kPaneDocuments{Count, Describe, Text, Focus, Selection};

// A view's selection as last reported.
struct ReportedSelection {
  const PageView* view;
  uint16_t start, end;
};
ReportedSelection gReported[2] = {};

}  // namespace

void ReportSelectionChanges(platform::Window* mainWindow) {
  PageView* views[2] = {nullptr, nullptr};
  const int count = PaneViews(views);
  for (int index = 0; index < count; ++index) {
    const PageView* view = views[index];
    ReportedSelection& last = gReported[view == gPaneState.lowerView ? 1 : 0];
    const uint16_t start = PageViewHasSelection(view) ? view->selectionStart : 0;
    const uint16_t end = PageViewHasSelection(view) ? view->selectionEnd : 0;
    if (last.view == view && last.start == start && last.end == end) continue;
    // A pane seen for the first time has nothing selected to tell of.
    const bool news = last.view == view || start != end;
    last = {view, start, end};
    if (news) platform::NotifyAccessibleSelection(mainWindow, index);
  }
}

void ExposePanes(platform::Window* mainWindow) {
  gReported[0] = gReported[1] = ReportedSelection{};
  platform::SetAccessibleDocuments(mainWindow, &kPaneDocuments);
}
