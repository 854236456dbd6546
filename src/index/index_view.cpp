#include "index/index_view.h"

#include <cstring>

#include "content/streams.h"
#include "shell/alloc_or_abort.h"
#include "shell/shell_state.h"
#include "view/colour_scheme.h"

namespace {

// Line offsets are 16 bits wide: no byte at or past this offset is read.
constexpr uint32_t kIndexStreamLimit = 0xFFFF;
// The largest table the 16-bit counts can describe, with room for the end entry.
constexpr uint32_t kMaxLineCapacity = 0xFFFF - kIndexLineGrowth;

bool IsVisible(const IndexLine* line) { return line->flags & kIndexVisible; }
bool IsHeading(const IndexLine* line) { return line->key & kIndexHeading; }

const uint8_t* StreamEnd(const uint8_t* stream, uint32_t length) {
  return stream + (length < kIndexStreamLimit ? length : kIndexStreamLimit);
}

int32_t TextHeight(platform::Dc* dc) {
  platform::TextMetrics metrics{};
  platform::GetTextMetrics(dc, &metrics);
  return metrics.height;
}

void ComputeMaxTopRow(IndexView* view) {
  if (!view->lines) return;
  // Nothing visible: nothing to scroll to (a stale value would leave the scroll bar a range).
  if (view->visibleCount == 0 || view->lineCount == 0) {
    view->maxTopRow = 0;
    return;
  }
  int32_t h = view->height;
  uint16_t n = 0;
  for (int32_t i = view->lineCount - 1; i >= 0; --i) {
    const IndexLine& line = view->lines[i];
    if (line.height > h) break;
    if (IsVisible(&line)) {
      h -= line.height;
      ++n;
    }
  }
  view->maxTopRow = uint16_t(view->visibleCount - n);
}

// The line reached after passing topRow visible lines (it may itself be hidden), or the
// end entry.
IndexLine* FirstShownLine(IndexView* view) {
  IndexLine* line = view->lines;
  uint32_t passed = 0;
  while (!IndexLineIsEnd(*line) && passed < view->topRow) {
    if (IsVisible(line)) ++passed;
    ++line;
  }
  return line;
}

// Grows the table by kIndexLineGrowth lines; false (nothing changed) when memory runs out
// or the 16-bit counts would overflow.
bool GrowLines(IndexView* view) {
  if (view->lineCapacity > kMaxLineCapacity) return false;
  const size_t capacity = size_t(view->lineCapacity) + kIndexLineGrowth;
  auto* lines = static_cast<IndexLine*>(AllocOrAbort((capacity + 1) * sizeof(IndexLine)));
  if (!lines) return false;
  std::memcpy(lines, view->lines, size_t(view->lineCapacity) * sizeof(IndexLine));
  platform::Free(view->lines);
  view->lines = lines;
  view->lineCapacity = uint16_t(capacity);
  return true;
}

// Lays the records out from the view's font state on. Answers 0 or 0xFFFE; *count gets the
// lines written.
int32_t BreakRecords(IndexView* view, const uint8_t* stream, const uint8_t* end, uint32_t* count) {
  uint32_t n = 0;
  uint8_t style = 1;
  int32_t textHeight = TextHeight(view->dc);
  uint32_t offset = 0;
  IndexRecord record;
  int32_t result = kViewOk;
  while (result == kViewOk && NextIndexRecord(stream, end, &offset, &record)) {
    uint16_t indent = uint16_t(record.param * kIndexIndentStep);
    if (indent >= view->width) indent = 0;
    if ((record.flags & kParaStyleKeyMask) != style) {
      style = record.flags & kParaStyleKeyMask;
      IndexFontCacheSelect(view, style);
      textHeight = TextHeight(view->dc);
    }
    const uint32_t length = record.length;
    auto* copy = static_cast<uint8_t*>(AllocOrAbort(length + 1));
    if (!copy) {
      result = kLayoutNoMemory;
      break;
    }
    // The text is stored in reverse reading order; breaking goes in reading order.
    for (uint32_t i = 0; i < length; ++i) copy[i] = record.text[length - 1 - i];
    copy[length] = 0;
    const uint32_t textOffset = record.offset + 4;
    uint32_t pos = 0;
    for (;;) {
      while (pos < length && copy[pos] == ' ') ++pos;
      if (pos >= length) break;
      if (n == view->lineCapacity && !GrowLines(view)) {
        result = kLayoutNoMemory;
        break;
      }
      const int32_t avail = view->width - indent;
      int32_t fit = int32_t(length - pos);
      int32_t width = avail;
      MeasureFit(view->dc, copy + pos, view->fontSpec.fontAsciiBase, &width, &fit);
      if (pos + uint32_t(fit) < length && copy[pos + uint32_t(fit)] != ' ') {
        // Only spaces are break points: step back to the last one inside the fitted part.
        for (int32_t k = fit - 1; k >= 1; --k) {
          if (copy[pos + uint32_t(k)] != ' ') continue;
          fit = k;
          MeasureFit(view->dc, copy + pos, view->fontSpec.fontAsciiBase, &width, &fit);
          break;
        }
      }
      if (fit <= 0) {
        // Not even one character fits: it gets a line of its own, so the layout always
        // moves on.
        fit = 1;
        width = INT32_MAX;
        MeasureFit(view->dc, copy + pos, view->fontSpec.fontAsciiBase, &width, &fit);
        if (fit <= 0) fit = 1;
      }
      IndexLine& line = view->lines[n++];
      line.offset = uint16_t(textOffset + length - pos - uint32_t(fit));
      line.length = uint16_t(fit);
      line.width = uint16_t(width);
      line.height = uint16_t(textHeight);
      line.key = record.key;
      line.flags = record.flags;
      line.x = int16_t(view->x + view->width - indent - width);
      if (record.flags & kIndexVisible) ++view->visibleCount;
      pos += uint32_t(fit);
    }
    platform::Free(copy);
  }
  view->lines[n] = IndexLine{};
  *count = n;
  return result;
}

// Makes the hidden lines of s's run (same key, stepping by direction) visible; headings
// shown this way start folded.
void ShowRun(IndexView* view, IndexLine* s, int direction) {
  const uint16_t key = s->key;
  // By index: walking back must stop at the first line, not form a pointer before it.
  for (int64_t i = s - view->lines; i >= 0; i += direction) {
    IndexLine* line = &view->lines[i];
    if (IndexLineIsEnd(*line) || line->key != key) break;
    if (IsVisible(line)) continue;
    line->flags |= kIndexVisible;
    ++view->visibleCount;
    if (IsHeading(line)) line->flags &= uint8_t(~kIndexUnfolded);
  }
}

// The number of visible lines before line.
uint32_t VisibleRow(const IndexView* view, const IndexLine* line) {
  uint32_t row = 0;
  for (const IndexLine* p = view->lines; p < line; ++p)
    if (IsVisible(p)) ++row;
  return row;
}

void DrawGlyph(IndexView* view, const IndexLine* line, int32_t y) {
  int which = 2;
  if (IsHeading(line)) which = (line->flags & kIndexUnfolded) ? 1 : 0;
  platform::Bitmap* bitmap = gIndexBitmaps.bitmaps[which];
  if (!bitmap) return;
  const int32_t half = (int32_t(line->height) - kIndexGlyphSize) / 2;
  platform::CopyBitmapCell(view->dc, line->x + line->width + kIndexGlyphGap, half > 0 ? y + half : y, bitmap, 0, 0);
}

}  // namespace

int32_t IndexLineIndent(const IndexView* view, const IndexLine* line) {
  return view->x + view->width - line->x - line->width;
}

IndexView* IndexViewCreate(platform::Dc* dc, const platform::Rect& box, const FontSpec& fontSpec,
                           uint16_t initialCapacity) {
  if (!dc) return nullptr;
  auto* view = static_cast<IndexView*>(AllocOrAbort(sizeof(IndexView)));
  if (!view) return nullptr;
  std::memset(static_cast<void*>(view), 0, sizeof(IndexView));
  view->dc = dc;
  view->fontSpec = fontSpec;
  view->x = box.left;
  view->y = box.top;
  view->width = box.right - box.left;
  view->height = box.bottom - box.top;
  if (initialCapacity > 0) {
    auto* lines = static_cast<IndexLine*>(AllocOrAbort((size_t(initialCapacity) + 1) * sizeof(IndexLine)));
    if (lines) {
      lines[0] = IndexLine{};
      view->lines = lines;
      view->lineCapacity = initialCapacity;
    }
  }
  return view;
}

int32_t IndexViewLayOut(IndexView* view, uint8_t* stream, uint32_t streamLength, bool freeOld) {
  if (!view) return kViewMissing;
  view->visibleCount = 0;
  view->maxTopRow = 0;
  view->selectedLine = 0;
  if (!stream) {
    if (freeOld) {
      platform::Free(view->text);
      view->text = nullptr;
      view->textLength = 0;
    }
    return kLayoutNoStream;
  }
  const uint8_t* end = StreamEnd(stream, streamLength);
  uint32_t first = 0;
  IndexRecord record;
  if (!NextIndexRecord(stream, end, &first, &record) || record.length == 0) return kLayoutMalformed;
  if (freeOld && view->text != stream) {
    platform::Free(view->text);
    view->text = nullptr;
    view->textLength = 0;
  }
  if (!view->lines || view->lineCapacity == 0) {
    platform::Free(view->lines);
    view->lines = nullptr;
    view->lineCapacity = 0;
    view->lineCount = 0;
    auto* lines = static_cast<IndexLine*>(AllocOrAbort((size_t(kIndexLineGrowth) + 1) * sizeof(IndexLine)));
    if (!lines) return kLayoutNoMemory;
    view->lines = lines;
    view->lineCapacity = kIndexLineGrowth;
  }
  platform::Font* oldFont = IndexFontCacheSelect(view, 1);
  uint32_t count = 0;
  const int32_t result = BreakRecords(view, stream, end, &count);
  view->lineCount = uint16_t(count);
  if (result == kViewOk) {
    view->text = stream;
    view->textLength = uint32_t(end - stream);
    ComputeMaxTopRow(view);
  } else if (view->text != stream) {
    // The lines written so far name bytes of a stream the view does not keep.
    view->lines[0] = IndexLine{};
    view->lineCount = 0;
    view->visibleCount = 0;
  }
  platform::SelectFont(view->dc, oldFont);
  return result;
}

int32_t IndexViewSetSize(IndexView* view, int32_t width, int32_t height) {
  if (!view) return kViewMissing;
  view->width = width;
  view->height = height;
  return IndexViewLayOut(view, view->text, view->textLength, false);
}

int32_t IndexViewSetFont(IndexView* view, const FontSpec* fontSpec) {
  if (!view) return kViewMissing;
  FontCacheDeleteFonts(view->fontCache);
  if (!fontSpec) return kViewOk;
  view->fontSpec = *fontSpec;
  for (FontCache* entry = view->fontCache; entry; entry = entry->next)
    entry->font = platform::CreateFont(StyleFontDescription(view->fontSpec, entry->styleKey));
  if (IndexViewLayOut(view, view->text, view->textLength, false) != kViewOk) return kSetFontLayoutFailed;
  return IndexViewPaint(view, true);
}

int32_t IndexViewPaint(IndexView* view, bool erase) {
  if (!view || !view->text || !view->lines) return kViewMissing;
  view->linesPainted = 0;
  if (view->topRow > view->visibleCount) view->topRow = view->maxTopRow;
  IndexLine* line = FirstShownLine(view);
  const uint32_t oldColour = platform::GetTextColour(view->dc);
  uint8_t style = line->flags & kParaStyleKeyMask;
  platform::Font* oldFont = IndexFontCacheSelect(view, style | kSelectWithColour);
  if (erase)
    FillViewRectColour(view->dc, view->x, view->y, view->width + kIndexGlyphMargin, view->height,
                       gColourScheme->indexGround);
  const TextForm form{view->fontSpec.fontAsciiBase, view->drawReversed};
  // The selected record's lines: from its first line on, while the key stays the same.
  const IndexLine* selected = view->selectedLine ? &view->lines[view->selectedLine - 1] : nullptr;
  const IndexLine* selectedEnd = selected;
  while (selectedEnd && !IndexLineIsEnd(*selectedEnd) && selectedEnd->key == selected->key) ++selectedEnd;
  int32_t y = view->y;
  int32_t h = view->height;
  uint16_t glyphKey = 0;
  for (; !IndexLineIsEnd(*line); ++line) {
    if (line->height > h) break;
    if (!IsVisible(line)) continue;
    if ((line->flags & kParaStyleKeyMask) != style) {
      style = line->flags & kParaStyleKeyMask;
      IndexFontCacheSelect(view, style | kSelectWithColour);
    }
    if (line->key != glyphKey) {
      DrawGlyph(view, line, y);
      glyphKey = line->key;
    }
    if (line >= selected && line < selectedEnd)
      DrawColouredTextBox(view->dc, view->text + line->offset, line->length, form, line->x, y, line->width,
                          line->height, kHighlightTextColour, kHighlightBackColour);
    else
      DrawTextBox(view->dc, view->text + line->offset, line->length, form, line->x, y, line->width, line->height);
    y += line->height;
    h -= line->height;
    ++view->linesPainted;
  }
  platform::SelectFont(view->dc, oldFont);
  platform::SetTextColour(view->dc, oldColour);
  return kViewOk;
}

int32_t IndexViewScroll(IndexView* view, int32_t delta, int32_t mode, bool clamp) {
  if (!view) return kViewMissing;
  int64_t t = int64_t(view->topRow) + delta;
  if (t < 0)
    t = 0;
  else if ((clamp || t > view->visibleCount) && t > view->maxTopRow)
    t = view->maxTopRow;
  if (mode == 1 && t == view->topRow) return kScrollNothingDone;
  view->topRow = uint16_t(t);
  if (mode == 0) return kScrollNothingDone;
  return IndexViewPaint(view, true);
}

int32_t IndexViewHitTest(IndexView* view, int32_t x, int32_t y) {
  if (!view || !view->text || !view->lines) return 0;
  if (x < view->x || x > view->x + view->width || y < view->y || y > view->y + view->height) return 0;
  IndexLine* line = FirstShownLine(view);
  int32_t bottom = view->y;
  int32_t h = view->height;
  for (;; ++line) {
    if (IndexLineIsEnd(*line) || line->height > h) return kIndexHitBelowLines;
    if (!IsVisible(line)) continue;
    h -= line->height;
    bottom += line->height;
    if (y <= bottom) break;
  }
  const int32_t left = line->x;
  const int32_t right = line->x + line->width + kIndexGlyphZone;
  if (x >= left && x <= right) {
    if (line->key & kIndexEntry) return line->key & kIndexArticleMask;
    return IndexViewToggle(view, line);
  }
  if (x < left) return 0;
  return IsHeading(line) ? IndexViewToggle(view, line) : 0;
}

int32_t IndexViewToggle(IndexView* view, IndexLine* line) {
  if (!view || !view->lines || !line) return 0;
  const uint16_t key = line->key;
  const int32_t indent = IndexLineIndent(view, line);
  auto sameHeading = [&](const IndexLine* other) {
    return !IndexLineIsEnd(*other) && other->key == key && IndexLineIndent(view, other) == indent;
  };
  // A heading that wraps flips as a whole, whichever of its lines was tapped: the glyph is
  // drawn from its first line, and that is the line whose bit is saved.
  IndexLine* first = line;
  while (first > view->lines && sameHeading(first - 1)) --first;
  const bool wasExpanded = first->flags & kIndexUnfolded;
  IndexLine* after = first;
  for (; sameHeading(after); ++after) after->flags ^= kIndexUnfolded;
  const uint16_t before = view->visibleCount;
  if (!IndexLineIsEnd(*after)) {
    const int32_t level = IndexLineIndent(view, after);
    for (IndexLine* p = after; !IndexLineIsEnd(*p) && IndexLineIndent(view, p) >= level; ++p) {
      if (wasExpanded) {
        if (IsVisible(p)) {
          p->flags &= uint8_t(~kIndexVisible);
          --view->visibleCount;
        }
      } else if (IndexLineIndent(view, p) == level && !IsVisible(p)) {
        p->flags |= kIndexVisible;
        ++view->visibleCount;
      }
    }
  }
  if (view->visibleCount != before) ComputeMaxTopRow(view);
  IndexViewPaint(view, true);
  return -int32_t(key & kIndexArticleMask);
}

int32_t IndexViewFindArticle(const IndexView* view, uint16_t article, uint32_t from) {
  if (!view || !view->text || !view->lines || article == 0) return -1;
  for (const IndexLine* line = view->lines; !IndexLineIsEnd(*line); ++line)
    if ((line->key & kIndexArticleMask) == article && !IsHeading(line) && line->offset >= from)
      return int32_t(line - view->lines);
  return -1;
}

void IndexViewRevealArticle(IndexView* view, uint16_t article, uint32_t from) {
  const int32_t index = IndexViewFindArticle(view, article, from);
  if (index < 0) return;
  IndexLine* found = &view->lines[index];
  if (IsVisible(found)) return;
  ShowRun(view, found, +1);
  IndexLine* next = found;
  while (!IndexLineIsEnd(*next) && next->key == found->key) ++next;
  if (!IndexLineIsEnd(*next)) ShowRun(view, next, +1);
  int32_t smallest = IndexLineIndent(view, found);
  for (IndexLine* p = found; p > view->lines;) {
    --p;
    const int32_t indent = IndexLineIndent(view, p);
    if (indent < smallest) {
      ShowRun(view, p, -1);
      smallest = indent;
    }
  }
}

void IndexViewScrollToLine(IndexView* view, int32_t index) {
  if (!view || !view->lines || index < 0 || index >= view->lineCount) return;
  const IndexLine* target = &view->lines[index];
  if (!IsVisible(target)) return;
  const uint32_t row = VisibleRow(view, target);
  if (row >= view->topRow) {
    // In view when it fits whole below the lines shown above it.
    int32_t h = view->height;
    const IndexLine* line = FirstShownLine(view);
    for (; line <= target && !IndexLineIsEnd(*line) && line->height <= h; ++line)
      if (IsVisible(line)) h -= line->height;
    if (line > target) return;
  }
  // About the middle: the visible lines above it that fill half the view.
  int32_t h = (view->height - target->height) / 2;
  uint32_t above = 0;
  for (const IndexLine* p = target; p > view->lines && above < row;) {
    --p;
    if (!IsVisible(p)) continue;
    if (p->height > h) break;
    h -= p->height;
    ++above;
  }
  const uint32_t top = row - above;
  view->topRow = uint16_t(top < view->maxTopRow ? top : view->maxTopRow);
}

ExpansionState* IndexViewSaveExpansion(IndexView* view) {
  if (!view || !view->text || !view->lines || IndexLineIsEnd(view->lines[0])) return nullptr;
  auto walk = [view](ExpansionState* out) {
    size_t count = 0;
    uint16_t lastKey = 0;
    for (const IndexLine* line = view->lines; !IndexLineIsEnd(*line); ++line) {
      if (!IsVisible(line) || line->key == lastKey) continue;
      lastKey = line->key;
      if (out) {
        out[2 * count] = line->key;
        out[2 * count + 1] = line->flags & kIndexUnfolded;
      }
      ++count;
    }
    return count;
  };
  const size_t count = walk(nullptr);
  if (count == 0) return nullptr;
  auto* state = static_cast<ExpansionState*>(AllocOrAbort((count + 1) * 2 * sizeof(ExpansionState)));
  if (!state) return nullptr;
  walk(state);
  state[2 * count] = 0;
  state[2 * count + 1] = 0;
  return state;
}

int32_t IndexViewRestoreExpansion(IndexView* view, const ExpansionState* state) {
  if (!view || !view->text || !view->lines || !state) return kViewMissing;
  constexpr uint8_t kShownAndUnfolded = kIndexVisible | kIndexUnfolded;
  IndexLine* line = view->lines;
  auto hideUpTo = [&](const IndexLine* stop) {
    for (; line < stop; ++line) line->flags &= uint8_t(~kIndexVisible);
  };
  for (const ExpansionState* pair = state; pair[0] != 0; pair += 2) {
    const uint16_t key = pair[0];
    IndexLine* found = line;
    while (!IndexLineIsEnd(*found) && found->key != key) ++found;
    // A key not found drops this pair and every later one.
    if (IndexLineIsEnd(*found)) break;
    hideUpTo(found);
    for (; !IndexLineIsEnd(*line) && line->key == key; ++line)
      line->flags = uint8_t((line->flags & ~kShownAndUnfolded) | kIndexVisible | (pair[1] & kIndexUnfolded));
  }
  IndexLine* end = line;
  while (!IndexLineIsEnd(*end)) ++end;
  hideUpTo(end);
  uint16_t visible = 0;
  for (const IndexLine* p = view->lines; !IndexLineIsEnd(*p); ++p)
    if (IsVisible(p)) ++visible;
  view->visibleCount = visible;
  ComputeMaxTopRow(view);
  return kViewOk;
}

void IndexViewDestroy(IndexView* view, bool freeRecord) {
  if (!view) return;
  platform::Free(view->text);
  view->text = nullptr;
  view->textLength = 0;
  platform::Free(view->lines);
  view->lines = nullptr;
  view->lineCapacity = 0;
  view->lineCount = 0;
  view->visibleCount = 0;
  view->maxTopRow = 0;
  FontCacheRelease(&view->fontCache);
  if (freeRecord) platform::Free(view);
}

platform::Font* IndexFontCacheSelect(IndexView* view, uint32_t flags) {
  if (!view) return nullptr;
  const uint8_t key = uint8_t(flags & kParaStyleKeyMask);
  FontCache* entry = view->fontCache;
  while (entry && entry->styleKey != key) entry = entry->next;
  if (!entry) {
    entry = static_cast<FontCache*>(AllocOrAbort(sizeof(FontCache)));
    if (entry) {
      *entry = FontCache{view->fontCache, nullptr, key};
      view->fontCache = entry;
    }
  }
  if (entry && !entry->font) entry->font = platform::CreateFont(StyleFontDescription(view->fontSpec, key));
  if (flags & kSelectWithColour) {
    const bool heading = (key & (kParaLarger | kParaBold)) == (kParaLarger | kParaBold);
    platform::SetTextColour(view->dc, heading ? gColourScheme->indexHeading : gColourScheme->indexText);
  }
  return platform::SelectFont(view->dc, entry ? entry->font : nullptr);
}
