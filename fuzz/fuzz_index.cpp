// The index tree and the bookmark group on arbitrary IndexStreams, malformed ones included
// (no end record, an empty first text, levels that jump, keys without articles). Input: box
// width and height, font size, a bookmark count and that many articles, an operation count
// and that many three-byte operations (scroll, tap, toggle, reveal with selecting and
// scrolling to the line, resize with save and restore, paint, font change), then the stream. Nothing may be read outside the stream,
// the visible count must match the lines, every line must name bytes inside the stream,
// and nothing may be left allocated.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/letter_code.h"
#include "index/index_dialog.h"
#include "index/index_view.h"
#include "platform/fake/fake_platform.h"
#include "shell/bookmarks.h"
#include "shell/shell_state.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLines(const IndexView* view) {
  if (!view->text || !view->lines) return;
  uint32_t visible = 0, count = 0;
  for (const IndexLine* l = view->lines; !IndexLineIsEnd(*l); ++l, ++count) {
    Require(count < view->lineCapacity + 1u);
    Require(uint32_t(l->offset) + l->length <= view->textLength);
    Require(l->length > 0);
    visible += (l->flags & 0x80) != 0;
  }
  Require(count == view->lineCount);
  Require(visible == view->visibleCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5 || size > 70000) return 0;
  fake::ResetAll();
  ResetShellState();
  ResetBookmarks();
  ResetConversionBuffer();
  const int32_t width = data[0] * 2;
  const int32_t height = data[1] * 2;
  FontSpec spec{};
  spec.size = data[2] % 48;
  spec.fontAsciiBase = 97;
  size_t at = 3;
  const size_t bookmarks = data[at++] % 8;
  if (size < at + 2 * bookmarks + 1) return 0;
  if (bookmarks > 0) {
    auto* entries = static_cast<uint16_t*>(platform::Alloc((bookmarks + 1) * sizeof(uint16_t)));
    size_t n = 0;
    for (size_t i = 0; i < bookmarks; ++i, at += 2) {
      const uint16_t article = uint16_t((data[at] | data[at + 1] << 8) & 0x3FFF);
      if (article) entries[n++] = article;
    }
    entries[n] = 0;
    gBookmarks.entries = entries;
    gBookmarks.count = uint16_t(n);
  }
  const size_t operations = data[at++] % 16;
  if (size < at + 3 * operations) return 0;
  const uint8_t* ops = data + at;
  at += 3 * operations;
  for (int i = 0; i < 3; ++i) gIndexBitmaps.bitmaps[i] = platform::LoadBitmap(201 + uint32_t(i));
  platform::Dc* dc = fake::CreateDc();

  // An exact-size block, so that AddressSanitizer sees any read past the stream.
  const size_t streamLength = size - at;
  uint8_t* toc = nullptr;
  if (streamLength > 0) {
    toc = static_cast<uint8_t*>(platform::Alloc(streamLength));
    std::memcpy(toc, data + at, streamLength);
  }
  uint32_t length = 0;
  uint8_t* stream = AddBookmarkGroup(toc, uint32_t(streamLength), &length);
  IndexView* view = IndexViewCreate(dc, platform::Rect{3, 5, 3 + width, 5 + height}, spec, 4);
  Require(view != nullptr);
  IndexViewLayOut(view, stream, length, false);
  if (view->text != stream) platform::Free(stream);
  CheckLines(view);

  for (size_t i = 0; i < operations; ++i) {
    const uint8_t op = ops[3 * i], a = ops[3 * i + 1], b = ops[3 * i + 2];
    switch (op % 7) {
      case 0: IndexViewScroll(view, int8_t(a), b & 1, b & 2); break;
      case 1: IndexViewHitTest(view, a * 2, b * 2); break;
      case 2:
        if (view->text && view->lineCount > 0) IndexViewToggle(view, &view->lines[a % view->lineCount]);
        break;
      case 3: {
        // Revealed from an offset, then selected and scrolled to, as the dialog does.
        const uint16_t article = uint16_t((a | b << 8) & 0x3FFF);
        IndexViewRevealArticle(view, article, b & 0x80 ? a : 0);
        const int32_t line = IndexViewFindArticle(view, article, 0);
        Require(line < int32_t(view->lineCount));
        view->selectedLine = uint16_t(line + 1);
        IndexViewScrollToLine(view, line);
        break;
      }
      case 4: {
        ExpansionState* state = IndexViewSaveExpansion(view);
        IndexViewSetSize(view, a * 2, b * 2);
        Require(view->selectedLine == 0);
        IndexViewRestoreExpansion(view, state);
        platform::Free(state);
        break;
      }
      case 5: IndexViewPaint(view, a & 1); break;
      default: {
        FontSpec other = spec;
        other.size = a % 48;
        IndexViewSetFont(view, (b & 1) ? &other : nullptr);
        break;
      }
    }
    CheckLines(view);
    Require(view->maxTopRow <= view->visibleCount);
  }

  IndexViewDestroy(view, true);
  FreeBookmarks();
  for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
    platform::DeleteBitmap(bitmap);
    bitmap = nullptr;
  }
  fake::DeleteDc(dc);
  ResetConversionBuffer();
  Require(fake::LiveBlocks() == 0);
  Require(fake::LiveFonts() == 0);
  return 0;
}
