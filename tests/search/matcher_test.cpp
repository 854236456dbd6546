// The matcher on plain byte strings, and the search of one article's records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "search/search.h"
#include "shell/alloc_or_abort.h"
#include "shell/settings.h"

namespace {

constexpr int kNoMatch = -1;

struct MatchCase {
  const char* what;
  std::string text;
  std::string pattern;
  int from;  // -1: the text's last byte
  int end;   // kNoMatch, or the position of the match's last byte
  int length;
};

class MatchPatternTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchPatternTest, FindsTheHighestMatch) {
  const MatchCase& c = GetParam();
  // Exactly the text's bytes on the heap, so a read outside them is caught by the sanitizer.
  const std::vector<uint8_t> text(c.text.begin(), c.text.end());
  const int from = c.from < 0 ? int(text.size()) - 1 : c.from;
  uint16_t length = 0xABCD;
  const uint8_t* end = MatchPattern(text.data(), reinterpret_cast<const uint8_t*>(c.pattern.c_str()),
                                    text.data() + from, &length);
  if (c.end == kNoMatch) {
    EXPECT_EQ(end, nullptr);
    EXPECT_EQ(length, 0);
    return;
  }
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end - text.data(), c.end);
  EXPECT_EQ(length, c.length);
}

// Patterns are in stored order, as the search string holds them.
INSTANTIATE_TEST_SUITE_P(
    Cases, MatchPatternTest,
    ::testing::Values(
        MatchCase{"Literal", "xxabyy", "ab", -1, 3, 2},
        MatchCase{"HighestOfTwoWins", "abxab", "ab", -1, 4, 2},
        MatchCase{"FromBoundsTheScan", "abxab", "ab", 3, 1, 2},
        MatchCase{"MatchEndingAtFromItself", "abxab", "ab", 4, 4, 2},
        MatchCase{"NothingBelowFrom", "xxab", "ab", 2, kNoMatch, 0},
        MatchCase{"LoneStarIsNothingToLookFor", "a*b", "*", -1, kNoMatch, 0},
        MatchCase{"OnlyStarsAreNothingToLookFor", "a*b", "**", -1, kNoMatch, 0},
        MatchCase{"OneByteStarMatchesNoOtherByte", "ab", "*", -1, kNoMatch, 0},
        MatchCase{"LoneQuestionTakesAnyByte", "ab", "?", -1, 1, 1},
        // Regression: the last stored byte (the first in reading order) was compared
        // literally, so "*" or "?" typed at a word's start found nothing.
        MatchCase{"LastStarIsPassedOver", "ab a*", "a*", -1, 3, 1},
        MatchCase{"LastQuestionTakesAnyByte", "abc", "a?", -1, 1, 2},
        MatchCase{"LastQuestionTakesASpace", "a b", "a?", -1, 1, 2},
        MatchCase{"QuestionTakesAnyByte", "abxd", "ab?d", -1, 3, 4},
        MatchCase{"QuestionTakesASpace", "ab d", "ab?d", -1, 3, 4},
        MatchCase{"QuestionTakesExactlyOne", "abxyd", "ab?d", -1, kNoMatch, 0},
        MatchCase{"StarTakesTheShortestRun", "abxabyd", "ab*d", -1, 6, 4},
        MatchCase{"StarMaySpanNothing", "abd", "ab*d", -1, 2, 3},
        MatchCase{"StarSpansALongRun", "abxxxxd", "ab*d", -1, 6, 7},
        MatchCase{"TwoStars", "aXbYc", "a*b*c", -1, 4, 5},
        MatchCase{"LeadingStarIsPassedOver", "abd", "*d", -1, 2, 1},
        MatchCase{"LeadingStarWithMore", "xabd", "*ab", -1, 2, 2},
        MatchCase{"StarsAtBothEnds", "xaby", "**ab*", -1, 2, 2},
        MatchCase{"StarsInsideStay", "xabyb", "*a*b*", -1, 4, 4},
        // A plain kaf, mem, nun, pe or tsadi also matches its final form; a final form
        // matches only itself.
        MatchCase{"PlainKafTakesFinalKaf", "xk", "xl", -1, 1, 2},
        MatchCase{"PlainMemTakesFinalMem", "xn", "xo", -1, 1, 2},
        MatchCase{"PlainNunTakesFinalNun", "xp", "xq", -1, 1, 2},
        MatchCase{"PlainPeTakesFinalPe", "xt", "xu", -1, 1, 2},
        MatchCase{"PlainTsadiTakesFinalTsadi", "xv", "xw", -1, 1, 2},
        MatchCase{"FinalTakesOnlyItself", "xlxk", "xk", -1, 3, 2},
        MatchCase{"FinalDoesNotTakePlain", "xl", "xk", -1, kNoMatch, 0},
        MatchCase{"FinalDoesNotTakeTheLetterBelowIt", "xj", "xk", -1, kNoMatch, 0},
        MatchCase{"PlainWithoutFinalTakesOnlyItself", "xi", "xj", -1, kNoMatch, 0},
        MatchCase{"FinalInsideAPattern", "ykx", "ylx", -1, 2, 3},
        // The highest of either form wins; the lower candidates of both are tried in turn.
        MatchCase{"HigherFinalBeforeLowerPlain", "xlakxk", "xl", -1, 5, 2},
        MatchCase{"LowerPlainAfterAFailedFinal", "xlakxk", "xl", 4, 1, 2},
        MatchCase{"FinalBelowAFailedPlain", "xkal", "xl", -1, 1, 2},
        MatchCase{"SpaceIsLiteral", "a b", "a?b", -1, 2, 3},
        MatchCase{"WildcardBytesInTextMatchLiterally", "a*b", "a*b", -1, 2, 3},
        // The "?" that ends the part before a star takes any byte too.
        MatchCase{"QuestionBeforeAStar", "ax*bb", "a?*b", -1, 4, 5},
        MatchCase{"QuestionBeforeAStarFromLower", "ax*bb", "a?*b", 3, 3, 4},
        MatchCase{"NoPartBeforeTheStarBelow", "bxab", "ax*b", -1, kNoMatch, 0},
        MatchCase{"PatternLongerThanText", "ab", "xab", -1, kNoMatch, 0},
        MatchCase{"EmptyPatternFindsNoZero", "abc", "", -1, kNoMatch, 0},
        MatchCase{"ThirtyThreeBytes", "x" + std::string(33, 'q'), std::string(33, 'q'), -1, 33, 33},
        MatchCase{"ThirtyThreeWithWildcards", "abcdefghijklmnopqrstuvwxyz0123456",
                  "a?c*efghijklmnopqrstuvwxyz0123?56", -1, 32, 33},
        MatchCase{"ThirtyFourBytesMatchNothing", std::string(40, 'q'), std::string(34, 'q'), -1, kNoMatch, 0}),
    [](const ::testing::TestParamInfo<MatchCase>& param) { return std::string(param.param.what); });

TEST(MatchPatternLimits, FromBelowTextBeginOrNoLengthWanted) {
  const uint8_t text[] = {'a', 'b'};
  const uint8_t pattern[] = {'b', 0};
  EXPECT_EQ(MatchPattern(text + 1, pattern, text, nullptr), nullptr);
  EXPECT_EQ(MatchPattern(text, pattern, text + 1, nullptr), text + 1);
}

// --- One article ------------------------------------------------------------------------

struct Record {
  uint8_t flags;
  std::string text;
};

// A ParagraphStream with its final 0, exactly sized on the heap.
std::vector<uint8_t> Stream(const std::vector<Record>& records, bool terminated = true) {
  std::vector<uint8_t> s;
  for (const Record& r : records) {
    s.push_back(r.flags);
    s.push_back(0);
    s.insert(s.end(), r.text.begin(), r.text.end());
    s.push_back(0);
  }
  if (terminated) s.push_back(0);
  return s;
}

class SearchArticleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    ResetSettingsState();
  }
  void TearDown() override { EXPECT_EQ(fake::LiveBlocks(), 0) << "the record list leaked"; }

  uint16_t Search(const std::vector<uint8_t>& article, uint16_t start, const char* pattern) {
    return SearchArticle(article.data(), uint32_t(article.size()), start, reinterpret_cast<const uint8_t*>(pattern),
                         &length_);
  }
  uint16_t length_ = 0;
};

// Offsets: record 1 text at 2..5 ("abcd", 0 at 6), record 2 at 9..12 ("xbcy", 0 at 13),
// record 3 (a rule) at 16..18 ("bc!", 0 at 19).
const std::vector<Record> kThree = {{0x11, "abcd"}, {0x01, "xbcy"}, {0x07, "bc!"}};

TEST_F(SearchArticleTest, FirstRecordFromItsEnd) {
  const auto a = Stream(kThree);
  EXPECT_EQ(Search(a, 0, "bc"), 4);
  EXPECT_EQ(length_, 2);
}

TEST_F(SearchArticleTest, StartInsideARecordSearchesDownFromThere) {
  const auto a = Stream(kThree);
  EXPECT_EQ(Search(a, 4, "bc"), 4);   // a match may end at start itself
  EXPECT_EQ(Search(a, 3, "bc"), 11);  // below it in record 1: none, so record 2 from its end
  EXPECT_EQ(Search(a, 11, "bc"), 11);
  EXPECT_EQ(Search(a, 10, "bc"), 17);  // then the rule record: records of every kind count
  EXPECT_EQ(Search(a, 18, "c!"), 18);
  EXPECT_EQ(Search(a, 17, "c!"), 0);
  EXPECT_EQ(Search(a, 16, "bc"), 0);
  EXPECT_EQ(length_, 0);
}

TEST_F(SearchArticleTest, StartOnATerminatorOrFlagsSearchesThatRecordOrTheNextWhole) {
  const auto a = Stream(kThree);
  EXPECT_EQ(Search(a, 6, "bc"), 4);   // record 1's 0
  EXPECT_EQ(Search(a, 7, "bc"), 11);  // record 2's flags byte
  EXPECT_EQ(Search(a, 7, "xb"), 10);
  EXPECT_EQ(Search(a, 8, "y"), 12);   // its parameter byte
}

TEST_F(SearchArticleTest, StartPastTheEndFindsNothing) {
  const auto a = Stream(kThree);
  EXPECT_EQ(Search(a, kStartPastEnd, "b"), 0);
  EXPECT_EQ(Search(a, 20, "b"), 0);
}

TEST_F(SearchArticleTest, NoMatchAcrossRecords) {
  const auto a = Stream({{0x11, "ab"}, {0x11, "cd"}});
  EXPECT_EQ(Search(a, 0, "b*c"), 0);
  EXPECT_EQ(Search(a, 0, "bc"), 0);
  EXPECT_EQ(Search(Stream({{0x11, "abcd"}}), 0, "b*c"), 4);
}

TEST_F(SearchArticleTest, EmptyRecordsAndEmptyArticle) {
  EXPECT_EQ(Search(Stream({{0x11, ""}, {0x11, "q"}}), 0, "q"), 5);
  EXPECT_EQ(Search(Stream({}), 0, "q"), 0);
  EXPECT_EQ(SearchArticle(nullptr, 0, 0, reinterpret_cast<const uint8_t*>("q"), &length_), 0);
}

// Arbitrary bytes: a record whose text has no 0 inside the data ends the walk, and the
// stream need not end with a 0 flags byte.
TEST_F(SearchArticleTest, NeverReadsPastTheData) {
  const auto unterminated = Stream({{0x11, "ab"}, {0x11, "cq"}}, false);
  EXPECT_EQ(Search(unterminated, 0, "q"), 8);
  std::vector<uint8_t> cut(unterminated.begin(), unterminated.end() - 1);  // record 2 without its 0
  EXPECT_EQ(Search(cut, 0, "q"), 0);
  EXPECT_EQ(Search(cut, 0, "a"), 2);
  const std::vector<uint8_t> tiny = {0x11, 0x00};
  EXPECT_EQ(Search(tiny, 0, "q"), 0);
}

TEST_F(SearchArticleTest, ListHasOneNodePerRecordInOrder) {
  const auto a = Stream(kThree);
  ParagraphSpan* list = nullptr;
  ASSERT_TRUE(BuildParagraphSpans(a.data(), uint32_t(a.size()), &list));
  std::vector<std::pair<long, long>> spans;
  for (const ParagraphSpan* s = list; s; s = s->next) spans.emplace_back(s->record - a.data(), s->textEnd - a.data());
  FreeParagraphSpans(list);
  EXPECT_EQ(spans, (std::vector<std::pair<long, long>>{{0, 6}, {7, 13}, {14, 19}}));
}

int gOutOfMemoryRuns = 0;

TEST_F(SearchArticleTest, OutOfMemoryTellsTheUserAndFindsNothing) {
  const auto a = Stream(kThree);
  gOutOfMemoryRuns = 0;
  const OutOfMemoryHandler previous = SetOutOfMemoryHandler([] { ++gOutOfMemoryRuns; });
  fake::FailAllocation(2);  // the second node
  bool outOfMemory = false;
  EXPECT_EQ(SearchArticle(a.data(), uint32_t(a.size()), 0, reinterpret_cast<const uint8_t*>("bc"), &length_,
                          &outOfMemory),
            0);
  EXPECT_TRUE(outOfMemory);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"There is not enough memory, aborting");
  EXPECT_EQ(gOutOfMemoryRuns, 1);
  SetOutOfMemoryHandler(previous);
}

// Offsets are 16 bits: data past 65536 bytes is not looked at.
TEST_F(SearchArticleTest, OnlyTheFirst65536BytesCount) {
  // Record 2's 0 would sit at 65536.
  const auto a = Stream({{0x11, std::string(65529, 'x') + "q"}, {0x11, "q"}});
  ASSERT_EQ(a.size(), 65538u);
  EXPECT_EQ(Search(a, 0, "q"), 65531);
  EXPECT_EQ(Search(a, 65533, "q"), 0);
  // One byte shorter, record 2 ends at 65535 and is searched.
  const auto b = Stream({{0x11, std::string(65528, 'x') + "q"}, {0x11, "q"}});
  EXPECT_EQ(Search(b, 65532, "q"), 65534);
}

}  // namespace
