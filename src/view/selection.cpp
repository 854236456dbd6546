// The selection of a page view: reading keys, hit-testing the drawn rows, and painting the
// selected characters over them.
#include <algorithm>
#include <vector>

#include "content/letter_code.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "view/page_view.h"
#include "view/view_internal.h"

namespace {

// A record's text and, for a right-to-left one, the stored position of each reading index.
struct RecordText {
  uint32_t offset = 0;     // flags byte
  uint32_t textStart = 0;  // offset + 2
  uint32_t length = 0;
  uint8_t flags = 0;
  std::vector<uint32_t> order;  // reading index -> stored index (right to left only)
  std::vector<uint32_t> rank;   // stored index -> reading index (right to left only)

  uint32_t KeyOf(uint32_t stored) const {
    const uint32_t i = stored - textStart;
    return textStart + (rank.empty() ? i : rank[i]);
  }
  uint32_t StoredOf(uint32_t key) const {
    const uint32_t r = key - textStart;
    return textStart + (order.empty() ? r : order[r]);
  }
};

// The record whose text holds offset (stored offsets and keys share one range per record).
bool FindRecord(const PageView* view, uint32_t offset, RecordText* record) {
  if (!view || !view->text) return false;
  uint32_t at = 0;
  ParagraphRecord r;
  while (NextParagraph(view->text, view->text + view->textLength, &at, &r)) {
    const uint32_t start = r.offset + 2;
    if (offset < start) return false;
    if (offset >= start + r.length) continue;
    record->offset = r.offset;
    record->textStart = start;
    record->length = r.length;
    record->flags = r.flags;
    record->order.clear();
    record->rank.clear();
    if (r.flags & kParaRightToLeft) {
      record->order = SwappedOrder(r.text, r.length);
      record->rank.assign(r.length, 0);
      for (uint32_t k = 0; k < r.length; ++k) record->rank[record->order[k]] = k;
    }
    return true;
  }
  return false;
}

using view_internal::SkipSpaces;
using view_internal::TextLength;
using view_internal::WordLength;

bool DrawingReversed(const PageView* view) { return view->fontSpec.fontAsciiBase != 97 && view->drawReversed; }

int32_t Width(const PageView* view, const uint8_t* s, int32_t n) {
  if (n <= 0) return 0;
  const char16_t* display = ToDisplayText(s, uint32_t(n), &gConversionBuffer, view->fontSpec.fontAsciiBase, false);
  if (!display) return 0;
  int32_t units = 0;
  while (units < n && display[units]) ++units;
  int32_t cx = 0, cy = 0;
  platform::TextExtent(view->dc, display, units, &cx, &cy);
  return cx;
}

// One drawn character: its stored offset and the pixels it covers.
struct Cell {
  uint32_t offset;
  int32_t left, right;
};

// A segment of n stored characters at s drawn from x: its cells, left to right as drawn.
void AddSegment(const PageView* view, const uint8_t* s, int32_t n, int32_t x, std::vector<Cell>* cells) {
  if (n <= 0) return;
  std::vector<int32_t> prefix(size_t(n) + 1, 0);
  for (int32_t i = 1; i <= n; ++i) prefix[size_t(i)] = Width(view, s, i);
  const int32_t total = prefix[size_t(n)];
  const uint32_t first = uint32_t(s - view->text);
  for (int32_t i = 0; i < n; ++i) {
    if (DrawingReversed(view))
      cells->push_back({first + uint32_t(i), x + total - prefix[size_t(i) + 1], x + total - prefix[size_t(i)]});
    else
      cells->push_back({first + uint32_t(i), x + prefix[size_t(i)], x + prefix[size_t(i) + 1]});
  }
}

// The segments of a row as paint draws them: the lead word (when the row has one) and the
// row proper, each with the characters drawn and where.
struct Segment {
  const uint8_t* text;
  int32_t count;
  int32_t x;
};
int RowSegments(PageView* view, const LineRecord& e, Segment segments[2]) {
  if (IsRuleRecord(e.flags)) return 0;
  const int32_t x = int16_t(e.x);
  const uint8_t* row = view->text + e.offset;
  if (e.leadWidth && (e.flags & kParaRightToLeft)) {
    const uint8_t* lead = view_internal::LeadWordOfRightToLeftRow(view->text, e);
    int32_t w = e.leadWidth, count = TextLength(lead);
    MeasureFit(view->dc, lead, view->fontSpec.fontAsciiBase, &w, &count);
    segments[0] = {row, e.length, x};
    segments[1] = {lead, count, x + e.width + e.leadWidth - w};
    return 2;
  }
  if (e.leadWidth) {
    int32_t w = e.leadWidth, count = WordLength(row);
    const uint8_t* proper = SkipSpaces(row + count);
    MeasureFit(view->dc, row, view->fontSpec.fontAsciiBase, &w, &count);
    segments[0] = {row, count, x - e.leadWidth};
    segments[1] = {proper, e.length, x};
    return 2;
  }
  segments[0] = {row, e.length, x};
  return 1;
}

// The cells of a line, with its font selected while measuring.
std::vector<Cell> LineCells(PageView* view, const LineRecord& e) {
  std::vector<Cell> cells;
  if (IsRuleRecord(e.flags)) return cells;
  platform::Font* old = FontCacheSelect(view, e.flags);
  Segment segments[2];
  const int count = RowSegments(view, e, segments);
  for (int i = 0; i < count; ++i) AddSegment(view, segments[i].text, segments[i].count, segments[i].x, &cells);
  platform::SelectFont(view->dc, old);
  return cells;
}

int32_t LineCount(const PageView* view) {
  int32_t n = 0;
  while (!LineRecordIsEnd(view->lines[n])) ++n;
  return n;
}

}  // namespace

uint16_t PageViewReadingKey(const PageView* view, uint16_t storedOffset) {
  RecordText record;
  if (!FindRecord(view, storedOffset, &record)) return 0;
  return uint16_t(record.KeyOf(storedOffset));
}

uint16_t PageViewStoredOffset(const PageView* view, uint16_t readingKey) {
  RecordText record;
  if (!FindRecord(view, readingKey, &record)) return 0;
  return uint16_t(record.StoredOf(readingKey));
}

bool PageViewRecordOfKey(const PageView* view, uint16_t readingKey, uint16_t* recordOffset, uint16_t* keysEnd) {
  RecordText record;
  if (!FindRecord(view, readingKey, &record)) return false;
  *recordOffset = uint16_t(record.offset);
  *keysEnd = uint16_t(record.textStart + record.length);
  return true;
}

void PageViewSelect(PageView* view, uint16_t anchor, uint16_t focus) {
  if (!view) return;
  view->selectionAnchor = anchor;
  view->selectionFocus = focus;
  view->selectionStart = std::min(anchor, focus);
  view->selectionEnd = uint16_t(std::max(anchor, focus) + 1);
}

void PageViewClearSelection(PageView* view) {
  if (!view) return;
  view->selectionStart = view->selectionEnd = view->selectionAnchor = view->selectionFocus = 0;
}

uint16_t PageViewRowOfLine(const PageView* view, int32_t line) {
  if (!view || !view->lines) return 0;
  uint32_t rows = 0;
  for (int32_t i = 0; i < line && !LineRecordIsEnd(view->lines[i]); ++i)
    rows += (view->lines[i].flags & kParaExtraRow) ? 2 : 1;
  return uint16_t(rows);
}

bool PageViewKeyOnLine(PageView* view, int32_t line, int32_t x, uint16_t* key) {
  if (!view || !view->text || !view->lines || line < 0 || line >= LineCount(view)) return false;
  const std::vector<Cell> cells = LineCells(view, view->lines[line]);
  if (cells.empty()) return false;
  const Cell* best = &cells[0];
  int32_t bestDistance = INT32_MAX;
  for (const Cell& cell : cells) {
    const int32_t distance = x < cell.left ? cell.left - x : x >= cell.right ? x - cell.right + 1 : 0;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = &cell;
    }
  }
  const uint16_t k = PageViewReadingKey(view, uint16_t(best->offset));
  if (k == 0) return false;
  *key = k;
  return true;
}

bool PageViewKeyAt(PageView* view, int32_t x, int32_t y, uint16_t* key) {
  if (!view || !view->text || !view->lines) return false;
  if (x < view->x || x >= view->x + view->width || y < view->y || y >= view->y + view->height) return false;
  const view_internal::FirstRow first = view_internal::FindFirstRow(view);
  int32_t top = first.y;
  int32_t available = first.available;
  for (const LineRecord* e = first.entry; !LineRecordIsEnd(*e) && available >= e->height; ++e) {
    if (y >= top && y < top + e->height) return PageViewKeyOnLine(view, int32_t(e - view->lines), x, key);
    const int32_t rows = (e->flags & kParaExtraRow) ? 2 : 1;
    if (y < top + rows * e->height) return false;  // the empty row after a paragraph
    top += rows * e->height;
    available -= rows * e->height;
  }
  return false;
}

namespace {

bool DrawnPlace(PageView* view, uint16_t key, int32_t* line, int32_t* x) {
  const uint16_t stored = PageViewStoredOffset(view, key);
  if (stored == 0) return false;
  for (int32_t i = 0; !LineRecordIsEnd(view->lines[i]); ++i) {
    const LineRecord& e = view->lines[i];
    if (IsRuleRecord(e.flags) || stored < e.offset || stored >= view_internal::RowSpanEnd(view->text, e)) continue;
    for (const Cell& cell : LineCells(view, e)) {
      if (cell.offset != stored) continue;
      *line = i;
      *x = (cell.left + cell.right) / 2;
      return true;
    }
  }
  return false;
}

}  // namespace

bool PageViewKeyPlace(PageView* view, uint16_t key, int32_t* line, int32_t* x) {
  if (!view || !view->text || !view->lines) return false;
  uint16_t record = 0, end = 0;
  if (!PageViewRecordOfKey(view, key, &record, &end)) return false;
  // A space where a row breaks is drawn nowhere: the nearest drawn character of its
  // record stands for it.
  const uint16_t begin = uint16_t(record + 2);
  for (uint16_t d = 0; key >= begin + d || key + d < end; ++d) {
    if (key >= begin + d && DrawnPlace(view, uint16_t(key - d), line, x)) return true;
    if (key + d < end && DrawnPlace(view, uint16_t(key + d), line, x)) return true;
  }
  return false;
}

bool PageViewWordAround(const PageView* view, uint16_t key, uint16_t* first, uint16_t* last) {
  RecordText record;
  if (!FindRecord(view, key, &record)) return false;
  auto byteAt = [&](uint32_t k) { return view->text[record.StoredOf(k)]; };
  const uint32_t begin = record.textStart, end = record.textStart + record.length;
  uint32_t a = key, b = key;
  if (byteAt(key) != ' ') {
    while (a > begin && byteAt(a - 1) != ' ') --a;
    while (b + 1 < end && byteAt(b + 1) != ' ') ++b;
  }
  *first = uint16_t(a);
  *last = uint16_t(b);
  return true;
}

int32_t PageViewPaintSelection(PageView* view) {
  if (!view || !view->text || !view->lines) return kViewMissing;
  if (!PageViewHasSelection(view)) return kViewOk;
  const view_internal::FirstRow first = view_internal::FindFirstRow(view);
  platform::Font* oldFont = FontCacheSelect(view, first.style);
  uint8_t style = first.style;
  int32_t y = first.y;
  int32_t available = first.available;
  RecordText record;
  for (const LineRecord* entry = first.entry; !LineRecordIsEnd(*entry) && available >= entry->height; ++entry) {
    const LineRecord& e = *entry;
    const int32_t rows = (e.flags & kParaExtraRow) ? 2 : 1;
    Segment segments[2];
    const int count = IsRuleRecord(e.flags) ? 0 : RowSegments(view, e, segments);
    if (count > 0 && (record.length == 0 || e.offset < record.textStart ||
                      e.offset >= record.textStart + record.length)) {
      if (!FindRecord(view, e.offset, &record)) record = RecordText{};
    }
    if (count > 0 && record.length > 0 && record.textStart + record.length > view->selectionStart &&
        record.textStart < view->selectionEnd) {
      if ((e.flags ^ style) & kParaStyleKeyMask) FontCacheSelect(view, e.flags);
      style = e.flags;
      for (int i = 0; i < count; ++i) {
        const Segment& segment = segments[i];
        const uint32_t from = uint32_t(segment.text - view->text);
        // Each run of stored characters whose keys are all selected is painted as one.
        int32_t k = 0;
        while (k < segment.count) {
          auto selected = [&](int32_t at) {
            const uint32_t readingKey = record.KeyOf(from + uint32_t(at));
            return readingKey >= view->selectionStart && readingKey < view->selectionEnd;
          };
          if (!selected(k)) {
            ++k;
            continue;
          }
          int32_t end = k;
          while (end < segment.count && selected(end)) ++end;
          view_internal::PaintStoredRange(view, segment.text, segment.count, segment.x, y, from + uint32_t(k),
                                          from + uint32_t(end), gColourScheme->selectionText,
                                          gColourScheme->selectionGround);
          k = end;
        }
      }
    }
    y += rows * e.height;
    available -= rows * e.height;
  }
  platform::SelectFont(view->dc, oldFont);
  return kViewOk;
}
