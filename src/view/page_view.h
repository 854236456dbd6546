// The page view: one article laid out into rows for a rectangle and a font, painted,
// scrolled, highlighted, and labelled with a title banner.
//
// A view owns its decompressed ParagraphStream (`text`), its line table and its font
// cache. Everything is measured and drawn through the one drawing context given at
// creation. Records are plain and zeroed when created; the operations take the view first
// and tolerate a missing view.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/colour_scheme.h"
#include "view/font_spec.h"

// --- Result codes ---------------------------------------------------------------------
constexpr int32_t kViewOk = 0;
constexpr int32_t kViewMissing = -1;          // no view (paint: also no text or no table)
constexpr int32_t kViewBadSize = -5;          // PageViewSetSize: width or height not positive
constexpr int32_t kLayoutNoStream = 2;        // PageViewLayOut: the stream is none
constexpr int32_t kLayoutMalformed = 0xFFFC;  // the 16-bit -4: empty stream or empty first text
constexpr int32_t kLayoutNoMemory = 0xFFFE;   // the 16-bit -2: a table or copy could not be had
constexpr int32_t kSetFontLayoutFailed = 1;   // PageViewSetFont: layout failed, nothing painted
constexpr int32_t kScrollNothingDone = 1;     // PageViewScroll
constexpr int32_t kScrollMoved = 3;           // PageViewScroll: topRow changed, no repaint asked

// FontCacheSelect flag: set the text colour of the style as well.
constexpr uint32_t kSelectWithColour = 0x100;

// The light scheme's highlight, blue text on yellow (painting takes the current scheme's).
constexpr uint32_t kHighlightTextColour = kLightColourScheme.highlightText;
constexpr uint32_t kHighlightBackColour = kLightColourScheme.highlightGround;


// One row of text or one rule.
struct LineRecord {
  uint16_t offset;     // first character from the stream start (LTR lead row: the lead word)
  uint16_t length;     // characters of the row proper (lead word excluded); 0 for a rule
  uint16_t x;          // left edge of the row proper, client coordinates
  uint16_t leadWidth;  // lead-word box width; nonzero only on a paragraph's first row
  uint16_t width;      // measured width of the row proper, or the rule's length
  uint16_t height;     // text height of the paragraph's font
  uint8_t flags;       // the paragraph's flags, bit 0x80 only on its last row
};

// The end of a line table is an all-zero entry. Rows are told from it by their offset,
// which is never 0 (a record's text starts two bytes after its flags byte), so a row whose
// flags came out 0 (a paragraph with flags exactly 0x80) does not end the table early.
inline bool LineRecordIsEnd(const LineRecord& entry) { return entry.flags == 0 && entry.offset == 0; }

// One font per style key, newest first. Entries live as long as the view.
struct FontCache {
  FontCache* next;
  platform::Font* font;  // none after the fonts were released
  uint8_t styleKey;      // ParagraphFlags & 0x1F
};

// Deletes the fonts of a cache and keeps its entries (the fonts are made again on demand).
void FontCacheDeleteFonts(FontCache* head);
// Deletes the fonts of a cache and frees its entries; *head becomes none.
void FontCacheRelease(FontCache** head);

struct PageView {
  LineRecord* lines;      // lineCapacity + 1 entries (the extra one for the end entry)
  platform::Dc* dc;       // kept valid by the owner for the view's lifetime
  uint8_t* text;          // the laid-out ParagraphStream, owned
  int32_t rowsPainted;    // rows drawn by the last PageViewPaint
  FontSpec fontSpec;      // copy; its letter base converts the view's text for display
  FontCache* fontCache;
  int32_t x, y;           // top-left corner in client coordinates
  int32_t width, height;
  uint16_t topRow;
  uint16_t totalRows;     // one per LineRecord plus one per extra row
  uint16_t lineCount;
  uint16_t lineCapacity;  // not counting the end entry
  uint16_t maxTopRow;     // largest top row at which the last screen is still full
  uint16_t highlightStart;
  uint16_t highlightEnd;  // start = end = 0: no highlight
  // Bytes of `text` that the layout found well formed: every record it walked lies inside,
  // so later reads of the stream (painting, the banner) stay inside too.
  uint32_t textLength;
  // Drawn text is turned around when the letter base is not 97: the reader's Reverse
  // option, which the view's owner keeps current (measuring never reverses).
  bool drawReversed;
  // The selection in reading keys (see the selection section below): the characters of
  // keys selectionStart..selectionEnd - 1; equal when nothing is selected. The anchor is
  // the key a Shift+click or Shift+Up/Down extends from. A layout of another text clears it.
  uint16_t selectionStart;
  uint16_t selectionEnd;
  uint16_t selectionAnchor;
  uint16_t selectionFocus;
};

// --- Object and font cache --------------------------------------------------------------

// A new zeroed view, or none when dc is none or the record cannot be allocated. rect is
// left, top, right, bottom (none: position and size stay 0). With a nonzero capacity a
// table of capacity + 1 entries is allocated; when that fails the view comes back without
// a table (the layout allocates its own).
PageView* PageViewCreate(platform::Dc* dc, const platform::Rect* rect, const FontSpec& fontSpec,
                         uint16_t initialCapacity);
// -1 without view; -5 (nothing changes) unless both are positive; else stores the size and
// answers the layout of the view's own text.
int32_t PageViewSetSize(PageView* view, int32_t width, int32_t height);
// -1 without view. None: deletes every cached font and answers 0. Otherwise copies the
// FontSpec, recreates every cached font, lays out again (1 when that fails, nothing painted)
// and answers the erasing paint's result.
int32_t PageViewSetFont(PageView* view, const FontSpec* fontSpec);
// Releases the text, the table and the fonts; the record too when releaseRecord is set.
void PageViewDestroy(PageView* view, bool releaseRecord);

// Selects the font of style key flags & 0x1F (creating it on first use) and answers the
// font the context had before; none without view. With kSelectWithColour the text colour
// is set from the key first.
platform::Font* FontCacheSelect(PageView* view, uint32_t flags);
// The description of a style key's font for a FontSpec: height from the size (0 = the
// platform default) by bits 0x04 (x5/4, or 20) and 0x02 (x6/8, or 14), weight 700 with
// bit 0x08, the FontSpec's face.
platform::FontDescription StyleFontDescription(const FontSpec& fontSpec, uint8_t styleKey);
// The text colour of a style key in the current scheme: the verse numbers' with bit 0x02,
// the titles' with 0x04 and 0x08, else the text's (light: dark blue, blue, black).
uint32_t StyleColour(uint8_t styleKey);

// --- Text primitives (letter-code text, converted through the shared ConversionBuffer) ---

// How letter-code text becomes display text: the font's letter base, and whether drawn
// text is turned around (the Reverse option; it has no effect with base 97).
struct TextForm {
  int32_t fontAsciiBase;
  bool reverse;
};
// The form a view draws its text in.
inline TextForm ViewTextForm(const PageView* view) { return {view->fontSpec.fontAsciiBase, view->drawReversed}; }

// On entry *count characters of text and *width pixels; on return *count is how many of
// them fit and *width their width, for the letter base fontAsciiBase. Never reversed.
// When conversion fails both become 0.
void MeasureFit(platform::Dc* dc, const uint8_t* text, int32_t fontAsciiBase, int32_t* width, int32_t* count);
// Draws count characters centred on one line in x, y, w, h in the given form, with the
// context's current font, colour and background settings.
void DrawTextBox(platform::Dc* dc, const uint8_t* text, int32_t count, TextForm form, int32_t x, int32_t y,
                 int32_t w, int32_t h);
// DrawTextBox opaque in the given colours; the context's colours and mode are restored.
void DrawColouredTextBox(platform::Dc* dc, const uint8_t* text, int32_t count, TextForm form, int32_t x,
                         int32_t y, int32_t w, int32_t h, uint32_t textColour, uint32_t backgroundColour);
// Fills x, y, width, height with a stock brush (0 white, 4 black).
void FillViewRect(platform::Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, int stockBrush);

// --- Layout ------------------------------------------------------------------------------

// Breaks stream into the view's rows. 0: laid out, the view owns stream. -1: no view.
// 2: stream is none (with releaseOld the held stream is released). 0xFFFC: empty stream or
// empty first text (nothing released). 0xFFFE: out of memory (stream not attached; the
// caller keeps it). Highlight, totalRows and maxTopRow are cleared on every call; topRow is
// left to the caller. Reads of the stream stop at the 16-bit offset limit.
int32_t PageViewLayOut(PageView* view, uint8_t* stream, bool releaseOld);
// The same for a buffer of known size: no byte at or past stream + streamLength is read
// (for an article from LoadArticle pass U + 1, its bytes and the 0 after them). A record
// that does not end inside the buffer ends the stream; one that is the first answers 0xFFFC.
int32_t PageViewLayOut(PageView* view, uint8_t* stream, uint32_t streamLength, bool releaseOld);
// Sets topRow to the first row holding offset (at most maxTopRow) and answers 1; 0 when no
// row holds it (nothing changes). A row holds the stored text it shows, its lead word
// included, from its offset up to the offset just past that text.
int32_t PageViewScrollToOffset(PageView* view, uint16_t offset);
// The stored offset just past the text the row `entry` of view shows: its row proper, and on
// a paragraph's first row its lead word too (right to left the lead word, a verse number
// for one, is stored after the row proper, up to the record's end).
uint32_t PageViewRowSpanEnd(const PageView* view, const LineRecord& entry);
// The offset of the row at topRow (the row an extra row belongs to, for an extra row), which
// PageViewScrollToOffset finds again after a new layout; 0 without view or rows.
uint16_t PageViewTopOffset(const PageView* view);

// --- Painting, highlight, scrolling --------------------------------------------------------

// Draws the rows that fit from topRow (erase: fill the view with the page ground first), then the
// highlight when one is set (its result is answered). -1 without view, text or table.
int32_t PageViewPaint(PageView* view, int erase);
// Redraws the characters of highlightStart..highlightEnd on the visible rows in the
// scheme's highlight colours. -1 without view, text or table.
int32_t PageViewPaintHighlight(PageView* view);
// Moves topRow by delta rows. -1 without view; 1 when nothing was done; 3 when topRow
// changed and repaint is 0; otherwise the erasing paint's result. guard keeps a downward
// step from going past maxTopRow once there, and pulls a step past totalRows to maxTopRow.
int32_t PageViewScroll(PageView* view, int32_t delta, int32_t repaint, int32_t guard);

// --- Selection ---------------------------------------------------------------------------
//
// A selection runs in reading order, across rows and records. Positions in it are reading
// keys: a record's characters have the keys of its stored text offsets, numbered in the
// order they are read (a right-to-left record's text is stored turned around, so its first
// key is the character read first, stored last). Keys of one record are contiguous and
// records follow each other, so a range of keys is a passage in reading order.

// The reading key of the character at stored offset, and back; 0 for an offset that holds
// no character (a record's flags, parameter or 0), or without view or text.
uint16_t PageViewReadingKey(const PageView* view, uint16_t storedOffset);
uint16_t PageViewStoredOffset(const PageView* view, uint16_t readingKey);
// The record holding the character of a key: the offset of its flags byte and of the key
// just past its last character. False when no record's text holds the key.
bool PageViewRecordOfKey(const PageView* view, uint16_t readingKey, uint16_t* recordOffset, uint16_t* keysEnd);

// Selects the characters from key anchor to key focus, both included, in either order;
// anchor and focus are kept for extending. Keys outside the text are not checked.
void PageViewSelect(PageView* view, uint16_t anchor, uint16_t focus);
void PageViewClearSelection(PageView* view);
inline bool PageViewHasSelection(const PageView* view) {
  return view && view->selectionStart != view->selectionEnd;
}

// The character drawn nearest x on the row at y (client coordinates; the rows painted
// from topRow): its reading key. False when y is on no text row of the view (a rule, the
// empty row after a paragraph, below the last row, outside the view).
bool PageViewKeyAt(PageView* view, int32_t x, int32_t y, uint16_t* key);
// The same on line (an index into the line table) instead of a y.
bool PageViewKeyOnLine(PageView* view, int32_t line, int32_t x, uint16_t* key);
// Where the character of key is drawn: its line's index and the middle of its cell. False
// when no row shows it.
bool PageViewKeyPlace(PageView* view, uint16_t key, int32_t* line, int32_t* x);
// The first row (top-row counting, extra rows included) of line; 0 without view.
uint16_t PageViewRowOfLine(const PageView* view, int32_t line);

// The word around key: the keys of its first and last characters (a word ends at a
// space; a space itself is a word of one). False when key is no character.
bool PageViewWordAround(const PageView* view, uint16_t key, uint16_t* first, uint16_t* last);

// Redraws the selected characters of the rows shown in the scheme's selection colours, as the
// highlight is drawn. -1 without view, text or table.
int32_t PageViewPaintSelection(PageView* view);

// --- Title banner ---------------------------------------------------------------------------

// One banner line: a text inside the stream, its length in characters (after measuring:
// the characters that fit) and its width in pixels (after measuring).
struct BannerText {
  int32_t length;
  int32_t width;
  const uint8_t* text;  // none when absent
};

// Clears both results and fills the title (a first record with flags exactly 0xDC) and the
// subtitle (flags exactly 0xD1, after the title or first) that are present with nonempty
// text. end bounds the reads (none: the 16-bit offset limit).
void FindTitleRecords(const uint8_t* stream, BannerText* title, BannerText* subtitle,
                      const uint8_t* end = nullptr);
// Draws count nested one-pixel rectangles in colour, shrinking *box by one on every side
// after each; the context's pen is restored.
void DrawNestedFrame(platform::Dc* dc, platform::Rect* box, uint32_t colour, int32_t count);
// Draws the framed title/subtitle banner at the bottom of the view; nothing without view
// or when the article has neither.
void PageViewShowTitleBanner(PageView* view);
