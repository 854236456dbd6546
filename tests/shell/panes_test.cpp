// The two-pane layout: heights by lower-pane size code, scroll bar placement, the gutter,
// painting of the lower pane and separator, and stored size codes the menu cannot make.
#include "shell_fixture.h"

namespace shell_test {
namespace {

class PanesTest : public ShellTest {
 protected:
  void Resize(int32_t width, int32_t height) {
    Send(platform::kMsgSize, 0, platform::MakeLong(uint32_t(width), uint32_t(height)));
  }
  const platform::Rect& BarRect(platform::Window* bar) const { return fake::WindowInfo(bar)->rect; }
};

TEST_F(PanesTest, LowerPaneHeightsByCode) {
  EXPECT_EQ(LowerPaneHeight(1, 274), 0);
  EXPECT_EQ(LowerPaneHeight(12, 274), 137);
  EXPECT_EQ(LowerPaneHeight(13, 274), 91);
  EXPECT_EQ(LowerPaneHeight(14, 274), 68);
  EXPECT_EQ(LowerPaneHeight(23, 274), 182);  // product first: 548 / 3
  EXPECT_EQ(LowerPaneHeight(34, 274), 205);
  EXPECT_EQ(LowerPaneHeight(12, -5), -2);    // truncates toward zero
}

TEST_F(PanesTest, ThreeHundredPixelExample) {
  fake::SetBarHeight(26);
  ASSERT_NE(Start(false), nullptr);
  Resize(200, 300);
  // h = 274, L = U = 137.
  EXPECT_EQ(Upper()->height, 135);
  EXPECT_EQ(Upper()->width, 200 - 13);
  EXPECT_EQ(Lower()->height, 136);
  EXPECT_EQ(Lower()->y, 138);
  EXPECT_EQ(gPaneState.lowerRect.top, 138);
  EXPECT_EQ(gPaneState.lowerRect.bottom, 274);
  EXPECT_EQ(gPaneState.lowerRect.right, 187);
  const platform::Rect upperBar = BarRect(gPaneState.upperScrollBar);
  EXPECT_EQ(upperBar.left, 187);
  // Not above the client area, where the desktop's tool bar would hide it; it ends where
  // it would from y = -2 with U + g pixels.
  EXPECT_EQ(upperBar.top, 0);
  EXPECT_EQ(upperBar.bottom - upperBar.top, 135);
  const platform::Rect lowerBar = BarRect(gPaneState.lowerScrollBar);
  EXPECT_EQ(lowerBar.top, 136);
  EXPECT_EQ(lowerBar.bottom - lowerBar.top, 138);
  EXPECT_EQ(lowerBar.right - lowerBar.left, 13);
  EXPECT_TRUE(fake::WindowInfo(gPaneState.lowerScrollBar)->lastMoveRepainted);
  // The scroll bars were created with their names, as children of the main window.
  EXPECT_EQ(fake::WindowInfo(gPaneState.lowerScrollBar)->title, u"Top");
  EXPECT_EQ(fake::WindowInfo(gPaneState.upperScrollBar)->title, u"Bottom");
  EXPECT_EQ(fake::WindowInfo(gPaneState.upperScrollBar)->style, 0x50000003u);
  EXPECT_EQ(fake::WindowInfo(gPaneState.upperScrollBar)->parent, window_);
}

TEST_F(PanesTest, NoneGivesTheUpperPaneEverything) {
  ASSERT_NE(Start(false), nullptr);
  Resize(200, 300);
  const int32_t lowerHeight = Lower()->height;
  fake::ClearDrawCalls();
  Command(401);
  EXPECT_EQ(RadioChecked(), 401);
  // h = 274: the upper view takes h - 2, the lower keeps its size with its top below h.
  EXPECT_EQ(Upper()->height, 272);
  EXPECT_EQ(Lower()->height, lowerHeight);
  EXPECT_EQ(Lower()->y, 275);
  // The red line lies right under the upper view.
  bool redLine = false;
  for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kRectangle))
    if (c.penColour == kRed) {
      EXPECT_EQ(c.rect.top, 272);
      EXPECT_EQ(c.rect.bottom, 273);
      EXPECT_EQ(c.rect.right, 187 + 13);
      redLine = true;
    }
  EXPECT_TRUE(redLine);
  EXPECT_EQ(UpperErases(), 1);
  Command(412);
  EXPECT_EQ(Upper()->height, 135);
  EXPECT_EQ(Lower()->height, 136);
}

// One radio mark at a time: choosing 3/4 and then 1/2 leaves the mark on 1/2 only.
TEST_F(PanesTest, ChoosingSizesMovesTheOneRadioMark) {
  ASSERT_NE(Start(), nullptr);
  Command(kCmdLowerPaneThreeQuarters);
  EXPECT_EQ(RadioChecked(), kCmdLowerPaneThreeQuarters);
  Command(kCmdLowerPaneHalf);
  EXPECT_EQ(RadioChecked(), kCmdLowerPaneHalf);
  int marks = 0;
  for (const fake::FakeMenuItem& item : fake::MenuItems(LowerPaneSizeMenu())) marks += item.mark.checked;
  EXPECT_EQ(marks, 1);
}

TEST_F(PanesTest, ChoosingTheCurrentSizeAgainDoesNothing) {
  ASSERT_NE(Start(), nullptr);
  fake::ClearDrawCalls();
  Command(412);
  EXPECT_TRUE(fake::DrawCalls().empty());
  Command(414);
  EXPECT_EQ(gReaderSettings.bottomSection, 14);
  EXPECT_EQ(RadioChecked(), 414);
  EXPECT_FALSE(fake::DrawCalls().empty());
  // h = 324: L = 81, U = 243.
  EXPECT_EQ(Upper()->height, 241);
  EXPECT_EQ(Lower()->height, 80);
}

TEST_F(PanesTest, GutterIsKeptAroundThePanesWhenItFits) {
  PutDevice(u"SurroundingGutter", 6);
  ASSERT_NE(Start(false), nullptr);
  EXPECT_EQ(Upper()->x, 6);
  EXPECT_EQ(Upper()->y, 6);
  Resize(200, 300);
  // W = 188, H = 288, h = 262, L = U = 131.
  EXPECT_EQ(Upper()->width, 188 - 13);
  EXPECT_EQ(Upper()->height, 129);
  EXPECT_EQ(gPaneState.lowerRect.top, 6 + 131 + 1);
  EXPECT_EQ(Lower()->y, 138 + 3);
  EXPECT_EQ(BarRect(gPaneState.upperScrollBar).left, 6 + 175 + 6);

  // A gutter larger than half a dimension is not taken from it.
  gDeviceOptions.surroundingGutter = 150;
  Resize(200, 400);
  EXPECT_EQ(Upper()->width, 200 - 13);
}

// Regression: a negative gutter moved the panes left of and above the client area, and
// one of 2^30 or more overflowed 2 * gutter and threw them far outside it. Out-of-range
// gutters now lay out as the nearest one in range.
TEST_F(PanesTest, OutOfRangeGutterLaysOutAsTheNearestInRange) {
  // Where a start with this stored gutter puts the views and the scroll bars.
  auto layout = [this](uint32_t stored) {
    PutDevice(u"SurroundingGutter", stored);
    std::vector<int32_t> places;
    EXPECT_NE(Start(false), nullptr);
    if (!window_) return places;
    Resize(200, 300);
    for (const PageView* view : {Upper(), Lower()})
      places.insert(places.end(), {view->x, view->y, view->width, view->height});
    for (platform::Window* bar : {gPaneState.upperScrollBar, gPaneState.lowerScrollBar}) {
      const platform::Rect r = BarRect(bar);
      places.insert(places.end(), {r.left, r.top, r.right, r.bottom});
    }
    platform::DestroyWindow(window_);  // saves, frees the views and bookmarks
    window_ = nullptr;
    ResetShellState();
    ResetReaderSettings();
    ResetSettingsState();
    return places;
  };
  const std::vector<int32_t> none = layout(0);
  ASSERT_EQ(none.size(), 16u);
  EXPECT_EQ(none[0], 0);
  EXPECT_EQ(none[1], 0);
  EXPECT_EQ(layout(uint32_t(-40)), none);
  EXPECT_EQ(layout(0x80000000u), none);
  const std::vector<int32_t> largest = layout(0x3FFF);
  EXPECT_EQ(layout(0x40000000u), largest);
  EXPECT_EQ(layout(0x7FFFFFFFu), largest);
}

TEST_F(PanesTest, PaintDrawsTheUpperErasedThenTheLowerBackgroundSeparatorAndText) {
  ASSERT_NE(Start(), nullptr);
  fake::ClearDrawCalls();
  const int begun = fake::PaintsBegun();
  Send(platform::kMsgPaint, 0, 0);
  EXPECT_EQ(fake::PaintsBegun(), begun + 1);
  EXPECT_EQ(fake::PaintsEnded(), fake::PaintsBegun());
  const auto& calls = fake::DrawCalls();
  size_t erase = calls.size(), pale = calls.size(), red = calls.size(), lowerText = calls.size();
  for (size_t i = 0; i < calls.size(); ++i) {
    const fake::DrawCall& c = calls[i];
    if (c.op == fake::DrawOp::kFill && c.stockBrush == platform::kStockWhiteBrush && erase == calls.size()) erase = i;
    if (c.op == fake::DrawOp::kRectangle && c.penColour == kPaleYellow) {
      pale = i;
      EXPECT_EQ(c.rect.top, 163 - 2);
      EXPECT_EQ(c.rect.bottom, 324);
      EXPECT_EQ(c.brushColour, kPaleYellow);
    }
    if (c.op == fake::DrawOp::kRectangle && c.penColour == kRed) red = i;
    if (c.op == fake::DrawOp::kText && c.rect.top >= Lower()->y && lowerText == calls.size()) {
      lowerText = i;
      EXPECT_EQ(c.backgroundMode, platform::kBkTransparent);
    }
  }
  EXPECT_LT(erase, pale);
  EXPECT_LT(pale, red);
  EXPECT_LT(red, lowerText);
  EXPECT_LT(lowerText, calls.size());
  // Everything selected was put back and deleted.
  EXPECT_EQ(fake::LivePens(), 0);
  EXPECT_EQ(fake::LiveBrushes(), 0);
  EXPECT_EQ(fake::BackgroundModeOf(Lower()->dc), platform::kBkOpaque);
}

TEST_F(PanesTest, BothViewsDrawThroughTheMainWindowsContext) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Upper()->dc, fake::WindowInfo(window_)->dc);
  EXPECT_EQ(Lower()->dc, Upper()->dc);
}

TEST_F(PanesTest, StoredSizeCodeWithoutDenominatorCountsAsHalf) {
  // Regression: a units digit of 0 divided by zero; other strays gave odd heights.
  for (uint32_t stored : {20u, 0u, 7u, 0xFFFFFFFFu, 99u}) {
    SetUp();
    Put(u"BottomSection", stored);
    ASSERT_NE(Start(false), nullptr) << stored;
    Resize(200, 300);
    EXPECT_EQ(gReaderSettings.bottomSection, 12) << stored;
    EXPECT_EQ(RadioChecked(), 412) << stored;
    EXPECT_EQ(Upper()->height, 135) << stored;
    EXPECT_EQ(Lower()->height, 136) << stored;
    Command(kCmdExit);
    EXPECT_EQ(Stored(u"BottomSection"), 12) << stored;
    TearDown();
  }
}

TEST_F(PanesTest, CommentaryThatCannotLoadIsReportedOnce) {
  Put(u"Lesson", 3);
  fake::FailResourceLoad(kArticleResourceBase + 4);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(ArticleIn(Upper()), 3);
  EXPECT_EQ(ArticleIn(Lower()), 0);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"Resource not found");
}

// Regression: a stored Lesson of 286 (the last commentary) put it in the upper pane and
// reported "Resource not found" for the article 287 under it.
TEST_F(PanesTest, StoredLastCommentaryOpensTheLastPageWithIt) {
  Put(u"Lesson", 286);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(ArticleIn(Upper()), 285);
  EXPECT_EQ(ArticleIn(Lower()), 286);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(PanesTest, CurrentArticleThatCannotLoadLeavesBothPanesEmpty) {
  Put(u"Lesson", 3);
  fake::FailResourceLoad(kArticleResourceBase + 3);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(ArticleIn(Upper()), 0);
  EXPECT_EQ(ArticleIn(Lower()), 0);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Error");
  Key(platform::kVkRight);
  EXPECT_EQ(ArticleIn(Upper()), 5);
  EXPECT_EQ(ArticleIn(Lower()), 6);
}

TEST_F(PanesTest, MalformedArticleIsNotLeaked) {
  AddArticle(5, 0);  // only the end byte: layout refuses it
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(GoToArticle(window_, 5), 0);
  EXPECT_EQ(ArticleIn(Upper()), 1);
  EXPECT_EQ(ArticleIn(Lower()), 6);
}

TEST_F(PanesTest, WithoutALowerViewThereAreNoScrollBars) {
  LoadDeviceOptions();
  LoadSettings();
  SelectArticle(0);
  fake::FailAllocation(1);  // the lower view's record is the first block the window asks for
  RegisterMainWindowClass(nullptr, kReaderClassName);
  window_ = platform::CreateWindow(0, kReaderClassName, kReaderClassName, platform::kWsVisible, 0, 0, 200, 300,
                                   nullptr, nullptr);
  ASSERT_NE(window_, nullptr);
  EXPECT_EQ(Lower(), nullptr);
  EXPECT_EQ(gPaneState.upperScrollBar, nullptr);
  Resize(200, 300);
  Send(platform::kMsgPaint, 0, 0);
  Key(platform::kVkDown);
  EXPECT_EQ(Upper()->topRow, 1);
  Command(kCmdNextArticle);
  EXPECT_EQ(ArticleIn(Upper()), 3);
}

}  // namespace
}  // namespace shell_test
