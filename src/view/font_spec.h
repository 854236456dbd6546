// The font description the reader draws with: one instance in the reader's settings,
// edited by the font chooser, copied into every view.
#pragma once

#include <cstdint>

struct FontSpec {
  char16_t faceName[32];   // 0-terminated; empty = not chosen yet
  int32_t size;            // pixels; 0 = not set (the platform's default)
  int32_t fontAsciiBase;   // code point of the first letter in the font: 97, 224 or 1488
};
