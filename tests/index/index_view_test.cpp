// The index tree on the fake backend: layout, painting, scrolling, tap zones, folding,
// revealing an article, saving and restoring the expansion, and running out of memory.
#include <climits>

#include "content/article.h"
#include "index_fixture.h"
#include "shell/alloc_or_abort.h"

namespace {

constexpr uint8_t kShown = 0x81;         // visible, style key 1
constexpr uint8_t kHidden = 0x01;
constexpr uint8_t kOpenHeading = 0xC1;   // visible and expanded
constexpr uint16_t H = 0x8000;
constexpr uint16_t E = 0x4000;

using IndexViewTest = IndexTest;

TEST_F(IndexViewTest, LinesAreRightAlignedIndentedAndBrokenAtSpacesOnly) {
  MakeView(100, 400);
  const struct {
    uint8_t param;
    std::string reading;
    std::vector<std::string> stored;  // each line's stored bytes, first line first
    std::vector<int> x;
  } cases[] = {
      // Indent 13: 87 pixels, eight characters. "abc defgh" breaks at its space.
      {1, "abc defgh ij", {"cba", "ji hgfed"}, {100 - 13 - 30, 100 - 13 - 80}},
      // A word wider than the line is cut inside; a hyphen is no break point.
      {1, "abcdefghijkl", {"hgfedcba", "lkji"}, {7, 100 - 13 - 40}},
      {1, "abc-defghij", {"gfed-cba", "jih"}, {7, 100 - 13 - 30}},
      // The last fitted character is the space to break at.
      {1, "abcdefg hij", {"gfedcba", "jih"}, {100 - 13 - 70, 100 - 13 - 30}},
      // Level 8 would indent by 104, at or beyond the width: no indent, ten characters.
      {8, "abcdefghij k", {"jihgfedcba", "k"}, {0, 90}},
      // Level 7 indents by 91, leaving 9 pixels: each character gets a line of its own.
      {7, "ab", {"a", "b"}, {100 - 91 - 10, 100 - 91 - 10}},
      // Spaces are skipped at every line start; those the line ends with are part of it.
      {1, "   ab   ", {"   ba"}, {100 - 13 - 50}},
      // The break is the last space that fits, so the spaces before it stay on the line.
      {1, "ab   cdefgh", {"  ba", "hgfedc"}, {100 - 13 - 40, 100 - 13 - 60}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(LayOut(IndexStreamBuilder().Add(E | 1, kShown, c.param, c.reading)), kViewOk) << c.reading;
    const std::vector<IndexLine> lines = Lines();
    ASSERT_EQ(lines.size(), c.stored.size()) << c.reading;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(Stored(lines[i]), c.stored[i]) << c.reading << " line " << i;
      EXPECT_EQ(lines[i].x, c.x[i]) << c.reading << " line " << i;
      EXPECT_EQ(lines[i].width, lines[i].length * kUnit);
      EXPECT_EQ(lines[i].height, kSize);
      EXPECT_EQ(lines[i].key, E | 1);
    }
    EXPECT_EQ(view_->lineCount, lines.size());
    EXPECT_EQ(view_->visibleCount, lines.size());
  }
}

TEST_F(IndexViewTest, TableGrowsPastItsCapacityAndStylesChangeTheHeight) {
  MakeView(100, 400);
  IndexStreamBuilder stream;
  for (int i = 0; i < 300; ++i) stream.Add(uint16_t(E | (i + 1)), i % 2 ? kShown : 0x85, 0, "ab");
  ASSERT_EQ(LayOut(stream), kViewOk);
  EXPECT_EQ(view_->lineCount, 300);
  EXPECT_GE(view_->lineCapacity, 300);
  EXPECT_EQ(view_->lines[0].height, 25);  // style 0x04: size x 5 / 4
  EXPECT_EQ(view_->lines[1].height, 20);
  EXPECT_EQ(view_->lines[299].key, E | 300);
  // 400 pixels hold the last 17 lines (8 x 25 + 9 x 20 = 380; one more would not fit).
  EXPECT_EQ(view_->maxTopRow, 300 - 17);
}

TEST_F(IndexViewTest, MalformedStreamsKeepTheOldLayout) {
  MakeView(100, 100);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(E | 1, kShown, 0, "ab").Add(E | 2, kShown, 0, "cd")), kViewOk);
  uint8_t* kept = view_->text;
  const std::vector<std::vector<uint8_t>> bad = {
      {0, 0, 0, 0, 0},                // flags 0 first
      {1, 0x40, kShown, 0, 0, 0, 0, 0, 0, 0},  // an empty first text
      {1, 0x40, kShown, 0, 'a'},     // the first record runs off the block
  };
  for (const auto& bytes : bad) {
    uint32_t length = 0;
    uint8_t* block = IndexStreamBuilder::Block(bytes, &length);
    EXPECT_EQ(IndexViewLayOut(view_, block, length, true), kLayoutMalformed);
    platform::Free(block);
    EXPECT_EQ(view_->text, kept);
    EXPECT_EQ(view_->lineCount, 2);
    EXPECT_EQ(view_->visibleCount, 0);
  }
  EXPECT_EQ(IndexViewLayOut(view_, nullptr, 0, false), kLayoutNoStream);
  EXPECT_EQ(view_->text, kept);
  EXPECT_EQ(IndexViewLayOut(view_, nullptr, 0, true), kLayoutNoStream);
  EXPECT_EQ(view_->text, nullptr);
  EXPECT_EQ(IndexViewPaint(view_, true), kViewMissing);
  EXPECT_EQ(IndexViewHitTest(view_, 50, 5), 0);
}

TEST_F(IndexViewTest, StreamWithoutEndRecordStopsAtItsLastWholeRecord) {
  MakeView(100, 100);
  std::vector<uint8_t> bytes = IndexStreamBuilder().Add(E | 1, kShown, 0, "ab").Add(E | 2, kShown, 0, "cd").Bytes();
  bytes.resize(bytes.size() - 5 - 2);  // no end record, the second text cut before its 0
  uint32_t length = 0;
  uint8_t* block = IndexStreamBuilder::Block(bytes, &length);
  ASSERT_EQ(IndexViewLayOut(view_, block, length, true), kViewOk);
  EXPECT_EQ(view_->lineCount, 1);
}

TEST_F(IndexViewTest, PaintStartsAfterTopRowVisibleLinesAndHiddenLinesTakeNoSpace) {
  MakeView(100, 200, 5, 7);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(E | 1, kShown, 0, "a")
                       .Add(E | 2, kHidden, 0, "b")
                       .Add(E | 3, kShown, 0, "c")
                       .Add(E | 4, kShown, 0, "d")
                       .Add(E | 5, kHidden, 0, "e")
                       .Add(E | 6, kShown, 0, "f")),
            kViewOk);
  view_->topRow = 2;
  fake::ClearDrawCalls();
  ASSERT_EQ(IndexViewPaint(view_, true), kViewOk);
  EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"d", "f"}));
  const auto texts = fake::DrawCallsOf(fake::DrawOp::kText);
  EXPECT_EQ(texts[0].rect.top, 7);
  EXPECT_EQ(texts[1].rect.top, 27);
  EXPECT_EQ(texts[0].rect.left, 5 + 100 - 10);
  EXPECT_EQ(view_->linesPainted, 2);
  // Erased first with the white stock brush over the whole box.
  const auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].stockBrush, platform::kStockWhiteBrush);
  EXPECT_EQ(fills[0].rect.left, 5);
  EXPECT_EQ(fills[0].rect.bottom, 207);

  fake::ClearDrawCalls();
  IndexViewPaint(view_, false);
  EXPECT_TRUE(fake::DrawCallsOf(fake::DrawOp::kFill).empty());
  EXPECT_EQ(DrawnTexts().size(), 2u);
  // The font and colour of the context are given back.
  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
}

TEST_F(IndexViewTest, TopRowPastTheVisibleLinesFallsBackToMaxTopRow) {
  MakeView(100, 40);
  IndexStreamBuilder stream;
  for (int i = 1; i <= 5; ++i) stream.Add(uint16_t(E | i), kShown, 0, std::string(1, char('a' + i)));
  ASSERT_EQ(LayOut(stream), kViewOk);
  EXPECT_EQ(view_->maxTopRow, 3);
  view_->topRow = 6;
  IndexViewPaint(view_, true);
  EXPECT_EQ(view_->topRow, 3);
  EXPECT_EQ(view_->linesPainted, 2);
}

TEST_F(IndexViewTest, LineTallerThanTheRestEndsThePaintEvenWhenHidden) {
  MakeView(100, 44);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(E | 1, kShown, 0, "a")
                       .Add(E | 2, 0x05, 0, "b")  // hidden, 25 pixels high
                       .Add(E | 3, kShown, 0, "c")),
            kViewOk);
  fake::ClearDrawCalls();
  IndexViewPaint(view_, true);
  EXPECT_EQ(DrawnTexts(), std::vector<std::string>{"a"});
  EXPECT_EQ(view_->linesPainted, 1);
  // The same line no longer ends the paint when it fits.
  IndexViewSetSize(view_, 100, 45);
  fake::ClearDrawCalls();
  IndexViewPaint(view_, true);
  EXPECT_EQ(DrawnTexts(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(IndexViewTest, GlyphsMarkTheFirstShownLineOfEachRecord) {
  MakeView(100, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(H | 1, kOpenHeading, 0, "abcdefghij kl")  // two lines, expanded
                       .Add(H | 2, kShown, 1, "ab")                  // collapsed heading
                       .Add(E | 3, 0x85, 2, "cd")),                  // entry, 25 pixels high
            kViewOk);
  fake::ClearDrawCalls();
  IndexViewPaint(view_, true);
  const auto cells = fake::DrawCallsOf(fake::DrawOp::kBitmapCell);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].bitmapId, 202u);
  EXPECT_EQ(cells[1].bitmapId, 201u);
  EXPECT_EQ(cells[2].bitmapId, 203u);
  // Four pixels right of the text, centred in the line: (20 - 9) / 2 = 5, (25 - 9) / 2 = 8.
  EXPECT_EQ(cells[0].rect.left, 100 + 4);
  EXPECT_EQ(cells[0].rect.top, 5);
  EXPECT_EQ(cells[1].rect.left, 100 - 13 + 4);
  EXPECT_EQ(cells[1].rect.top, 40 + 5);
  EXPECT_EQ(cells[2].rect.top, 60 + 8);
  // The large entry is not bold: black; bold and large is blue.
  const auto texts = fake::DrawCallsOf(fake::DrawOp::kText);
  EXPECT_EQ(texts.back().textColour, 0u);
  // A missing picture is skipped.
  platform::DeleteBitmap(gIndexBitmaps.bitmaps[2]);
  gIndexBitmaps.bitmaps[2] = nullptr;
  fake::ClearDrawCalls();
  IndexViewPaint(view_, true);
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kBitmapCell).size(), 2u);
}

TEST_F(IndexViewTest, BoldLargeTextIsBlueAndSmallTextBlack) {
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(H | 1, 0xCC, 0, "ab").Add(E | 2, 0x82, 1, "cd")), kViewOk);
  fake::ClearDrawCalls();
  IndexViewPaint(view_, true);
  const auto texts = fake::DrawCallsOf(fake::DrawOp::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].textColour, 0xFF0000u);
  EXPECT_EQ(texts[0].font.weight, 700);
  EXPECT_EQ(texts[0].font.height, 25);
  EXPECT_EQ(texts[1].textColour, 0u);
  EXPECT_EQ(texts[1].font.height, 15);
}

TEST_F(IndexViewTest, TapZones) {
  // Lines of 20 pixels: heading 5 at y 0, entry 7, entry heading 9, plain line 11.
  const auto stream = IndexStreamBuilder()
                          .Add(H | 5, kOpenHeading, 0, "abc")  // x 170..200
                          .Add(E | 7, kShown, 3, "de")         // indent 39: x 141..161, zone to 174
                          .Add(H | E | 9, kShown, 3, "fg")
                          .Add(11, kShown, 3, "hi");
  const struct {
    int32_t x, y, answer;
  } cases[] = {
      {175, 10, -5},  {200, 0, -5},   {180, 20, -5},  // heading text; y 20 still hits the first line
      {141, 30, 7},   {174, 30, 7},   {175, 30, 0},  {140, 30, 0},  // entry: text and glyph zone
      {150, 50, 9},   {175, 50, -9},  {100, 50, 0},                  // heading that is an entry
      {150, 70, -11}, {175, 70, 0},                                  // neither bit: toggles on its text
      {100, 81, INT32_MIN}, {100, 200, INT32_MIN},                   // below the last line
      {201, 10, 0},   {-1, 10, 0},    {100, 201, 0},                 // outside the view
  };
  for (const auto& c : cases) {
    IndexViewDestroy(view_, true);
    MakeView(200, 200);
    ASSERT_EQ(LayOut(stream), kViewOk);
    EXPECT_EQ(IndexViewHitTest(view_, c.x, c.y), c.answer) << c.x << ", " << c.y;
  }
}

TEST_F(IndexViewTest, HitTestCountsFromTopRowAndStopsAtALineThatDoesNotFit) {
  MakeView(100, 50);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(E | 1, kShown, 0, "a")
                       .Add(E | 2, kHidden, 0, "b")
                       .Add(E | 3, kShown, 0, "c")
                       .Add(E | 4, kShown, 0, "d")),
            kViewOk);
  view_->topRow = 1;
  EXPECT_EQ(IndexViewHitTest(view_, 95, 5), 3);
  EXPECT_EQ(IndexViewHitTest(view_, 95, 25), 4);
  view_->topRow = 0;
  EXPECT_EQ(IndexViewHitTest(view_, 95, 45), INT32_MIN);  // the third line does not fit
}

class FoldingTest : public IndexTest {
 protected:
  // H1 { H2 { E3 }  E4 }  H5, all shown and expanded.
  void SetUp() override {
    IndexTest::SetUp();
    MakeView(200, 400);
    ASSERT_EQ(LayOut(IndexStreamBuilder()
                         .Add(H | 1, kOpenHeading, 0, "aa")
                         .Add(H | 2, kOpenHeading, 1, "bb")
                         .Add(E | 3, kShown, 2, "cc")
                         .Add(E | 4, kShown, 1, "dd")
                         .Add(H | 5, kOpenHeading, 0, "ee")),
              kViewOk);
  }
};

TEST_F(FoldingTest, CollapseHidesTheSubtreeAndExpandShowsOnlyDirectChildren) {
  EXPECT_EQ(IndexViewToggle(view_, &view_->lines[0]), -1);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false, false, true}));
  EXPECT_EQ(view_->visibleCount, 2);
  EXPECT_FALSE(view_->lines[0].flags & 0x40);
  EXPECT_TRUE(view_->lines[1].flags & 0x40);  // the inner heading keeps its bit
  EXPECT_EQ(IndexViewToggle(view_, &view_->lines[0]), -1);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, false, true, true}));
  EXPECT_EQ(view_->visibleCount, 4);
  // So the inner heading shows its minus with its child hidden: two taps open it again.
  IndexViewToggle(view_, &view_->lines[1]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, false, true, true}));
  IndexViewToggle(view_, &view_->lines[1]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, true, true, true}));
}

TEST_F(FoldingTest, HeadingWithoutChildrenFoldsTheFollowingLinesOfItsLevel) {
  // The last heading has nothing after it: folding it changes nothing.
  EXPECT_EQ(IndexViewToggle(view_, &view_->lines[4]), -5);
  EXPECT_EQ(view_->visibleCount, 5);
  IndexViewDestroy(view_, true);
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(H | 1, kOpenHeading, 1, "aa")  // no children: takes E2's level
                       .Add(E | 2, kShown, 1, "bb")
                       .Add(E | 3, kShown, 2, "cc")
                       .Add(E | 4, kShown, 0, "dd")),
            kViewOk);
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false, true}));
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(FoldingTest, TapOnAnyLineOfAWrappedHeadingFlipsTheWholeHeading) {
  IndexViewDestroy(view_, true);
  MakeView(100, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(H | 1, kOpenHeading, 0, "abcdefghij kl").Add(E | 2, kShown, 1, "cc")), kViewOk);
  ASSERT_EQ(view_->lineCount, 3);
  // A tap on the heading's second line.
  EXPECT_EQ(IndexViewHitTest(view_, 95, 30), -1);
  EXPECT_FALSE(view_->lines[0].flags & 0x40);
  EXPECT_FALSE(view_->lines[1].flags & 0x40);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, false}));
  ExpansionState* state = IndexViewSaveExpansion(view_);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state[0], H | 1);
  EXPECT_EQ(state[1], 0);
  EXPECT_EQ(state[2], 0);
  platform::Free(state);
}

// Regression: lines were ended by flags 0, which a record without style bits reaches when
// it is folded away; the table then ended there and the lines after it were lost.
TEST_F(FoldingTest, LineWithoutStyleBitsStaysInTheTableWhenHidden) {
  IndexViewDestroy(view_, true);
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(H | 1, 0xC0, 0, "aa").Add(E | 2, 0x80, 1, "bb").Add(E | 3, 0x80, 0, "cc")),
            kViewOk);
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(IndexViewHitTest(view_, 190, 30), 3);
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, true}));
}

// Regression (found by the fuzz target): when folding hid every line, maxTopRow kept its
// old value and the scroll bar a range over nothing.
TEST_F(FoldingTest, FoldingAwayEveryVisibleLineLeavesNothingToScroll) {
  IndexViewDestroy(view_, true);
  MakeView(200, 20);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(H | 1, 0x41, 0, "aa")  // hidden but expanded
                       .Add(E | 2, kShown, 1, "bb")
                       .Add(E | 3, kShown, 1, "cc")
                       .Add(E | 4, kShown, 1, "dd")),
            kViewOk);
  EXPECT_EQ(view_->maxTopRow, 2);
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(view_->visibleCount, 0);
  EXPECT_EQ(view_->maxTopRow, 0);
}

TEST_F(FoldingTest, ToggleRecomputesMaxTopRowAndRepaints) {
  IndexViewSetSize(view_, 200, 40);
  EXPECT_EQ(view_->maxTopRow, 3);
  fake::ClearDrawCalls();
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(view_->maxTopRow, 0);
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kFill).size(), 1u);
}

TEST_F(FoldingTest, ScrollClampsAndPaintsOnlyOnChange) {
  IndexViewSetSize(view_, 200, 40);  // two lines fit: maxTopRow 3
  fake::ClearDrawCalls();
  EXPECT_EQ(IndexViewScroll(view_, -1, 1, true), 1);
  EXPECT_EQ(IndexViewScroll(view_, 10, 1, true), 0);
  EXPECT_EQ(view_->topRow, 3);
  EXPECT_EQ(IndexViewScroll(view_, 1, 1, true), 1);
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kFill).size(), 1u);
  // Without the clamp a step may pass maxTopRow up to the visible count.
  EXPECT_EQ(IndexViewScroll(view_, 2, 0, false), 1);
  EXPECT_EQ(view_->topRow, 5);
  EXPECT_EQ(IndexViewScroll(view_, 1, 0, false), 1);
  EXPECT_EQ(view_->topRow, 3);
  EXPECT_EQ(IndexViewScroll(view_, -100, 0, false), 1);
  EXPECT_EQ(view_->topRow, 0);
  EXPECT_EQ(IndexViewScroll(nullptr, 1, 1, true), -1);
}

TEST_F(FoldingTest, SaveAndRestoreKeepTheStateAcrossASizeChange) {
  IndexViewToggle(view_, &view_->lines[1]);  // collapse H2: E3 hidden
  IndexViewToggle(view_, &view_->lines[4]);  // H5 folds (nothing below it)
  const std::vector<bool> visible = Visible();
  ExpansionState* state = IndexViewSaveExpansion(view_);
  ASSERT_NE(state, nullptr);
  const std::vector<uint16_t> saved(state, state + 10);
  EXPECT_EQ(saved, (std::vector<uint16_t>{H | 1, 0x40, H | 2, 0, E | 4, 0, H | 5, 0, 0, 0}));
  // The new size lays out from the stream's flags: everything open again.
  ASSERT_EQ(IndexViewSetSize(view_, 150, 300), kViewOk);
  EXPECT_TRUE(view_->lines[1].flags & 0x40);
  // Restoring only adds bits; with a stream whose lines start hidden the state comes back.
  for (IndexLine* l = view_->lines; !IndexLineIsEnd(*l); ++l) l->flags &= uint8_t(~0xC0);
  view_->visibleCount = 0;
  EXPECT_EQ(IndexViewRestoreExpansion(view_, state), 0);
  EXPECT_EQ(Visible(), visible);
  EXPECT_EQ(view_->visibleCount, 4);
  EXPECT_TRUE(view_->lines[0].flags & 0x40);
  EXPECT_FALSE(view_->lines[1].flags & 0x40);
  platform::Free(state);
  EXPECT_EQ(IndexViewRestoreExpansion(view_, nullptr), -1);
}

TEST_F(FoldingTest, RestoreDropsPairsAfterAKeyItCannotFind) {
  for (IndexLine* l = view_->lines; !IndexLineIsEnd(*l); ++l) l->flags &= uint8_t(~0xC0);
  view_->visibleCount = 0;
  // E4 comes before H2 here: after E4 the search goes on from E4, so H2 is not found and
  // the later H1 is dropped as well.
  const uint16_t state[] = {E | 4, 0, H | 2, 0x40, H | 1, 0x40, 0, 0};
  IndexViewRestoreExpansion(view_, state);
  EXPECT_EQ(Visible(), (std::vector<bool>{false, false, false, true, false}));
  EXPECT_EQ(view_->visibleCount, 1);
}

// Regression: restoring only added bits, so a heading the stream opens came back open
// after a new size although the user had folded it.
TEST_F(FoldingTest, RestoreKeepsFoldedHeadingsFoldedAfterANewLayout) {
  IndexViewToggle(view_, &view_->lines[0]);  // fold H1: H2, E3, E4 hidden
  ExpansionState* state = IndexViewSaveExpansion(view_);
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(IndexViewSetSize(view_, 150, 300), kViewOk);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, true, true, true}));
  EXPECT_EQ(IndexViewRestoreExpansion(view_, state), 0);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false, false, true}));
  EXPECT_EQ(view_->visibleCount, 2);
  EXPECT_FALSE(view_->lines[0].flags & 0x40);
  EXPECT_TRUE(view_->lines[4].flags & 0x40);
  platform::Free(state);
  // Unfolding it shows its direct children again.
  IndexViewToggle(view_, &view_->lines[0]);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, false, true, true}));
}

TEST_F(FoldingTest, ScrollToLineBringsAHiddenRowToTheMiddle) {
  IndexViewDestroy(view_, true);
  MakeView(200, 100);  // five lines fit
  IndexStreamBuilder stream;
  for (uint16_t i = 1; i <= 20; ++i) stream.Add(E | i, i == 3 ? kHidden : kShown, 0, "p");
  ASSERT_EQ(LayOut(stream), kViewOk);
  ASSERT_EQ(view_->maxTopRow, 14);
  const struct {
    const char* name;
    uint16_t topRow;
    int32_t line;
    uint16_t expected;
  } cases[] = {
      {"in view: stays", 0, 5, 0},
      {"just below: to the middle", 0, 5 + 1, 3},  // line 6 is visible row 5; two rows above it
      {"above: to the middle", 10, 9, 6},
      {"near the end: no further than maxTopRow", 0, 19, 14},
      {"near the start: from the top", 8, 1, 0},
      {"a hidden line: nothing", 8, 2, 8},
      {"no such line", 8, 20, 8},
      {"no such line", 8, -1, 8},
  };
  for (const auto& c : cases) {
    view_->topRow = c.topRow;
    IndexViewScrollToLine(view_, c.line);
    EXPECT_EQ(view_->topRow, c.expected) << c.name;
  }
  IndexViewScrollToLine(nullptr, 0);
}

TEST_F(FoldingTest, NothingVisibleSavesNothing) {
  for (IndexLine* l = view_->lines; !IndexLineIsEnd(*l); ++l) l->flags &= uint8_t(~0x80);
  EXPECT_EQ(IndexViewSaveExpansion(view_), nullptr);
}

class RevealTest : public IndexTest {};

TEST_F(RevealTest, RevealOpensTheEntryTheNextOneAndTheEnclosingHeadings) {
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(H | 1, kShown, 0, "book")          // collapsed, shown
                       .Add(H | 2, 0x41, 1, "portion a")       // hidden, expanded bit set
                       .Add(E | 55, kHidden, 2, "p55")
                       .Add(H | 3, 0x41, 1, "portion b")
                       .Add(E | 57, kHidden, 2, "page fifty seven is long")  // two lines
                       .Add(E | 59, kHidden, 2, "page fifty nine is long")  // two lines
                       .Add(E | 61, kHidden, 2, "p61")
                       .Add(H | 57, kHidden, 0, "heading 57")),
            kViewOk);
  ASSERT_EQ(view_->lineCount, 10);
  IndexViewRevealArticle(view_, 57);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false, true, true, true, true, true, false, false}));
  EXPECT_EQ(view_->visibleCount, 6);
  EXPECT_FALSE(view_->lines[3].flags & 0x40);  // a heading shown this way starts folded
  EXPECT_FALSE(view_->lines[0].flags & 0x40);  // a shown heading keeps its bit
  // Already visible: nothing changes.
  IndexViewRevealArticle(view_, 57);
  EXPECT_EQ(view_->visibleCount, 6);
  // A heading's group number is not an article; 0 and unknown articles do nothing.
  IndexViewRevealArticle(view_, 2);
  IndexViewRevealArticle(view_, 0);
  IndexViewRevealArticle(view_, 99);
  EXPECT_EQ(view_->visibleCount, 6);
}

TEST_F(RevealTest, RevealSearchesFromAnOffsetAndWalksBackToTheFirstLine) {
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder()
                       .Add(E | 7, kShown, 2, "seven")  // as a bookmark entry, before the table
                       .Add(H | 1, 0x41, 0, "book")      // the first line of the table, hidden
                       .Add(E | 7, kHidden, 1, "p7")),
            kViewOk);
  // From the table's first byte on, the hidden entry is found and opened, with its heading.
  const uint32_t table = view_->lines[1].offset - 4;
  EXPECT_EQ(IndexViewFindArticle(view_, 7, 0), 0);
  EXPECT_EQ(IndexViewFindArticle(view_, 7, table), 2);
  EXPECT_EQ(IndexViewFindArticle(view_, 7, 1000), -1);
  EXPECT_EQ(IndexViewFindArticle(view_, 1, 0), -1);  // a heading's group is no article
  IndexViewRevealArticle(view_, 7, table);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(view_->lines[1].flags & 0x40);
  // The heading's run walked back from the very first line of the table.
  IndexViewDestroy(view_, true);
  MakeView(200, 400);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(H | 1, 0x41, 0, "book").Add(E | 9, kHidden, 1, "p9")), kViewOk);
  IndexViewRevealArticle(view_, 9);
  EXPECT_EQ(Visible(), (std::vector<bool>{true, true}));
  EXPECT_EQ(view_->visibleCount, 2);
}

TEST_F(RevealTest, RealTableOfContentsOpensThePageOfArticle57) {
  ASSERT_TRUE(fake::UsePack(ReadBookPack())) << SOLMAR_BOOK_PACK_FILE;
  int reason = 0;
  uint32_t length = 0;
  uint8_t* toc = LoadArticle(kTableOfContentsArticle, &reason, &length);
  ASSERT_NE(toc, nullptr);
  MakeView(400, 600);
  ASSERT_EQ(IndexViewLayOut(view_, toc, length + 1, false), kViewOk);
  const uint16_t before = view_->visibleCount;
  IndexViewRevealArticle(view_, 57);
  const std::vector<IndexLine> lines = Lines();
  size_t found = 0;
  while (found < lines.size() && lines[found].key != (E | 57)) ++found;
  ASSERT_LT(found, lines.size());
  EXPECT_TRUE(lines[found].flags & 0x80);
  size_t next = found;
  while (next < lines.size() && lines[next].key == lines[found].key) ++next;
  ASSERT_LT(next, lines.size());
  EXPECT_TRUE(lines[next].flags & 0x80);
  EXPECT_GT(view_->visibleCount, before);
  // Every shallower line above it up to the top level is shown.
  int32_t smallest = IndexLineIndent(view_, &lines[found]);
  int enclosing = 0;
  for (size_t i = found; i-- > 0;) {
    const int32_t indent = IndexLineIndent(view_, &lines[i]);
    if (indent >= smallest) continue;
    smallest = indent;
    ++enclosing;
    EXPECT_TRUE(lines[i].flags & 0x80) << "line " << i;
    EXPECT_TRUE(lines[i].key & H) << "line " << i;
  }
  EXPECT_GE(enclosing, 2);  // its portion and its book
}

class IndexMemoryTest : public IndexTest {};

TEST_F(IndexMemoryTest, EveryAllocationOfTheLayoutCanFail) {
  const IndexStreamBuilder stream = IndexStreamBuilder().Add(H | 1, kOpenHeading, 0, "ab").Add(E | 2, 0x85, 1, "cd");
  // Count the allocations of one good run without a table: the table, two font nodes, two
  // copies and the shared conversion buffer.
  view_ = IndexViewCreate(dc_, platform::Rect{0, 0, 100, 100}, fontSpec_, 0);
  uint32_t length = 0;
  uint8_t* block = stream.Build(&length);
  const int afterBlock = fake::AllocationsMade();
  ASSERT_EQ(IndexViewLayOut(view_, block, length, true), kViewOk);
  const int layoutAllocations = fake::AllocationsMade() - afterBlock;
  EXPECT_EQ(layoutAllocations, 6);
  for (int nth = 1; nth <= layoutAllocations; ++nth) {
    IndexViewDestroy(view_, true);
    view_ = IndexViewCreate(dc_, platform::Rect{0, 0, 100, 100}, fontSpec_, 0);  // no table yet
    fake::ResetMessageBoxes();
    block = stream.Build(&length);
    fake::FailAllocation(nth);
    const int32_t result = IndexViewLayOut(view_, block, length, true);
    if (view_->text != block) platform::Free(block);
    fake::FailAllocation(0);
    if (result == kViewOk) {
      // A font node or the conversion buffer: the text still shows, in the default font or
      // measured again.
      EXPECT_EQ(view_->lineCount, 2) << nth;
      continue;
    }
    EXPECT_EQ(result, kLayoutNoMemory) << nth;
    ASSERT_EQ(fake::MessageBoxes().size(), 1u) << nth;
    EXPECT_EQ(fake::MessageBoxes()[0].text, u"There is not enough memory, aborting");
    EXPECT_EQ(view_->text, nullptr) << nth;
    EXPECT_EQ(view_->lineCount, 0) << nth;
    EXPECT_EQ(IndexViewPaint(view_, true), kViewMissing);
  }
}

TEST_F(IndexMemoryTest, CreateAndSaveGiveNoneWhenMemoryRunsOut) {
  fake::FailAllocation(1);
  EXPECT_EQ(IndexViewCreate(dc_, platform::Rect{0, 0, 10, 10}, fontSpec_, 100), nullptr);
  EXPECT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(IndexViewCreate(nullptr, platform::Rect{0, 0, 10, 10}, fontSpec_, 100), nullptr);
  MakeView(100, 100);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(E | 1, kShown, 0, "a")), kViewOk);
  fake::FailAllocation(1);
  EXPECT_EQ(IndexViewSaveExpansion(view_), nullptr);
  EXPECT_EQ(fake::MessageBoxes().size(), 2u);
}

TEST_F(IndexMemoryTest, SetFontReplacesTheFontsAndDestroyReleasesThem) {
  MakeView(100, 100);
  ASSERT_EQ(LayOut(IndexStreamBuilder().Add(E | 1, kShown, 0, "ab").Add(E | 2, 0x85, 0, "cd")), kViewOk);
  EXPECT_EQ(fake::LiveFonts(), 2);
  EXPECT_EQ(IndexViewSetFont(view_, nullptr), 0);
  EXPECT_EQ(fake::LiveFonts(), 0);
  FontSpec bigger = fontSpec_;
  bigger.size = 40;
  EXPECT_EQ(IndexViewSetFont(view_, &bigger), 0);
  EXPECT_EQ(view_->lines[0].height, 40);
  EXPECT_EQ(view_->lines[1].height, 50);
  EXPECT_EQ(fake::LiveFonts(), 2);
  IndexViewDestroy(view_, false);
  EXPECT_EQ(fake::LiveFonts(), 0);
  EXPECT_EQ(view_->text, nullptr);
  platform::Free(view_);
  view_ = nullptr;
}

}  // namespace
