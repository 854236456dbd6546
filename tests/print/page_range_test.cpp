#include <gtest/gtest.h>

#include <string>

#include "print/page_range.h"

namespace {

struct RangeCase {
  const char* text;
  PageRangeError error;
  uint16_t first, last;  // when accepted
};

TEST(PageRange, AcceptsAndRefusesAsPeopleTypeIt) {
  const RangeCase cases[] = {
      {"1-143", PageRangeError::kNone, 1, 143},
      {"5", PageRangeError::kNone, 5, 5},
      {"143", PageRangeError::kNone, 143, 143},
      {"7-7", PageRangeError::kNone, 7, 7},
      {" 3 - 12 ", PageRangeError::kNone, 3, 12},
      {"\t3-12", PageRangeError::kNone, 3, 12},
      {"003-012", PageRangeError::kNone, 3, 12},
      {"3\xE2\x80\x93" "12", PageRangeError::kNone, 3, 12},  // en dash, as word processors write it
      {"3\xE2\x88\x92" "12", PageRangeError::kNone, 3, 12},  // minus sign
      {"3\xE2\x80\x90" "12", PageRangeError::kNone, 3, 12},  // Unicode hyphen
      {"0", PageRangeError::kOutside, 0, 0},
      {"0-5", PageRangeError::kOutside, 0, 0},
      {"1-144", PageRangeError::kOutside, 0, 0},
      {"144", PageRangeError::kOutside, 0, 0},
      {"200-100", PageRangeError::kOutside, 0, 0},
      {"65537", PageRangeError::kOutside, 0, 0},        // would be page 1 in 16 bits
      {"4294967297", PageRangeError::kOutside, 0, 0},   // would be page 1 in 32 bits
      {"99999999999999999999999", PageRangeError::kOutside, 0, 0},
      {"1-18446744073709551617", PageRangeError::kOutside, 0, 0},
      {"9-3", PageRangeError::kBackwards, 0, 0},
      {"143-1", PageRangeError::kBackwards, 0, 0},
      {"", PageRangeError::kMalformed, 0, 0},
      {"   ", PageRangeError::kMalformed, 0, 0},
      {"-5", PageRangeError::kMalformed, 0, 0},
      {"5-", PageRangeError::kMalformed, 0, 0},
      {"+5", PageRangeError::kMalformed, 0, 0},
      {"a-b", PageRangeError::kMalformed, 0, 0},
      {"1-2-3", PageRangeError::kMalformed, 0, 0},
      {"1--3", PageRangeError::kMalformed, 0, 0},
      {"1,3", PageRangeError::kMalformed, 0, 0},
      {"5 6", PageRangeError::kMalformed, 0, 0},
      {"5x", PageRangeError::kMalformed, 0, 0},
      {"1-3\n", PageRangeError::kMalformed, 0, 0},
      {"\xE2\x80", PageRangeError::kMalformed, 0, 0},  // a cut UTF-8 sequence
      {"1\xE2\x80", PageRangeError::kMalformed, 0, 0},
      {"\xD7\x90", PageRangeError::kMalformed, 0, 0},  // a Hebrew letter
  };
  for (const RangeCase& c : cases) {
    platform::PrintPageRange range{77, 88};
    EXPECT_EQ(ParsePageRange(c.text, kBookPageCount, &range), c.error) << '"' << c.text << '"';
    if (c.error == PageRangeError::kNone) {
      EXPECT_EQ(range.first, c.first) << c.text;
      EXPECT_EQ(range.last, c.last) << c.text;
    } else {
      EXPECT_EQ(range.first, 77) << "a refused range changed the answer: " << c.text;
      EXPECT_EQ(range.last, 88) << c.text;
    }
  }
}

TEST(PageRange, NoTextIsMalformed) {
  platform::PrintPageRange range{};
  EXPECT_EQ(ParsePageRange(nullptr, kBookPageCount, &range), PageRangeError::kMalformed);
}

TEST(PageRange, TheBookSizeBoundsTheRange) {
  platform::PrintPageRange range{};
  EXPECT_EQ(ParsePageRange("10", 9, &range), PageRangeError::kOutside);
  EXPECT_EQ(ParsePageRange("9", 9, &range), PageRangeError::kNone);
}

}  // namespace
