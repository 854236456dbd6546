// The article as plain UTF-16 text: one line a record, rules as hyphens.
#include <vector>

#include "content/letter_code.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "export/export.h"
#include "platform/platform.h"
#include "shell/alloc_or_abort.h"
#include "shell/shell_state.h"

namespace {

constexpr uint8_t kRuleWidthPixelsMax = 160;

uint32_t RuleHyphens(uint8_t widthCode) {
  return widthCode <= kRuleWidthPixelsMax ? widthCode : uint32_t(widthCode - kRuleWidthPixelsMax) * 2;
}

}  // namespace

char16_t* WriteRuleText(char16_t* out, uint8_t widthCode) {
  const uint32_t hyphens = RuleHyphens(widthCode);
  for (uint32_t i = 0; i < hyphens; ++i) *out++ = u'-';
  return out;
}

char16_t* MeasureArticleText(const uint8_t* stream, const uint8_t* end, uint32_t* size) {
  uint64_t rows = 0, rules = 0, indent = 0;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(stream, end, &at, &record)) {
    rows += (record.flags & kParaExtraRow) ? 2 : 1;
    if (IsRuleRecord(record.flags))
      rules += RuleHyphens(record.param);
    else
      indent += record.param & 0x3F;
  }
  const uint64_t length = at;
  const uint64_t units = length + length / 2 + 2 * rows + rules + indent + 1;
  *size = uint32_t(units * 2);
  return static_cast<char16_t*>(AllocOrAbort(size_t(units) * 2));
}

int WriteArticleText(const uint8_t* stream, const uint8_t* end, char16_t* buffer, uint32_t size,
                     int32_t fontAsciiBase, bool reverse) {
  const uint32_t capacity = size / 2;
  char16_t* out = buffer;
  // Whether count more units and the final 0 still fit.
  auto room = [&](uint64_t count) { return uint64_t(out - buffer) + count + 1 <= capacity; };
  auto overflow = [&]() {
    platform::MessageBox(gShellWindows.mainWindow, kTextOverflowMessage, nullptr, platform::kMbOk);
    return 1;
  };
  if (capacity == 0) return overflow();
  const bool turned = reverse && fontAsciiBase != 97;
  std::vector<uint8_t> readingOrder;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(stream, end, &at, &record)) {
    if (IsRuleRecord(record.flags)) {
      if (!room(RuleHyphens(record.param))) return overflow();
      out = WriteRuleText(out, record.param);
    } else {
      const char16_t* display;
      const bool inReadingOrder = turned && (record.flags & kParaRightToLeft);
      if (inReadingOrder) {
        // Right-to-left text is stored in visual order; its reading order keeps numbers
        // (verse references such as 12:5) the right way round, which a plain reversal would not.
        readingOrder.assign(record.text, record.text + record.length);
        SwapVisualOrder(readingOrder.data(), readingOrder.size());
        display = ToDisplayText(readingOrder.data(), record.length, &gConversionBuffer, fontAsciiBase, false);
      } else {
        display = ToDisplayText(record.text, record.length, &gConversionBuffer, fontAsciiBase, turned);
      }
      if (!display) return 2;
      // The indent lies at the right edge: after the text as it is stored (left to right),
      // before it in reading order, where a line of right-to-left text starts.
      const uint32_t indent = record.param & 0x3F;
      if (!room(uint64_t(record.length) + indent)) return overflow();
      if (inReadingOrder)
        for (uint32_t i = 0; i < indent; ++i) *out++ = u' ';
      for (uint32_t i = 0; i < record.length; ++i) *out++ = display[i];
      if (!inReadingOrder)
        for (uint32_t i = 0; i < indent; ++i) *out++ = u' ';
    }
    const int lineEnds = (record.flags & kParaExtraRow) ? 2 : 1;
    for (int i = 0; i < lineEnds; ++i) {
      if (!room(2)) return overflow();
      *out++ = u'\r';
      *out++ = u'\n';
    }
  }
  *out = 0;
  return 0;
}

char16_t* ExportArticleText(const uint8_t* stream, const uint8_t* end, int32_t fontAsciiBase, bool reverse) {
  uint32_t size = 0;
  char16_t* text = MeasureArticleText(stream, end, &size);
  if (!text) return nullptr;
  if (WriteArticleText(stream, end, text, size, fontAsciiBase, reverse) != 0) {
    platform::Free(text);
    return nullptr;
  }
  return text;
}
