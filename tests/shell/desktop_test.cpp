// The reader as a desktop user meets it: mouse clicks that only pick a pane, a hidden lower
// pane that gives up being active, dismissed boxes that decide nothing, scroll bars that
// reach the ends and size their thumbs, layout changes that leave nothing behind, the
// window's place between runs, the text size by keys and wheel, start-up messages over
// the shown window, and the panes' inner margin.
#include "dialogs/font_chooser.h"
#include "shell/owned_messages.h"
#include "reader/font_steps.h"
#include "shell/window_geometry.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

class DesktopTest : public ShellTest {
 protected:
  // A mouse click: the press, then the release at the same place.
  void Click(int32_t x, int32_t y) {
    Send(platform::kMsgLButtonDown, platform::kMkLButton | platform::kMkFromMouse,
         platform::MakeLong(uint32_t(x), uint32_t(y)));
    Send(platform::kMsgLButtonUp, platform::kMkFromMouse, platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
  void Wheel(int32_t y, int32_t delta, uint32_t keys = 0) {
    Send(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(keys, uint32_t(delta))),
         platform::MakeLong(40, uint32_t(y)));
  }
  static std::u16string StoredText(const std::u16string& name) {
    const fake::StoredSetting* v = fake::FindSetting(kSettingsKeyPath, name);
    if (!v || v->type != platform::kSettingString) return u"<none>";
    std::u16string text(v->data.size() / 2, u'\0');
    std::memcpy(text.data(), v->data.data(), text.size() * 2);
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }
  platform::Window* UpperBar() const { return gPaneState.upperScrollBar; }
  platform::Window* LowerBar() const { return gPaneState.lowerScrollBar; }
};

// --- Panes: which one is active ------------------------------------------------------------

TEST_F(DesktopTest, MouseClickOnTheInactivePaneOnlyPicksIt) {
  ASSERT_NE(Start(), nullptr);
  // With the default flags a tap in the lower half of a pane pages it forward.
  const int32_t lowerHalf = Lower()->y + Lower()->height - 5;
  Click(50, lowerHalf);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(gPaneState.activeScrollBar, LowerBar());
  EXPECT_EQ(Lower()->topRow, 0) << "the click that picked the pane paged it";
  // On the active pane a click keeps the tap rules: it pages (a page from the top is taken
  // whole, past maxTopRow).
  Click(50, lowerHalf);
  EXPECT_EQ(Lower()->topRow, 12);
  // Back to the upper pane: picked, not paged; then paged.
  Click(50, 150);
  EXPECT_EQ(ActiveView(), Upper());
  EXPECT_EQ(Upper()->topRow, 0);
  Click(50, 150);
  EXPECT_EQ(Upper()->topRow, 12);
  // A click outside both panes changes nothing.
  Click(50, kClientHeight - 2);
  EXPECT_EQ(ActiveView(), Upper());
}

TEST_F(DesktopTest, StylusTapOnTheInactivePaneStillPagesIt) {
  ASSERT_NE(Start(), nullptr);
  Tap(50, Lower()->y + Lower()->height - 5);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_EQ(Lower()->topRow, 12);
}

TEST_F(DesktopTest, HidingTheLowerPaneMakesTheUpperOneActive) {
  ASSERT_NE(Start(), nullptr);
  Upper()->topRow = 5;
  Click(50, Lower()->y + 10);
  ASSERT_EQ(ActiveView(), Lower());
  Command(kCmdLowerPaneNone);
  EXPECT_EQ(ActiveView(), Upper());
  EXPECT_EQ(gPaneState.activeScrollBar, UpperBar());
  // The keys scroll what shows, and its bar follows.
  Key(platform::kVkUp);
  EXPECT_EQ(Upper()->topRow, 4);
  EXPECT_EQ(Lower()->topRow, 0);
  EXPECT_EQ(fake::WindowInfo(UpperBar())->scrollPosition, 4);

  // Where the lower pane was, nothing is picked any more: not by click, tap or wheel.
  const int32_t hiddenY = Lower()->y + 2;
  for (int way = 0; way < 3; ++way) {
    if (way == 0) Click(30, hiddenY);
    if (way == 1) Tap(30, hiddenY);
    if (way == 2) Wheel(hiddenY, -platform::kWheelDelta);
    EXPECT_NE(ActiveView(), Lower()) << way;
    EXPECT_EQ(Lower()->topRow, 0) << way;
  }
  // Its scroll bar goes too: a sliver of it would stay at the bottom of the client area.
  EXPECT_FALSE(fake::WindowInfo(LowerBar())->visible);
  // Shown again, it can be picked again.
  Command(kCmdLowerPaneQuarter);
  EXPECT_TRUE(fake::WindowInfo(LowerBar())->visible);
  EXPECT_EQ(ActiveView(), Upper());
  Click(30, Lower()->y + 2);
  EXPECT_EQ(ActiveView(), Lower());
}

TEST_F(DesktopTest, OtherSizeChangesKeepTheActivePane) {
  ASSERT_NE(Start(), nullptr);
  Click(50, Lower()->y + 10);
  Command(kCmdLowerPaneThird);
  EXPECT_EQ(ActiveView(), Lower());
}

// --- Message boxes ------------------------------------------------------------------------

TEST_F(DesktopTest, DismissedBoxesAnswerTheHarmlessButton) {
  struct Case {
    uint32_t type;
    int answer;
  };
  for (const Case& c : {Case{platform::kMbYesNoCancel, platform::kIdNo}, Case{platform::kMbYesNo, platform::kIdNo},
                        Case{platform::kMbOkCancel, platform::kIdCancel}, Case{platform::kMbOk, platform::kIdOk}}) {
    EXPECT_EQ(platform::MessageBoxDismissAnswer(c.type | platform::kMbIconQuestion), c.answer) << c.type;
    fake::ScriptMessageBoxAnswers({fake::kDismissBox});
    EXPECT_EQ(platform::MessageBox(nullptr, u"?", u"?", c.type), c.answer) << c.type;
  }
}

TEST_F(DesktopTest, DismissingTheRemovalQuestionKeepsTheBookmarkAndAsksAgain) {
  ASSERT_NE(Start(), nullptr);
  Command(kCmdBookmark);
  ASSERT_TRUE(Checked(kCmdBookmark));
  fake::ScriptMessageBoxAnswers({fake::kDismissBox, fake::kDismissBox});
  Command(kCmdBookmark);
  EXPECT_TRUE(Checked(kCmdBookmark));
  EXPECT_TRUE(IsBookmarked());
  Command(kCmdBookmark);
  EXPECT_TRUE(IsBookmarked());
  EXPECT_EQ(fake::MessageBoxes().size(), 2u) << "a dismissed question is asked again";
  // The Cancel button itself keeps its meaning.
  fake::ScriptMessageBoxAnswers({platform::kIdCancel});
  Command(kCmdBookmark);
  EXPECT_FALSE(IsBookmarked());
}

// --- Scroll bars ---------------------------------------------------------------------------

TEST_F(DesktopTest, ScrollBarTopAndBottomReachTheEndsOfBothPanes) {
  ASSERT_NE(Start(), nullptr);
  struct Case {
    PageView* view;
    platform::Window* bar;
    uint16_t end;
  };
  for (const Case& c : {Case{Upper(), UpperBar(), 27}, Case{Lower(), LowerBar(), 7}}) {
    c.view->topRow = 3;
    Scroll(c.bar, platform::kSbBottom);
    EXPECT_EQ(c.view->topRow, c.end);
    EXPECT_EQ(fake::WindowInfo(c.bar)->scrollPosition, c.end);
    Scroll(c.bar, platform::kSbBottom);  // already there
    EXPECT_EQ(c.view->topRow, c.end);
    Scroll(c.bar, platform::kSbTop);
    EXPECT_EQ(c.view->topRow, 0);
  }
}

TEST_F(DesktopTest, ThumbsShowTheRowsInViewWithoutChangingRangeOrPosition) {
  ASSERT_NE(Start(), nullptr);
  const fake::FakeWindowInfo* upper = fake::WindowInfo(UpperBar());
  const fake::FakeWindowInfo* lower = fake::WindowInfo(LowerBar());
  EXPECT_EQ(upper->scrollPage, 13);
  EXPECT_EQ(lower->scrollPage, 13);
  EXPECT_EQ(upper->scrollMaximum, 27);
  EXPECT_EQ(lower->scrollMaximum, 7);
  // A larger lower pane shows more rows: its thumb grows once it is painted.
  Command(kCmdLowerPaneThreeQuarters);
  EXPECT_GT(lower->scrollPage, 13);
  EXPECT_EQ(lower->scrollPage, Lower()->rowsPainted);
  EXPECT_EQ(upper->scrollPage, Upper()->rowsPainted);
  EXPECT_EQ(lower->scrollMinimum, 0);
  EXPECT_EQ(lower->scrollMaximum, Lower()->maxTopRow);
}

TEST_F(DesktopTest, UpperScrollBarStaysInsideTheClientArea) {
  struct Case {
    uint32_t osMajor;  // 5: the menu bar at the bottom; 3: a command bar at the top
    uint32_t gutter;
    int32_t top;
  };
  for (const Case& c : {Case{5, 0, 0}, Case{5, 8, 0}, Case{3, 0, 26}, Case{3, 8, 26}}) {
    fake::SetOsVersion(c.osMajor, 0);
    PutDevice(u"SurroundingGutter", c.gutter);
    ASSERT_NE(Start(), nullptr);
    const platform::Rect bar = fake::WindowInfo(UpperBar())->rect;
    EXPECT_EQ(bar.top, c.top) << c.osMajor << " " << c.gutter;
    // Its bottom stays where the layout puts it, just above the red line.
    EXPECT_EQ(bar.bottom, gPaneState.lowerRect.top - 3) << c.osMajor << " " << c.gutter;
    TearDown();
    window_ = nullptr;
    SetUp();
  }
}

// --- Repainting after a layout change ---------------------------------------------------------

// The colour of each pixel of a client area after the rectangles and fills recorded for dc
// (text left out).
class Raster {
 public:
  Raster(int32_t width, int32_t height) : width_(width), height_(height), pixels_(size_t(width * height), kWhite) {}
  void Replay(platform::Dc* dc) {
    for (const fake::DrawCall& c : fake::DrawCalls()) {
      if (c.dc != dc) continue;
      if (c.op == fake::DrawOp::kFill) Fill(c.rect, c.stockBrush == platform::kStockWhiteBrush ? kWhite : c.brushColour);
      if (c.op != fake::DrawOp::kRectangle) continue;
      if (c.hasBrush) Fill(c.rect, c.brushColour);
      if (c.hasPen) Outline(c.rect, c.penColour);
    }
  }
  uint32_t At(int32_t x, int32_t y) const { return pixels_[size_t(y * width_ + x)]; }
  // The rows holding colour anywhere in columns left..right - 1.
  std::vector<int32_t> RowsWith(uint32_t colour, int32_t left, int32_t right) const {
    std::vector<int32_t> rows;
    for (int32_t y = 0; y < height_; ++y)
      for (int32_t x = left; x < right; ++x)
        if (At(x, y) == colour) {
          rows.push_back(y);
          break;
        }
    return rows;
  }

 private:
  void Set(int32_t x, int32_t y, uint32_t colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y * width_ + x)] = colour;
  }
  void Fill(const platform::Rect& r, uint32_t colour) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) Set(x, y, colour);
  }
  void Outline(const platform::Rect& r, uint32_t colour) {
    for (int32_t x = r.left; x < r.right; ++x) {
      Set(x, r.top, colour);
      Set(x, r.bottom - 1, colour);
    }
    for (int32_t y = r.top; y < r.bottom; ++y) {
      Set(r.left, y, colour);
      Set(r.right - 1, y, colour);
    }
  }
  int32_t width_, height_;
  std::vector<uint32_t> pixels_;
};

// Regression: with a gutter, going from 3/4 to 1/4 left pieces of the old red line and of
// the pale background in the gutter columns, which no pane painted over.
TEST_F(DesktopTest, ChangingTheLowerPaneSizeLeavesNothingOfTheOldLayout) {
  PutDevice(u"SurroundingGutter", 8);
  Put(u"BottomSection", 34);
  ASSERT_NE(Start(), nullptr);
  for (uint16_t command : {kCmdLowerPaneQuarter, kCmdLowerPaneTwoThirds, kCmdLowerPaneNone, kCmdLowerPaneHalf}) {
    Command(command);
    Raster raster(kClientWidth, kClientHeight);
    raster.Replay(fake::WindowInfo(window_)->dc);
    const int32_t separator = gPaneState.lowerRect.top - 3;
    // The red line is on one row only, in the gutters as well as across the pane.
    EXPECT_EQ(raster.RowsWith(kRed, 0, kClientWidth), std::vector<int32_t>{separator}) << command;
    // Nothing pale above the lower pane's background, in the left gutter or anywhere.
    const std::vector<int32_t> pale = raster.RowsWith(kPaleYellow, 0, kClientWidth);
    ASSERT_FALSE(pale.empty()) << command;
    EXPECT_GE(pale.front(), separator + 1) << command;
  }
  // Only a size change clears the whole client area: turning a page repaints the panes
  // over what they cover, without a blank flash.
  fake::ClearDrawCalls();
  Command(kCmdNextArticle);
  for (const fake::DrawCall& fill : fake::DrawCallsOf(fake::DrawOp::kFill))
    EXPECT_FALSE(fill.rect.left == 0 && fill.rect.top == 0 && fill.rect.right == kClientWidth &&
                 fill.rect.bottom == kClientHeight);
}

// --- The window's place between runs -------------------------------------------------------

TEST_F(DesktopTest, StoredGeometryReadsOnlyInItsOwnForm) {
  struct Case {
    const char16_t* text;
    bool usable;
    WindowGeometry geometry;
  };
  const Case cases[] = {
      {u"100,50,300,400,0", true, {100, 50, 300, 400, false}},
      {u"-1200,-8,640,480,1", true, {-1200, -8, 640, 480, true}},
      {u"100,50,300,400", false, {}},       // a field missing
      {u"100,50,300,400,0,7", false, {}},   // one too many
      {u"100,50,-300,400,0", false, {}},    // no sign on a size
      {u"100,50,0,400,0", false, {}},       // no empty window
      {u"100,50,300,400,2", false, {}},     // a state is 0 or 1
      {u"100,50,300,400000,0", false, {}},  // beyond any screen, and no overflow
      {u"0,-100000,100000,100000,0", true, {0, -100000, 100000, 100000, false}},
      {u"0,0,100001,400,0", false, {}},
      {u"100, 50,300,400,0", false, {}},
      {u"", false, {}},
      {u"x", false, {}},
  };
  for (const Case& c : cases) {
    WindowGeometry g{1, 2, 3, 4, true};
    EXPECT_EQ(ParseWindowGeometry(c.text, &g), c.usable) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    if (!c.usable) continue;
    EXPECT_EQ(g.x, c.geometry.x);
    EXPECT_EQ(g.y, c.geometry.y);
    EXPECT_EQ(g.width, c.geometry.width);
    EXPECT_EQ(g.height, c.geometry.height);
    EXPECT_EQ(g.maximized, c.geometry.maximized);
    EXPECT_EQ(FormatWindowGeometry(g), c.text);
  }
  EXPECT_FALSE(ParseWindowGeometry(nullptr, nullptr));
}

TEST_F(DesktopTest, GeometryIsFittedToTheScreens) {
  const platform::Rect screens[] = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};
  struct Case {
    WindowGeometry in, out;
  };
  const Case cases[] = {
      {{100, 80, 540, 800, false}, {100, 80, 540, 800, false}},        // on the primary: kept
      {{2000, 100, 600, 700, true}, {2000, 100, 600, 700, true}},      // on the second: kept
      {{1890, 50, 600, 700, false}, {1890, 50, 600, 700, false}},      // across both: kept
      {{100, 80, 50, 60, false}, {100, 80, 240, 200, false}},          // below the minimum
      {{5000, 3000, 540, 800, false}, {1380, 240, 540, 800, false}},   // off every screen: onto the primary
      {{-3000, 100, 540, 800, false}, {0, 100, 540, 800, false}},      // left of everything: the primary
      {{100, -500, 540, 800, false}, {100, 0, 540, 800, false}},       // its top above the screen
      {{1900, 100, 540, 800, false}, {1900, 100, 540, 800, false}},    // 20 pixels on the primary, 540 on the second
      {{1880, 1030, 540, 800, false}, {1380, 240, 540, 800, false}},   // only its top pixels on screen
      {{2500, 1000, 540, 800, false}, {2500, 1000, 540, 800, false}},  // its top edge on the second: kept
      {{10, 10, 4000, 3000, false}, {0, 0, 1920, 1040, false}},        // larger than the primary
  };
  // Without screens to fit to, only the minimum size applies.
  const WindowGeometry unfitted = FitWindowGeometry({5000, 3000, 50, 800, false}, screens, 0);
  EXPECT_EQ(unfitted.x, 5000);
  EXPECT_EQ(unfitted.width, kMinimumClientWidth);
  for (const Case& c : cases) {
    const WindowGeometry g = FitWindowGeometry(c.in, screens, 2);
    EXPECT_EQ(g.x, c.out.x) << c.in.x << "," << c.in.y;
    EXPECT_EQ(g.y, c.out.y) << c.in.x << "," << c.in.y;
    EXPECT_EQ(g.width, c.out.width) << c.in.x << "," << c.in.y;
    EXPECT_EQ(g.height, c.out.height) << c.in.x << "," << c.in.y;
    EXPECT_EQ(g.maximized, c.out.maximized);
  }
}

TEST_F(DesktopTest, ScreenListsStopAtTheCallersCapacity) {
  fake::SetScreens({{0, 0, 10, 10}, {10, 0, 20, 10}, {20, 0, 30, 10}});
  platform::Rect areas[2] = {{-1, -1, -1, -1}, {-1, -1, -1, -1}};
  EXPECT_EQ(platform::ScreenWorkAreas(areas, 1), 3);
  EXPECT_EQ(areas[0].right, 10);
  EXPECT_EQ(areas[1].left, -1) << "written past the capacity";
  // More room than screens: only the screens are written.
  fake::SetScreens({{0, 0, 10, 10}});
  areas[1] = {-1, -1, -1, -1};
  EXPECT_EQ(platform::ScreenWorkAreas(areas, 2), 1);
  EXPECT_EQ(areas[1].left, -1) << "written past the screens";
}

TEST_F(DesktopTest, WindowGeometrySurvivesARestart) {
  fake::PutStringSetting(kSettingsKeyPath, u"WindowGeometry", u"100,50,300,400,1");
  ASSERT_NE(Start(), nullptr);
  const fake::FakeWindowInfo* info = fake::WindowInfo(window_);
  EXPECT_EQ(info->rect.left, 100);
  EXPECT_EQ(info->rect.top, 50);
  EXPECT_EQ(info->rect.right, 400);
  EXPECT_EQ(info->rect.bottom, 450);
  EXPECT_TRUE(info->maximized);
  EXPECT_TRUE(info->visible);
  EXPECT_EQ(info->minimumWidth, kMinimumClientWidth);
  EXPECT_EQ(info->minimumHeight, kMinimumClientHeight);

  platform::MoveWindow(window_, 30, 40, 500, 600, true);
  platform::SetWindowPlacement(window_, {{30, 40, 530, 640}, false});
  Command(kCmdExit);
  EXPECT_EQ(StoredText(u"WindowGeometry"), u"30,40,500,600,0");
  EXPECT_EQ(Writes(u"WindowGeometry"), 1);
}

TEST_F(DesktopTest, MissingOrUnusableGeometryKeepsTheDefaultPlace) {
  for (const char16_t* stored : {u"", u"garbage", u"10,10,0,0,0"}) {
    if (stored[0]) fake::PutStringSetting(kSettingsKeyPath, u"WindowGeometry", stored);
    ASSERT_NE(Start(), nullptr);
    const platform::Rect r = fake::WindowInfo(window_)->rect;
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, kClientWidth);
    EXPECT_EQ(r.bottom, kClientHeight);
    EXPECT_FALSE(fake::WindowInfo(window_)->maximized);
    TearDown();
    window_ = nullptr;
    SetUp();
  }
}

TEST_F(DesktopTest, OffScreenGeometryComesBackOntoTheScreen) {
  fake::SetScreens({{0, 0, 800, 600}});
  fake::PutStringSetting(kSettingsKeyPath, u"WindowGeometry", u"3000,2000,300,400,0");
  ASSERT_NE(Start(), nullptr);
  const platform::Rect r = fake::WindowInfo(window_)->rect;
  EXPECT_EQ(r.left, 500);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(DesktopTest, FullScreenStartsIgnoreTheStoredPlace) {
  PutDevice(u"FullScreen", 1);
  fake::PutStringSetting(kSettingsKeyPath, u"WindowGeometry", u"100,50,300,400,1");
  ASSERT_NE(Start(), nullptr);
  EXPECT_FALSE(fake::WindowInfo(window_)->maximized);
  EXPECT_EQ(fake::WindowInfo(window_)->rect.top, 0);
}

// --- Text size ---------------------------------------------------------------------------

TEST_F(DesktopTest, SizeStepsFollowTheChoosersList) {
  struct Case {
    int32_t from;
    int direction;
    int32_t to;
  };
  for (const Case& c : {Case{16, +1, 18}, Case{16, -1, 14}, Case{15, +1, 16}, Case{15, -1, 14}, Case{72, +1, 72},
                        Case{10, -1, 10}, Case{9, +1, 10}, Case{100, -1, 72}, Case{0, +1, 14}, Case{0, -1, 11}}) {
    EXPECT_EQ(SteppedFontSize(c.from, c.direction), c.to) << c.from << " " << c.direction;
  }
  // The list the steps walk is the chooser's own, smallest first.
  for (int i = 1; i < kFontChooserSizeCount; ++i) EXPECT_LT(kFontChooserSizes[i - 1], kFontChooserSizes[i]);
}

TEST_F(DesktopTest, ShortcutsAndCtrlWheelStepTheSizeAndItIsStored) {
  Put(u"FontSize", 16);
  ASSERT_NE(Start(), nullptr);
  Command(kCmdFontLarger);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 18);
  EXPECT_EQ(Upper()->fontSpec.size, 18);
  EXPECT_EQ(Lower()->fontSpec.size, 18);
  Command(kCmdFontSmaller);
  Command(kCmdFontSmaller);
  EXPECT_EQ(Lower()->fontSpec.size, 14);
  Command(kCmdFontChosenSize);
  EXPECT_EQ(Upper()->fontSpec.size, 16);

  // Ctrl+wheel: a notch away from the user is larger; parts of notches add up. Without
  // Ctrl the wheel scrolls as before.
  Wheel(20, platform::kWheelDelta, platform::kMkControl);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 18);
  Wheel(20, -platform::kWheelDelta / 2, platform::kMkControl);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 18);
  Wheel(20, -platform::kWheelDelta / 2, platform::kMkControl);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 16);
  EXPECT_EQ(Upper()->topRow, 0);
  Wheel(20, -platform::kWheelDelta);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 16);
  EXPECT_EQ(Upper()->topRow, 3);

  Command(kCmdFontLarger);
  Command(kCmdExit);
  EXPECT_EQ(Stored(u"FontSize"), 18);
}

TEST_F(DesktopTest, CtrlPlusMinusAndZeroReachTheSizeThroughTheLoop) {
  Put(u"FontSize", 16);
  ASSERT_NE(Start(), nullptr);
  fake::QueueMessage(window_, platform::kMsgKeyDown, platform::kVkOemPlus, 0, platform::kAccelControl);
  fake::QueueMessage(window_, platform::kMsgKeyDown, platform::kVkAdd, 0, platform::kAccelControl);
  fake::QueueMessage(window_, platform::kMsgKeyDown, platform::kVkOemMinus, 0, platform::kAccelControl);
  platform::RunMessageLoop(window_, kReaderAccelerators, kReaderAcceleratorCount);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 18);
  fake::QueueMessage(window_, platform::kMsgKeyDown, '0', 0, platform::kAccelControl);
  platform::RunMessageLoop(window_, kReaderAccelerators, kReaderAcceleratorCount);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 16);
  // Without Ctrl the same keys are no shortcut.
  fake::QueueMessage(window_, platform::kMsgKeyDown, platform::kVkAdd, 0, 0);
  platform::RunMessageLoop(window_, kReaderAccelerators, kReaderAcceleratorCount);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 16);
}

// A page whose paragraphs wrap: how many rows each takes depends on the font's size.
void AddWrappingArticle(int n) {
  std::vector<uint8_t> stream;
  for (int p = 0; p < 30; ++p) {
    const std::string text = (p == 0 ? "n" + std::to_string(n) : "p" + std::to_string(p)) + " aaaa bbbb cccc dddd eeee ffff";
    stream.push_back(0x01);
    stream.push_back(0x00);
    stream.insert(stream.end(), text.begin(), text.end());
    stream.push_back(0);
  }
  stream.push_back(0);
  fake::AddResource(kArticleResourceBase + uint32_t(n), platform::kResourceTypeRawData, ArticleResource(stream));
}

// Before the first size message there is no client size to lay the panes out for: a size
// step changes the fonts and leaves the places alone.
TEST_F(DesktopTest, SizeStepBeforeTheFirstLayoutMovesNothing) {
  Put(u"FontSize", 16);
  ASSERT_NE(Start(false), nullptr);
  const int moves = fake::WindowInfo(UpperBar())->moves;
  const int32_t width = Upper()->width;
  Command(kCmdFontLarger);
  EXPECT_EQ(Upper()->fontSpec.size, 18);
  EXPECT_EQ(fake::WindowInfo(UpperBar())->moves, moves);
  EXPECT_EQ(Upper()->width, width);
}

TEST_F(DesktopTest, SteppingTheSizeKeepsTheTopLineInView) {
  AddWrappingArticle(1);
  Put(u"FontSize", 12);
  ASSERT_NE(Start(), nullptr);
  ASSERT_GT(Upper()->maxTopRow, 12);
  Upper()->topRow = 11;
  RepaintPanes(window_, kRepaintAll);
  const uint16_t top = PageViewTopOffset(Upper());
  ASSERT_NE(top, 0);
  EXPECT_EQ(PageViewTopOffset(nullptr), 0);
  for (uint16_t command : {kCmdFontLarger, kCmdFontLarger, kCmdFontSmaller, kCmdFontChosenSize}) {
    Command(command);
    const uint16_t now = PageViewTopOffset(Upper());
    // The row at the top holds the line that was at the top.
    const LineRecord* row = nullptr;
    for (const LineRecord* entry = Upper()->lines; !LineRecordIsEnd(*entry); ++entry)
      if (entry->offset == now) row = entry;
    ASSERT_NE(row, nullptr);
    EXPECT_LE(row->offset, top) << command;
    EXPECT_LE(top, row->offset + row->length) << command;
  }
}

// --- Start-up messages ----------------------------------------------------------------------

TEST_F(DesktopTest, StartUpMessagesWaitForTheWindowToShow) {
  fake::FailResourceLoad(kArticleResourceBase + 2);
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"Resource not found");
  EXPECT_EQ(fake::MessageBoxes()[0].owner, window_);
  EXPECT_TRUE(fake::MessageBoxes()[0].ownerVisible);
  // Later ones show at once, over the window.
  GoToArticle(window_, 3);
  fake::FailResourceLoad(kArticleResourceBase + 6);
  GoToArticle(window_, 5);
  ASSERT_EQ(fake::MessageBoxes().size(), 2u);
  EXPECT_TRUE(fake::MessageBoxes()[1].ownerVisible);
}

TEST_F(DesktopTest, WaitingMessagesShowInOrderAndOnlyOnce) {
  ASSERT_NE(Start(), nullptr);
  platform::ShowWindow(window_, platform::kSwHide);
  EXPECT_EQ(ShowOwnedMessage(window_, u"a", u"A", platform::kMbYesNo), platform::kIdNo);
  EXPECT_EQ(ShowOwnedMessage(window_, u"b", u"B", platform::kMbOk), platform::kIdOk);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  platform::ShowWindow(window_, platform::kSwShow);
  ShowWaitingMessages(window_);
  ShowWaitingMessages(window_);
  ASSERT_EQ(fake::MessageBoxes().size(), 2u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"a");
  EXPECT_EQ(fake::MessageBoxes()[1].text, u"b");
  EXPECT_EQ(fake::MessageBoxes()[1].owner, window_);
  // No more than four wait: a fifth is shown at once rather than lost.
  platform::ShowWindow(window_, platform::kSwHide);
  for (int i = 0; i < 5; ++i) ShowOwnedMessage(window_, u"c", nullptr, platform::kMbOk);
  EXPECT_EQ(fake::MessageBoxes().size(), 3u);
  ShowWaitingMessages(window_);
  EXPECT_EQ(fake::MessageBoxes().size(), 7u);
}

// --- Inner margin -----------------------------------------------------------------------------

TEST_F(DesktopTest, PanesKeepAMarginScaledWithTheFont) {
  fake::SetPaneMarginPercent(25);
  Put(u"FontSize", 16);
  ASSERT_NE(Start(), nullptr);
  // A quarter of the 16-pixel text height on each side of both views.
  EXPECT_EQ(Upper()->x, 4);
  EXPECT_EQ(Lower()->x, 4);
  EXPECT_EQ(Upper()->width, kClientWidth - 13 - 8);
  EXPECT_EQ(Lower()->width, kClientWidth - 13 - 8);
  // The lower pane's background still spans the pane, margin included.
  EXPECT_EQ(gPaneState.lowerRect.left, 0);
  EXPECT_EQ(gPaneState.lowerRect.right, kClientWidth - 13);
  // A click in the margin counts for the pane.
  Click(1, Lower()->y + 5);
  EXPECT_EQ(ActiveView(), Lower());

  // The margin follows the size.
  Command(kCmdFontLarger);
  Command(kCmdFontLarger);
  EXPECT_EQ(gReaderSettings.fontSpec.size, 20);
  EXPECT_EQ(Upper()->x, 5);
  EXPECT_EQ(Upper()->width, kClientWidth - 13 - 10);
}

TEST_F(DesktopTest, WithoutAPlatformMarginTheLayoutIsUnchanged) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Upper()->x, 0);
  EXPECT_EQ(Upper()->width, kClientWidth - 13);
}

}  // namespace
}  // namespace shell_test
