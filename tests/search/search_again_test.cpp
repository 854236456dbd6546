// Search Again on the fake backend: the walk through the book, where it starts in the active
// pane, the pane the hit goes to, and how the hit is shown.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "search/search.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

// Article n as the shell fixture makes it (a first paragraph "n<number>", then "w1", "w2",
// ... one row each), with some paragraphs' text replaced.
std::vector<uint8_t> ArticleStream(int n, int paragraphs, const std::map<int, std::string>& replaced,
                                   uint8_t firstFlags = 0x01) {
  std::vector<uint8_t> stream;
  for (int i = 0; i < paragraphs; ++i) {
    std::string text = i == 0 ? "n" + std::to_string(n) : "w" + std::to_string(i);
    if (auto it = replaced.find(i); it != replaced.end()) text = it->second;
    stream.push_back(i == 0 ? firstFlags : 0x01);
    stream.push_back(0x00);
    stream.insert(stream.end(), text.begin(), text.end());
    stream.push_back(0);
  }
  stream.push_back(0);
  return stream;
}

void PutArticle(int n, const std::map<int, std::string>& replaced, uint8_t firstFlags = 0x01) {
  fake::AddResource(kArticleResourceBase + uint32_t(n), platform::kResourceTypeRawData,
                    ArticleResource(ArticleStream(n, n % 2 ? kPageRows : kCommentaryRows, replaced, firstFlags)));
}

// The stored offset of paragraph i's text in article n as PutArticle made it.
uint16_t TextOffset(int n, const std::map<int, std::string>& replaced, int i) {
  const std::vector<uint8_t> s = ArticleStream(n, n % 2 ? kPageRows : kCommentaryRows, replaced);
  uint32_t at = 0;
  for (int k = 0; k < i; ++k) {
    at += 2;
    while (s[at]) ++at;
    ++at;
  }
  return uint16_t(at + 2);
}

// What the reader shows after a search: the current article, the active pane, the
// articles in both panes.
struct Place {
  int lesson;
  bool lowerActive;
  int upper;
  int lower;
  bool operator==(const Place&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Place& p) {
  return out << "{lesson " << p.lesson << (p.lowerActive ? ", lower active" : ", upper active") << ", showing "
             << p.upper << " / " << p.lower << "}";
}

class SearchAgainTest : public ShellTest {
 protected:
  void SetPattern(const std::string& pattern) {
    std::memset(gReaderSettings.searchString, 0, kSearchStringSize);
    std::memcpy(gReaderSettings.searchString, pattern.data(), pattern.size());
  }
  Place Now() const {
    return {gReaderSettings.lesson, gPaneState.activeView == Lower(), ArticleIn(Upper()), ArticleIn(Lower())};
  }
  // Searches repeatedly; every search must show a hit.
  std::vector<Place> Walk(int searches) {
    std::vector<Place> places;
    for (int i = 0; i < searches; ++i) {
      EXPECT_EQ(SearchAgain(window_), 1) << "search " << i + 1;
      places.push_back(Now());
    }
    return places;
  }
  static uint16_t HighlightStart(const PageView* v) { return v->highlightStart; }

  // The word every walk test looks for, one paragraph of its own in these articles.
  void PutWalkBook() {
    PutArticle(1, {{30, "zz"}});
    PutArticle(2, {{3, "zz"}});
    PutArticle(4, {{5, "zz"}});
    PutArticle(9, {{2, "zz"}});
    PutArticle(285, {{39, "zz"}});
    PutArticle(286, {{1, "zz"}});
    SetPattern("zz");
  }
};

TEST_F(SearchAgainTest, WalksOnInReadingOrderAndWrapsAfter286) {
  PutWalkBook();
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Walk(7), (std::vector<Place>{
                         {1, false, 1, 2},      // further down the page itself
                         {1, true, 1, 2},       // its commentary: the lower pane, no reload
                         {3, true, 3, 4},       // another page's commentary: its page above
                         {9, false, 9, 10},     // a page: its commentary below
                         {285, false, 285, 286},
                         {285, true, 285, 286},
                         {1, false, 1, 2},      // after 286 comes 1
                     }));
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(SearchAgainTest, LowerPaneHiddenSkipsCommentaries) {
  PutWalkBook();
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Walk(4), (std::vector<Place>{{1, false, 1, 2}, {9, false, 9, 10}, {285, false, 285, 286},
                                          {1, false, 1, 2}}));
}

// From 285 with the lower pane hidden the walk goes 1, 3, ..., 283 and ends with 285 from
// its beginning; 2 and 284 hold the word but are never shown.
TEST_F(SearchAgainTest, From285WithLowerPaneHidden) {
  PutArticle(2, {{3, "zz"}});
  PutArticle(284, {{3, "zz"}});
  PutArticle(285, {{1, "zz"}});
  SetPattern("zz");
  Put(u"BottomSection", 1);
  Put(u"Lesson", 285);
  ASSERT_NE(Start(), nullptr);
  Upper()->topRow = Upper()->maxTopRow;  // nothing of 285 lies below the top line

  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{285, false, 285, 286}));
  EXPECT_EQ(HighlightStart(Upper()), TextOffset(285, {{1, "zz"}}, 1));

  PutArticle(1, {{4, "zz"}});
  PutArticle(283, {{4, "zz"}});
  EXPECT_EQ(Walk(3), (std::vector<Place>{{1, false, 1, 2}, {283, false, 283, 284}, {285, false, 285, 286}}));
}

// With no highlight and the pane at its last top row, the rest of the article is passed
// over, even a hit on screen below the top line: the walk begins with the next article.
TEST_F(SearchAgainTest, AtTheLastTopRowTheWalkBeginsWithTheNextArticle) {
  PutArticle(1, {{35, "zz"}});
  PutArticle(3, {{2, "zz"}});
  SetPattern("zz");
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  Upper()->topRow = Upper()->maxTopRow;
  ASSERT_LT(Upper()->maxTopRow, 35);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{3, false, 3, 4}));
  // One row higher the same hit is found in article 1 itself.
  ASSERT_EQ(GoToArticle(window_, 1), 0);
  Upper()->topRow = uint16_t(Upper()->maxTopRow - 1);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{1, false, 1, 2}));
  EXPECT_EQ(Upper()->highlightStart, TextOffset(1, {{35, "zz"}}, 35));
}

TEST_F(SearchAgainTest, ArticleThatCannotLoadIsSkippedSilently) {
  PutArticle(3, {{2, "zz"}});
  PutArticle(5, {{2, "zz"}});
  SetPattern("zz");
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  fake::FailResourceLoad(kArticleResourceBase + 3);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{5, false, 5, 6}));
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// An article the pane would refuse (its first record has no text) cannot show a hit: it is
// passed over like one that cannot be loaded, and nothing changes on its account.
TEST_F(SearchAgainTest, ArticleThePaneRefusesIsSkipped) {
  PutArticle(3, {{0, ""}, {2, "zz"}});
  PutArticle(5, {{2, "zz"}});
  SetPattern("zz");
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{5, false, 5, 6}));
}

TEST_F(SearchAgainTest, ShowsTheHitScrolledHighlightedWithMarkAndBanner) {
  const std::map<int, std::string> text = {{0, "n9 title"}, {20, "ab zz cd"}};
  PutArticle(9, text, 0xDC);
  SetPattern("zz");
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(GoToArticle(window_, 9), 0);
  Command(kCmdBookmark);
  ASSERT_EQ(GoToArticle(window_, 1), 0);
  EXPECT_FALSE(Checked(kCmdBookmark));
  fake::ClearDrawCalls();

  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{9, false, 9, 10}));
  EXPECT_EQ(Upper()->topRow, 21);  // the title takes two rows
  const uint16_t zz = uint16_t(TextOffset(9, text, 20) + 3);
  EXPECT_EQ(Upper()->highlightStart, zz);
  EXPECT_EQ(Upper()->highlightEnd, zz + 2);
  EXPECT_TRUE(Checked(kCmdBookmark));

  // The upper pane erased and painted, then the highlight drawn, then the banner last.
  const std::vector<fake::DrawCall>& calls = fake::DrawCalls();
  auto first = [&](auto predicate) {
    for (size_t i = 0; i < calls.size(); ++i)
      if (predicate(calls[i])) return int(i);
    return -1;
  };
  const int erase = first([&](const fake::DrawCall& c) {
    return c.op == fake::DrawOp::kFill && c.stockBrush == platform::kStockWhiteBrush && c.rect.top == Upper()->y;
  });
  const int highlight = first([](const fake::DrawCall& c) {
    return c.op == fake::DrawOp::kText && c.textColour == kHighlightTextColour &&
           c.backgroundColour == kHighlightBackColour && c.text.size() == 2;
  });
  const int banner = first([](const fake::DrawCall& c) {
    return c.op == fake::DrawOp::kFill && c.stockBrush == -1 && c.brushColour == 0x00FFFF;
  });
  ASSERT_GE(erase, 0);
  ASSERT_GT(highlight, erase);
  ASSERT_GT(banner, highlight);
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kText).back().textColour, 0x0000FFu) << "the banner's title is last";
}

TEST_F(SearchAgainTest, OnlyOccurrenceIsHighlightedAgain) {
  PutArticle(1, {{5, "zz"}});
  SetPattern("zz");
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(SearchAgain(window_), 1);
  const uint16_t start = Upper()->highlightStart;
  const uint16_t top = Upper()->topRow;
  fake::ClearDrawCalls();
  EXPECT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Upper()->highlightStart, start);
  EXPECT_EQ(Upper()->topRow, top);
  EXPECT_FALSE(fake::DrawCallsOf(fake::DrawOp::kText).empty());
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(SearchAgainTest, NothingFoundTellsTheOwnerAndChangesNothing) {
  SetPattern("qqq");
  ASSERT_NE(Start(), nullptr);
  Upper()->topRow = 4;
  platform::Window* owner = gPaneState.upperScrollBar;  // any window but the main one
  EXPECT_EQ(SearchAgain(owner), 0);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  const fake::RecordedMessageBox& box = fake::MessageBoxes()[0];
  EXPECT_EQ(box.owner, owner);
  EXPECT_EQ(box.text, u"Not Found!");
  EXPECT_TRUE(box.hasCaption);
  EXPECT_EQ(box.caption, u"Solmar");
  EXPECT_EQ(box.buttons, platform::kMbOk);
  EXPECT_EQ(box.icon, 0u);
  EXPECT_EQ(Now(), (Place{1, false, 1, 2}));
  EXPECT_EQ(Upper()->topRow, 4);
  EXPECT_EQ(Upper()->highlightEnd, 0);
}

// Regression: a star at either end of the stored string (a string stored before the
// dialog took them off) made the search end with "Not Found!". They are passed over.
TEST_F(SearchAgainTest, StarsAtTheEndsArePassedOver) {
  PutArticle(3, {{2, "zz"}});
  SetPattern("*z*");
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_EQ(gReaderSettings.lesson, 3);
  EXPECT_EQ(Upper()->highlightStart, TextOffset(3, {{2, "zz"}}, 2) + 1);
  EXPECT_EQ(Upper()->highlightEnd, TextOffset(3, {{2, "zz"}}, 2) + 2);
}

TEST_F(SearchAgainTest, EmptyStringDoesNothing) {
  ASSERT_NE(Start(), nullptr);
  fake::ClearDrawCalls();
  SetPattern("");
  EXPECT_EQ(SearchAgain(window_), 0);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_TRUE(fake::DrawCalls().empty());
  EXPECT_EQ(Now(), (Place{1, false, 1, 2}));
}

// --- Where the search starts in the active pane ------------------------------------------

class StartOffsetTest : public SearchAgainTest {
 protected:
  void SetUp() override {
    SearchAgainTest::SetUp();
    PutArticle(1, text_);
    ASSERT_NE(Start(), nullptr);
  }
  const LineRecord& Line(int i) const { return Upper()->lines[i]; }
  uint32_t LineEnd(int i) const { return uint32_t(Line(i).offset) + Line(i).length; }
  void Highlight(uint16_t start, uint16_t end) {
    Upper()->highlightStart = start;
    Upper()->highlightEnd = end;
  }
  const std::map<int, std::string> text_ = {{10, "ab zz cd"}};
};

TEST_F(StartOffsetTest, NoHighlightStartsAtTheTopLinesHighestByte) {
  EXPECT_EQ(SearchStartOffset(), LineEnd(0) - 1);
  Upper()->topRow = 10;
  EXPECT_EQ(SearchStartOffset(), LineEnd(10) - 1);
}

TEST_F(StartOffsetTest, AtTheLastTopRowWithoutHighlightTheArticleIsDone) {
  Upper()->topRow = Upper()->maxTopRow;
  EXPECT_EQ(SearchStartOffset(), kStartPastEnd);
}

TEST_F(StartOffsetTest, HighlightOnTheTopLineContinuesBelowIt) {
  Upper()->topRow = 10;
  const uint16_t zz = uint16_t(Line(10).offset + 3);
  Highlight(zz, zz + 2);
  EXPECT_EQ(SearchStartOffset(), zz - 1);
  // Ending at the line's end still counts as on the line.
  Highlight(uint16_t(LineEnd(10) - 2), uint16_t(LineEnd(10)));
  EXPECT_EQ(SearchStartOffset(), LineEnd(10) - 3);
}

TEST_F(StartOffsetTest, HighlightElsewhereStartsAtTheTopLine) {
  Upper()->topRow = 5;
  const uint16_t zz = uint16_t(Line(10).offset + 3);
  Highlight(zz, zz + 2);
  EXPECT_EQ(SearchStartOffset(), LineEnd(5) - 1);
}

// A hit that begins at the top line's lowest stored byte ends the line in reading order:
// the search goes on from the end of the line after it, not in the same line again.
TEST_F(StartOffsetTest, HitAtTheTopLinesLowestByteGoesOnFromTheNextLine) {
  Upper()->topRow = 10;
  Highlight(Line(10).offset, uint16_t(Line(10).offset + 2));
  EXPECT_EQ(SearchStartOffset(), LineEnd(11));
}

// Regression: a highlight that begins its record's text, with its line not the top line
// (the pane stops at its last top row near an article's end), gave the record's parameter
// byte as the start, so the whole record was searched again and Search Again showed the
// same hit for ever. It goes on with the next record.
TEST_F(StartOffsetTest, HitStartingItsRecordBelowTheTopLineGoesOnWithTheNextRecord) {
  PutArticle(1, {{30, "zz"}});
  ASSERT_EQ(ReloadCurrentArticle(window_), 0);
  Upper()->topRow = Upper()->maxTopRow;
  ASSERT_LT(Upper()->maxTopRow, 30);
  Highlight(Line(30).offset, uint16_t(Line(30).offset + 2));
  EXPECT_EQ(SearchStartOffset(), Line(31).offset - 2);
}

// The empty row after a paragraph counts as the line below it, as painting does.
TEST_F(StartOffsetTest, EmptyRowAfterAParagraphBelongsToTheNextLine) {
  std::vector<uint8_t> stream = ArticleStream(3, kPageRows, {});
  stream[TextOffset(3, {}, 4) - 2] = 0x81;  // paragraph 4 is followed by an empty row
  fake::AddResource(kArticleResourceBase + 3, platform::kResourceTypeRawData, ArticleResource(stream));
  ASSERT_EQ(GoToArticle(window_, 3), 0);
  Upper()->topRow = 5;  // the empty row
  EXPECT_EQ(SearchStartOffset(), LineEnd(5) - 1);
  EXPECT_EQ(Line(5).offset, TextOffset(3, {}, 5));
}

// Regression: with the top line the article's last, a hit at its lowest byte sent the
// search back to the start of the same article (the end entry gave 0), so Search Again
// went round the one article's hits and never reached the next article.
TEST_F(SearchAgainTest, HitEndingTheLastLineMovesOnToTheNextArticle) {
  // A one-line article: that line is the top line and the last.
  fake::AddResource(kArticleResourceBase + 7, platform::kResourceTypeRawData,
                    ArticleResource({0x01, 0x00, 'z', 'z', ' ', 'z', 'z', 0x00, 0x00}));
  PutArticle(9, {{3, "zz"}});
  SetPattern("zz");
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(GoToArticle(window_, 7), 0);
  // The lower of its two hits is highlighted (the higher one, 5..6, is above it).
  Upper()->highlightStart = 2;
  Upper()->highlightEnd = 4;
  EXPECT_EQ(SearchStartOffset(), kStartPastEnd);
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(gReaderSettings.lesson, 9);
}

// F3 through a right-to-left verse that wraps over several rows, with its number as the
// lead word of its first row (stored after the row proper, up to the record's end): every
// yod is visited once, in reading order, the number's included, before the search comes
// round again. Regression: where Search Again started in the pane ignored that the lead
// word lies above offset + length, so the number was skipped when the hit before it ended
// the line above, or when the numbered row was the top line without the highlight.
TEST_F(SearchAgainTest, F3VisitsEveryHitOfANumberedWrappingVerseOnceInReadingOrder) {
  // Reading order: a line ending in yod, then verse "yod-bet" with 30 words "yod-dalet".
  std::string before = "d j";
  std::string verse = "jb";
  for (int i = 0; i < 30; ++i) verse += " jd";
  std::vector<uint8_t> stream;
  for (const auto& [flags, param, reading] : {std::tuple{0x30, 0x00, before}, std::tuple{0x30, 0x40, verse}}) {
    stream.push_back(uint8_t(flags));
    stream.push_back(uint8_t(param));
    stream.insert(stream.end(), reading.rbegin(), reading.rend());  // stored turned round
    stream.push_back(0);
  }
  stream.push_back(0);
  std::vector<uint16_t> expected;  // every yod from the highest stored byte down, record by record
  const uint16_t verseText = uint16_t(2 + before.size() + 1 + 2);
  expected.push_back(2);  // the first record's one yod: its lowest byte, ending its line
  for (size_t i = verse.size(); i-- > 0;) {
    if (stream[verseText + i] == 'j') expected.push_back(uint16_t(verseText + i));
  }
  ASSERT_EQ(expected.size(), 32u);
  fake::AddResource(kArticleResourceBase + 3, platform::kResourceTypeRawData, ArticleResource(stream));
  SetPattern("j");
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(GoToArticle(window_, 3), 0);
  // The verse wraps, and its first row carries the number as its lead word.
  int verseRows = 0;
  for (const LineRecord* line = Upper()->lines; !LineRecordIsEnd(*line); ++line) {
    if (line->offset < verseText) continue;
    if (verseRows++ == 0) {
      EXPECT_GT(line->leadWidth, 0);
    }
  }
  ASSERT_GE(verseRows, 3);

  std::vector<uint16_t> visited;
  for (size_t i = 0; i <= expected.size(); ++i) {
    ASSERT_EQ(SearchAgain(window_), 1) << "search " << i + 1;
    ASSERT_EQ(gReaderSettings.lesson, 3);
    EXPECT_EQ(Upper()->highlightEnd, Upper()->highlightStart + 1);
    visited.push_back(Upper()->highlightStart);
  }
  expected.push_back(expected.front());  // round again
  EXPECT_EQ(visited, expected);
}

// Without panes (no window yet) nothing can be shown: a hit's copy is freed, not leaked.
TEST_F(SearchAgainTest, WithoutPanesNothingIsShown) {
  EXPECT_EQ(SearchStartOffset(), kStartPastEnd);
  PutArticle(3, {{2, "zz"}});
  SetPattern("zz");
  EXPECT_EQ(SearchAgain(nullptr), 0);
}

// --- The pane of a hit ---------------------------------------------------------------------

TEST_F(SearchAgainTest, CommentaryHitOfTheSamePageKeepsTheUpperPane) {
  PutArticle(2, {{3, "zz"}});
  SetPattern("zz");
  ASSERT_NE(Start(), nullptr);
  const uint8_t* upperText = Upper()->text;
  Upper()->topRow = 6;
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{1, true, 1, 2}));
  EXPECT_EQ(gPaneState.activeScrollBar, gPaneState.lowerScrollBar);
  EXPECT_EQ(Upper()->text, upperText);
  EXPECT_EQ(Upper()->topRow, 6);
  EXPECT_EQ(Lower()->highlightStart, TextOffset(2, {{3, "zz"}}, 3));
  EXPECT_EQ(Upper()->highlightEnd, 0);
}

TEST_F(SearchAgainTest, CommentaryHitOfAnotherPageReloadsItsPageAtTheTop) {
  PutArticle(6, {{3, "zz"}});
  SetPattern("zz");
  ASSERT_NE(Start(), nullptr);
  Upper()->topRow = 6;
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{5, true, 5, 6}));
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_EQ(gReaderSettings.lastPosition, 0);
  EXPECT_EQ(Lower()->highlightEnd, TextOffset(6, {{3, "zz"}}, 3) + 2);

  // From the lower pane back to a page: the upper pane becomes active again.
  PutArticle(7, {{3, "zz"}});
  ASSERT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), (Place{7, false, 7, 8}));
  EXPECT_EQ(gPaneState.activeScrollBar, gPaneState.upperScrollBar);
}

TEST_F(SearchAgainTest, HitInTheActiveLowerPaneStaysThere) {
  PutArticle(2, {{3, "zz"}, {12, "zz"}});
  SetPattern("zz");
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Walk(2), (std::vector<Place>{{1, true, 1, 2}, {1, true, 1, 2}}));
  EXPECT_EQ(Lower()->highlightStart, TextOffset(2, {{3, "zz"}, {12, "zz"}}, 12));
}

}  // namespace
}  // namespace shell_test
