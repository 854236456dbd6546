// Search input as typed or pasted, on arbitrary UTF-16 (unpaired surrogates and all): the
// normaliser and the pattern made from it. What the normaliser lets through must be text the
// book holds; a refusal names a character of the input; a pattern is never longer than the
// search string takes and turns back into reading order without loss.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/letter_code.h"
#include "content/search_input.h"
#include "content/visual_order.h"
#include "platform/fake/fake_platform.h"
#include "search/find_all.h"
#include "search/search.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool Held(char16_t c) {
  return (c >= 0x05D0 && c <= 0x05EA) || (c >= 0x20 && c <= 0x7D && !(c >= u'a' && c <= u'z')) ||
         (c >= 0xA1 && c <= 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  fake::ResetAll();
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);

  std::u16string out;
  char32_t refused = 0;
  if (NormaliseTypedText(text, &out, &refused)) {
    for (char16_t c : out) Require(Held(c));
  } else {
    // The refused character is in the input, as a unit or as a surrogate pair.
    if (refused > 0xFFFF) {
      const char16_t pair[2] = {char16_t(0xD800 + ((refused - 0x10000) >> 10)),
                                char16_t(0xDC00 + ((refused - 0x10000) & 0x3FF))};
      Require(text.find(std::u16string(pair, 2)) != std::u16string::npos);
    } else {
      Require(text.find(char16_t(refused)) != std::u16string::npos);
    }
  }

  uint8_t pattern[kSearchStringSize];
  std::memset(pattern, 0xEE, sizeof pattern);
  if (StoredPatternFromReadingOrder(text, pattern) == PatternError::kNone) {
    const size_t n = strnlen(reinterpret_cast<const char*>(pattern), kSearchStringSize);
    Require(n >= 1 && n <= size_t(kMaxPatternLength));
    Require(pattern[0] != kWildcardRun && pattern[n - 1] != kWildcardRun);
    // Turned round twice it is what it was.
    uint8_t twice[kSearchStringSize];
    std::memcpy(twice, pattern, n);
    SwapVisualOrder(twice, n);
    SwapVisualOrder(twice, n);
    Require(std::memcmp(twice, pattern, n) == 0);
  }
  Require(fake::LiveBlocks() == 0);
  return 0;
}
