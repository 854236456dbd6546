// Listing every hit in the book, and the conversions between reading order and the stored
// order of right-to-left text.
#include "search/find_all.h"

#include <algorithm>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "platform/platform.h"
#include "search/search.h"

namespace {

// Offsets past this are never looked at: every offset fits 16 bits.
constexpr uint32_t kOffsetLimit = 0x10000;

// The one place the search string is made from UTF-16 text: in the Unicode letter base.
void ConvertToLetterCode(const char16_t* text, uint8_t* searchString) {
  ToLetterCode(text, searchString, kUnicodeLetterBase);
}

// The one place stored bytes become listed text.
char16_t DisplayUnit(uint8_t byte) { return LetterToDisplayUnit(byte, kUnicodeLetterBase); }

// Whether the letter code stores the unit as a byte that stands for it: a Hebrew letter,
// or a unit of one byte that is not a letter's byte and not the stored "{" (0x7E).
bool InLetterCode(char16_t unit) {
  if (unit >= kUnicodeLetterBase && unit < kUnicodeLetterBase + kLetterCount) return true;
  if (unit == 0 || unit > 0xFF) return false;
  const bool letterByte = unit >= kLetterFirst && unit < kLetterFirst + kLetterCount;
  return !letterByte && unit != kLiteralBrace;
}

}  // namespace

PatternError StoredPatternFromReadingOrder(const char16_t* readingOrder, uint8_t* searchString, char16_t* badUnit) {
  std::u16string units;
  for (const char16_t* p = readingOrder; *p; ++p) units.push_back(*p);
  if (units.empty()) return PatternError::kEmpty;
  if (units.size() > size_t(kMaxPatternLength)) return PatternError::kTooLong;
  for (char16_t unit : units) {
    if (!InLetterCode(unit)) {
      if (badUnit) *badUnit = unit;
      return PatternError::kNotInLetterCode;
    }
  }
  std::reverse(units.begin(), units.end());
  ConvertToLetterCode(units.c_str(), searchString);
  return PatternError::kNone;
}

std::u16string ReadingOrderText(const uint8_t* text, uint32_t textLength, uint8_t flags, uint32_t offset,
                                uint32_t count) {
  std::u16string out;
  if (offset > textLength || count > textLength - offset) return out;
  if (!(flags & kParaRightToLeft)) {
    for (uint32_t i = offset; i < offset + count; ++i) out.push_back(DisplayUnit(text[i]));
    return out;
  }
  const std::vector<uint32_t> order = SwappedOrder(text, textLength);
  for (uint32_t position : order)
    if (position >= offset && position < offset + count) out.push_back(MirrorBracket(DisplayUnit(text[position])));
  return out;
}

long ForEachMatchInArticle(const uint8_t* article, uint32_t length, const uint8_t* pattern,
                           const ArticleMatchVisitor& visit) {
  if (!article) return 0;
  const uint8_t* end = article + std::min(length, kOffsetLimit);
  long hits = 0;
  uint32_t at = 0;
  ParagraphRecord record;
  while (NextParagraph(article, end, &at, &record)) {
    if (record.length == 0) continue;
    const uint8_t* from = record.text + record.length - 1;
    for (;;) {
      uint16_t matchLength = 0;
      const uint8_t* hit = MatchPattern(record.text, pattern, from, &matchLength);
      if (!hit) break;
      ++hits;
      visit(record, uint16_t(hit - article), matchLength);
      if (hit == record.text) break;
      from = hit - 1;
    }
  }
  return hits;
}

long FindAllInArticle(const uint8_t* article, uint32_t length, uint16_t articleNumber, const uint8_t* pattern,
                      const BookHitVisitor& visit) {
  return ForEachMatchInArticle(article, length, pattern,
                               [&](const ParagraphRecord& record, uint16_t endOffset, uint16_t matchLength) {
                                 const uint32_t firstByte =
                                     uint32_t(article + endOffset - record.text) + 1 - matchLength;
                                 visit(BookHit{articleNumber, endOffset, matchLength,
                                               ReadingOrderText(record.text, record.length, record.flags,
                                                                firstByte, matchLength)});
                               });
}

int ForEachBookArticle(const BookArticleVisitor& visit) {
  int unreadable = 0;
  for (int n = 1; n <= kArticleCount; ++n) {
    uint32_t decoded = 0;
    uint8_t* copy = LoadArticle(n, nullptr, &decoded);
    if (!copy) {
      ++unreadable;
      continue;
    }
    // The copy holds its decoded bytes and a 0 after them.
    visit(uint16_t(n), copy, decoded + 1);
    platform::Free(copy);
  }
  return unreadable;
}

BookSearchCount FindAllInBook(const uint8_t* pattern, const BookHitVisitor& visit) {
  BookSearchCount count{0, 0};
  count.unreadableArticles = ForEachBookArticle([&](uint16_t n, const uint8_t* data, uint32_t length) {
    count.hits += FindAllInArticle(data, length, n, pattern, visit);
  });
  return count;
}
