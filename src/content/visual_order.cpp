#include "content/visual_order.h"

#include <algorithm>

#include "content/letter_code.h"

namespace {

bool IsLeftToRightRunByte(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

bool IsRunJoiner(uint8_t c) { return c == '.' || c == ',' || c == ':'; }

uint8_t MirroredBracket(uint8_t c) {
  switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case kLiteralBrace: return '}';
    case '}': return kLiteralBrace;
    default: return c;
  }
}

}  // namespace

void SwapVisualOrder(uint8_t* text, size_t count) {
  if (!text || count == 0) return;
  std::reverse(text, text + count);
  for (size_t i = 0; i < count; ++i) text[i] = MirroredBracket(text[i]);
  size_t i = 0;
  while (i < count) {
    if (!IsLeftToRightRunByte(text[i])) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    for (;;) {
      if (end < count && IsLeftToRightRunByte(text[end])) {
        ++end;
      } else if (end + 1 < count && IsRunJoiner(text[end]) && IsLeftToRightRunByte(text[end + 1])) {
        end += 2;
      } else {
        break;
      }
    }
    std::reverse(text + i, text + end);
    i = end;
  }
}
