// Moving between articles, paging and scrolling the panes by keys, scroll bars, taps and the
// wheel, and the commands that change marks.
#include "shell_fixture.h"

namespace shell_test {
namespace {

class NavigationTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_NE(Start(), nullptr);
    ASSERT_EQ(Upper()->rowsPainted, 13);
    ASSERT_EQ(Lower()->rowsPainted, 13);
  }
  void SetKeyPageMode(uint32_t mode) {
    gReaderSettings.flags = (gReaderSettings.flags & ~kFlagKeyPageModeMask) | mode << kFlagKeyPageModeShift;
  }
  platform::Window* UpperBar() const { return gPaneState.upperScrollBar; }
  platform::Window* LowerBar() const { return gPaneState.lowerScrollBar; }
  int32_t BarPosition(platform::Window* bar) const { return fake::WindowInfo(bar)->scrollPosition; }
};

TEST_F(NavigationTest, NextFrom285WrapsTo1WithCommentary2) {
  ASSERT_EQ(GoToArticle(window_, 285), 0);
  EXPECT_EQ(ArticleIn(Lower()), 286);
  Command(kCmdNextArticle);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(ArticleIn(Upper()), 1);
  EXPECT_EQ(ArticleIn(Lower()), 2);
}

TEST_F(NavigationTest, PreviousFrom1GoesTo285With286) {
  Command(kCmdPreviousArticle);
  EXPECT_EQ(gReaderSettings.lesson, 285);
  EXPECT_EQ(ArticleIn(Upper()), 285);
  EXPECT_EQ(ArticleIn(Lower()), 286);
  Key(platform::kVkLeft);
  EXPECT_EQ(ArticleIn(Upper()), 283);
  Key(platform::kVkRight);
  Key(platform::kVkRight);
  EXPECT_EQ(ArticleIn(Upper()), 1);
}

TEST_F(NavigationTest, EvenArticlesStepByTheSameRule) {
  GoToArticle(window_, 2);
  StepArticle(window_, -2);
  EXPECT_EQ(gReaderSettings.lesson, 285);

  // Article 286 has no commentary (287 does not exist): the user is told, and the lower
  // pane keeps the commentary it showed.
  GoToArticle(window_, 286);
  EXPECT_EQ(ArticleIn(Upper()), 286);
  EXPECT_EQ(ArticleIn(Lower()), 286);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"Resource not found");
  EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Error");
  EXPECT_EQ(fake::MessageBoxes()[0].icon, platform::kMbIconWarning);
  EXPECT_EQ(fake::MessageBoxes()[0].owner, window_);
  StepArticle(window_, +2);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(ArticleIn(Lower()), 2);
}

// Only a step past the last article wraps: 284 goes on to 286 (an upper bound of "286 or
// more" sent it to 1), and 283 to 285.
TEST_F(NavigationTest, NextStopsWrappingShortOfTheLastArticle) {
  struct Case {
    int from, to;
  };
  for (const Case& c : {Case{284, 286}, Case{283, 285}, Case{285, 1}, Case{286, 1}, Case{3, 5}}) {
    ASSERT_EQ(GoToArticle(window_, c.from), 0);
    StepArticle(window_, +2);
    EXPECT_EQ(gReaderSettings.lesson, c.to) << c.from;
    EXPECT_EQ(ArticleIn(Upper()), c.to) << c.from;
  }
}

TEST_F(NavigationTest, ArticleThatCannotLoadKeepsEverything) {
  Key(platform::kVkDown);
  fake::FailResourceLoad(kArticleResourceBase + 3);
  fake::ClearDrawCalls();
  EXPECT_EQ(GoToArticle(window_, 3), 1);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(ArticleIn(Upper()), 1);
  EXPECT_EQ(ArticleIn(Lower()), 2);
  EXPECT_EQ(Upper()->topRow, 1);
  EXPECT_TRUE(fake::DrawCalls().empty());
  EXPECT_TRUE(fake::MessageBoxes().empty());

  // Out of memory while loading: the same.
  fake::FailAllocation(1);
  EXPECT_EQ(GoToArticle(window_, 5), 1);
  EXPECT_EQ(gReaderSettings.lesson, 1);
}

TEST_F(NavigationTest, GoingToAnArticleStartsBothPanesAtTheTopAndKeepsTheActivePane) {
  Tap(10, Lower()->y + 10);
  Key(platform::kVkDown);
  Key(platform::kVkDown);
  Command(kCmdNextArticle);
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_EQ(Lower()->topRow, 0);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(BarPosition(LowerBar()), 0);
}

TEST_F(NavigationTest, ReloadKeepsTheCommentaryWhereItWas) {
  gPaneState.activeView = Lower();
  Key(platform::kVkDown);
  gPaneState.activeView = nullptr;
  Key(platform::kVkDown);
  ASSERT_EQ(ReloadCurrentArticle(window_), 0);
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_EQ(Lower()->topRow, 1);
}

TEST_F(NavigationTest, PageKeysStepByKeyPageMode) {
  Key(platform::kVkNext);  // mode 1 (the default): painted rows - 1
  EXPECT_EQ(Upper()->topRow, 12);
  Key(platform::kVkPrior);
  EXPECT_EQ(Upper()->topRow, 0);
  SetKeyPageMode(2);
  Key(platform::kVkNext);
  EXPECT_EQ(Upper()->topRow, 6);
  SetKeyPageMode(4);
  Key(platform::kVkNext);
  EXPECT_EQ(Upper()->topRow, 12);
  SetKeyPageMode(3);
  Key(platform::kVkNext);
  EXPECT_EQ(Upper()->topRow, 24);
}

TEST_F(NavigationTest, HomeAtTheTopPagesBackAndRepaintsNothing) {
  fake::ClearDrawCalls();
  EXPECT_EQ(Key(platform::kVkHome), 0);
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_TRUE(fake::DrawCalls().empty());
}

TEST_F(NavigationTest, HomeAndEndGoToTheEnds) {
  const uint16_t last = uint16_t(kPageRows - 13);
  ASSERT_EQ(Upper()->maxTopRow, last);
  Key(platform::kVkEnd);
  EXPECT_EQ(Upper()->topRow, last);
  EXPECT_EQ(BarPosition(UpperBar()), last);
  EXPECT_EQ(fake::WindowInfo(UpperBar())->scrollMaximum, last);
  Key(platform::kVkDown);  // at the end: nothing moves
  EXPECT_EQ(Upper()->topRow, last);
  Key(platform::kVkHome);
  EXPECT_EQ(Upper()->topRow, 0);
}

TEST_F(NavigationTest, EndInTheLowerPaneStopsAtItsLastScreen) {
  // A commentary of 20 rows in a pane of 13: maxTopRow 7.
  gPaneState.activeView = Lower();
  ASSERT_EQ(Lower()->maxTopRow, 7);
  Key(platform::kVkEnd);
  EXPECT_EQ(Lower()->topRow, 7);
  EXPECT_EQ(Upper()->topRow, 0);
}

TEST_F(NavigationTest, KeysScrollTheActivePaneAndRepaintOnlyIt) {
  fake::ClearDrawCalls();
  Key(platform::kVkDown);
  EXPECT_EQ(UpperErases(), 1);
  EXPECT_EQ(LowerBackgrounds(), 0);

  gPaneState.activeView = Lower();
  gPaneState.activeScrollBar = LowerBar();
  fake::ClearDrawCalls();
  Key(platform::kVkDown);
  EXPECT_EQ(Lower()->topRow, 1);
  EXPECT_EQ(Upper()->topRow, 1);
  EXPECT_EQ(UpperErases(), 0);
  EXPECT_EQ(LowerBackgrounds(), 1);
  EXPECT_EQ(BarPosition(LowerBar()), 1);
}

TEST_F(NavigationTest, PageKeysNeverMoveBackwardsBeforeAnythingWasPainted) {
  Upper()->rowsPainted = 0;
  Upper()->topRow = 3;
  Key(platform::kVkNext);
  EXPECT_EQ(Upper()->topRow, 3);
  Key(platform::kVkPrior);
  EXPECT_EQ(Upper()->topRow, 3);
  Upper()->rowsPainted = 0;
  Scroll(UpperBar(), platform::kSbPageDown);
  EXPECT_EQ(Upper()->topRow, 3);
}

// A tap pages by the same step as the keys: before anything was painted that step is 0, so
// a tap in either half never moves the pane the other way. (Its own step rule once paged a
// forward tap back by a row here.)
TEST_F(NavigationTest, TapsNeverPageTheWrongWayBeforeAnythingWasPainted) {
  const int32_t middle = Upper()->y + Upper()->height / 2;
  for (uint32_t mode : {0u, 1u, 2u, 4u}) {
    gReaderSettings.flags = (gReaderSettings.flags & ~kFlagTapPageModeMask) | mode << kFlagTapPageModeShift;
    Upper()->rowsPainted = 0;
    Upper()->topRow = 3;
    OnTap(window_, 50, uint16_t(middle + 5));  // forward half
    EXPECT_GE(Upper()->topRow, 3) << "mode " << mode;
    Upper()->rowsPainted = 0;
    Upper()->topRow = 3;
    OnTap(window_, 50, uint16_t(middle - 5));  // back half
    EXPECT_LE(Upper()->topRow, 3) << "mode " << mode;
  }
}

TEST_F(NavigationTest, ScrollBarCodes) {
  struct Case {
    uint32_t code;
    int32_t position;
    uint16_t from, to;
  } cases[] = {
      {platform::kSbLineDown, 0, 0, 1},      {platform::kSbLineUp, 0, 1, 0},
      {platform::kSbPageDown, 0, 0, 12},    {platform::kSbPageUp, 0, 14, 2},
      {platform::kSbThumbTrack, 9, 2, 9},    {platform::kSbThumbPosition, 4, 9, 4},
      {platform::kSbTop, 0, 4, 0},           {platform::kSbBottom, 0, 5, 27},  // "bottom" goes to the end
      {platform::kSbEndScroll, 0, 27, 27},
  };
  for (const Case& c : cases) {
    Upper()->topRow = c.from;
    Upper()->rowsPainted = 13;
    EXPECT_EQ(Scroll(UpperBar(), c.code, c.position), 1);
    EXPECT_EQ(Upper()->topRow, c.to) << "code " << c.code;
  }
  // Every code also goes to default processing.
  EXPECT_EQ(fake::DefaultProcessing().size(), sizeof cases / sizeof cases[0]);
  EXPECT_EQ(BarPosition(UpperBar()), 27);
}

TEST_F(NavigationTest, LowerScrollBarMakesTheLowerPaneActive) {
  fake::ClearDrawCalls();
  Scroll(LowerBar(), platform::kSbLineDown);
  EXPECT_EQ(Lower()->topRow, 1);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(gPaneState.activeScrollBar, LowerBar());
  EXPECT_EQ(LowerBackgrounds(), 1);
  EXPECT_EQ(UpperErases(), 0);  // flags 3: the upper pane is drawn, not erased
  EXPECT_GT(TextDrawnIn(Upper()), 0);
  EXPECT_GT(TextDrawnIn(Lower()), 0);
  EXPECT_EQ(BarPosition(LowerBar()), 1);
  // Copy and the keys now act on the lower pane.
  Key(platform::kVkDown);
  EXPECT_EQ(Lower()->topRow, 2);
}

// Regression (random use, seed 1): choosing "&None" while the lower pane was active left it
// active, so the keys scrolled and Copy copied a pane no longer shown, and its bar, a tap or
// the wheel at its old place made it active again.
TEST_F(NavigationTest, AHiddenLowerPaneIsNeverTheActiveOne) {
  Command(kCmdCopy);
  ASSERT_NE(fake::ClipboardContent(platform::kClipboardUnicodeText), nullptr);
  const std::vector<uint8_t> upperText = *fake::ClipboardContent(platform::kClipboardUnicodeText);
  Scroll(LowerBar(), platform::kSbLineDown);
  ASSERT_EQ(ActiveView(), Lower());
  Command(kCmdLowerPaneNone);
  EXPECT_EQ(ActiveView(), Upper());
  EXPECT_EQ(gPaneState.activeScrollBar, UpperBar());
  Key(platform::kVkDown);
  EXPECT_EQ(Upper()->topRow, 1);
  EXPECT_EQ(Lower()->topRow, 1);
  Command(kCmdCopy);
  ASSERT_NE(fake::ClipboardContent(platform::kClipboardUnicodeText), nullptr);
  EXPECT_EQ(*fake::ClipboardContent(platform::kClipboardUnicodeText), upperText)
      << "Copy takes the shown article, not the hidden commentary";

  // Input that would belong to the hidden pane changes nothing.
  Scroll(LowerBar(), platform::kSbLineDown);
  Tap(Lower()->x + 5, Lower()->y + 5);
  Send(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(0, uint16_t(-120))),
       platform::MakeLong(uint32_t(Lower()->x + 5), uint32_t(Lower()->y + 5)));
  EXPECT_EQ(ActiveView(), Upper());
  EXPECT_EQ(Lower()->topRow, 1);

  // Shown again, its bar works as before.
  Command(kCmdLowerPaneHalf);
  Scroll(LowerBar(), platform::kSbLineDown);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(Lower()->topRow, 2);
}

TEST_F(NavigationTest, ClearedScrollBarSyncLeavesTheBarsAlone) {
  gReaderSettings.flags &= ~kFlagScrollBarSync;
  Key(platform::kVkNext);
  Scroll(UpperBar(), platform::kSbLineDown);
  Command(kCmdNextArticle);
  Key(platform::kVkDown);
  EXPECT_EQ(Upper()->topRow, 1);
  EXPECT_EQ(BarPosition(UpperBar()), 0);
  gReaderSettings.flags |= 0x80;  // either bit will do
  Key(platform::kVkDown);
  EXPECT_EQ(BarPosition(UpperBar()), 2);
}

TEST_F(NavigationTest, TapZonesPageBackAndForward) {
  // Vertical zones (the default): the middle itself pages forward.
  const int32_t middle = Upper()->y + Upper()->height / 2;
  Tap(50, middle);
  EXPECT_EQ(Upper()->topRow, 12);
  Tap(50, middle - 1);
  EXPECT_EQ(Upper()->topRow, 0);
  // Horizontal zones: left half back, right half forward.
  gReaderSettings.flags &= ~kFlagTapZonesVertical;
  Tap(Upper()->width / 2, 5);
  EXPECT_EQ(Upper()->topRow, 12);
  Tap(Upper()->width / 2 - 1, 150);
  EXPECT_EQ(Upper()->topRow, 0);
  // TapPageMode 2: half the painted rows.
  gReaderSettings.flags = (gReaderSettings.flags & ~kFlagTapPageModeMask) | 2u << kFlagTapPageModeShift;
  Tap(200, 5);
  EXPECT_EQ(Upper()->topRow, 6);
  EXPECT_EQ(BarPosition(UpperBar()), 6);
}

TEST_F(NavigationTest, TapInTheGutterCountsForThePane) {
  gDeviceOptions.surroundingGutter = 4;
  Upper()->x = 10;
  // Four pixels left of the pane still counts; five do not.
  Tap(6, 150);
  EXPECT_EQ(Upper()->topRow, 12);
  Tap(5, 150);
  EXPECT_EQ(Upper()->topRow, 12);
  Tap(10 + Upper()->width + 4, 150);
  EXPECT_EQ(Upper()->topRow, 24);
  // The same above and below it: the bottom edge plus the gutter is still the upper pane's.
  Upper()->topRow = 0;
  Tap(50, Upper()->y + Upper()->height + 4);
  EXPECT_EQ(Upper()->topRow, 12);
  EXPECT_EQ(ActiveView(), Upper());
}

TEST_F(NavigationTest, TapInTheLowerPanePagesItAndRepaintsOnlyIt) {
  fake::ClearDrawCalls();
  Tap(50, Lower()->y + Lower()->height - 5);
  EXPECT_EQ(Lower()->topRow, 12);  // a page from below maxTopRow (7) is taken whole
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_EQ(UpperErases(), 0);
  EXPECT_EQ(TextDrawnIn(Upper()), 0);
  EXPECT_EQ(LowerBackgrounds(), 1);
  EXPECT_EQ(ActiveView(), Lower());
}

TEST_F(NavigationTest, WithTapTurnsPagesClearATapOnlyChoosesThePane) {
  gReaderSettings.flags &= ~kFlagTapTurnsPages;
  fake::ClearDrawCalls();
  Tap(50, Lower()->y + 100);
  EXPECT_EQ(Lower()->topRow, 0);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(gPaneState.activeScrollBar, LowerBar());
  EXPECT_TRUE(fake::DrawCalls().empty());
  Tap(50, 10);
  EXPECT_EQ(ActiveView(), Upper());
}

TEST_F(NavigationTest, WheelScrollsThePaneUnderThePointerThreeRowsANotch) {
  auto wheel = [this](int32_t y, int32_t delta) {
    Send(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(0, uint32_t(delta))),
         platform::MakeLong(40, uint32_t(y)));
  };
  wheel(Lower()->y + 20, -platform::kWheelDelta);
  EXPECT_EQ(Lower()->topRow, 3);
  EXPECT_EQ(Upper()->topRow, 0);
  EXPECT_EQ(ActiveView(), Lower());
  wheel(Lower()->y + 20, -4 * platform::kWheelDelta);
  EXPECT_EQ(Lower()->topRow, 7);  // stops at the end
  wheel(20, -platform::kWheelDelta / 2);
  EXPECT_EQ(Upper()->topRow, 1);  // half a notch: one row and a half, the half kept
  wheel(20, -platform::kWheelDelta / 2);
  EXPECT_EQ(Upper()->topRow, 3);
  EXPECT_EQ(ActiveView(), Upper());
  wheel(20, platform::kWheelDelta);
  EXPECT_EQ(Upper()->topRow, 0);
}

TEST_F(NavigationTest, ReverseTogglesMarkAndFlagAndRepaintsAll) {
  // The first row of each pane, "n1" and "n2", as the panes draw it with letter base 1488.
  auto firstRows = [] {
    std::vector<std::u16string> rows;
    for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText))
      if (c.text.size() == 2 && c.text.find(u'\u05DD') != std::u16string::npos) rows.push_back(c.text);
    return rows;
  };
  fake::ClearDrawCalls();
  Command(kCmdReverse);
  EXPECT_TRUE(Checked(kCmdReverse));
  EXPECT_TRUE(gReaderSettings.flags & kFlagReverse);
  EXPECT_EQ(UpperErases(), 1);
  EXPECT_EQ(LowerBackgrounds(), 1);
  EXPECT_EQ(firstRows(), (std::vector<std::u16string>{u"1\u05DD", u"2\u05DD"})) << "both panes draw turned around";
  fake::ClearDrawCalls();
  Command(kCmdReverse);
  EXPECT_FALSE(Checked(kCmdReverse));
  EXPECT_FALSE(gReaderSettings.flags & kFlagReverse);
  EXPECT_EQ(firstRows(), (std::vector<std::u16string>{u"\u05DD1", u"\u05DD2"}));
}

TEST_F(NavigationTest, BookmarkCommandTogglesWithTheRemovalQuestion) {
  Command(kCmdBookmark);
  EXPECT_TRUE(Checked(kCmdBookmark));
  EXPECT_TRUE(fake::MessageBoxes().empty());

  fake::ScriptMessageBoxAnswers({platform::kIdNo, platform::kIdYes});
  Command(kCmdBookmark);
  EXPECT_TRUE(Checked(kCmdBookmark));
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"Remove Bookmark?\n\nCancel - Don't ask again");
  EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Bookmark");
  EXPECT_EQ(fake::MessageBoxes()[0].buttons, platform::kMbYesNoCancel);
  Command(kCmdBookmark);
  EXPECT_FALSE(Checked(kCmdBookmark));

  // The mark follows the article.
  Command(kCmdBookmark);
  Command(kCmdNextArticle);
  EXPECT_FALSE(Checked(kCmdBookmark));
  Command(kCmdPreviousArticle);
  EXPECT_TRUE(Checked(kCmdBookmark));

  // Cancel removes and stops the question for the rest of the run.
  fake::ScriptMessageBoxAnswers({platform::kIdCancel});
  Command(kCmdBookmark);
  EXPECT_FALSE(Checked(kCmdBookmark));
  Command(kCmdBookmark);
  Command(kCmdBookmark);
  EXPECT_FALSE(Checked(kCmdBookmark));
  EXPECT_EQ(fake::MessageBoxes().size(), 3u);
}

// Every command of the menus, the tool bar and the accelerators is the reader's own (it
// answers 0 and never reaches default processing); ids next to them are not.
TEST_F(NavigationTest, ReaderCommandsAreHandledAndOthersGoToDefaultProcessing) {
  for (uint16_t id : {kCmdIndex, kCmdIndexOld, kCmdSearch, kCmdSearchAgain, kCmdFont, kCmdAbout,
                      kCmdCheckForUpdates, kCmdCopy, kCmdAppend, kCmdNextArticle, kCmdPreviousArticle, kCmdReverse,
                      kCmdLowerPaneNone, kCmdLowerPaneHalf, kCmdLowerPaneThird, kCmdLowerPaneQuarter,
                      kCmdLowerPaneTwoThirds, kCmdLowerPaneThreeQuarters}) {
    EXPECT_EQ(Command(id), 0) << id;
  }
  EXPECT_TRUE(fake::DefaultProcessing().empty());
  const uint16_t others[] = {108, 111, 118, 120, 121, 124, 400, 402, 411, 424, 435, 40002, 40008, 40010};
  for (uint16_t id : others) Command(id);
  EXPECT_EQ(fake::DefaultProcessing().size(), sizeof others / sizeof others[0]);
  EXPECT_TRUE(fake::WindowInfo(window_)->visible) << "none of them closed the window";
}

}  // namespace
}  // namespace shell_test
