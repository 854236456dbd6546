#include "view/page_text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "content/letter_code.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "view/page_view.h"
#include "view/view_internal.h"

namespace {

constexpr int32_t kUnicodeHebrewBase = 0x05D0;

// Bytes of the text at p up to its 0, reading no further than end.
size_t LengthTo(const uint8_t* p, const uint8_t* end, uint8_t stop) {
  size_t n = 0;
  while (p + n < end && p[n] && p[n] != stop) ++n;
  return n;
}

// With a limit, the text stops before the first character whose reading key reaches it.
struct KeyLimit {
  const PageView* view = nullptr;  // none: no limit
  uint32_t limit = 0;
  bool reached = false;
};

// Appends count stored bytes as Unicode, turned into reading order when rightToLeft.
void AppendPiece(std::u16string* out, const uint8_t* text, size_t count, bool rightToLeft, KeyLimit* stop) {
  if (stop && stop->reached) return;
  std::vector<uint8_t> piece(text, text + count);
  std::vector<uint32_t> order;
  if (rightToLeft) {
    if (stop && stop->view) order = SwappedOrder(text, count);
    SwapVisualOrder(piece.data(), piece.size());
  }
  for (size_t i = 0; i < piece.size(); ++i) {
    if (stop && stop->view) {
      const size_t stored = size_t(text - stop->view->text) + (order.empty() ? i : order[i]);
      if (PageViewReadingKey(stop->view, uint16_t(stored)) >= stop->limit) {
        stop->reached = true;
        return;
      }
    }
    const uint8_t byte = piece[i];
    if (byte == ' ' && (out->empty() || out->back() == u' ' || out->back() == u'\n')) continue;
    out->push_back(LetterToDisplayUnit(byte, kUnicodeHebrewBase));
  }
}

void AppendSpace(std::u16string* out) {
  if (!out->empty() && out->back() != u' ' && out->back() != u'\n') out->push_back(u' ');
}

// Where a row lies in the stored text: begin..end, lead word included.
struct StoredRange {
  size_t begin = 0, end = 0;
};

// Appends the row's text in reading order and answers where it lies in the stored text; the
// lead word of a paragraph's first row comes first (it is drawn at the row's start: the
// right for right-to-left paragraphs, the left else).
StoredRange AppendRow(std::u16string* out, const PageView& view, const LineRecord& e, KeyLimit* stop) {
  const uint8_t* text = view.text;
  const uint8_t* end = text + view.textLength;
  const uint8_t* row = text + e.offset;
  StoredRange range{e.offset, e.offset};
  if (row >= end) return range;
  const bool rightToLeft = (e.flags & kParaRightToLeft) != 0;
  const size_t length = std::min<size_t>(e.length, size_t(end - row));
  if (e.leadWidth && rightToLeft) {
    // Stored after the row proper and the spaces that follow it.
    const uint8_t* lead = row + length;
    if (length > 0) lead += LengthTo(lead, end, ' ');
    while (lead < end && *lead == ' ') ++lead;
    const size_t leadLength = LengthTo(lead, end, 0);
    AppendPiece(out, lead, leadLength, true, stop);
    if (!stop->reached) AppendSpace(out);
    AppendPiece(out, row, length, true, stop);
    range.end = size_t(lead + leadLength - text);
  } else if (e.leadWidth) {
    const size_t word = LengthTo(row, end, ' ');
    const uint8_t* proper = row + word;
    while (proper < end && *proper == ' ') ++proper;
    const size_t properLength = std::min<size_t>(e.length, size_t(end - proper));
    AppendPiece(out, row, word, false, stop);
    if (!stop->reached) AppendSpace(out);
    AppendPiece(out, proper, properLength, false, stop);
    range.end = size_t(proper + properLength - text);
  } else {
    AppendPiece(out, row, length, rightToLeft, stop);
    range.end = e.offset + length;
  }
  return range;
}

// Whether the stored text between two rows of one record holds anything (a space the
// layout broke at): rows cut inside a word, or after a hyphen, join without a space.
bool GapBetween(const StoredRange& a, const StoredRange& b) {
  return a.end <= b.begin ? b.begin > a.end : a.begin > b.end;
}

// Where the record holding offset starts: the nearest 0 before it (a record's terminator,
// or its own parameter byte when that is 0), or the stream's start. Rows of one record
// give one answer, rows of different records different ones.
size_t RecordKey(const PageView& view, uint16_t offset) {
  size_t i = offset;
  while (i > 0 && view.text[i - 1] != 0) --i;
  return i;
}

// Appends the rows from first up to the end entry, or up to the last that fits in
// available pixels when available >= 0.
void AppendRows(std::u16string* out, const PageView& view, const LineRecord* first, int32_t available,
                KeyLimit* stop) {
  size_t record = SIZE_MAX;
  StoredRange previous;
  for (const LineRecord* entry = first; !LineRecordIsEnd(*entry); ++entry) {
    if (stop->reached) return;
    const LineRecord& e = *entry;
    if (available >= 0 && available < e.height) break;
    if (available >= 0) available -= ((e.flags & kParaExtraRow) ? 2 : 1) * e.height;
    if (IsRuleRecord(e.flags) || e.offset >= view.textLength) continue;
    const size_t key = RecordKey(view, e.offset);
    if (key != record) {
      if (!out->empty() && out->back() == u' ') out->pop_back();
      if (!out->empty()) out->push_back(u'\n');
      record = key;
    } else if (GapBetween(previous, StoredRange{e.offset, size_t(e.offset) + e.length})) {
      AppendSpace(out);
    }
    previous = AppendRow(out, view, e, stop);
  }
  if (stop->reached) return;
  if (!out->empty() && out->back() == u' ') out->pop_back();
  if (!out->empty()) out->push_back(u'\n');
}

bool Usable(const PageView* view) { return view && view->text && view->lines && view->textLength > 0; }

}  // namespace

std::u16string PageViewVisibleText(PageView* view) {
  std::u16string out;
  if (!Usable(view)) return out;
  const view_internal::FirstRow first = view_internal::FindFirstRow(view);
  KeyLimit none;
  AppendRows(&out, *view, first.entry, first.available, &none);
  return out;
}

std::u16string PageViewArticleText(PageView* view) {
  std::u16string out;
  if (!Usable(view)) return out;
  KeyLimit none;
  AppendRows(&out, *view, view->lines, -1, &none);
  return out;
}

size_t PageViewArticleTextOffset(PageView* view, uint16_t readingKey) {
  std::u16string out;
  if (!Usable(view)) return 0;
  KeyLimit stop{view, readingKey, false};
  AppendRows(&out, *view, view->lines, -1, &stop);
  return out.size();
}
