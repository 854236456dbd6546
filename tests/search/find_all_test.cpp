// The book listing behind `solmar --find`: patterns from reading order, every hit of an
// article, the matched text in reading order, and the walk over the book.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/article.h"
#include "shell/reader_settings.h"
#include "platform/fake/fake_platform.h"
#include "search/find_all.h"
#include "search/search.h"
#include "support/article_resource.h"

namespace {

// Letter-code bytes of some Hebrew letters.
constexpr uint8_t kAlef = 0x61, kBet = 0x62, kYod = 0x6A, kResh = 0x79, kShin = 0x7A, kTav = 0x7B;

std::vector<uint8_t> Stored(const std::u16string& readingOrder, PatternError* error = nullptr,
                            char32_t* badUnit = nullptr) {
  uint8_t buffer[kSearchStringSize];
  std::memset(buffer, 0xEE, sizeof buffer);
  const PatternError e = StoredPatternFromReadingOrder(readingOrder.c_str(), buffer, badUnit);
  if (error) *error = e;
  if (e != PatternError::kNone) return {};
  return std::vector<uint8_t>(buffer, buffer + std::strlen(reinterpret_cast<const char*>(buffer)));
}

class FindAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    ResetReaderSettings();
  }
  void TearDown() override { EXPECT_EQ(fake::LiveBlocks(), 0); }
};

TEST_F(FindAllTest, PatternIsReversedIntoTheLetterCode) {
  EXPECT_EQ(Stored(u"בראשית"), (std::vector<uint8_t>{kTav, kYod, kShin, kAlef, kResh, kBet}));
  EXPECT_EQ(Stored(u"ב?א*"), (std::vector<uint8_t>{kAlef, '?', kBet}));  // the star at the end goes
  EXPECT_EQ(Stored(u"*ב*א?"), (std::vector<uint8_t>{'?', kAlef, '*', kBet}));
  EXPECT_EQ(Stored(u"א  ב"), (std::vector<uint8_t>{kBet, ' ', kAlef}));  // runs of spaces become one
  // Turned round as the book stores its text: the number keeps its order, brackets mirror.
  EXPECT_EQ(Stored(u"א-12:"), (std::vector<uint8_t>{':', '1', '2', '-', kAlef}));
  EXPECT_EQ(Stored(u"[בא]"), (std::vector<uint8_t>{'[', kAlef, kBet, ']'}));
  EXPECT_EQ(Stored(u"(א{"), (std::vector<uint8_t>{'}', kAlef, ')'}));  // "{" is stored as 0x7E, mirrored "}"
  EXPECT_EQ(Stored(u"}"), (std::vector<uint8_t>{0x7E}));
  EXPECT_EQ(Stored(std::u16string(33, u'ת')), std::vector<uint8_t>(33, kTav));
}

// Whatever letter base the reader uses for its font, the command line's is Unicode's.
TEST_F(FindAllTest, PatternIgnoresTheReadersLetterBase) {
  gReaderSettings.fontSpec.fontAsciiBase = 224;
  EXPECT_EQ(Stored(u"א"), (std::vector<uint8_t>{kAlef}));
  EXPECT_EQ(gReaderSettings.fontSpec.fontAsciiBase, 224);
}

TEST_F(FindAllTest, BadPatternsAreRefused) {
  struct Case {
    std::u16string pattern;
    PatternError error;
    char32_t badUnit;
  };
  const Case cases[] = {
      {u"", PatternError::kEmpty, 0},
      {u"**", PatternError::kEmpty, 0},
      {u"\u05B0\u200F", PatternError::kEmpty, 0},  // a point and a mark: nothing to look for
      {std::u16string(34, u'א'), PatternError::kTooLong, 0},
      {u"אa", PatternError::kNotInLetterCode, u'a'},  // its byte is alef's
      {u"~", PatternError::kNotInLetterCode, u'~'},   // the stored "{"
      {u"\u05EB", PatternError::kNotInLetterCode, u'\u05EB'},
      {u"\u05CF", PatternError::kNotInLetterCode, u'\u05CF'},
      {u"\u0100", PatternError::kNotInLetterCode, u'\u0100'},
      {u"\uFFFD", PatternError::kNotInLetterCode, u'\uFFFD'},  // what invalid UTF-8 becomes
  };
  for (const Case& c : cases) {
    PatternError error = PatternError::kNone;
    char32_t bad = 0;
    EXPECT_TRUE(Stored(c.pattern, &error, &bad).empty());
    EXPECT_EQ(error, c.error) << std::string(c.pattern.begin(), c.pattern.end());
    EXPECT_EQ(bad, c.badUnit);
  }
}

// The limit of 33 counts what is left once marks are dropped, spaces joined and the stars at
// the ends taken off: 33 pointed letters are a pattern, 34 plain ones are not.
TEST_F(FindAllTest, TheLengthLimitCountsTheNormalisedPattern) {
  std::u16string pointed;
  for (int i = 0; i < 33; ++i) pointed += u"\u05E9\u05C1\u05B8";
  EXPECT_EQ(Stored(pointed), std::vector<uint8_t>(33, kShin));
  EXPECT_EQ(Stored(u"*" + std::u16string(33, u'ת') + u"**"), std::vector<uint8_t>(33, kTav));
  PatternError error = PatternError::kNone;
  EXPECT_TRUE(Stored(u"א" + std::u16string(32, u'-') + u"ב", &error).empty());
  EXPECT_EQ(error, PatternError::kTooLong);
}

// Reading "(אב 12)" is stored by the book as "(12 בא)": reversed, brackets mirrored, the
// number kept in its own order.
TEST_F(FindAllTest, ReadingOrderUndoesTheStoredOrder) {
  const uint8_t rtl[] = {'(', '1', '2', ' ', kBet, kAlef, ')'};
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x10, 0, 7), u"(אב 12)");
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x10, 1, 2), u"12");
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x10, 4, 2), u"אב");
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x10, 2, 3), u"ב 2");
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x01, 4, 3), u"בא)");  // left to right: the stored order
  EXPECT_EQ(ReadingOrderText(rtl, 7, 0x10, 5, 3), u"");     // past the text
  // A run of one digit next to a bracket: only the digit is a run.
  const uint8_t single[] = {'(', '1', ' ', kAlef, ')'};
  EXPECT_EQ(ReadingOrderText(single, 5, 0x10, 0, 5), u"(א 1)");
  // Digits joined by ":" are one run; a ":" at the run's end is not part of it.
  const uint8_t verse[] = {':', '1', ':', '2', '3', ' ', kBet};
  EXPECT_EQ(ReadingOrderText(verse, 7, 0x10, 0, 7), u"ב 1:23:");
}

struct Record {
  uint8_t flags;
  std::vector<uint8_t> text;
};

std::vector<uint8_t> Stream(const std::vector<Record>& records) {
  std::vector<uint8_t> s;
  for (const Record& r : records) {
    s.push_back(r.flags);
    s.push_back(0);
    s.insert(s.end(), r.text.begin(), r.text.end());
    s.push_back(0);
  }
  s.push_back(0);
  return s;
}

std::vector<BookHit> HitsIn(const std::vector<uint8_t>& article, const char* pattern) {
  std::vector<BookHit> hits;
  const long n = FindAllInArticle(article.data(), uint32_t(article.size()), 7,
                                  reinterpret_cast<const uint8_t*>(pattern),
                                  [&](const BookHit& hit) { hits.push_back(hit); });
  EXPECT_EQ(n, long(hits.size()));
  return hits;
}

// Every hit of every record: records in order, in each from the top down, each next search
// starting just below the last hit. Regression: it started one below the last hit's end, so
// the list held overlapping hits that Search Again never visits, and its count was not the
// number of F3 steps.
TEST_F(FindAllTest, EveryHitRecordByRecordFromTheTopDownWithoutOverlaps) {
  // Record 1 text at 2..6, record 2 at 10..12.
  const auto article = Stream({{0x10, {kAlef, kAlef, kAlef, kAlef, kBet}}, {0x10, {kAlef, kAlef, kAlef}}});
  const std::vector<BookHit> hits = HitsIn(article, "aa");
  ASSERT_EQ(hits.size(), 3u);
  const uint16_t ends[] = {5, 3, 12};
  for (size_t i = 0; i < hits.size(); ++i) {
    EXPECT_EQ(hits[i].article, 7);
    EXPECT_EQ(hits[i].endOffset, ends[i]);
    EXPECT_EQ(hits[i].length, 2);
    EXPECT_EQ(hits[i].readingText, u"אא");
  }
}

TEST_F(FindAllTest, WildcardHitsAndTheirText) {
  const auto article = Stream({{0x10, {kBet, ' ', kAlef, '-', kShin}}});
  const std::vector<BookHit> hits = HitsIn(article, "b*z");  // stored order: bet ... shin
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].endOffset, 6);
  EXPECT_EQ(hits[0].length, 5);
  EXPECT_EQ(hits[0].readingText, u"ש-א ב");
  // A star at either end adds nothing: the hit is the letter alone.
  const std::vector<BookHit> shin = HitsIn(article, "*z*");
  ASSERT_EQ(shin.size(), 1u);
  EXPECT_EQ(shin[0].endOffset, 6);
  EXPECT_EQ(shin[0].length, 1);
}

TEST_F(FindAllTest, HitAtTheTextsFirstByteEndsTheRecord) {
  const auto article = Stream({{0x10, {kAlef, kBet}}, {0x10, {kAlef}}});
  const std::vector<BookHit> hits = HitsIn(article, "a");
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].endOffset, 2);
  EXPECT_EQ(hits[1].endOffset, 7);
}

// Arbitrary bytes: a record without its 0 inside the data is not searched.
TEST_F(FindAllTest, NeverReadsPastTheData) {
  std::vector<uint8_t> article = {0x10, 0, kAlef, 0, 0x10, 0, kAlef, kAlef};
  EXPECT_EQ(HitsIn(article, "a").size(), 1u);
  EXPECT_TRUE(HitsIn({0x10}, "a").empty());
  EXPECT_EQ(FindAllInArticle(nullptr, 0, 1, reinterpret_cast<const uint8_t*>("a"), [](const BookHit&) {}), 0);
}

TEST_F(FindAllTest, BookInArticleOrderPassingOverWhatCannotLoad) {
  for (int n : {5, 3, 9}) {
    const auto stream = Stream({{0x10, {uint8_t('0' + n), kAlef}}});
    fake::AddResource(kArticleResourceBase + uint32_t(n), platform::kResourceTypeRawData,
                      test_support::ArticleResource(test_support::LiteralTokens(stream), uint16_t(stream.size())));
  }
  fake::FailResourceLoad(kArticleResourceBase + 9);
  std::vector<BookHit> hits;
  const BookSearchCount count =
      FindAllInBook(reinterpret_cast<const uint8_t*>("?a"), [&](const BookHit& hit) { hits.push_back(hit); });
  EXPECT_EQ(count.hits, 2);
  EXPECT_EQ(count.unreadableArticles, 284);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].article, 3);
  EXPECT_EQ(hits[0].readingText, u"א3");
  EXPECT_EQ(hits[1].article, 5);
}

}  // namespace
