// Painting, highlight and scrolling on the fake backend (rows 20 high, characters 10 wide).
#include "view_fixture.h"

namespace {

using PaintTest = ViewTest;

bool SameRect(const platform::Rect& a, const platform::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(actual, l, t, r, b) EXPECT_TRUE(SameRect(actual, platform::Rect{l, t, r, b}))

TEST_F(PaintTest, DrawsRowsInTheirStyleAndGivesTheContextItsStateBack) {
  MakeView(100, 200, 5, 30);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb cccc").Add(0x03, 0, "dd").Add(0x0D, 0, "ee").Add(0x47, 50, "");
  ASSERT_EQ(LayOut(s), kViewOk);
  platform::SetTextColour(dc_, 0x123456);
  fake::ClearDrawCalls();
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);

  auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_RECT(fills[0].rect, 5, 30, 105, 230);
  EXPECT_EQ(fills[0].stockBrush, platform::kStockWhiteBrush);

  auto texts = Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(Utf8(texts[0].text), "aaaa bbbb");
  EXPECT_RECT(texts[0].rect, 5, 30, 95, 50);
  EXPECT_EQ(texts[0].textColour, 0u);
  EXPECT_EQ(Utf8(texts[2].text), "dd");
  EXPECT_RECT(texts[2].rect, 5, 70, 19, 85);  // small font: 15 high, 7 wide
  EXPECT_EQ(texts[2].textColour, 0x800000u);
  EXPECT_EQ(texts[2].font.height, 15);
  EXPECT_EQ(texts[3].textColour, 0xFF0000u);  // larger and bold
  EXPECT_EQ(texts[3].font.weight, 700);

  auto rules = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_RECT(rules[0].rect, 30, 110 + 12, 80, 110 + 13);  // halfway down a 25-high row
  EXPECT_EQ(rules[0].stockBrush, platform::kStockBlackBrush);
  EXPECT_EQ(view_->rowsPainted, 5);

  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
  EXPECT_EQ(platform::GetTextColour(dc_), 0x123456u);
  platform::Brush* brush = platform::SelectBrush(dc_, nullptr);
  EXPECT_EQ(brush, platform::StockBrush(platform::kStockWhiteBrush));
}

TEST_F(PaintTest, StartsBelowTheExtraRowWhenTopRowIsOnIt) {
  MakeView(100, 100);
  StreamBuilder s;
  s.Add(0x81, 0, "aa").Add(0x01, 0, "bb").Add(0x01, 0, "cc").Add(0x01, 0, "dd").Add(0x01, 0, "ee");
  ASSERT_EQ(LayOut(s), kViewOk);
  view_->topRow = 1;
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 4u);  // 20 + 4 x 20 = 100: all four rows fit below the empty one
  EXPECT_EQ(Utf8(texts[0].text), "bb");
  EXPECT_EQ(texts[0].rect.top, 20);
  EXPECT_EQ(view_->rowsPainted, 4) << "the empty top row is not counted";
  EXPECT_TRUE(fake::DrawCallsOf(fake::DrawOp::kFill).empty());
}

TEST_F(PaintTest, PartialLastRowIsNotDrawnButAnExtraRowBelowIsCounted) {
  MakeView(100, 50);
  StreamBuilder s;
  s.Add(0x01, 0, "aa").Add(0x01, 0, "bb").Add(0x01, 0, "cc");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  EXPECT_EQ(Texts().size(), 2u);
  EXPECT_EQ(view_->rowsPainted, 2);

  fake::ClearDrawCalls();
  view_->height = 40;
  StreamBuilder t;
  t.Add(0x01, 0, "aa").Add(0x81, 0, "bb").Add(0x01, 0, "cc");
  ASSERT_EQ(LayOut(t), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  EXPECT_EQ(Texts().size(), 2u);
  EXPECT_EQ(view_->rowsPainted, 3);
}

TEST_F(PaintTest, TopRowBeyondTheArticleFallsBackToMaxTopRow) {
  MakeView(100, 40);
  StreamBuilder s;
  for (const char* t : {"aa", "bb", "cc", "dd"}) s.Add(0x01, 0, t);
  ASSERT_EQ(LayOut(s), kViewOk);
  view_->topRow = 900;
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  EXPECT_EQ(view_->topRow, 2);
  EXPECT_EQ(Utf8(Texts()[0].text), "cc");
}

TEST_F(PaintTest, LeadWordsSitInTheirBoxes) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0xC0, "ab cccc")        // left to right, lead box 20 at the left
      .Add(0x31, 0xC0, "dddd ba")     // right to left, lead box 20 at the right
      .Add(0x01, 0x40, "abc dd");     // lead box 10: the lead word is cut to one character
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(Utf8(texts[0].text), "ab");
  EXPECT_RECT(texts[0].rect, 0, 0, 20, 20);
  EXPECT_EQ(Utf8(texts[1].text), "cccc");
  EXPECT_RECT(texts[1].rect, 20, 0, 60, 20);
  EXPECT_EQ(Utf8(texts[2].text), "ba");
  EXPECT_RECT(texts[2].rect, 80, 20, 100, 40);
  EXPECT_EQ(Utf8(texts[3].text), "dddd");
  EXPECT_RECT(texts[3].rect, 40, 20, 80, 40);
  EXPECT_EQ(Utf8(texts[4].text), "a");
  EXPECT_RECT(texts[4].rect, 0, 40, 10, 60);
}

// Regression: a right-to-left paragraph that is only its lead word has an empty row
// proper; the lead word must still be drawn.
TEST_F(PaintTest, RightToLeftParagraphOfOnlyALeadWordShowsIt) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x31, 0xC0, "ba");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Utf8(texts[0].text), "ba");
  EXPECT_RECT(texts[0].rect, 80, 0, 100, 20);
}

// The highlight is blue text on yellow, written out here so that a swap of the two (or
// any other change of the program's colours) fails.
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kYellow = 0x00FFFF;

class HighlightTest : public ViewTest {
 protected:
  std::vector<fake::DrawCall> Highlights() {
    std::vector<fake::DrawCall> out;
    for (const fake::DrawCall& c : Texts())
      if (c.backgroundMode == platform::kBkOpaque && c.textColour == kBlue) out.push_back(c);
    return out;
  }
};

TEST_F(HighlightTest, RangeAcrossTwoRowsIsDrawnInTwoPieces) {
  MakeView(100, 200, 0, 10);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb cccc");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  view_->highlightStart = uint16_t(p + 5);
  view_->highlightEnd = uint16_t(p + 12);
  platform::SetBackgroundMode(dc_, platform::kBkTransparent);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  auto marks = Highlights();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(Utf8(marks[0].text), "bbbb");
  EXPECT_RECT(marks[0].rect, 50, 10, 90, 30);
  EXPECT_EQ(marks[0].backgroundColour, kYellow);
  EXPECT_EQ(Utf8(marks[1].text), "cc");
  EXPECT_RECT(marks[1].rect, 0, 30, 20, 50);
  EXPECT_EQ(fake::BackgroundModeOf(dc_), platform::kBkTransparent);
  EXPECT_EQ(platform::GetTextColour(dc_), 0u);
  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
}

TEST_F(HighlightTest, InsideLeadWordsAndAtTheEndOfALeadRow) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0xC0, "ab cccc dd").Add(0x31, 0xC0, "dddd ba");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0), q = s.TextOffset(1);

  view_->highlightStart = uint16_t(p + 1);  // the "b" of the left-to-right lead word
  view_->highlightEnd = uint16_t(p + 2);
  ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
  auto marks = Highlights();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(Utf8(marks[0].text), "b");
  EXPECT_RECT(marks[0].rect, 10, 0, 20, 20);

  // Regression: the last characters of a lead row's row proper lie past offset + length
  // and must still be highlighted.
  fake::ClearDrawCalls();
  view_->highlightStart = uint16_t(p + 8);
  view_->highlightEnd = uint16_t(p + 10);
  ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
  marks = Highlights();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(Utf8(marks[0].text), "dd");
  EXPECT_RECT(marks[0].rect, 70, 0, 90, 20);

  // Right to left: touching the row proper draws the whole lead word as well.
  fake::ClearDrawCalls();
  view_->highlightStart = uint16_t(q + 1);
  view_->highlightEnd = uint16_t(q + 2);
  ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
  marks = Highlights();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(Utf8(marks[0].text), "ba");
  EXPECT_RECT(marks[0].rect, 80, 20, 100, 40);
  EXPECT_EQ(Utf8(marks[1].text), "d");
  EXPECT_RECT(marks[1].rect, 50, 20, 60, 40);
}

// Regression: a hit inside a right-to-left lead word (stored after its row proper, as
// every verse number is) did not touch its row and was not highlighted.
TEST_F(HighlightTest, HitOnlyInARightToLeftLeadWordHighlightsItInItsBox) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x31, 0xC0, "dddd cccc ba");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  for (const uint16_t start : {uint16_t(p + 10), uint16_t(p + 11)}) {
    fake::ClearDrawCalls();
    view_->highlightStart = start;
    view_->highlightEnd = uint16_t(start + 1);
    ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
    auto marks = Highlights();
    ASSERT_EQ(marks.size(), 1u) << "the lead word only, not the row proper";
    EXPECT_EQ(Utf8(marks[0].text), "ba");
    EXPECT_RECT(marks[0].rect, 80, 0, 100, 20);
  }
}

// A left-to-right lead word cut short by its box: only the drawn characters are
// highlighted, and under Reverse the highlight sits within what was drawn.
TEST_F(HighlightTest, LeadWordCutShortByItsBoxIsHighlightedWithinWhatWasDrawn) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0xC0, "abc dd");  // box 20: "ab" of "abc" is drawn
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  view_->highlightStart = uint16_t(p + 1);  // "bc": only "b" is drawn
  view_->highlightEnd = uint16_t(p + 3);
  ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
  auto marks = Highlights();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(Utf8(marks[0].text), "b");
  EXPECT_RECT(marks[0].rect, 10, 0, 20, 20);

  view_->fontSpec.fontAsciiBase = 224;
  view_->drawReversed = true;
  ASSERT_EQ(PageViewLayOut(view_, view_->text, false), kViewOk);
  fake::ClearDrawCalls();
  view_->highlightStart = p;  // "a", drawn turned around as "b a": at 10..20
  view_->highlightEnd = uint16_t(p + 1);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, (std::u16string{225, 224}));
  EXPECT_RECT(texts[0].rect, 0, 0, 20, 20);
  EXPECT_EQ(texts[2].text, (std::u16string{224}));
  EXPECT_EQ(texts[2].textColour, kHighlightTextColour);
  EXPECT_RECT(texts[2].rect, 10, 0, 20, 20);
}

TEST_F(HighlightTest, RowStartingAtTheRangesEndIsTouchedButDrawsNothing) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb cccc");
  ASSERT_EQ(LayOut(s), kViewOk);
  view_->highlightStart = uint16_t(s.TextOffset(0));
  view_->highlightEnd = uint16_t(s.TextOffset(0) + 10);  // the second row's offset
  ASSERT_EQ(PageViewPaintHighlight(view_), kViewOk);
  auto marks = Highlights();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(Utf8(marks[0].text), "aaaa bbbb");
}

TEST_F(HighlightTest, ReversedRowsKeepTheHighlightOnTheSameCharacters) {
  fontSpec_.fontAsciiBase = 224;
  MakeView(100, 200);
  view_->drawReversed = true;
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bcde");
  ASSERT_EQ(LayOut(s), kViewOk);
  view_->highlightStart = uint16_t(s.TextOffset(0) + 5);  // "bc"
  view_->highlightEnd = uint16_t(s.TextOffset(0) + 7);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  // The row is drawn turned around: e d c b _ a a a a, so "bc" sits at 20..40, drawn
  // turned around as well.
  EXPECT_EQ(texts[0].text, (std::u16string{228, 227, 226, 225, u' ', 224, 224, 224, 224}));
  EXPECT_EQ(texts[1].text, (std::u16string{226, 225}));
  EXPECT_RECT(texts[1].rect, 20, 0, 40, 20);
}

TEST_F(HighlightTest, RefusesWithoutTextOrTable) {
  EXPECT_EQ(PageViewPaintHighlight(nullptr), kViewMissing);
  EXPECT_EQ(PageViewPaint(nullptr, 1), kViewMissing);
  MakeView(100, 100);
  EXPECT_EQ(PageViewPaintHighlight(view_), kViewMissing);
  EXPECT_EQ(PageViewPaint(view_, 1), kViewMissing);
  EXPECT_TRUE(fake::DrawCalls().empty()) << "not even the erase";
}

class ScrollTest : public ViewTest {
 protected:
  // 10 rows of 20 in a 100-high view: maxTopRow 5.
  void SetUp() override {
    ViewTest::SetUp();
    MakeView(100, 100);
    StreamBuilder s;
    for (int i = 0; i < 10; ++i) s.Add(0x01, 0, "abc");
    ASSERT_EQ(LayOut(s), kViewOk);
    ASSERT_EQ(view_->maxTopRow, 5);
    fake::ClearDrawCalls();
  }
};

TEST_F(ScrollTest, UpwardStepsStopAtZero) {
  view_->topRow = 3;
  EXPECT_EQ(PageViewScroll(view_, -5, 0, 1), kScrollMoved);
  EXPECT_EQ(view_->topRow, 0);
  EXPECT_EQ(PageViewScroll(view_, -1, 0, 1), kScrollNothingDone);
  EXPECT_EQ(PageViewScroll(nullptr, 1, 0, 1), kViewMissing);
  EXPECT_TRUE(fake::DrawCalls().empty());
}

TEST_F(ScrollTest, GuardStopsAtTheEndAndPullsLongStepsToMaxTopRow) {
  EXPECT_EQ(PageViewScroll(view_, 1000, 0, 1), kScrollMoved);
  EXPECT_EQ(view_->topRow, 5);
  EXPECT_EQ(PageViewScroll(view_, 1, 0, 1), kScrollNothingDone);
  EXPECT_EQ(view_->topRow, 5);
  // From below maxTopRow a step within totalRows is taken unchanged.
  view_->topRow = 4;
  EXPECT_EQ(PageViewScroll(view_, 3, 0, 1), kScrollMoved);
  EXPECT_EQ(view_->topRow, 7);
  EXPECT_EQ(PageViewScroll(view_, 1, 0, 1), kScrollNothingDone);
  // Without the guard a step within totalRows is always taken.
  EXPECT_EQ(PageViewScroll(view_, 2, 0, 0), kScrollMoved);
  EXPECT_EQ(view_->topRow, 9);
}

// A step that ends just past the last row (End from below the top: a step of maxTopRow
// rows) would show a blank pane; it ends on the last full screen, with or without the guard.
TEST_F(ScrollTest, AStepOntoTheRowPastTheLastEndsOnTheLastScreen) {
  ASSERT_EQ(view_->totalRows, 10);
  view_->topRow = 4;
  EXPECT_EQ(PageViewScroll(view_, 6, 0, 1), kScrollMoved);
  EXPECT_EQ(view_->topRow, 5);
  view_->topRow = 0;
  EXPECT_EQ(PageViewScroll(view_, 10, 0, 0), kScrollMoved);
  EXPECT_EQ(view_->topRow, 5);
}

// A new layout with fewer rows (a wider pane) can leave the top row on the row count or past
// it; the paint starts from the last full screen instead of painting nothing.
TEST_F(ScrollTest, PaintFromTheRowCountOrPastItShowsTheLastScreen) {
  for (uint16_t top : {uint16_t(10), uint16_t(11)}) {
    view_->topRow = top;
    fake::ClearDrawCalls();
    PageViewPaint(view_, 1);
    EXPECT_EQ(view_->topRow, 5) << top;
    EXPECT_EQ(Texts().size(), 5u) << top;
  }
}

TEST_F(ScrollTest, ShortArticleDoesNotMove) {
  view_->height = 1000;
  StreamBuilder s;
  s.Add(0x01, 0, "abc");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(view_->maxTopRow, 0);
  EXPECT_EQ(PageViewScroll(view_, 1000, 1, 1), kScrollNothingDone);
  EXPECT_EQ(view_->topRow, 0);
}

TEST_F(ScrollTest, RepaintAnswersThePaint) {
  EXPECT_EQ(PageViewScroll(view_, 2, 1, 1), kViewOk);
  EXPECT_EQ(view_->topRow, 2);
  EXPECT_EQ(Utf8(Texts()[0].text), "abc");
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kFill).size(), 1u) << "scrolling repaints erasing";
  fake::ClearDrawCalls();
  EXPECT_EQ(PageViewScroll(view_, 0, 1, 1), kScrollNothingDone);
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(PageViewScroll(view_, 0, 2, 1), kViewOk) << "repaint 2 paints even without a move";
  EXPECT_EQ(Texts().size(), 5u);
}

}  // namespace
