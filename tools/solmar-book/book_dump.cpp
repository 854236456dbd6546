#include "solmar-book/book_dump.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string_view>

#include "content/article.h"
#include "content/streams.h"
#include "solmar-book/book_compiler.h"
#include "solmar-book/book_text.h"

namespace book {
namespace {

std::string Hex(unsigned value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
  return buffer;
}

// Reading-order source text of a record's stored bytes.
std::string SourceText(const uint8_t* text, uint32_t length, bool reversed) {
  std::string bytes(reinterpret_cast<const char*>(text), length);
  if (reversed) ToVisualOrder(&bytes);
  return DecodeText(bytes);
}

std::string Record(const std::string& head, const std::string& text) {
  return text.empty() ? head + " |\n" : head + " | " + text + "\n";
}

// Where the walk stopped, when it did not stop at a proper end marker.
std::string Trailer(uint32_t offset, size_t size, bool ended) {
  if (ended) return {};
  return "# the stream breaks off at offset " + std::to_string(offset) + " of " + std::to_string(size) + "\n";
}

}  // namespace

std::string DumpArticle(int article, const uint8_t* stream, size_t size) {
  std::string out = "@article " + std::to_string(article) + "\n";
  const uint8_t* end = stream + size;
  uint32_t offset = 0;
  ParagraphRecord record;
  int index = 0;
  bool afterTitle = false;
  while (NextParagraph(stream, end, &offset, &record)) {
    const bool reversed = record.flags & kParaRightToLeft;
    const bool plainParam = record.param == 0;
    if (index == 0 && record.flags == kTitleFlags && plainParam) {
      out += Record("title", SourceText(record.text, record.length, reversed));
      afterTitle = true;
    } else if ((index == 0 || (index == 1 && afterTitle)) && record.flags == kSubtitleFlags && plainParam) {
      out += Record("subtitle", SourceText(record.text, record.length, reversed));
      afterTitle = false;
    } else if (IsRuleRecord(record.flags)) {
      out += Record("rule " + std::to_string(record.param) + " flags=" + Hex(record.flags, 2),
                    SourceText(record.text, record.length, reversed));
      afterTitle = false;
    } else {
      const bool continuation = record.length > 0 && record.text[0] == ' ' && record.param >= 64;
      const uint32_t skip = continuation ? 1 : 0;
      out += Record(std::string(continuation ? "cont" : "p") + " flags=" + Hex(record.flags, 2) +
                        " param=" + Hex(record.param, 2),
                    SourceText(record.text + skip, record.length - skip, reversed));
      afterTitle = false;
    }
    ++index;
  }
  const bool ended = offset < size && stream[offset] == 0;
  return out + Trailer(offset, size, ended);
}

std::string DumpIndex(const uint8_t* stream, size_t size) {
  std::string out = "@index\n";
  const uint8_t* end = stream + size;
  uint32_t offset = 0;
  IndexRecord record;
  std::set<unsigned> groups;
  while (NextIndexRecord(stream, end, &offset, &record)) {
    const unsigned kind = record.key & (kIndexHeading | kIndexEntry);
    const unsigned number = record.key & kIndexArticleMask;
    const std::string level = std::to_string(record.param);
    std::string head;
    // A group number the compiler would refuse (a repeat, or the bookmark group's) keeps its
    // whole key instead.
    if (kind == kIndexHeading && number != kBookmarkGroupNumber && groups.insert(number).second) {
      head = "heading " + level + " " + std::to_string(number);
    } else if (kind == kIndexEntry && number >= 1 && number <= kArticleCount) {
      head = "entry " + level + " " + std::to_string(number);
    } else {
      head = "heading " + level + " key=" + Hex(record.key, 4);
    }
    out += Record(head + " flags=" + Hex(record.flags, 2), SourceText(record.text, record.length, true));
  }
  const bool ended = size >= 5 && offset <= size - 5 && stream[offset + 2] == 0;
  return out + Trailer(offset, size, ended);
}

}  // namespace book
