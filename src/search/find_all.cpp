// Listing every hit in the book, and the conversions between reading order and the stored
// order of right-to-left text.
#include "search/find_all.h"

#include <algorithm>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/reader_settings.h"
#include "content/streams.h"
#include "platform/platform.h"
#include "search/search.h"

namespace {

// Offsets past this are never looked at: every offset fits 16 bits.
constexpr uint32_t kOffsetLimit = 0x10000;

// The one place the search string is made from UTF-16 text: in the Unicode letter base.
void ConvertToLetterCode(const char16_t* text, uint8_t* searchString) {
  const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
  gReaderSettings.fontSpec.fontAsciiBase = kUnicodeLetterBase;
  ToLetterCode(text, searchString);
  gReaderSettings.fontSpec.fontAsciiBase = base;
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

char16_t Mirrored(char16_t unit) {
  switch (unit) {
    case u'(': return u')';
    case u')': return u'(';
    case u'[': return u']';
    case u']': return u'[';
    case u'{': return u'}';
    case u'}': return u'{';
    default: return unit;
  }
}

bool InLeftToRightRun(uint8_t byte) { return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z'); }
bool JoinsRun(uint8_t byte) { return byte == '.' || byte == ',' || byte == ':'; }

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
  // Stored positions in the order they are read: from the highest down, except that a run
  // of digits and capitals is read from its lowest position up.
  std::vector<uint32_t> order(textLength);
  for (uint32_t k = 0; k < textLength; ++k) order[k] = textLength - 1 - k;
  auto byteAt = [&](uint32_t k) { return text[order[k]]; };
  uint32_t k = 0;
  while (k < textLength) {
    if (!InLeftToRightRun(byteAt(k))) {
      ++k;
      continue;
    }
    uint32_t end = k + 1;
    for (;;) {
      if (end < textLength && InLeftToRightRun(byteAt(end))) {
        ++end;
      } else if (end + 1 < textLength && JoinsRun(byteAt(end)) && InLeftToRightRun(byteAt(end + 1))) {
        end += 2;
      } else {
        break;
      }
    }
    std::reverse(order.begin() + k, order.begin() + end);
    k = end;
  }
  for (uint32_t position : order)
    if (position >= offset && position < offset + count) out.push_back(Mirrored(DisplayUnit(text[position])));
  return out;
}

long FindAllInArticle(const uint8_t* article, uint32_t length, uint16_t articleNumber, const uint8_t* pattern,
                      const BookHitVisitor& visit) {
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
      const uint32_t firstByte = uint32_t(hit - record.text) + 1 - matchLength;
      visit(BookHit{articleNumber, uint16_t(hit - article), matchLength,
                    ReadingOrderText(record.text, record.length, record.flags, firstByte, matchLength)});
      if (hit == record.text) break;
      from = hit - 1;
    }
  }
  return hits;
}

BookSearchCount FindAllInBook(const uint8_t* pattern, const BookHitVisitor& visit) {
  BookSearchCount count{0, 0};
  for (int n = 1; n <= kArticleCount; ++n) {
    uint32_t decoded = 0;
    uint8_t* copy = LoadArticle(n, nullptr, &decoded);
    if (!copy) {
      ++count.unreadableArticles;
      continue;
    }
    // The copy holds its decoded bytes and a 0 after them.
    count.hits += FindAllInArticle(copy, decoded + 1, uint16_t(n), pattern, visit);
    platform::Free(copy);
  }
  return count;
}
