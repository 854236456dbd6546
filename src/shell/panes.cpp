#include "shell/panes.h"

#include <algorithm>
#include <initializer_list>

#include "content/article.h"
#include "shell/command_ids.h"
#include "shell/owned_messages.h"
#include "shell/reader_menus.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"
#include "platform/ui_text.h"

namespace {

constexpr char16_t kResourceNotFound[] = SOLMAR_TEXT("MessageBox", "Resource not found");
constexpr char16_t kErrorCaption[] = SOLMAR_TEXT("MessageBox", "Error");
constexpr uint32_t kScrollBarLeftAligned = 0x2;  // the bar keeps to the left of its rectangle
constexpr uint32_t kPaneScrollBarStyle =
    platform::kWsVisible | platform::kWsChild | platform::kSbsVertical | kScrollBarLeftAligned;
constexpr uint16_t kInitialRowCapacity = 100;  // rows of a new view's line table

int ShowResourceNotFound(platform::Window* owner) {
  return ShowOwnedMessage(owner, kResourceNotFound, kErrorCaption, platform::kMbOk | platform::kMbIconWarning);
}

platform::Rect ToRect(const PaneRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool IsLowerPaneCode(int32_t code) {
  switch (code) {
    case 1: case 12: case 13: case 14: case 23: case 34: return true;
    default: return false;
  }
}

int32_t LowerPaneHeight(int32_t code, int32_t available) {
  if (!IsLowerPaneCode(code)) code = kDefaultLowerPaneCode;
  return available * (code / 10) / (code % 10);
}

PageView* ActiveView() { return gPaneState.activeView ? gPaneState.activeView : gPaneState.upperView; }

bool LowerPaneShown() { return gReaderSettings.bottomSection != kLowerPaneNoneCode; }

void KeepActivePaneShown() {
  PaneState& panes = gPaneState;
  if (LowerPaneShown() || !panes.activeView || panes.activeView != panes.lowerView) return;
  panes.activeView = nullptr;
  panes.activeScrollBar = panes.upperScrollBar;
}

int32_t PaneMargin() {
  const int32_t percent = platform::SystemMetric(platform::kSystemMetricPaneMarginPercent);
  PageView* upper = gPaneState.upperView;
  if (percent <= 0 || !upper || !upper->dc) return 0;
  // The height of the body text, as the view draws it.
  platform::Font* previous = FontCacheSelect(upper, 0);
  platform::TextMetrics metrics{};
  const bool measured = platform::GetTextMetrics(upper->dc, &metrics);
  platform::SelectFont(upper->dc, previous);
  if (!measured || metrics.height <= 0) return 0;
  return std::max<int32_t>(1, metrics.height * percent / 100);
}

bool LoadArticleIntoView(PageView* view, int article, bool releaseOld) {
  uint32_t length = 0;
  uint8_t* text = LoadArticle(article, nullptr, &length);
  if (!text) return false;
  // Only a successful layout hands the text to the view; otherwise it is still ours. The
  // layout may read the decompressed bytes and the 0 after them.
  if (PageViewLayOut(view, text, length + 1, releaseOld) != kViewOk) platform::Free(text);
  return true;
}

intptr_t CreatePanes(platform::Window* mainWindow) {
  PaneState& panes = gPaneState;
  platform::Dc* dc = platform::GetWindowDc(mainWindow);

  platform::Rect pane{0, 0, 0, 0};
  platform::GetClientRect(mainWindow, &pane);
  // The shell menu bar sits at the bottom of the screen, a command bar at the window's top.
  if (gDeviceOptions.menuBarOnBottom)
    pane.bottom -= gShellWindows.barHeight;
  else
    pane.top += gShellWindows.barHeight;
  const int32_t g = gDeviceOptions.surroundingGutter;
  if (pane.bottom - pane.top > 2 * g) {
    pane.top += g;
    pane.bottom -= 2 * g;
  }
  if (pane.right - pane.left > 2 * g) {
    pane.left += g;
    pane.right -= 2 * g;
  }

  // A stored size code the menu cannot produce becomes the default, so the radio mark,
  // the layout and the next save agree.
  if (!IsLowerPaneCode(gReaderSettings.bottomSection)) gReaderSettings.bottomSection = kDefaultLowerPaneCode;

  // A right-to-left interface keeps the scroll bars at the panes' left: the panes start
  // after them.
  if (platform::IsLayoutRightToLeft()) pane.left += platform::SystemMetric(platform::kSystemMetricScrollBarWidth);
  panes.lowerRect.left = pane.left;
  panes.lowerRect.right = pane.right;
  CheckLowerPaneSize();
  const platform::Rect lowerRect = ToRect(panes.lowerRect);
  panes.lowerView = PageViewCreate(dc, &lowerRect, gReaderSettings.fontSpec, kInitialRowCapacity);
  if (panes.lowerView) {
    panes.lowerScrollBar = platform::CreateWindow(0, u"SCROLLBAR", u"Top", kPaneScrollBarStyle, panes.lowerRect.right,
                                                  panes.lowerRect.top, platform::kUseDefault, platform::kUseDefault,
                                                  mainWindow, nullptr);
    panes.upperScrollBar = platform::CreateWindow(0, u"SCROLLBAR", u"Bottom", kPaneScrollBarStyle,
                                                  panes.lowerRect.right, panes.lowerRect.top, platform::kUseDefault,
                                                  platform::kUseDefault, mainWindow, nullptr);
    panes.activeScrollBar = panes.upperScrollBar;
    platform::SetAccessibleName(panes.upperScrollBar, SOLMAR_TEXT("Accessibility", "Page position"));
    platform::SetAccessibleName(panes.lowerScrollBar, SOLMAR_TEXT("Accessibility", "Commentary position"));
  }

  panes.upperView = PageViewCreate(dc, &pane, gReaderSettings.fontSpec, kInitialRowCapacity);
  SetPanesReversed(gReaderSettings.flags & kFlagReverse);
  if (!panes.upperView) return 1;

  if (!LoadArticleIntoView(panes.upperView, gReaderSettings.lesson, false)) return ShowResourceNotFound(mainWindow);
  panes.upperView->topRow = gReaderSettings.lastPosition;

  LoadCommentaryPane(mainWindow);
  if (panes.lowerView) panes.lowerView->topRow = gReaderSettings.bottomSectionLastPosition;

  SyncScrollBars();
  return 0;
}

int32_t LoadCommentaryPane(platform::Window* mainWindow) {
  PageView* lower = gPaneState.lowerView;
  if (!LoadArticleIntoView(lower, gReaderSettings.lesson + 1, true)) {
    ShowResourceNotFound(mainWindow);
    return 0;
  }
  if (lower) lower->topRow = 0;
  return 0;
}

void LayOutPanes(platform::Window* /*mainWindow*/, uint32_t size) {
  PaneState& panes = gPaneState;
  int32_t w, h;
  if (size == kLastClientSize) {
    w = panes.lastClientWidth;
    h = panes.lastClientHeight;
  } else {
    w = int32_t(platform::LowWord(size));
    h = int32_t(platform::HighWord(size));
    panes.lastClientWidth = w;
    panes.lastClientHeight = h;
  }
  const int32_t g = gDeviceOptions.surroundingGutter;
  if (w > 2 * g) w -= 2 * g;
  if (h > 2 * g) h -= 2 * g;

  PageView* upper = panes.upperView;
  if (!upper || (upper->width == w && upper->height == h)) return;

  const int32_t available = h - gShellWindows.barHeight;
  const int32_t lowerHeight = LowerPaneHeight(gReaderSettings.bottomSection, available);
  const int32_t upperHeight = available - lowerHeight;
  const int32_t s = platform::SystemMetric(platform::kSystemMetricScrollBarWidth);

  panes.lowerRect.right = panes.lowerRect.left + w - s;
  panes.lowerRect.bottom = upper->y + available - g;
  panes.lowerRect.top = upper->y + upperHeight + 1;

  // The text keeps clear of the window's edge and of the scroll bar; a pane too narrow for
  // the margin gets none.
  int32_t m = PaneMargin();
  if (w - s - 2 * m <= 0) m = 0;
  panes.margin = m;
  upper->x = panes.lowerRect.left + m;

  PageView* lower = panes.lowerView;
  if (lower) {
    lower->x = panes.lowerRect.left + m;
    lower->y = panes.lowerRect.top + g / 2;
    PageViewSetSize(lower, w - s - 2 * m, lowerHeight - 1);
  }
  // The bars stand at the panes' right, or at their left in a right-to-left interface, as
  // far from the window's edge as the panes are from the other one.
  const int32_t barX = platform::IsLayoutRightToLeft() ? panes.lowerRect.left - s - g : panes.lowerRect.right + g;
  if (panes.upperScrollBar) {
    // Not above the client area, nor under a command bar at its top.
    const int32_t barTop = gDeviceOptions.menuBarOnBottom ? 0 : gShellWindows.barHeight;
    const int32_t y = upper->y - g - 2;
    const int32_t cut = y < barTop ? barTop - y : 0;
    platform::MoveWindow(panes.upperScrollBar, barX, y + cut, s, upperHeight + g - cut, true);
  }
  if (panes.lowerScrollBar && lower)
    platform::MoveWindow(panes.lowerScrollBar, barX, panes.lowerRect.top - 2, s,
                         lower->height + g + 2, true);
  // A hidden lower pane keeps its place below the client area; its bar would still show a
  // sliver there, and a click on it would make the hidden pane active.
  if (panes.lowerScrollBar) platform::ShowWindow(panes.lowerScrollBar, LowerPaneShown() ? platform::kSwShow : platform::kSwHide);
  PageViewSetSize(upper, w - s - 2 * m, upperHeight - 2);
  SyncScrollBars();
}

void PaintPanes(platform::Dc* dc, platform::Window* window, uint32_t flags) {
  const bool began = dc == nullptr;
  if (began) dc = platform::BeginPaint(window);

  const ColourScheme& scheme = *gColourScheme;
  if ((flags & kRepaintEraseClient) && dc) {
    platform::Rect client{0, 0, 0, 0};
    if (platform::GetClientRect(window, &client))
      FillViewRectColour(dc, client.left, client.top, client.right - client.left, client.bottom - client.top,
                         scheme.gutter);
  }

  if (flags & kRepaintUpper) PageViewPaint(gPaneState.upperView, (flags & kRepaintEraseUpper) ? 1 : 0);

  if ((flags & kRepaintLower) && dc) {
    const PaneRect& r = gPaneState.lowerRect;
    const int32_t g = gDeviceOptions.surroundingGutter;
    const int32_t s = platform::SystemMetric(platform::kSystemMetricScrollBarWidth);

    platform::Pen* palePen = platform::CreateSolidPen(1, scheme.commentaryGround);
    platform::Brush* paleBrush = platform::CreateSolidBrush(scheme.commentaryGround);
    platform::Pen* oldPen = palePen ? platform::SelectPen(dc, palePen) : nullptr;
    platform::Brush* oldBrush = paleBrush ? platform::SelectBrush(dc, paleBrush) : nullptr;
    if (palePen && paleBrush) platform::DrawRectangle(dc, {r.left - g, r.top - 2, r.right + g, r.bottom + 2 * g});
    if (palePen) {
      platform::SelectPen(dc, oldPen);
      platform::DeletePen(palePen);
    }

    // A line one pixel high across the pane and its scroll bar.
    platform::Pen* redPen = platform::CreateSolidPen(1, scheme.separator);
    if (redPen) {
      platform::Pen* previous = platform::SelectPen(dc, redPen);
      const bool barAtLeft = platform::IsLayoutRightToLeft();
      platform::DrawRectangle(dc, {r.left - g - (barAtLeft ? s : 0), r.top - 3, r.right + g + (barAtLeft ? 0 : s), r.top - 2});
      platform::SelectPen(dc, previous);
      platform::DeletePen(redPen);
    }
    if (paleBrush) {
      platform::SelectBrush(dc, oldBrush);
      platform::DeleteBrush(paleBrush);
    }

    PageView* lower = gPaneState.lowerView;
    if (lower && lower->dc) {
      const int oldMode = platform::SetBackgroundMode(lower->dc, platform::kBkTransparent);
      PageViewPaint(lower, 0);
      platform::SetBackgroundMode(lower->dc, oldMode);
    }
  }

  // What a paint shows decides the thumbs' size.
  if (gReaderSettings.flags & kFlagScrollBarSync) {
    PaneState& panes = gPaneState;
    if (panes.upperView && panes.upperScrollBar) platform::SetScrollPage(panes.upperScrollBar, panes.upperView->rowsPainted);
    if (panes.lowerView && panes.lowerScrollBar) platform::SetScrollPage(panes.lowerScrollBar, panes.lowerView->rowsPainted);
  }

  if (began) platform::EndPaint(window);
}

void RepaintPanes(platform::Window* window, uint32_t flags) {
  if (!window) window = gShellWindows.mainWindow;
  platform::Dc* dc = platform::GetWindowDc(window);
  if (dc) {
    PaintPanes(dc, window, flags);
    platform::ReleaseWindowDc(window, dc);
  }
  SyncScrollBars();
}

void CheckLowerPaneSize() {
  platform::CheckMenuRadioItem(LowerPaneSizeMenu(), kCmdLowerPaneFirst, kCmdLowerPaneLast,
                               uint16_t(kCmdLowerPaneBase + gReaderSettings.bottomSection));
}

void SetPanesReversed(bool reversed) {
  for (PageView* view : {gPaneState.upperView, gPaneState.lowerView})
    if (view) view->drawReversed = reversed;
}

void SyncScrollBar(platform::Window* scrollBar) {
  if (!(gReaderSettings.flags & kFlagScrollBarSync) || !scrollBar) return;
  const PageView* view = ActiveView();
  if (!view) return;
  platform::SetScrollRange(scrollBar, 0, view->maxTopRow, false);
  platform::SetScrollPosition(scrollBar, view->topRow, true);
  // The thumb shows how much of the article is in view.
  platform::SetScrollPage(scrollBar, view->rowsPainted);
}

void SyncScrollBars() {
  PaneState& panes = gPaneState;
  PageView* const remembered = panes.activeView;
  panes.activeView = panes.upperView;
  SyncScrollBar(panes.upperScrollBar);
  panes.activeView = panes.lowerView;
  SyncScrollBar(panes.lowerScrollBar);
  panes.activeView = remembered;
}
