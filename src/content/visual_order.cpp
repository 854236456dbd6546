#include "content/visual_order.h"

#include <algorithm>

#include "content/letter_code.h"

namespace {

bool IsLeftToRightRunByte(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

bool IsRunJoiner(uint8_t c) { return c == '.' || c == ',' || c == ':'; }

}  // namespace

std::vector<uint32_t> SwappedOrder(const uint8_t* text, size_t count) {
  std::vector<uint32_t> order(text ? count : 0);
  for (size_t k = 0; k < order.size(); ++k) order[k] = uint32_t(order.size() - 1 - k);
  auto byteAt = [&](size_t k) { return text[order[k]]; };
  size_t i = 0;
  while (i < order.size()) {
    if (!IsLeftToRightRunByte(byteAt(i))) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    for (;;) {
      if (end < order.size() && IsLeftToRightRunByte(byteAt(end))) {
        ++end;
      } else if (end + 1 < order.size() && IsRunJoiner(byteAt(end)) && IsLeftToRightRunByte(byteAt(end + 1))) {
        end += 2;
      } else {
        break;
      }
    }
    std::reverse(order.begin() + long(i), order.begin() + long(end));
    i = end;
  }
  return order;
}

void SwapVisualOrder(uint8_t* text, size_t count) {
  if (!text || count == 0) return;
  const std::vector<uint8_t> stored(text, text + count);
  const std::vector<uint32_t> order = SwappedOrder(stored.data(), count);
  for (size_t k = 0; k < count; ++k) text[k] = MirrorLetterCodeBracket(stored[order[k]]);
}
