// Listing every hit in the book, and the conversions between reading order and the stored
// order of right-to-left text.
#include "search/find_all.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/search_input.h"
#include "content/streams.h"
#include "content/visual_order.h"
#include "platform/platform.h"
#include "search/search.h"

namespace {

// Offsets past this are never looked at: every offset fits 16 bits.
constexpr uint32_t kOffsetLimit = 0x10000;

// The one place stored bytes become listed text.
char16_t DisplayUnit(uint8_t byte) { return LetterToDisplayUnit(byte, kUnicodeLetterBase); }

// The letter-code byte of a character the normaliser let through.
uint8_t LetterCodeByte(char16_t unit) {
  if (unit >= kUnicodeLetterBase && unit < kUnicodeLetterBase + kLetterCount)
    return uint8_t(kLetterFirst + (unit - kUnicodeLetterBase));
  if (unit == u'{') return kLiteralBrace;
  return uint8_t(unit);
}

}  // namespace

PatternError StoredPatternFromReadingOrder(std::u16string_view readingOrder, uint8_t* searchString,
                                           char32_t* refused) {
  std::u16string units;
  if (!NormaliseTypedText(readingOrder, &units, refused)) return PatternError::kNotInLetterCode;
  // Runs of spaces become one; stars at either end add nothing to a match.
  std::u16string pattern;
  for (char16_t unit : units)
    if (!(unit == u' ' && !pattern.empty() && pattern.back() == u' ')) pattern.push_back(unit);
  const size_t first = pattern.find_first_not_of(u'*');
  if (first == std::u16string::npos) return PatternError::kEmpty;
  pattern = pattern.substr(first, pattern.find_last_not_of(u'*') + 1 - first);
  if (pattern.size() > size_t(kMaxPatternLength)) return PatternError::kTooLong;
  uint8_t stored[kSearchStringSize] = {};
  for (size_t i = 0; i < pattern.size(); ++i) stored[i] = LetterCodeByte(pattern[i]);
  // Turned round as the book's right-to-left text is stored: brackets mirrored, numbers
  // kept in their own order.
  SwapVisualOrder(stored, pattern.size());
  std::memcpy(searchString, stored, kSearchStringSize);
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
      // On below the whole match, as Search Again goes on below the highlight: the list
      // holds the places F3 visits, none overlapping the one before.
      if (hit - record.text < matchLength) break;
      from = hit - matchLength;
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
