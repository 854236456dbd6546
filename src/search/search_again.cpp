// Search Again: where to start in the active pane, the walk through the book, and the hit
// shown in its pane.
#include <algorithm>
#include <cstring>

#include "content/article.h"
#include "content/streams.h"
#include "search/search.h"
#include "shell/menu_marks.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "view/page_view.h"
#include "platform/ui_text.h"

namespace {

constexpr char16_t kNotFound[] = SOLMAR_TEXT("MessageBox", "Not Found!");
constexpr char16_t kSearchCaption[] = SOLMAR_TEXT("MessageBox", "Solmar");
// Both panes, neither erased: the repaint that draws the highlight.
constexpr uint32_t kRepaintWithHighlight = 0xFF;
// The lower-pane size codes below this hide the pane (code 1).
constexpr int32_t kLowerPaneShownFrom = 10;
// Bytes of an article a pane lays out, and so the bytes the search may look at.
constexpr uint32_t kPaneStreamLimit = 0x10000;

bool LowerPaneActive() { return gPaneState.activeView && gPaneState.activeView == gPaneState.lowerView; }

// Whether a pane's layout takes this stream: a whole first record, with text unless it
// is a rule. The walk checks this before it changes anything, so a hit in an article the
// pane would refuse is passed over like an article that cannot be loaded.
bool PaneTakes(const uint8_t* stream, uint32_t length) {
  if (length > kPaneStreamLimit) length = kPaneStreamLimit;
  if (length < 3 || stream[0] == 0) return false;
  const void* nul = std::memchr(stream + 2, 0, length - 2);
  return nul && (nul != stream + 2 || IsRuleRecord(stream[0]));
}

// The offset of the record after the one whose text begins at offset, or 0 when no
// record's text begins there.
uint32_t RecordAfterTextStartingAt(const PageView* view, uint32_t offset) {
  if (!view->text) return 0;
  const uint8_t* end = view->text + view->textLength;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(view->text, end, &at, &record)) {
    const uint32_t textBegin = record.offset + 2;
    if (textBegin == offset) return at;
    if (textBegin > offset) break;
  }
  return 0;
}

// Scrolls the hit (end offset end, length length) into the active pane, highlights it and
// shows where the reader now is. Always 1.
int ShowHit(uint16_t end, uint16_t length) {
  PageView* view = ActiveView();
  platform::Window* mainWindow = gShellWindows.mainWindow;
  PageViewScrollToOffset(view, end);
  RepaintPanes(mainWindow, kRepaintAll);
  if (view) {
    view->highlightStart = uint16_t(end - length + 1);
    view->highlightEnd = uint16_t(end + 1);
  }
  RepaintPanes(mainWindow, kRepaintWithHighlight);
  RefreshBookmarkCheck();
  PageViewShowTitleBanner(view);
  return 1;
}

// Makes article, whose fresh copy (copyLength bytes, owned here) holds the hit, current
// and shows the hit in its pane; start is the article the active pane held. 1 when shown,
// 0 when the pane's layout refused the copy (freed then).
int ShowHitInCopy(platform::Window* owner, int start, int article, uint8_t* copy, uint32_t copyLength,
                  uint16_t end, uint16_t length) {
  SelectArticle(uint16_t(article));
  SelectPaneForArticle(owner, start, false);
  // The pane takes the copy; should its layout fail after all, the copy is ours to free.
  if (PageViewLayOut(ActiveView(), copy, copyLength, true) != kViewOk) {
    platform::Free(copy);
    return 0;
  }
  return ShowHit(end, length);
}

int ActivePaneArticle() { return gReaderSettings.lesson + (LowerPaneActive() ? 1 : 0); }

// The articles after `start`, in order with wrap-around after the last, ending before
// start comes round again: the k-th (1-based) of them.
int WalkArticle(int start, int k) {
  const int zeroBased = ((start - 1 + k) % kArticleCount + kArticleCount) % kArticleCount;
  return zeroBased + 1;
}

}  // namespace

uint16_t SearchStartOffset() {
  const PageView* view = ActiveView();
  if (!view || !view->lines) return kStartPastEnd;

  // The top line: the first whose first row is at or after topRow (after a paragraph's
  // empty row, the line below it), as painting finds it.
  uint32_t rows = 0;
  const LineRecord* top = view->lines;
  while (!LineRecordIsEnd(*top) && rows < view->topRow) {
    rows += (top->flags & kParaExtraRow) ? 2 : 1;
    ++top;
  }
  // Scrolled past every line: nothing of this article is left to search.
  if (LineRecordIsEnd(*top)) return kStartPastEnd;

  // A line holds the stored text from its offset up to its span's end: its row proper and,
  // on a paragraph's first line, its lead word, which right to left (a verse's number) is
  // stored above the row proper.
  const uint32_t c = top->offset;
  const uint32_t e = PageViewRowSpanEnd(view, *top);
  const uint32_t h0 = view->highlightStart;
  const uint32_t h1 = view->highlightEnd;
  if ((h1 < c || h1 > e) && view->topRow < view->maxTopRow) return uint16_t(std::min<uint32_t>(e - 1, kStartPastEnd));
  if (h0 == c) {
    // The hit ends the top line in reading order: go on from the line after it. When the
    // top line is the article's last, the rest of the article is done.
    const LineRecord* next = top + 1;
    if (LineRecordIsEnd(*next)) return kStartPastEnd;
    return uint16_t(std::min<uint32_t>(PageViewRowSpanEnd(view, *next), kStartPastEnd));
  }
  // Just below the highlight. When the highlight begins its record's text, that would be
  // the record's parameter byte, from which the whole record is searched again and the
  // same hit found once more, for ever; the search goes on with the next record instead.
  const uint32_t recordAfter = RecordAfterTextStartingAt(view, h0);
  if (recordAfter != 0) return uint16_t(std::min<uint32_t>(recordAfter, kStartPastEnd));
  return uint16_t(h0 - 1);
}

void SelectPaneForArticle(platform::Window* owner, int startArticle, bool sameArticle) {
  PaneState& panes = gPaneState;
  const int c = gReaderSettings.lesson + ((sameArticle && LowerPaneActive()) ? 1 : 0);
  if (c % 2 != 0) {
    panes.activeView = panes.upperView;
    panes.activeScrollBar = panes.upperScrollBar;
    if (startArticle != c && startArticle != c + 1) LoadCommentaryPane(owner);
  } else {
    panes.activeView = panes.lowerView;
    panes.activeScrollBar = panes.lowerScrollBar;
    gReaderSettings.lesson = uint16_t(c - 1);
    if (startArticle != c - 1 && startArticle != c) ReloadCurrentArticle(gShellWindows.mainWindow);
  }
}

int SearchAgain(platform::Window* owner) {
  // The stored string is the pattern; a copy with a sure terminator, whatever the store held.
  uint8_t pattern[kSearchStringSize];
  std::memcpy(pattern, gReaderSettings.searchString, kSearchStringSize);
  pattern[kSearchStringSize - 1] = 0;

  const int start = ActivePaneArticle();
  if (pattern[0] == 0) return 0;

  uint16_t length = 0;
  bool outOfMemory = false;
  const PageView* view = ActiveView();
  if (view && view->text) {
    const uint16_t end = SearchArticle(view->text, view->textLength, SearchStartOffset(), pattern, &length,
                                       &outOfMemory);
    if (outOfMemory) return 0;
    if (end != 0) {
      SelectPaneForArticle(owner, start, true);
      return ShowHit(end, length);
    }
  }

  const bool commentaryHidden = gReaderSettings.bottomSection < kLowerPaneShownFrom;
  for (int k = 1; k <= kArticleCount; ++k) {
    const int article = WalkArticle(start, k);
    if (article == start) break;
    if (commentaryHidden && article % 2 == 0) continue;
    uint32_t decoded = 0;
    uint8_t* copy = LoadArticle(article, nullptr, &decoded);
    if (!copy) continue;
    // The copy holds its decoded bytes and a 0 after them.
    const uint32_t copyLength = decoded + 1;
    const uint16_t end = SearchArticle(copy, copyLength, 0, pattern, &length, &outOfMemory);
    if (end == 0 || !PaneTakes(copy, copyLength)) {
      platform::Free(copy);
      if (outOfMemory) return 0;
      continue;
    }
    return ShowHitInCopy(owner, start, article, copy, copyLength, end, length);
  }

  // Round again to the start article, from its beginning: this may find the very
  // occurrence that was highlighted.
  view = ActiveView();
  if (view && view->text) {
    const uint16_t end = SearchArticle(view->text, view->textLength, 0, pattern, &length, &outOfMemory);
    if (outOfMemory) return 0;
    if (end != 0) {
      SelectPaneForArticle(owner, start, true);
      return ShowHit(end, length);
    }
  }
  platform::MessageBox(owner, kNotFound, kSearchCaption, platform::kMbOk);
  return 0;
}

int ShowHitInArticle(platform::Window* owner, int article, uint16_t end, uint16_t length) {
  if (article < 1 || article > kArticleCount || end == 0 || length == 0) return 0;
  const int start = ActivePaneArticle();
  const PageView* view = ActiveView();
  if (article == start && view && view->text) {
    if (end >= view->textLength) return 0;
    SelectPaneForArticle(owner, start, true);
    return ShowHit(end, length);
  }
  uint32_t decoded = 0;
  uint8_t* copy = LoadArticle(article, nullptr, &decoded);
  if (!copy) return 0;
  const uint32_t copyLength = decoded + 1;
  if (end >= copyLength || !PaneTakes(copy, copyLength)) {
    platform::Free(copy);
    return 0;
  }
  return ShowHitInCopy(owner, start, article, copy, copyLength, end, length);
}
