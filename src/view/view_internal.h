// Helpers shared by the page view's source files; not part of its interface.
#pragma once

#include <cstdint>

#include "view/page_view.h"

namespace view_internal {

// Characters up to the text's 0.
inline int32_t TextLength(const uint8_t* p) {
  int32_t n = 0;
  while (p[n]) ++n;
  return n;
}

// Characters of the word at p (up to a space or the end).
inline int32_t WordLength(const uint8_t* p) {
  int32_t n = 0;
  while (p[n] && p[n] != ' ') ++n;
  return n;
}

inline const uint8_t* SkipSpaces(const uint8_t* p) {
  while (*p == ' ') ++p;
  return p;
}


// Reads of a stream never reach this many bytes: offsets are 16 bits wide.
constexpr uint32_t kStreamLimit = 0x10000;

// Characters of the 0-terminated text at p, looking at no more than limit bytes; -1 when
// no 0 comes within them.
int32_t BoundedTextLength(const uint8_t* p, uint32_t limit);

// Computes maxTopRow from the rows and the view's height. -1 (nothing changes) when the
// view has no table, no rows or no total rows.
int32_t ComputeMaxTopRow(PageView* view);

// Stored offset just past the text a row shows: its row proper, and on a lead row the lead
// word too (left to right it comes first, right to left it is stored after the row proper
// and runs to the record's end). A row holds the offsets from its offset up to this one,
// both included. Without text only the row proper counts.
uint32_t RowSpanEnd(const uint8_t* text, const LineRecord& entry);

// On a right-to-left lead row, the lead word: stored after the row proper and its spaces.
const uint8_t* LeadWordOfRightToLeftRow(const uint8_t* text, const LineRecord& entry);

// Redraws the characters of stored offsets start..end - 1 that lie in the segment of n
// characters at s, drawn at x, y, in the colours given (the highlight and the selection).
void PaintStoredRange(PageView* view, const uint8_t* s, int32_t n, int32_t x, int32_t y, uint32_t start,
                      uint32_t end, uint32_t textColour, uint32_t backColour);

// First row to draw, shared by paint and highlight.
struct FirstRow {
  const LineRecord* entry;
  int32_t y;          // 16-bit unsigned arithmetic, kept in an int
  int32_t available;  // height left for rows
  uint8_t style;      // current style key source
};
FirstRow FindFirstRow(PageView* view);

}  // namespace view_internal
