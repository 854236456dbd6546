// The index tree: the table of contents laid out into right-aligned lines for a box, each
// line with a visible and an expanded bit, drawn with a fold or page glyph right of its
// text, scrolled by visible lines, folded and unfolded by taps.
//
// A view owns its IndexStream (`text`) once a layout took it, its line table and its font
// cache. Everything is measured and drawn through the drawing context given at creation.
// Every allocation goes through AllocOrAbort: when memory runs out the reader saves its
// settings and ends, and the operation answers its out-of-memory result.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/font_spec.h"
#include "view/page_view.h"

// Indent per level, measured from the right edge, and the glyph drawn right of a line.
constexpr int32_t kIndexIndentStep = 13;
constexpr int32_t kIndexGlyphSize = 9;
constexpr int32_t kIndexGlyphGap = 4;
// A tap up to this many pixels right of an entry's text still hits the entry (the glyph).
constexpr int32_t kIndexGlyphZone = 13;
// The glyph of a line that ends at the box's right edge lies this far right of the box:
// an erasing paint clears that margin too, or a glyph would stay there after a scroll.
constexpr int32_t kIndexGlyphMargin = kIndexGlyphGap + kIndexGlyphSize;
// IndexViewHitTest: a tap below the last shown line.
constexpr int32_t kIndexHitBelowLines = INT32_MIN;
// The line table grows by this many lines.
constexpr uint16_t kIndexLineGrowth = 128;

// One line of the layout. All lines of one record share key, indent, height and (at
// first) flags. The all-zero entry after the last line ends the table.
struct IndexLine {
  uint16_t offset;  // stream offset of the first stored byte the line shows
  uint16_t length;  // its bytes
  int16_t x;        // left edge of its text
  uint16_t width;   // measured width of its text
  uint16_t height;  // text height of the record's font
  uint16_t key;     // the record's key
  uint8_t flags;    // the record's flags; bits 0x40 (expanded) and 0x80 (visible) change at run time
};

struct IndexView {
  IndexLine* lines;       // lineCapacity + 1 entries
  platform::Dc* dc;       // kept valid by the owner for the view's lifetime
  uint8_t* text;          // the laid-out IndexStream, owned
  int32_t linesPainted;   // lines drawn by the last paint; the dialog pages by it
  FontSpec fontSpec;      // copy; its letter base converts the text for display
  FontCache* fontCache;   // one font per style key, newest first
  int32_t x, y;           // the box in the dialog's client area
  int32_t width, height;
  uint16_t topRow;        // visible lines above the first shown line
  uint16_t visibleCount;  // lines with the visible bit
  uint16_t lineCount;
  uint16_t lineCapacity;  // not counting the end entry
  uint16_t maxTopRow;     // the largest topRow that still fills the view
  // Bytes of `text` the layout may read: no record is read past them, so a stream without
  // its end record is never read outside its block.
  uint32_t textLength;
  // Drawn text is turned around when the letter base is not 97 (the Reverse option).
  bool drawReversed;
  // 1 + the index of the first line of the selected record, drawn highlighted; 0 for none.
  // Every layout clears it, since the lines change.
  uint16_t selectedLine;
};

// Expansion state: pairs (key, expanded bit as 0x40 or 0), ended by a key of 0. A heap
// block the caller frees.
using ExpansionState = uint16_t;

// A line always shows at least one byte, so the end entry is told by its length: the flags
// alone would not do, since a record with no style bits has flags 0 once it is folded and
// hidden.
inline bool IndexLineIsEnd(const IndexLine& line) { return line.length == 0; }
// A line's distance from the view's right edge.
int32_t IndexLineIndent(const IndexView* view, const IndexLine* line);

// A new zeroed view for box (left, top, right, bottom), or none when dc is none or memory
// runs out. With a capacity above 0 a table of capacity + 1 lines is allocated.
IndexView* IndexViewCreate(platform::Dc* dc, const platform::Rect& box, const FontSpec& fontSpec,
                           uint16_t initialCapacity);
// Breaks the first streamLength bytes of stream into lines. 0: laid out, the view owns
// stream. -1: no view. 2: stream is none (with freeOld the held stream is released).
// 0xFFFC: first flags byte 0 or empty first text (the old stream and lines stay). 0xFFFE:
// out of memory (stream is not attached unless it was already the view's). visibleCount
// and maxTopRow are cleared first in every case but the missing view.
int32_t IndexViewLayOut(IndexView* view, uint8_t* stream, uint32_t streamLength, bool freeOld);
// Stores the size and lays the view's own stream out again (-1 without view). Visibility
// and expansion go back to the stream's flags.
int32_t IndexViewSetSize(IndexView* view, int32_t width, int32_t height);
// -1 without view. None: deletes the cached fonts, answers 0. Otherwise copies fontSpec,
// re-creates the fonts and lays out again: 1 when that fails, else the erasing paint's result.
int32_t IndexViewSetFont(IndexView* view, const FontSpec* fontSpec);
// Draws the visible lines that fit from topRow. 0; -1 without view, stream or table.
int32_t IndexViewPaint(IndexView* view, bool erase);
// Moves topRow by delta visible lines. mode 0: no paint, answers 1; mode 1: answers 1 when
// topRow stays, else paints with erase. clamp keeps topRow at most maxTopRow. -1 without view.
int32_t IndexViewScroll(IndexView* view, int32_t delta, int32_t mode, bool clamp);
// An entry's article number (> 0); -group number after a heading was toggled (<= 0); 0
// for no action; kIndexHitBelowLines for a tap below the last shown line.
int32_t IndexViewHitTest(IndexView* view, int32_t x, int32_t y);
// Folds or unfolds the heading of line (any line of a wrapped heading flips all of them),
// repaints and answers -(key & 0x3FFF).
int32_t IndexViewToggle(IndexView* view, IndexLine* line);
// The index of the first non-heading line of article whose text lies at or after stream
// offset from; -1 when there is none (or no view, stream or table).
int32_t IndexViewFindArticle(const IndexView* view, uint16_t article, uint32_t from);
// Makes the first non-heading line of article at or after stream offset from visible with
// the line after it and their enclosing headings; nothing when it is visible already.
void IndexViewRevealArticle(IndexView* view, uint16_t article, uint32_t from = 0);
// Sets topRow (without painting) so that visible line index is in view, about the middle
// when it was not; nothing for a hidden line or one that is in view already.
void IndexViewScrollToLine(IndexView* view, int32_t index);
// The expanded bit of the first line of every visible record; none when nothing is visible.
ExpansionState* IndexViewSaveExpansion(IndexView* view);
// Gives the lines the visibility and expansion found in state, in order: the records it
// names are shown with their saved expanded bit, every other line is hidden (so a heading
// folded before a new layout stays folded). 0; -1 without view, stream, table or state.
int32_t IndexViewRestoreExpansion(IndexView* view, const ExpansionState* state);
// Frees the stream, the table and the fonts; the record too when freeRecord is set.
void IndexViewDestroy(IndexView* view, bool freeRecord);

// Selects the font of style key flags & 0x1F and answers the previous one; with
// kSelectWithColour the text colour is the scheme's index heading colour for keys with 0x04
// and 0x08, else its index text colour (light: blue, black).
platform::Font* IndexFontCacheSelect(IndexView* view, uint32_t flags);
