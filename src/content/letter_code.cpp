#include "content/letter_code.h"

#include <algorithm>

#include "platform/platform.h"

ConversionBuffer gConversionBuffer{};

void ResetConversionBuffer() {
  platform::Free(gConversionBuffer.block);
  gConversionBuffer = ConversionBuffer{};
}

char16_t LetterToDisplayUnit(uint8_t byte, int32_t fontAsciiBase) {
  if (byte >= kLetterFirst && byte < kLetterFirst + kLetterCount)
    return char16_t(uint16_t(fontAsciiBase + (byte - kLetterFirst)));
  if (byte == kLiteralBrace) return u'{';
  return char16_t(byte);
}

char16_t* ToDisplayText(const uint8_t* text, uint32_t length, ConversionBuffer* buffer, int32_t fontAsciiBase,
                        bool reverse) {
  char16_t* out;
  if (buffer) {
    if (!buffer->block || buffer->capacity < length) {
      auto* block = static_cast<char16_t*>(platform::Alloc((size_t(length) + 1) * sizeof(char16_t)));
      if (!block) return nullptr;
      platform::Free(buffer->block);
      buffer->block = block;
      buffer->capacity = length;
    }
    out = buffer->block;
  } else {
    out = static_cast<char16_t*>(platform::Alloc((size_t(length) + 1) * sizeof(char16_t)));
    if (!out) return nullptr;
  }
  uint32_t n = 0;
  for (; n < length && text[n] != 0; ++n) out[n] = LetterToDisplayUnit(text[n], fontAsciiBase);
  out[n] = 0;
  if (length > 0 && fontAsciiBase != 97 && reverse) ReverseDisplayText(out, n);
  return out;
}

char16_t MirrorBracket(char16_t c) {
  switch (c) {
    case u'(': return u')';
    case u')': return u'(';
    case u'[': return u']';
    case u']': return u'[';
    case u'{': return u'}';
    case u'}': return u'{';
    default: return c;
  }
}

uint8_t MirrorLetterCodeBracket(uint8_t byte) {
  if (byte == kLiteralBrace) return '}';
  if (byte == '}') return kLiteralBrace;
  if (byte >= kLetterFirst && byte < kLetterFirst + kLetterCount) return byte;
  return uint8_t(MirrorBracket(char16_t(byte)));
}

int ReverseDisplayText(char16_t* text, uint32_t count) {
  if (count == 0) return 0;
  auto* temp = static_cast<char16_t*>(platform::Alloc(size_t(count) * sizeof(char16_t)));
  if (!temp) return 1;
  for (uint32_t i = 0; i < count; ++i) temp[count - 1 - i] = MirrorBracket(text[i]);
  for (uint32_t i = 0; i < count; ++i) text[i] = temp[i];
  platform::Free(temp);
  return 0;
}

void ToLetterCode(const char16_t* input, uint8_t* searchString, int32_t fontAsciiBase) {
  const int32_t base = fontAsciiBase;
  int out = 0;
  for (int i = 0; input[i] != 0 && i < kSearchStringSize - 1; ++i) {
    const char16_t c = input[i];
    if (c == u' ' && input[i + 1] == u' ') continue;
    if (int32_t(c) >= base && int32_t(c) < base + kLetterCount)
      searchString[out++] = uint8_t(kLetterFirst + (c - base));
    else
      searchString[out++] = uint8_t(c & 0xFF);
  }
  searchString[out] = 0;
}

std::vector<std::u16string_view> SplitAtSpaces(std::u16string_view text) {
  std::vector<std::u16string_view> words;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find(u' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return words;
}
