#include "print/page_range.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(const char*& p) {
  while (IsBlank(*p)) ++p;
}

// Reads decimal digits; false when there are none. Values past 99999 stay at 100000, which
// is outside every book, so a long number cannot wrap round into a valid page.
bool ReadNumber(const char*& p, uint32_t* value) {
  if (*p < '0' || *p > '9') return false;
  uint32_t v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) v = v >= 100000 ? 100000 : v * 10 + uint32_t(*p - '0');
  *value = v > 100000 ? 100000 : v;
  return true;
}

// A hyphen, or the UTF-8 of U+2013 (en dash), U+2212 (minus sign) or U+2010 (hyphen).
bool ReadDash(const char*& p) {
  if (*p == '-') {
    ++p;
    return true;
  }
  for (const char* dash : {"\xE2\x80\x93", "\xE2\x88\x92", "\xE2\x80\x90"}) {
    if (std::strncmp(p, dash, 3) == 0) {
      p += 3;
      return true;
    }
  }
  return false;
}

}  // namespace

PageRangeError ParsePageRange(const char* text, uint16_t pageCount, platform::PrintPageRange* range) {
  if (!text) return PageRangeError::kMalformed;
  const char* p = text;
  uint32_t first = 0, last = 0;
  SkipBlanks(p);
  if (!ReadNumber(p, &first)) return PageRangeError::kMalformed;
  SkipBlanks(p);
  last = first;
  if (ReadDash(p)) {
    SkipBlanks(p);
    if (!ReadNumber(p, &last)) return PageRangeError::kMalformed;
    SkipBlanks(p);
  }
  if (*p) return PageRangeError::kMalformed;
  if (first < 1 || last < 1 || first > pageCount || last > pageCount) return PageRangeError::kOutside;
  if (first > last) return PageRangeError::kBackwards;
  *range = platform::PrintPageRange{uint16_t(first), uint16_t(last)};
  return PageRangeError::kNone;
}
