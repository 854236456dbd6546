// The book compiler: what each source construct compiles to, byte for byte, and which
// source it refuses, with the right file and line.
#include "solmar-book/book_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "book_test_support.h"
#include "content/article.h"
#include "platform/fake/fake_platform.h"
#include "platform/pack.h"
#include "platform/platform.h"
#include "solmar-book/book_dump.h"

namespace {

using book_test::BookWithArticle1;
using book_test::BookWithIndex;
using book_test::Compile;
using book_test::FillerArticles;
using book_test::kMinimalIndex;
using Bytes = std::vector<uint8_t>;

// Every article record construct in one article. Hebrew letters: א=0x61 ב=0x62 ... ח=0x68.
const char kEveryArticleFeature[] =
    "title | אב\n"
    "subtitle | ג{\n"
    "p bold center gap | ד ה\n"
    "p rtl right lead=2 indent=5 | אב גד\n"
    "cont rtl right indent=4 | הו\n"
    "cont lead=3 key | ז\n"
    "rule 170 center gap |\n"
    "rule 0 |\n"
    "p small left2 | \\s1\\\\2\\x85\\xff\\s\n"
    "p flags=0x91 param=0x7F | ח\n"
    "p large | \xC3\xA9 A-Z 0.9 |}\n";

const Bytes kEveryArticleFeatureStream = {
    0xDC, 0x00, 0x62, 0x61, 0x00,                    // title, stored reversed
    0xD1, 0x00, 0x7D, 0x63, 0x00,                    // subtitle; reversal mirrors the trailing '{' to '}'
    0xC8, 0x00, 0x64, 0x20, 0x65, 0x00,              // left-to-right: reading order kept
    0x30, 0x85, 0x64, 0x63, 0x20, 0x62, 0x61, 0x00,  // lead 2 * 64 + indent 5
    0x30, 0x44, 0x20, 0x66, 0x65, 0x00,              // continuation: space in front of the stored text
    0x01, 0xC0, 0x20, 0x67, 0x00,                    //
    0xC7, 0xAA, 0x00,                                // rule 170, centred, gap
    0x07, 0x00, 0x00,                                // rule 0
    0x62, 0x00, 0x20, 0x31, 0x5C, 0x32, 0x85, 0xFF, 0x20, 0x00,
    0x91, 0x7F, 0x68, 0x00,                          // flags and param given whole; 0x10 reverses
    0x04, 0x00, 0xE9, 0x20, 'A', '-', 'Z', 0x20, '0', '.', '9', 0x20, '|', '}', 0x00,
    0x00,                                            // end of the article
};

TEST(BookCompiler, CompilesEveryArticleConstructByteExact) {
  const auto result = Compile(BookWithArticle1(kEveryArticleFeature));
  ASSERT_TRUE(result.ok) << testing::PrintToString(result.messages);
  EXPECT_EQ(result.book.articles[0].bytes, kEveryArticleFeatureStream);
  EXPECT_EQ(result.book.articles[0].line, 1);
  EXPECT_EQ(result.book.articles[285].bytes, (Bytes{0x10, 0x00, 0x61, 0x00, 0x00}));
}

TEST(BookCompiler, CompilesEveryIndexConstructByteExact) {
  const auto result = Compile(BookWithIndex(
      "@index\n"
      "heading 0 visible open bold | אב\n"
      "entry 1 1 visible | ג\n"
      "heading 1 5 | ד\n"
      "heading 1 large | ה\n"
      "entry 2 286 key=0xC005 small | ו\n"
      "entry 2 7 flags=0x01 |\n"));
  ASSERT_TRUE(result.ok) << testing::PrintToString(result.messages);
  const Bytes expected = {
      0x01, 0x80, 0xD8, 0x00, 0x62, 0x61, 0x00,  // first automatic group number: 1
      0x01, 0x40, 0x90, 0x01, 0x63, 0x00,        // entry for article 1
      0x05, 0x80, 0x10, 0x01, 0x64, 0x00,        // explicit group 5; hidden, still 0x10
      0x02, 0x80, 0x14, 0x01, 0x65, 0x00,        // next automatic group: 2
      0x05, 0xC0, 0x12, 0x02, 0x66, 0x00,        // key given whole
      0x07, 0x40, 0x01, 0x02, 0x00,              // flags given whole, empty text
      0x00, 0x00, 0x00, 0x00, 0x00,              // end record
  };
  EXPECT_EQ(result.book.index.bytes, expected);
}

TEST(BookCompiler, AutomaticHeadingGroupsSkipExplicitOnesAndTheBookmarkGroup) {
  std::string index = "@index\nheading 0 1 | א\nheading 0 3 | א\n";
  for (int i = 0; i < 2170; ++i) index += "heading 1 | א\n";
  const auto result = Compile(BookWithIndex(index));
  ASSERT_TRUE(result.ok) << testing::PrintToString(result.messages);
  std::vector<int> groups;
  for (size_t offset = 0; offset + 5 <= result.book.index.bytes.size() && result.book.index.bytes[offset + 2];
       offset += 6)
    groups.push_back((result.book.index.bytes[offset] | result.book.index.bytes[offset + 1] << 8) & 0x3FFF);
  ASSERT_EQ(groups.size(), 2172u);
  EXPECT_EQ(groups[2], 2);  // 1 is taken
  EXPECT_EQ(groups[3], 4);  // 3 is taken
  EXPECT_EQ(std::count(groups.begin(), groups.end(), 0x0877), 0);
  EXPECT_EQ(groups.back(), 2173);
}

TEST(BookCompiler, SourceLinesMayUseCrLfBlanksCommentsAndAByteOrderMark) {
  const std::string article = "\xEF\xBB\xBF# comment\r\n\r\n  @article 1\r\n\t p  rtl   right |  אב  \r\n";
  const auto result = Compile({{"a.txt", article}, {"b.txt", FillerArticles(2, 286) + kMinimalIndex}});
  ASSERT_TRUE(result.ok) << testing::PrintToString(result.messages);
  EXPECT_EQ(result.book.articles[0].bytes, (Bytes{0x30, 0x00, 0x62, 0x61, 0x00, 0x00}));
  EXPECT_EQ(result.book.articles[0].file, "a.txt");
  EXPECT_EQ(result.book.articles[0].line, 3);
}

TEST(BookCompiler, TextMayHoldFurtherBarsAfterTheFirstSeparator) {
  const auto result = Compile(BookWithArticle1("p key | | a | b |\n"));
  ASSERT_FALSE(result.ok);  // 'a' is lower-case Latin: proves the text starts after the first " | "
  const auto bars = Compile(BookWithArticle1("p key | | A | B |\n"));
  ASSERT_TRUE(bars.ok) << testing::PrintToString(bars.messages);
  EXPECT_EQ(bars.book.articles[0].bytes, (Bytes{0x01, 0x00, '|', ' ', 'A', ' ', '|', ' ', 'B', ' ', '|', 0x00, 0x00}));
}

struct Refusal {
  const char* records;  // article 1 from line 2
  int line;
  const char* message;  // part of the expected message
};

TEST(BookCompiler, RefusesBadArticleRecordsAtTheirLine) {
  const Refusal refusals[] = {
      {"p rtl bogus | א\n", 2, "unknown option 'bogus'"},
      {"p rtl size=3 | א\n", 2, "unknown option 'size=3'"},
      {"q rtl | א\n", 2, "unknown record 'q'"},
      {"heading 0 | א\n", 2, "unknown record 'heading' in an article"},
      {"p rtl א\n", 2, "needs ' | '"},
      {"p rtl|א\n", 2, "needs ' | '"},
      {"p rtl | שלום abc\n", 2, "lower-case Latin letter 'a'"},
      {"p rtl | \xD7\x90\xD6\xB0\n", 2, "Hebrew point or cantillation mark U+05B0"},
      {"p rtl | \xD7\x90\xD6\x91\n", 2, "U+0591"},
      {"p rtl | א~\n", 2, "'~' cannot be stored"},
      {"p rtl | א\tב\n", 2, "control character U+0009"},
      {"p rtl | \xE2\x80\x8E\n", 2, "character U+200E cannot be stored"},
      {"p rtl | \xC3\n", 2, "malformed UTF-8"},
      {"p rtl | \\q\n", 2, "unknown escape \\q"},
      {"p rtl | \\x0\n", 2, "two hexadecimal digits"},
      {"p rtl | \\x00\n", 2, "\\x00 cannot be stored"},
      {"p rtl | א\\\n", 2, "backslash ends the text"},
      {"p | א\n", 2, "flags must not be 0"},
      {"p left | א\n", 2, "flags must not be 0"},
      {"p rtl flags=0 | א\n", 2, "flags must not be 0"},
      {"p key small large | א\n", 2, "0x07"},
      {"p flags=0x17 | א\n", 2, "0x07"},
      {"p rtl indent=64 | א\n", 2, "'indent=' needs a number 0..63"},
      {"p rtl lead=4 | א\n", 2, "'lead=' needs a number 0..3"},
      {"p rtl indent=5 indent=6 | א\n", 2, "given twice"},
      {"p rtl right left | א\n", 2, "more than one alignment"},
      {"cont rtl lead=0 | א\n", 2, "continuation needs lead 1..3"},
      {"cont rtl param=0x3F | א\n", 2, "continuation's param"},
      {"p rtl |\n", 2, "first record of an article needs text"},
      {"rule 10 |\np rtl | א\np rtl | ב\ntitle | ג\n", 5, "title must be the first record"},
      {"p rtl | א\nsubtitle | ב\n", 3, "subtitle must be the first record of the article or follow the title"},
      {"title | א\np rtl | ב\nsubtitle | ג\n", 4, "subtitle must be"},
      {"title bold | א\n", 2, "title takes no options"},
      {"rule |\n", 2, "rule needs a width code"},
      {"rule 256 |\n", 2, "rule needs a width code"},
      {"rule 10 bold |\n", 2, "option 'bold' does not apply"},
      {"rule 10 indent=3 |\n", 2, "option 'indent=' does not apply"},
      {"rule 10 flags=0x40 |\n", 2, "all of 0x07"},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.records);
    const auto result = Compile(BookWithArticle1(refusal.records));
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u) << testing::PrintToString(result.messages);
    const std::string prefix = "book.txt:" + std::to_string(refusal.line) + ": ";
    EXPECT_EQ(result.messages[0].rfind(prefix, 0), 0u) << result.messages[0];
    EXPECT_NE(result.messages[0].find(refusal.message), std::string::npos) << result.messages[0];
  }
}

TEST(BookCompiler, RefusesBadIndexRecordsAtTheirLine) {
  const Refusal refusals[] = {
      {"entry 1 287 | א\n", 2, "entry names article 287, which is not in the book"},
      {"entry 1 0 | א\n", 2, "entry names article 0"},
      {"entry 1 | א\n", 2, "entry needs an article number"},
      {"entry | א\n", 2, "entry needs a level"},
      {"entry 1 5 open | א\n", 2, "option 'open' does not apply"},
      {"entry 1 5 rtl | א\n", 2, "option 'rtl' does not apply"},
      {"heading 0 key=0x4000 | א\n", 2, "key names article 0"},
      {"heading 0 2167 | א\n", 2, "bookmark group"},
      {"heading 0 4 | א\nheading 0 4 | ב\n", 3, "heading group 4 is already used at book.txt:2"},
      {"heading 0 flags=0 | א\n", 2, "flags must not be 0"},
      {"heading 0 |\n", 2, "first record of the index needs text"},
      {"p rtl | א\n", 2, "unknown record 'p' in the index"},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.records);
    // The index comes first here so that its lines are numbered from 1.
    const auto result = Compile({{"book.txt", std::string("@index\n") + refusal.records + FillerArticles(1, 286)}});
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(result.messages.size(), 1u) << testing::PrintToString(result.messages);
    const std::string prefix = "book.txt:" + std::to_string(refusal.line) + ": ";
    EXPECT_EQ(result.messages[0].rfind(prefix, 0), 0u) << result.messages[0];
    EXPECT_NE(result.messages[0].find(refusal.message), std::string::npos) << result.messages[0];
  }
}

TEST(BookCompiler, RefusesAnIncompleteOrDoubledBook) {
  struct Case {
    std::string source;
    std::vector<std::string> messages;
  };
  const std::string allArticles = FillerArticles(1, 286);  // 572 lines
  const Case cases[] = {
      {FillerArticles(1, 16) + FillerArticles(18, 286) + kMinimalIndex, {"book.txt:572: article 17 is missing"}},
      {FillerArticles(1, 19) + FillerArticles(31, 286) + kMinimalIndex,
       {"book.txt:552: articles 20..30 are missing"}},
      {allArticles, {"book.txt:572: the book has no @index"}},
      {allArticles + kMinimalIndex + "@article 5\np rtl | א\n",
       {"book.txt:575: article 5 is defined twice (first at book.txt:9)"}},
      {allArticles + kMinimalIndex + kMinimalIndex, {"book.txt:575: @index is given twice (first at book.txt:573)"}},
      {allArticles + "@article 287\np rtl | א\n" + kMinimalIndex, {"book.txt:573: @article needs one article number 1..286"}},
      {allArticles + "@article 0\n" + kMinimalIndex, {"book.txt:573: @article needs one article number 1..286"}},
      {allArticles + "@article\n" + kMinimalIndex, {"book.txt:573: @article needs one article number 1..286"}},
      {allArticles + "@index 3\n" + kMinimalIndex, {"book.txt:573: @index takes no arguments"}},
      {allArticles + "@chapter 1\np rtl | א\n" + kMinimalIndex, {"book.txt:573: unknown directive @chapter (known: @article, @index)"}},
      {"p rtl | א\n" + allArticles + kMinimalIndex, {"book.txt:1: record outside an article or the index (start one with @article N or @index)"}},
      {"@article 1\n" + FillerArticles(2, 286) + kMinimalIndex, {"book.txt:1: article 1 has no records"}},
      {allArticles + "@index\n", {"book.txt:573: the index has no records"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.messages[0]);
    const auto result = Compile({{"book.txt", c.source}});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages, c.messages);
  }
}

TEST(BookCompiler, ReportsEveryProblemInSourceOrder) {
  const auto result = Compile({{"a.txt", "@article 1\np bogus | א\np rtl | x\n" + FillerArticles(2, 285)},
                               {"b.txt", "p rtl | א\n" + std::string(kMinimalIndex)}});
  EXPECT_FALSE(result.ok);
  const std::vector<std::string> expected = {
      "a.txt:2: unknown option 'bogus'",
      "a.txt:3: lower-case Latin letter 'x' cannot be stored: the letter code reads it as a Hebrew letter",
      "b.txt:1: record outside an article or the index (start one with @article N or @index)",  // sections end with their file
      "b.txt:3: article 286 is missing",
  };
  EXPECT_EQ(result.messages, expected);
}

TEST(BookCompiler, RefusesAnArticleOf65536BytesButTakes65535) {
  // Each record "p key | " + 98 bytes of text is 101 bytes in the stream.
  const std::string line = "p key | " + std::string(98, 'A') + "\n";
  std::string records;
  for (int i = 0; i < 648; ++i) records += line;  // 65448 bytes
  const std::string exact = records + "p key | " + std::string(83, 'A') + "\n";  // + 86 + the end byte = 65535
  const std::string over = records + "p key | " + std::string(84, 'A') + "\n";
  const auto fits = Compile(BookWithArticle1(exact));
  ASSERT_TRUE(fits.ok) << testing::PrintToString(fits.messages);
  EXPECT_EQ(fits.book.articles[0].bytes.size(), 65535u);
  const auto refused = Compile(BookWithArticle1(over));
  EXPECT_EQ(refused.messages,
            std::vector<std::string>{"book.txt:1: article 1 is 65536 bytes once decompressed; at most 65535 fit"});
}

// Decodes resource id of a pack through the reader's own loading path.
Bytes LoadThroughReader(const Bytes& pack, int article) {
  fake::ResetAll();
  EXPECT_TRUE(fake::UsePack(pack));
  int reason = 0;
  uint8_t* buffer = LoadArticle(article, &reason);
  EXPECT_NE(buffer, nullptr) << "article " << article << " reason " << reason;
  if (!buffer) return {};
  const size_t size = size_t(fake::LiveBytes()) - 2;  // the buffer is U + 2 bytes
  Bytes out(buffer, buffer + size);
  EXPECT_EQ(buffer[size], 0);
  platform::Free(buffer);
  return out;
}

uint16_t BigEndian(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

TEST(BookCompiler, PacksEveryResourceInTheArticleLayout) {
  const auto result = Compile(BookWithArticle1(kEveryArticleFeature));
  ASSERT_TRUE(result.ok);
  Bytes pack;
  std::vector<book::Diagnostic> diagnostics;
  ASSERT_TRUE(book::PackBook(result.book, &pack, &diagnostics));
  std::vector<platform::PackEntry> entries;
  ASSERT_TRUE(platform::ParsePack(pack.data(), pack.size(), &entries, nullptr));
  ASSERT_EQ(entries.size(), 287u);
  for (size_t i = 0; i < entries.size(); ++i) {
    const platform::PackEntry& e = entries[i];
    const bool index = i == 286;
    SCOPED_TRACE(e.id);
    EXPECT_EQ(e.id, index ? 32767u : 1001u + i);
    EXPECT_EQ(e.type, platform::kResourceTypeRawData);
    ASSERT_GE(e.size, 14u);
    const uint16_t s = BigEndian(e.bytes + 6);
    EXPECT_EQ(size_t(BigEndian(e.bytes)), e.size - 6);  // L = S + 8
    EXPECT_EQ(size_t(s), e.size - 14);
    EXPECT_EQ(size_t(BigEndian(e.bytes + 2)), index ? 1 : 21 + i);
    EXPECT_EQ(size_t(BigEndian(e.bytes + 4)), index ? 255 : 21 + i);
    const Bytes& stream = index ? result.book.index.bytes : result.book.articles[i].bytes;
    EXPECT_EQ(size_t(BigEndian(e.bytes + 8)), stream.size());
    EXPECT_EQ(Bytes(e.bytes + e.size - 4, e.bytes + e.size), Bytes(4, 0));
  }
  EXPECT_EQ(LoadThroughReader(pack, 1), kEveryArticleFeatureStream);
  EXPECT_EQ(LoadThroughReader(pack, kTableOfContentsArticle), result.book.index.bytes);
}

TEST(BookCompiler, RefusesAResourceWhoseCompressedFormWouldNotFit) {
  // 65,000 incompressible bytes need about 73,000 compressed: more than S and L can hold.
  std::mt19937 random(5);
  Bytes noise(65000);
  for (uint8_t& b : noise) b = uint8_t(0x80 | random());
  Bytes resource;
  EXPECT_FALSE(book::MakeResource(noise, 21, 21, &resource));
  EXPECT_FALSE(book::MakeResource(Bytes(65536, 'A'), 21, 21, &resource));  // U would not fit either
  EXPECT_FALSE(book::MakeResource(Bytes{}, 21, 21, &resource));
  EXPECT_TRUE(book::MakeResource(Bytes(65535, 'A'), 21, 21, &resource));

  // Through the source: bytes U+0080..U+00FF stand for themselves and compress badly.
  std::string records;
  for (int line = 0; line < 65; ++line) {
    records += "p key | ";
    for (int i = 0; i < 990; ++i) {
      const unsigned byte = 0x80 | (random() & 0x3F);
      records += char(0xC0 | byte >> 6);
      records += char(0x80 | (byte & 0x3F));
    }
    records += "\n";
  }
  const auto result = Compile({{"big.txt", FillerArticles(1, 6) + "@article 7\n" + records + FillerArticles(8, 286) +
                                               kMinimalIndex}});
  ASSERT_TRUE(result.ok) << testing::PrintToString(result.messages);
  Bytes pack;
  std::vector<book::Diagnostic> diagnostics;
  EXPECT_FALSE(book::PackBook(result.book, &pack, &diagnostics));
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_EQ(book::FormatDiagnostic(diagnostics[0]).rfind("big.txt:13: resource 1007 does not fit", 0), 0u);
}

TEST(BookDump, WritesRecordsAsSourceInReadingOrder) {
  const auto result = Compile(BookWithArticle1(kEveryArticleFeature));
  ASSERT_TRUE(result.ok);
  const Bytes& stream = result.book.articles[0].bytes;
  EXPECT_EQ(book::DumpArticle(1, stream.data(), stream.size()),
            "@article 1\n"
            "title | אב\n"
            "subtitle | ג{\n"
            "p flags=0xC8 param=0x00 | ד ה\n"
            "p flags=0x30 param=0x85 | אב גד\n"
            "cont flags=0x30 param=0x44 | הו\n"
            "cont flags=0x01 param=0xC0 | ז\n"
            "rule 170 flags=0xC7 |\n"
            "rule 0 flags=0x07 |\n"
            "p flags=0x62 param=0x00 | \\s1\\\\2\\x85\\xFF\\s\n"
            "p flags=0x91 param=0x7F | ח\n"
            "p flags=0x04 param=0x00 | \\xE9 A-Z 0.9 |}\n");
}

TEST(BookDump, MarksAStreamThatBreaksOff) {
  const Bytes cut = {0x10, 0x00, 0x61, 0x00, 0x10, 0x00, 0x62};  // second text has no 0
  EXPECT_EQ(book::DumpArticle(3, cut.data(), cut.size()),
            "@article 3\np flags=0x10 param=0x00 | א\n# the stream breaks off at offset 4 of 7\n");
}

TEST(BookDump, DumpsCompileBackToTheSameStreams) {
  const auto original = Compile(BookWithIndex(
      "@index\nheading 0 visible | אב\nheading 1 2167 key=0x8877 | ג\nentry 1 9 key=0x0009 | ד\n"
      "heading 1 4 | ה\nheading 1 4 key=0x8004 | ו\nentry 2 3 bold visible | \\sז\\s\n"));
  ASSERT_TRUE(original.ok) << testing::PrintToString(original.messages);
  const auto article1 = Compile(BookWithArticle1(kEveryArticleFeature));
  ASSERT_TRUE(article1.ok);

  const Bytes& first = article1.book.articles[0].bytes;
  const Bytes& index = original.book.index.bytes;
  std::string source = book::DumpArticle(1, first.data(), first.size());
  for (int n = 2; n <= 286; ++n) {
    const Bytes& s = original.book.articles[size_t(n - 1)].bytes;
    source += book::DumpArticle(n, s.data(), s.size());
  }
  source += book::DumpIndex(index.data(), index.size());
  const auto again = Compile({{"dump.txt", source}});
  ASSERT_TRUE(again.ok) << testing::PrintToString(again.messages);
  EXPECT_EQ(again.book.articles[0].bytes, first);
  EXPECT_EQ(again.book.articles[1].bytes, original.book.articles[1].bytes);
  EXPECT_EQ(again.book.index.bytes, index);
}

}  // namespace
