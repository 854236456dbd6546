// Copy and Append: the article's text to the clipboard, as Unicode text or as an RTF
// document with the same text beside it.
#include <cstring>

#include "export/export.h"
#include "platform/platform.h"
#include "view/page_view.h"

namespace {

// The Unicode letter bases are above this; the single-byte ones (97, 224) are not.
constexpr int32_t kSingleByteBaseMax = 256;

size_t UnitCount(const char16_t* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

// A clipboard block holding previous (previousSize bytes) and then text with its 0 unit;
// none when the block cannot be had.
void* MakeTextBlock(const uint8_t* previous, uint32_t previousSize, const char16_t* text, size_t* bytes) {
  const size_t textBytes = (UnitCount(text) + 1) * sizeof(char16_t);
  *bytes = previousSize + textBytes;
  auto* block = static_cast<uint8_t*>(platform::AllocClipboardBlock(*bytes));
  if (!block) return nullptr;
  if (previousSize) std::memcpy(block, previous, previousSize);
  std::memcpy(block + previousSize, text, textBytes);
  return block;
}

// Replaces the clipboard's content with the blocks given (format, block, bytes); when the
// clipboard cannot be opened every block is released and nothing changes.
struct Handover {
  uint32_t format;
  void* block;
  size_t bytes;
};
void HandOver(const Handover* handovers, int count) {
  if (!platform::OpenClipboard()) {
    for (int i = 0; i < count; ++i) platform::FreeClipboardBlock(handovers[i].block);
    return;
  }
  platform::EmptyClipboard();
  for (int i = 0; i < count; ++i) platform::SetClipboardData(handovers[i].format, handovers[i].block, handovers[i].bytes);
  platform::CloseClipboard();
}

// The earlier text an append keeps: the clipboard's Unicode text or, when it holds none,
// the text of the earlier RTF document rtf (none allowed), in a heap block; none when
// neither gives any. False when memory ran out making the text from the RTF: the two
// formats could then not tell the same story.
bool ReadEarlierText(const uint8_t* rtf, uint32_t rtfSize, uint8_t** text, uint32_t* size) {
  *text = ReadClipboardData(platform::kClipboardUnicodeText, size);
  if (*text || !rtf) return true;
  size_t units = 0;
  char16_t* read = RtfToText(rtf, rtfSize, &units);
  if (!read) return false;
  if (units == 0 || units > UINT32_MAX / 2) {
    platform::Free(read);
    return true;
  }
  *text = reinterpret_cast<uint8_t*>(read);
  *size = uint32_t(units * 2);
  return true;
}

}  // namespace

uint8_t* ReadClipboardData(uint32_t format, uint32_t* size) {
  *size = 0;
  if (format == 0) format = platform::kClipboardUnicodeText;
  if (!platform::OpenClipboard()) return nullptr;
  size_t available = 0;
  const uint8_t* data = platform::GetClipboardData(format, &available);
  size_t length = 0;
  if (data && format == platform::kClipboardUnicodeText) {
    const size_t units = available / 2;
    while (length < units && (data[2 * length] | data[2 * length + 1]) != 0) ++length;
    length *= 2;
  } else if (data) {
    while (length < available && data[length] != 0) ++length;
  }
  uint8_t* copy = nullptr;
  if (length > 0 && length <= UINT32_MAX) {
    copy = static_cast<uint8_t*>(platform::Alloc(length));
    if (copy) {
      std::memcpy(copy, data, length);
      *size = uint32_t(length);
    }
  }
  platform::CloseClipboard();
  return copy;
}

void PutTextOnClipboard(const char16_t* text, bool append, int32_t fontAsciiBase) {
  if (fontAsciiBase > kSingleByteBaseMax) {
    PutRtfOnClipboard(text, append);
    return;
  }
  uint32_t previousSize = 0;
  uint8_t* previous = nullptr;
  if (append) {
    // Only text is offered: earlier content that is RTF alone comes along as its text.
    previous = ReadClipboardData(platform::kClipboardUnicodeText, &previousSize);
    const uint32_t rtfFormat = previous ? 0 : platform::RegisterClipboardFormat(kRtfFormatName);
    if (rtfFormat) {
      uint32_t rtfSize = 0;
      uint8_t* rtf = ReadClipboardData(rtfFormat, &rtfSize);
      const bool read = ReadEarlierText(rtf, rtfSize, &previous, &previousSize);
      platform::Free(rtf);
      if (!read) return;
    }
  }
  size_t bytes = 0;
  void* block = MakeTextBlock(previous, previousSize, text, &bytes);
  platform::Free(previous);
  // Without a block the clipboard keeps what it holds.
  if (!block) return;
  const Handover unicodeText{platform::kClipboardUnicodeText, block, bytes};
  HandOver(&unicodeText, 1);
}

void PutRtfOnClipboard(const char16_t* text, bool append) {
  const uint32_t rtfFormat = platform::RegisterClipboardFormat(kRtfFormatName);
  uint32_t previousRtfSize = 0, previousTextSize = 0;
  uint8_t* previousRtf = nullptr;
  uint8_t* previousText = nullptr;
  // After an append both formats hold the earlier content and the article: earlier text
  // without RTF goes into the document as paragraphs, earlier RTF without text gives its text.
  bool earlier = true;
  if (append) {
    if (rtfFormat) previousRtf = ReadClipboardData(rtfFormat, &previousRtfSize);
    earlier = ReadEarlierText(previousRtf, previousRtfSize, &previousText, &previousTextSize);
    if (earlier && previousText && !previousRtf) {
      size_t length = 0;
      previousRtf = MakeRtfFromText(reinterpret_cast<const char16_t*>(previousText), previousTextSize / 2, &length);
      previousRtfSize = uint32_t(length);
      earlier = previousRtf != nullptr && length <= UINT32_MAX;
    }
  }
  // Everything is made before the clipboard is opened, so a shortage leaves it as it was.
  uint8_t* body = earlier ? MakeRtfBody(text) : nullptr;
  void* rtfBlock = nullptr;
  void* textBlock = nullptr;
  size_t rtfBytes = 0, textBytes = 0;
  if (body && rtfFormat) {
    const size_t bodyLength = std::strlen(reinterpret_cast<const char*>(body));
    const size_t room = bodyLength + (previousRtf ? previousRtfSize + kRtfAppendExtra : kRtfNewDocumentExtra);
    rtfBlock = platform::AllocClipboardBlock(room);
    if (rtfBlock)
      rtfBytes = JoinRtfDocument(static_cast<uint8_t*>(rtfBlock), previousRtf, previousRtfSize, body, bodyLength);
    if (rtfBlock) textBlock = MakeTextBlock(previousText, previousTextSize, text, &textBytes);
  }
  platform::Free(previousRtf);
  platform::Free(previousText);
  platform::Free(body);
  if (!rtfBlock || !textBlock) {
    platform::FreeClipboardBlock(rtfBlock);
    return;
  }
  const Handover both[] = {{rtfFormat, rtfBlock, rtfBytes}, {platform::kClipboardUnicodeText, textBlock, textBytes}};
  HandOver(both, 2);
}

void CopyArticle(PageView* view, bool append) {
  if (!view || !view->text || view->textLength == 0) return;
  const int32_t base = view->fontSpec.fontAsciiBase;
  // With a Unicode letter base the letters reach other programs as Unicode, which lay
  // right-to-left text out themselves: the text always goes in reading order, whatever the
  // screen does. With a single-byte base it goes as the screen draws it.
  const bool reverse = base > kSingleByteBaseMax || view->drawReversed;
  const uint8_t* stream = view->text;
  char16_t* text = ExportArticleText(stream, stream + view->textLength, base, reverse);
  if (!text) return;
  PutTextOnClipboard(text, append, base);
  platform::Free(text);
}
