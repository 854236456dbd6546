// The page view's layout on arbitrary ParagraphStreams: any flags, params, texts and record
// ends, for any view size, font size, letter base and table capacity. Input: two bytes of
// width, one of height, one of font size, one choosing the letter base and Reverse, one of
// initial table capacity, two of a second width for a new layout at another size, then the
// stream, in a heap block of exactly its size. After each layout the table must end where
// lineCount says, every row must name text inside the part the layout found well formed,
// and the scroll limits must fit the row count; painting, the highlight, scrolling, the
// banner and a font change must stay inside the stream (the sanitizers watch), and nothing
// may be left allocated.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "view/page_view.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The table as the layout left it: one row per entry, one more for each extra row.
void CheckTable(const PageView* view, uint32_t streamLength) {
  Require(view->lines != nullptr);
  Require(view->textLength <= streamLength);
  uint32_t rows = 0;
  uint32_t extraRows = 0;
  for (const LineRecord* row = view->lines; !LineRecordIsEnd(*row); ++row, ++rows) {
    Require(rows < view->lineCapacity);
    Require(row->offset != 0);
    // The row's own text, and its lead word, lie inside what was laid out.
    Require(uint32_t(row->offset) + row->length <= view->textLength);
    if (row->flags & kParaExtraRow) ++extraRows;
  }
  Require(rows == view->lineCount);
  Require(view->totalRows == rows + extraRows);
  Require(view->maxTopRow <= view->totalRows);
}

// Everything a reader does with a laid-out page.
void Exercise(PageView* view, uint32_t streamLength) {
  CheckTable(view, streamLength);
  PageViewPaint(view, 1);
  if (view->lineCount > 0) {
    const LineRecord& first = view->lines[0];
    const LineRecord& last = view->lines[view->lineCount - 1];
    view->highlightStart = first.offset;
    view->highlightEnd = uint16_t(last.offset + last.length);
    PageViewPaintHighlight(view);
    view->highlightStart = view->highlightEnd = 0;
    for (uint16_t i = 0; i < view->lineCount; i = uint16_t(i + 1 + view->lineCount / 8)) {
      if (PageViewScrollToOffset(view, view->lines[i].offset) == 1) Require(view->topRow <= view->maxTopRow);
      PageViewTopOffset(view);
    }
  }
  for (int32_t delta : {1, 7, -3, 1000, -1000, 65535}) PageViewScroll(view, delta, 1, 1);
  PageViewScroll(view, 3, 0, 0);
  PageViewTopOffset(view);
  PageViewShowTitleBanner(view);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 8;
  if (size < kHeader || size > 70000) return 0;
  fake::ResetAll();
  ResetConversionBuffer();
  const int32_t width = 1 + (data[0] | data[1] << 8) % 1200;
  const int32_t height = 1 + data[2] * 4;
  FontSpec fontSpec{};
  fontSpec.size = data[3] % 72;
  const int32_t bases[] = {97, 224, 1488, 1488};
  fontSpec.fontAsciiBase = bases[data[4] & 3];
  const uint16_t capacity = data[5];
  const int32_t secondWidth = 1 + (data[6] | data[7] << 8) % 1200;

  const uint32_t streamLength = uint32_t(size - kHeader);
  auto* stream = static_cast<uint8_t*>(platform::Alloc(streamLength ? streamLength : 1));
  Require(stream != nullptr);
  if (streamLength) std::memcpy(stream, data + kHeader, streamLength);

  platform::Dc* dc = fake::CreateDc();
  const platform::Rect rect{0, 0, width, height};
  PageView* view = PageViewCreate(dc, &rect, fontSpec, capacity);
  Require(view != nullptr);
  view->drawReversed = (data[4] & 4) != 0;
  const int32_t result = PageViewLayOut(view, stream, streamLength, true);
  Require(result == kViewOk || result == kLayoutMalformed);
  if (result == kViewOk) {
    Require(view->text == stream);
    Exercise(view, streamLength);
    // Another width lays the same text out again; a font change does too.
    if (PageViewSetSize(view, secondWidth, height) == kViewOk) Exercise(view, streamLength);
    FontSpec larger = fontSpec;
    larger.size = uint8_t(fontSpec.size + 6);
    if (PageViewSetFont(view, &larger) != kSetFontLayoutFailed) Exercise(view, streamLength);
  } else {
    Require(view->text == nullptr);
    platform::Free(stream);
  }
  PageViewDestroy(view, true);
  fake::DeleteDc(dc);
  ResetConversionBuffer();
  Require(fake::LiveBlocks() == 0);
  Require(fake::LiveFonts() == 0);
  return 0;
}
