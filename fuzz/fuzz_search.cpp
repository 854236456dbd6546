// The matcher, the search of one article, the listing of its hits and the rows of the list
// of every hit (verse per record, context around each hit) on arbitrary patterns and
// arbitrary article bytes. Input: one byte giving the pattern's length (0..35, so some
// patterns are longer than the search string allows), the pattern, two bytes of start
// offset, then the article. Nothing may be read outside the article, every hit must lie
// inside the text it was found in, and no allocation may be left behind.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "content/streams.h"
#include "search/find_all.h"
#include "search/find_all_list.h"
#include "search/search.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > 70000) return 0;
  const size_t patternLength = data[0] % 36;
  if (size < 3 + patternLength) return 0;
  fake::ResetAll();
  // The pattern may hold 0 bytes of its own; it ends at the first.
  std::vector<uint8_t> pattern(data + 1, data + 1 + patternLength);
  pattern.push_back(0);
  const uint16_t start = uint16_t(data[1 + patternLength] | data[2 + patternLength] << 8);
  // Exact-size copies, so that AddressSanitizer sees any read past the end.
  const std::vector<uint8_t> article(data + 3 + patternLength, data + size);
  const uint8_t* begin = article.data();
  const size_t length = article.size();

  if (length > 0) {
    uint16_t matchLength = 0;
    const uint8_t* from = begin + (start < length ? start : length - 1);
    const uint8_t* hit = MatchPattern(begin, pattern.data(), from, &matchLength);
    if (hit) Require(hit <= from && matchLength >= 1 && hit - begin + 1 >= matchLength);
    else Require(matchLength == 0);
  }

  uint16_t matchLength = 0;
  const uint16_t end = SearchArticle(begin, uint32_t(length), start, pattern.data(), &matchLength);
  if (end != 0) Require(end < length && matchLength >= 1 && end + 1 >= matchLength + 2);
  else Require(matchLength == 0);

  long listed = 0;
  FindAllInArticle(begin, uint32_t(length), 1, pattern.data(), [&](const BookHit& hit) {
    ++listed;
    Require(hit.endOffset < length && hit.length >= 1 && hit.endOffset + 1 >= hit.length + 2);
    Require(hit.readingText.size() == hit.length);
  });
  // The list's rows: one verse entry per record, in order, inside the article; each hit's
  // context holds its mark.
  uint32_t lastRecord = 0;
  bool firstRecord = true;
  for (const RecordVerse& v : ArticleVerses(begin, uint32_t(length))) {
    Require(v.recordOffset < length && (firstRecord || v.recordOffset > lastRecord));
    lastRecord = v.recordOffset;
    firstRecord = false;
  }
  ForEachMatchInArticle(begin, uint32_t(length), pattern.data(),
                        [&](const ParagraphRecord& record, uint16_t endOffset, uint16_t matchLength) {
                          const uint32_t textStart = record.offset + 2;
                          Require(endOffset + 1u >= textStart + matchLength);
                          const HitContext context = ContextAroundHit(record.text, record.length, record.flags,
                                                                      endOffset + 1u - matchLength - textStart, matchLength);
                          Require(context.markStart >= 0 && context.markLength >= 1 &&
                                  size_t(context.markStart) + size_t(context.markLength) <= context.text.size());
                        });
  // The listing finds the article's first hit too: the search from offset 0 sees it.
  uint16_t firstLength = 0;
  if (SearchArticle(begin, uint32_t(length), 0, pattern.data(), &firstLength) != 0) Require(listed > 0);
  Require(fake::LiveBlocks() == 0);
  return 0;
}
