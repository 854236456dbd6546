// Line layout: a ParagraphStream broken into the view's rows, the largest useful top row,
// and bringing a text offset to the top.
#include <algorithm>

#include "content/streams.h"
#include "view/page_view.h"
#include "view/view_internal.h"

namespace view_internal {

int32_t BoundedTextLength(const uint8_t* p, uint32_t limit) {
  for (uint32_t i = 0; i < limit; ++i)
    if (p[i] == 0) return int32_t(i);
  return -1;
}

int32_t ComputeMaxTopRow(PageView* view) {
  if (!view->lines || view->lineCount == 0 || view->totalRows == 0) return -1;
  int32_t remaining = int16_t(view->height);
  int32_t fitted = 0;
  for (int32_t i = int32_t(view->lineCount) - 1; i >= 0; --i) {
    const LineRecord& row = view->lines[i];
    if (row.height > remaining) break;
    remaining -= row.height;
    if (row.flags & kParaExtraRow) {
      remaining -= row.height;
      ++fitted;
    }
    ++fitted;
  }
  // The last row taken had an extra row below it that did not fit.
  if (remaining < 0) --fitted;
  view->maxTopRow = uint16_t(view->totalRows - fitted);
  return view->maxTopRow;
}

}  // namespace view_internal

namespace {

using view_internal::BoundedTextLength;

constexpr uint16_t kTableStep = 128;
constexpr uint32_t kMaxRows = 0xFFFF;  // rows and totalRows are 16 bits wide

// The state of one layout run, carried from record to record.
struct Layout {
  PageView* view;
  const uint8_t* stream;
  platform::Font* restoreFont;
  uint32_t rows;         // row index: rows made so far
  uint32_t extraRows;    // extra rows counted so far
  uint16_t indent;       // running indent
  uint8_t style;         // flags of the last text record
  int32_t lineHeight;
  int32_t maxCharWidth;
};

void ReadMetrics(Layout& l) {
  platform::TextMetrics metrics{};
  platform::GetTextMetrics(l.view->dc, &metrics);
  l.lineHeight = metrics.height;
  l.maxCharWidth = metrics.maxCharWidth;
}

// Ends the table after the rows made so far and gives the context its font back. A table
// laid out for another stream than the view's own is ended at its start, so no row points
// into a stream the view does not hold.
int32_t Fail(Layout& l) {
  PageView* view = l.view;
  view->lines[l.stream == view->text ? l.rows : 0] = LineRecord{};
  platform::SelectFont(view->dc, l.restoreFont);
  return kLayoutNoMemory;
}

// Makes sure the entry at the row index is free, growing the table by 128 entries.
bool EnsureEntry(Layout& l) {
  PageView* view = l.view;
  if (l.rows + l.extraRows >= kMaxRows) return false;
  if (l.rows < view->lineCapacity) return true;
  const uint32_t capacity = std::min<uint32_t>(uint32_t(view->lineCapacity) + kTableStep, kMaxRows);
  auto* lines = static_cast<LineRecord*>(platform::Alloc((size_t(capacity) + 1) * sizeof(LineRecord)));
  if (!lines) return false;
  std::copy(view->lines, view->lines + view->lineCapacity, lines);
  platform::Free(view->lines);
  view->lines = lines;
  view->lineCapacity = uint16_t(capacity);
  return true;
}

int32_t AlignedX(const PageView* view, uint8_t flags, int32_t indent, int32_t lead, int32_t width) {
  const int32_t X = view->x, W = view->width;
  switch (flags & kParaAlignMask) {
    case kParaAlignRight: return X + W - (indent + lead) - width;
    case kParaAlignCentre: return X + indent + (W - (indent + lead) - width) / 2;
    default: return X + indent + lead;
  }
}

bool LayOutRule(Layout& l, uint8_t flags, uint8_t param, uint32_t textOffset) {
  if (param == 0) return true;
  if (!EnsureEntry(l)) return false;
  PageView* view = l.view;
  const int32_t viewWidth = std::max(view->width, 0);
  int32_t length = param <= 160 ? param : int32_t(int64_t(param - 160) * viewWidth * 2 / 100);
  length = std::min(length, viewWidth);
  int32_t x = view->x;
  if ((flags & kParaAlignMask) == kParaAlignRight)
    x = view->x + view->width - length;
  else if ((flags & kParaAlignMask) == kParaAlignCentre)
    x = view->x + (view->width - length) / 2;
  view->lines[l.rows] = LineRecord{uint16_t(textOffset), 0, uint16_t(x), 0, uint16_t(length),
                                   uint16_t(l.lineHeight), flags};
  ++l.rows;
  if (flags & kParaExtraRow) ++l.extraRows;
  return true;
}

// Breaks one text paragraph into rows. chars is the text in layout order (the reversed
// copy for a right-to-left paragraph), 0-terminated after length characters.
bool BreakParagraph(Layout& l, const uint8_t* chars, int32_t length, uint8_t flags, uint32_t textOffset,
                    int32_t lead) {
  PageView* view = l.view;
  const bool rightToLeft = flags & kParaRightToLeft;
  int32_t pos = 0;
  for (;;) {
    while (pos < length && chars[pos] == ' ') ++pos;
    if (pos >= length) return true;
    const int32_t remaining = length - pos;
    if (!EnsureEntry(l)) return false;

    int32_t count = remaining;
    int32_t available = view->width - int32_t(l.indent);
    int32_t leadStart = -1;
    int32_t leadConsumed = 0;
    if (lead > 0) {
      leadStart = pos;
      int32_t end = pos;
      while (end < length && chars[end] != ' ') ++end;
      while (end < length && chars[end] == ' ') ++end;
      leadConsumed = end - pos;
      count -= leadConsumed;
      available = std::max(available - lead, 0);
      pos = end;
    }
    MeasureFit(view->dc, chars + pos, view->fontSpec.fontAsciiBase, &available, &count);
    if (pos + count < length && chars[pos + count] != ' ') {
      for (int32_t c = count - 1; c >= 1; --c) {
        if (chars[pos + c] == ' ' || chars[pos + c] == '-') {
          count = chars[pos + c] == ' ' ? c : c + 1;
          MeasureFit(view->dc, chars + pos, view->fontSpec.fontAsciiBase, &available, &count);
          break;
        }
      }
    }
    // A row takes at least one character, so layout ends however narrow the view is. The
    // lead row already takes its lead word and needs nothing more.
    if (count == 0 && leadConsumed == 0) {
      count = 1;
      available = 0x7FFF;
      MeasureFit(view->dc, chars + pos, view->fontSpec.fontAsciiBase, &available, &count);
      count = 1;
    }

    const int32_t offset = rightToLeft ? int32_t(textOffset) + length - pos - count
                                       : int32_t(textOffset) + (leadStart >= 0 ? leadStart : pos);
    const int32_t consumed = count + leadConsumed;
    const bool last = consumed == remaining;
    const uint8_t rowFlags = last ? flags : uint8_t(flags & 0x7F);
    view->lines[l.rows] = LineRecord{uint16_t(offset), uint16_t(count),
                                     uint16_t(AlignedX(view, flags, l.indent, lead, available)), uint16_t(lead),
                                     uint16_t(available), uint16_t(l.lineHeight), rowFlags};
    l.indent = uint16_t(l.indent + lead);
    lead = 0;
    pos += count;
    if (last && (flags & kParaExtraRow)) ++l.extraRows;
    ++l.rows;
  }
}

int32_t LayOut(PageView* view, uint8_t* stream, uint32_t limit, bool releaseOld) {
  if (!view) return kViewMissing;
  view->highlightStart = view->highlightEnd = 0;
  if (stream != view->text) PageViewClearSelection(view);
  view->totalRows = 0;
  view->maxTopRow = 0;
  if (!stream) {
    if (releaseOld) {
      platform::Free(view->text);
      view->text = nullptr;
      view->textLength = 0;
    }
    return kLayoutNoStream;
  }
  limit = std::min(limit, view_internal::kStreamLimit);
  // The first record must be whole and, unless it is a rule, have text.
  if (limit < 3 || stream[0] == 0) return kLayoutMalformed;
  const int32_t firstLength = BoundedTextLength(stream + 2, limit - 2);
  if (firstLength < 0 || (firstLength == 0 && !IsRuleRecord(stream[0]))) return kLayoutMalformed;

  if (releaseOld && stream != view->text) {
    platform::Free(view->text);
    view->text = nullptr;
    view->textLength = 0;
  }
  if (!view->lines || view->lineCapacity == 0) {
    platform::Free(view->lines);
    view->lines = nullptr;
    view->lineCapacity = 0;
    auto* lines = static_cast<LineRecord*>(platform::Alloc((size_t(kTableStep) + 1) * sizeof(LineRecord)));
    if (!lines) return kLayoutNoMemory;
    view->lines = lines;
    view->lineCapacity = kTableStep;
  }

  Layout l{view, stream, nullptr, 0, 0, 0, 1, 0, 0};
  l.restoreFont = FontCacheSelect(view, 1);
  ReadMetrics(l);
  uint8_t previousParam = 0;

  uint32_t at = 0;
  for (;;) {
    // A record that does not end inside the buffer ends the stream.
    if (at >= limit || stream[at] == 0 || limit - at < 3) break;
    const int32_t textLength = BoundedTextLength(stream + at + 2, limit - at - 2);
    if (textLength < 0) break;
    const uint8_t flags = stream[at];
    const uint8_t param = stream[at + 1];
    const uint8_t* text = stream + at + 2;
    const uint32_t textOffset = at + 2;
    at = textOffset + uint32_t(textLength) + 1;

    int32_t k = param >> 6;
    if (k != 0 && text[0] == ' ' && l.rows > 0) {
      // A continuation keeps the paragraph's hanging indent, moved by the indent change.
      if ((param & 0x3F) != (previousParam & 0x3F))
        l.indent = uint16_t(l.indent + (param & 0x3F) - (previousParam & 0x3F));
      k = 0;
    } else {
      l.indent = param;
    }
    previousParam = param;

    if (IsRuleRecord(flags)) {
      if (!LayOutRule(l, flags, param, textOffset)) return Fail(l);
      continue;
    }
    if ((flags ^ l.style) & kParaStyleKeyMask) {
      FontCacheSelect(view, flags);
      ReadMetrics(l);
    }
    l.style = flags;
    int32_t lead = 0;
    if (k != 0) {
      l.indent &= 0xFF3F;
      lead = (k + 1) * l.maxCharWidth / 2;
    }
    uint8_t* reversed = nullptr;
    const uint8_t* chars = text;
    if (flags & kParaRightToLeft) {
      reversed = static_cast<uint8_t*>(platform::Alloc(size_t(textLength) + 1));
      if (!reversed) return Fail(l);
      std::reverse_copy(text, text + textLength, reversed);
      reversed[textLength] = 0;
      chars = reversed;
    }
    if (int32_t(l.indent) >= view->width) l.indent = 0;
    const bool ok = BreakParagraph(l, chars, textLength, flags, textOffset, lead);
    platform::Free(reversed);
    if (!ok) return Fail(l);
  }

  view->lines[l.rows] = LineRecord{};
  view->lineCount = uint16_t(l.rows);
  uint32_t total = l.extraRows + l.rows;
  // An article never ends with an extra row.
  if (l.rows > 0 && (view->lines[l.rows - 1].flags & kParaExtraRow)) {
    view->lines[l.rows - 1].flags &= 0x7F;
    --total;
  }
  view->totalRows = uint16_t(total);
  view->text = stream;
  // The stream ends at `at`; its 0 flags byte, when inside the buffer, is part of it.
  view->textLength = at < limit && stream[at] == 0 ? at + 1 : at;
  view_internal::ComputeMaxTopRow(view);
  platform::SelectFont(view->dc, l.restoreFont);
  return kViewOk;
}

}  // namespace

int32_t PageViewLayOut(PageView* view, uint8_t* stream, bool releaseOld) {
  return LayOut(view, stream, view_internal::kStreamLimit, releaseOld);
}

int32_t PageViewLayOut(PageView* view, uint8_t* stream, uint32_t streamLength, bool releaseOld) {
  return LayOut(view, stream, streamLength, releaseOld);
}

int32_t PageViewScrollToOffset(PageView* view, uint16_t offset) {
  if (!view || !view->lines) return 0;
  uint32_t rows = 0;
  for (const LineRecord* entry = view->lines; !LineRecordIsEnd(*entry); ++entry) {
    if (entry->offset <= offset && offset <= view_internal::RowSpanEnd(view->text, *entry)) {
      view->topRow = uint16_t(std::min<uint32_t>(rows, view->maxTopRow));
      return 1;
    }
    rows += (entry->flags & kParaExtraRow) ? 2 : 1;
  }
  return 0;
}

uint32_t PageViewRowSpanEnd(const PageView* view, const LineRecord& entry) {
  return view_internal::RowSpanEnd(view ? view->text : nullptr, entry);
}

uint16_t PageViewTopOffset(const PageView* view) {
  if (!view || !view->lines) return 0;
  uint32_t rows = 0;
  for (const LineRecord* entry = view->lines; !LineRecordIsEnd(*entry); ++entry) {
    const uint32_t span = (entry->flags & kParaExtraRow) ? 2 : 1;
    if (view->topRow < rows + span) return entry->offset;
    rows += span;
  }
  return 0;
}
