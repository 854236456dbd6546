// A range of the book's pages as people type it: "A-B" or a single page "A".
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr uint16_t kBookPageCount = 143;

enum class PageRangeError {
  kNone,
  kMalformed,  // not one number or two joined by a dash
  kOutside,    // a page below 1 or above the last
  kBackwards,  // the first page after the last
};

// Reads text (UTF-8) into *range for a book of pageCount pages. Blanks around the numbers
// are allowed, and the dash may be a hyphen, an en dash or a minus sign, as text pasted from
// other programs has them. *range is written only on success.
PageRangeError ParsePageRange(const char* text, uint16_t pageCount, platform::PrintPageRange* range);
