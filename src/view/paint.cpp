// Painting the laid-out rows, the highlight over them, and scrolling by rows.
#include <algorithm>

#include "content/letter_code.h"
#include "content/streams.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"
#include "view/view_internal.h"

namespace view_internal {

FirstRow FindFirstRow(PageView* view) {
  // A top row at or past the row count (a new layout left fewer rows) would paint nothing.
  if (view->topRow >= view->totalRows) view->topRow = view->maxTopRow;
  uint32_t rows = 0;
  const LineRecord* entry = view->lines;
  while (!LineRecordIsEnd(*entry) && rows < view->topRow) {
    rows += (entry->flags & kParaExtraRow) ? 2 : 1;
    ++entry;
  }
  FirstRow first{entry, uint16_t(view->y), view->height, 1};
  if (rows > view->topRow) {
    // The top row is the empty row below the entry before.
    const int32_t h = (entry - 1)->height;
    first.y = uint16_t(view->y + h);
    first.available = view->height - h;
  }
  if (!IsRuleRecord(entry->flags)) first.style = entry->flags;
  return first;
}

}  // namespace view_internal

namespace {

// Rows are stored as 16-bit values; a row placed left of the view's origin comes back
// negative.
int32_t RowX(const LineRecord& entry) { return int16_t(entry.x); }

using view_internal::SkipSpaces;
using view_internal::TextLength;
using view_internal::WordLength;

// On a right-to-left lead row the lead word is stored after the row proper and the spaces
// that follow it. (A row proper of no characters starts right at the lead word.)
const uint8_t* RightToLeftLeadWord(const uint8_t* text, const LineRecord& entry) {
  const uint8_t* p = text + entry.offset + entry.length;
  if (entry.length > 0)
    while (*p && *p != ' ') ++p;
  return SkipSpaces(p);
}

// Whether ToDisplayText turns the view's drawn text around.
bool DrawingReversed(const PageView* view) { return view->fontSpec.fontAsciiBase != 97 && view->drawReversed; }

// Width and height of n characters in stored order.
void Extent(const PageView* view, const uint8_t* s, int32_t n, int32_t* cx, int32_t* cy) {
  *cx = *cy = 0;
  const char16_t* display =
      ToDisplayText(s, uint32_t(std::max(n, 0)), &gConversionBuffer, view->fontSpec.fontAsciiBase, false);
  if (!display) return;
  int32_t units = 0;
  while (units < n && display[units]) ++units;
  platform::TextExtent(view->dc, display, units, cx, cy);
}

// A rule one pixel high in colour: a black one with the context's pen (the platform's black
// one) and the stock black brush, as it always was; any other with a pen and brush of its
// own.
void DrawRule(platform::Dc* dc, const platform::Rect& rect, uint32_t colour) {
  if (colour == kSchemeBlack) {
    platform::Brush* oldBrush = platform::SelectBrush(dc, StockBrushOfColour(colour));
    platform::DrawRectangle(dc, rect);
    platform::SelectBrush(dc, oldBrush);
    return;
  }
  platform::Pen* pen = platform::CreateSolidPen(1, colour);
  platform::Brush* brush = platform::CreateSolidBrush(colour);
  platform::Pen* oldPen = pen ? platform::SelectPen(dc, pen) : nullptr;
  platform::Brush* oldBrush = brush ? platform::SelectBrush(dc, brush) : nullptr;
  if (pen && brush) platform::DrawRectangle(dc, rect);
  if (pen) {
    platform::SelectPen(dc, oldPen);
    platform::DeletePen(pen);
  }
  if (brush) {
    platform::SelectBrush(dc, oldBrush);
    platform::DeleteBrush(brush);
  }
}

void AdvanceRow(const LineRecord& entry, uint16_t* y, int32_t* available, int32_t* rowsPainted) {
  const int32_t rows = (entry.flags & kParaExtraRow) ? 2 : 1;
  *y = uint16_t(*y + rows * entry.height);
  *available -= rows * entry.height;
  if (rowsPainted) *rowsPainted += rows;
}

void HighlightPart(PageView* view, const uint8_t* s, int32_t n, int32_t x, int32_t y) {
  view_internal::PaintStoredRange(view, s, n, x, y, view->highlightStart, view->highlightEnd,
                                  gColourScheme->highlightText, gColourScheme->highlightGround);
}

}  // namespace

namespace view_internal {

const uint8_t* LeadWordOfRightToLeftRow(const uint8_t* text, const LineRecord& entry) {
  return RightToLeftLeadWord(text, entry);
}

void PaintStoredRange(PageView* view, const uint8_t* s, int32_t n, int32_t x, int32_t y, uint32_t start,
                      uint32_t end, uint32_t textColour, uint32_t backColour) {
  const uint8_t* const segment = s;
  const int32_t segmentLength = n;
  const int32_t d = int32_t(start) - int32_t(s - view->text);
  int32_t shift = 0, cy = 0;
  if (d >= 0) {
    n -= d;
    if (n < 0) return;
    Extent(view, s, d, &shift, &cy);
    s += d;
  }
  n = std::min(n, int32_t(end) - int32_t(s - view->text));
  if (n <= 0) return;
  int32_t cx = 0;
  Extent(view, s, n, &cx, &cy);
  if (DrawingReversed(view)) {
    // The segment is drawn turned around, so the painted characters sit after the ones
    // that follow them in the stored text.
    const int32_t after = segmentLength - int32_t(s - segment) - n;
    int32_t unused = 0;
    Extent(view, s + n, after, &shift, &unused);
  }
  DrawColouredTextBox(view->dc, s, n, ViewTextForm(view), x + shift, y, cx, cy, textColour, backColour);
}

uint32_t RowSpanEnd(const uint8_t* text, const LineRecord& entry) {
  if (!entry.leadWidth || !text) return uint32_t(entry.offset) + entry.length;
  if (entry.flags & kParaRightToLeft) {
    // The lead word is stored after the row proper and reaches to the record's end.
    const uint8_t* lead = RightToLeftLeadWord(text, entry);
    return uint32_t(lead - text) + uint32_t(TextLength(lead));
  }
  // The row proper starts after the lead word and its spaces.
  const uint8_t* row = text + entry.offset;
  return uint32_t(SkipSpaces(row + WordLength(row)) - text) + entry.length;
}

}  // namespace view_internal

int32_t PageViewPaint(PageView* view, int erase) {
  if (!view || !view->text || !view->lines) return kViewMissing;
  view->rowsPainted = 0;
  view_internal::FirstRow first = view_internal::FindFirstRow(view);
  platform::Dc* dc = view->dc;
  const TextForm form = ViewTextForm(view);
  const uint32_t oldColour = platform::GetTextColour(dc);
  platform::Font* oldFont = FontCacheSelect(view, first.style | kSelectWithColour);
  uint8_t style = first.style;
  if (erase) FillViewRectColour(dc, view->x, view->y, view->width, view->height, gColourScheme->pageGround);

  uint16_t y = uint16_t(first.y);
  int32_t available = first.available;
  for (const LineRecord* entry = first.entry; !LineRecordIsEnd(*entry); ++entry) {
    const LineRecord& e = *entry;
    if (available < e.height) break;
    const int32_t x = RowX(e);
    if (IsRuleRecord(e.flags)) {
      const int32_t middle = y + e.height / 2;
      DrawRule(dc, platform::Rect{x, middle, x + e.width, middle + 1}, gColourScheme->rule);
    } else {
      if ((e.flags ^ style) & kParaStyleKeyMask) FontCacheSelect(view, e.flags | kSelectWithColour);
      style = e.flags;
      const uint8_t* row = view->text + e.offset;
      if (e.leadWidth && (e.flags & kParaRightToLeft)) {
        const uint8_t* lead = RightToLeftLeadWord(view->text, e);
        int32_t w = e.leadWidth, count = TextLength(lead);
        MeasureFit(dc, lead, view->fontSpec.fontAsciiBase, &w, &count);
        DrawTextBox(dc, lead, count, form, x + e.width + e.leadWidth - w, y, w, e.height);
        DrawTextBox(dc, row, e.length, form, x, y, e.width, e.height);
      } else if (e.leadWidth) {
        int32_t w = e.leadWidth, count = WordLength(row);
        const uint8_t* proper = SkipSpaces(row + count);
        MeasureFit(dc, row, view->fontSpec.fontAsciiBase, &w, &count);
        DrawTextBox(dc, row, count, form, x - e.leadWidth, y, w, e.height);
        DrawTextBox(dc, proper, e.length, form, x, y, e.width, e.height);
      } else {
        DrawTextBox(dc, row, e.length, form, x, y, e.width, e.height);
      }
    }
    // An extra row is counted even when it reaches below the view.
    AdvanceRow(e, &y, &available, &view->rowsPainted);
  }
  platform::SelectFont(dc, oldFont);
  platform::SetTextColour(dc, oldColour);
  int32_t result = kViewOk;
  if (view->highlightStart || view->highlightEnd) result = PageViewPaintHighlight(view);
  if (view->selectionStart != view->selectionEnd) PageViewPaintSelection(view);
  return result;
}

int32_t PageViewPaintHighlight(PageView* view) {
  if (!view || !view->text || !view->lines) return kViewMissing;
  view_internal::FirstRow first = view_internal::FindFirstRow(view);
  platform::Dc* dc = view->dc;
  platform::Font* oldFont = FontCacheSelect(view, first.style);
  uint8_t style = first.style;
  uint16_t y = uint16_t(first.y);
  int32_t available = first.available;
  for (const LineRecord* entry = first.entry; !LineRecordIsEnd(*entry) && available >= entry->height; ++entry) {
    const LineRecord& e = *entry;
    const uint8_t* row = view->text + e.offset;
    const bool leftToRightLead = e.leadWidth && !(e.flags & kParaRightToLeft);
    // A row's span is all the stored text it shows, its lead word included.
    const uint32_t spanEnd = view_internal::RowSpanEnd(view->text, e);
    if (IsRuleRecord(e.flags) || view->highlightEnd < e.offset || view->highlightStart > spanEnd) {
      AdvanceRow(e, &y, &available, nullptr);
      continue;
    }
    if ((e.flags ^ style) & kParaStyleKeyMask) FontCacheSelect(view, e.flags);
    style = e.flags;
    const int32_t x = RowX(e);
    if (e.leadWidth && (e.flags & kParaRightToLeft)) {
      const uint8_t* lead = RightToLeftLeadWord(view->text, e);
      int32_t w = e.leadWidth, count = TextLength(lead);
      MeasureFit(dc, lead, view->fontSpec.fontAsciiBase, &w, &count);
      DrawColouredTextBox(dc, lead, count, ViewTextForm(view), x + e.width + e.leadWidth - w, y, w, e.height,
                          gColourScheme->highlightText, gColourScheme->highlightGround);
      HighlightPart(view, row, e.length, x, y);
    } else if (leftToRightLead) {
      // Only the characters paint drew in the lead box count, so that under Reverse the
      // highlight is placed within what was drawn, not within the whole word.
      int32_t w = e.leadWidth, count = WordLength(row);
      const uint8_t* proper = SkipSpaces(row + count);
      MeasureFit(dc, row, view->fontSpec.fontAsciiBase, &w, &count);
      HighlightPart(view, row, count, x - e.leadWidth, y);
      HighlightPart(view, proper, e.length, x, y);
    } else {
      HighlightPart(view, row, e.length, x, y);
    }
    AdvanceRow(e, &y, &available, nullptr);
  }
  platform::SelectFont(dc, oldFont);
  return kViewOk;
}

int32_t PageViewScroll(PageView* view, int32_t delta, int32_t repaint, int32_t guard) {
  if (!view) return kViewMissing;
  int32_t target = int32_t(view->topRow) + delta;
  if (target < 0) {
    target = 0;
  } else if (guard != 0 || target >= view->totalRows) {
    // Already at the end and not moving up: nothing to do.
    if (target >= view->topRow && view->topRow >= view->maxTopRow) return kScrollNothingDone;
    // A step to the row past the last (End from below the top, whose step is maxTopRow
    // rows) or beyond would leave the pane blank: it ends on the last full screen instead.
    if (target >= view->totalRows) target = view->maxTopRow;
  }
  if (repaint == 1 && target == view->topRow) return kScrollNothingDone;
  const bool changed = target != view->topRow;
  if (changed) view->topRow = uint16_t(target);
  if (repaint) return PageViewPaint(view, 1);
  return changed ? kScrollMoved : kScrollNothingDone;
}
