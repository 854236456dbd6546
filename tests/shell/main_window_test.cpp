// Start-up, single instance, the bars and the main window's messages, on the fake backend.
#include "shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

class MainWindowTest : public ShellTest {};

TEST_F(MainWindowTest, FirstStartShowsArticleOneWithItsCommentary) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(ArticleIn(Upper()), 1);
  EXPECT_EQ(ArticleIn(Lower()), 2);
  EXPECT_EQ(fake::WindowInfo(window_)->title, u"Solmar");
  EXPECT_EQ(fake::WindowInfo(window_)->className, u"Solmar");
  EXPECT_TRUE(fake::WindowInfo(window_)->visible);
  EXPECT_EQ(fake::InstanceRequestWindow(), window_);
  EXPECT_FALSE(Checked(kCmdReverse));
  EXPECT_FALSE(Checked(kCmdBookmark));
  EXPECT_EQ(RadioChecked(), 412);
  // Only "Program Path" is written before shutdown.
  ASSERT_EQ(fake::SettingWrites().size(), 1u);
  EXPECT_EQ(fake::SettingWrites()[0].name, u"Program Path");
}

TEST_F(MainWindowTest, StoredStateComesBackWithMarks) {
  Put(u"Lesson", 7);
  Put(u"LastPosition", 5);
  Put(u"BottomSectionLastPosition", 3);
  Put(u"Flags", kDefaultFlags | kFlagReverse);
  Put(u"BottomSection", 34);
  fake::PutBytesSetting(kSettingsKeyPath, u"Bookmarks", {7, 0, 0, 0});
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(ArticleIn(Upper()), 7);
  EXPECT_EQ(ArticleIn(Lower()), 8);
  EXPECT_EQ(Upper()->topRow, 5);
  EXPECT_EQ(Lower()->topRow, 3);
  EXPECT_TRUE(Checked(kCmdReverse));
  EXPECT_TRUE(Checked(kCmdBookmark));
  EXPECT_EQ(RadioChecked(), 434);
  // The stored Reverse option turns the panes' text around from the first paint on: the
  // upper pane's top row "w5" (its letter at 1488 + 0x77 - 0x61) is drawn "5" first.
  bool reversed = false, unreversed = false;
  for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText)) {
    reversed |= c.text == u"5\u05E6";
    unreversed |= c.text == u"\u05E65";
  }
  EXPECT_TRUE(reversed);
  EXPECT_FALSE(unreversed);
}

TEST_F(MainWindowTest, SecondStartTellsTheRunningReaderAndTouchesNoSettings) {
  fake::SetOtherInstanceRunning(true);
  EXPECT_EQ(ReaderMain(nullptr, platform::kSwShowNormal), 0);
  ASSERT_EQ(fake::InstanceRequestsSent().size(), 1u);
  EXPECT_EQ(fake::InstanceRequestsSent()[0], platform::InstanceRequest::kSecondStart);
  EXPECT_TRUE(fake::SettingWrites().empty());
  EXPECT_TRUE(fake::AllWindows().empty());
  EXPECT_EQ(fake::MessageLoopsRun(), 0);
}

TEST_F(MainWindowTest, SecondStartOpensIndexOnlyWhenReaderIsInFront) {
  ASSERT_NE(Start(), nullptr);
  auto commandsSent = [] {
    int n = 0;
    for (const fake::MessageCall& m : fake::SentMessages()) n += m.message == platform::kMsgCommand && m.wParam == kCmdIndex;
    return n;
  };
  fake::SetForeground(window_);
  Send(platform::kMsgSecondStart, 0, 0);
  EXPECT_EQ(commandsSent(), 1);
  EXPECT_TRUE(fake::ForegroundRequests().empty());

  // Another program in front: the reader only comes forward.
  fake::SetForeground(fake::AddForeignWindow(u"Other", u"Other", true));
  Send(platform::kMsgSecondStart, 0, 0);
  EXPECT_EQ(commandsSent(), 1);
  ASSERT_EQ(fake::ForegroundRequests().size(), 1u);
  EXPECT_EQ(fake::ForegroundRequests()[0], window_);

  // One of the reader's own dialogs in front: nothing happens.
  fake::ScriptDialog(900, {});
  platform::DialogBox(
      900, window_,
      [](Window* dialog, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
        if (message == platform::kMsgInitDialog) {
          fake::SetForeground(dialog);
          platform::SendMessage(gShellWindows.mainWindow, platform::kMsgSecondStart, 0, 0);
        }
        return 0;
      },
      0);
  EXPECT_EQ(commandsSent(), 1);
  EXPECT_EQ(fake::ForegroundRequests().size(), 1u);
}

TEST_F(MainWindowTest, BarsCarryMenuButtonsImagesAndTips) {
  ASSERT_NE(Start(), nullptr);
  const fake::FakeBarInfo* bar = fake::BarInfo(gShellWindows.bar);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isMenuBar);
  EXPECT_EQ(bar->flags, platform::kMenuBarHideInputPanelButton);
  EXPECT_EQ(bar->buttonCaptions, (std::vector<std::u16string>{u"Go", u"Quelm"}));
  EXPECT_EQ(bar->tips, (std::vector<std::u16string>{u"", u"Previous Article", u"Choose Article", u"Next Article",
                                                    u"Choose Font", u"Search", u"Search Again"}));
  EXPECT_EQ(bar->bitmapId, 114u);
  EXPECT_EQ(bar->imageCount, 6);
  EXPECT_EQ(bar->imageWidth, 16);
  const uint16_t commands[] = {110, 119, 109, 40006, 116, 117};
  ASSERT_EQ(bar->buttons.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(bar->buttons[size_t(i)].image, i);
    EXPECT_EQ(bar->buttons[size_t(i)].command, commands[i]);
  }
  EXPECT_FALSE(bar->closeButton);
  EXPECT_EQ(gShellWindows.barHeight, 26);

  // Both popups, every item in order with its label: groups apart, shortcut texts after a
  // 0x08. (Two swapped labels passed when only the order of the commands was checked.)
  using Item = std::pair<uint16_t, std::u16string>;
  auto items = [](platform::Menu* menu) {
    std::vector<Item> out;
    for (const fake::FakeMenuItem& item : fake::MenuItems(menu)) out.emplace_back(item.command, item.text);
    return out;
  };
  const std::vector<Item> go = {
      {40004, u"&About"},
      {129, u"Check For &Updates"},
      {0, u""},
      {40006, u"F&ont\bCtrl+F"},
      {122, u"Re&verse"},
      {40012, u"&Language"},
      {40104, u"Dar&k Colours\bCtrl+Shift+N"},
      {0, u""},
      {119, u"&Index\bCtrl+D"},
      {123, u"&Bookmark"},
      {0, u""},
      {110, u"&Previous Article"},
      {109, u"&Next Article"},
      {40022, u"Go to &Verse…\bCtrl+G"},
      {0, u""},
      {116, u"&Search\bAlt+F3"},
      {117, u"Search A&gain\bF3"},
      {40011, u"Find &All\bShift+F3"},
      {0, u""},
      {40007, u"&Copy\bCtrl+C"},
      {40009, u"&Append to ClipBoard\bCtrl+E"},
      {0, u""},
      {40021, u"P&rint\u2026\bCtrl+P"},
      {0, u""},
      {40005, u"E&xit\bCtrl+Q"},
  };
  const std::vector<Item> sizes = {
      {414, u"1/&4 Screen"}, {413, u"1/&3 Screen"}, {412, u"1/&2 Screen"},
      {423, u"2/3 Screen"},  {434, u"3/4 Screen"},  {401, u"&None"},
  };
  EXPECT_EQ(items(ReaderMenu()), go);
  EXPECT_EQ(items(LowerPaneSizeMenu()), sizes);
}

TEST_F(MainWindowTest, MenuBarPopupsCarryTheirOwnItems) {
  fake::SetOsVersion(4, 21);
  ASSERT_NE(Start(), nullptr);
  std::vector<std::u16string> sizes, go;
  for (const fake::FakeMenuItem& item : fake::MenuItems(LowerPaneSizeMenu())) sizes.push_back(item.text);
  for (const fake::FakeMenuItem& item : fake::MenuItems(ReaderMenu())) go.push_back(item.text);
  EXPECT_EQ(sizes, (std::vector<std::u16string>{u"1/&4 Screen", u"1/&3 Screen", u"1/&2 Screen", u"2/3 Screen",
                                                u"3/4 Screen", u"&None"}));
  ASSERT_EQ(go.size(), 25u);
  EXPECT_EQ(go.front(), u"&About");
  EXPECT_EQ(go.back(), u"E&xit\bCtrl+Q");
}

TEST_F(MainWindowTest, MenuBarFromShellVersion421EvenWithoutTheOption) {
  fake::SetOsVersion(4, 21);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(gDeviceOptions.menuBarOnBottom, 1);
  EXPECT_TRUE(fake::BarInfo(gShellWindows.bar)->isMenuBar);
  EXPECT_EQ(Upper()->y, 0);
}

TEST_F(MainWindowTest, OlderShellPutsCommandBarAtTheTop) {
  fake::SetOsVersion(4, 20);
  PutDevice(u"FullScreen", 1);
  ASSERT_NE(Start(), nullptr);
  const fake::FakeBarInfo* bar = fake::BarInfo(gShellWindows.bar);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isMenuBar);
  EXPECT_TRUE(bar->closeButton);
  EXPECT_EQ(Upper()->y, 26);
  // The marks live in the command bar's menu.
  Command(kCmdReverse);
  EXPECT_TRUE(Checked(kCmdReverse));
  EXPECT_EQ(RadioChecked(), 412);
}

TEST_F(MainWindowTest, WithoutABarTheReaderStillRuns) {
  fake::FailBarCreation(true);
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(gShellWindows.bar, nullptr);
  EXPECT_EQ(gShellWindows.barHeight, 0);
  EXPECT_EQ(ArticleIn(Upper()), 1);
  Key(platform::kVkRight);
  EXPECT_EQ(ArticleIn(Upper()), 3);
}

TEST_F(MainWindowTest, WindowCreationFailureEndsWithoutSaving) {
  fake::FailWindowCreation(u"Solmar");
  EXPECT_EQ(ReaderMain(nullptr, platform::kSwShowNormal), 0);
  EXPECT_EQ(fake::MessageLoopsRun(), 0);
  EXPECT_EQ(Writes(u"Lesson"), 0);
  // The program ends here; what the settings load took goes with the process.
  for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
    platform::DeleteBitmap(bitmap);
    bitmap = nullptr;
  }
}

// A window that reports, when the loop hands it message 1234, whether the task bar shows.
Window* gProbedTaskBar = nullptr;
int gTaskBarSeenVisible = -1;
Window* MakeTaskBarProbe(Window* taskBar) {
  gProbedTaskBar = taskBar;
  gTaskBarSeenVisible = -1;
  platform::RegisterWindowClass({0,
                                 [](Window*, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
                                   if (message == 1234) gTaskBarSeenVisible = platform::IsWindowVisible(gProbedTaskBar);
                                   return 0;
                                 },
                                 nullptr, nullptr, u"Probe"});
  return platform::CreateWindow(0, u"Probe", u"", 0, 0, 0, 1, 1, nullptr, nullptr);
}

TEST_F(MainWindowTest, FullScreenHidesTaskBarWhileRunningAndShowsItAfter) {
  PutDevice(u"FullScreen", 1);
  Window* taskBar = fake::AddForeignWindow(u"HHTaskBar", u"", true);
  fake::QueueMessage(MakeTaskBarProbe(taskBar), 1234, 0, 0);
  // Ctrl+Q comes through the accelerator table as Exit, which saves and quits.
  fake::QueueMessage(nullptr, platform::kMsgKeyDown, 'Q', 0, platform::kAccelControl);
  EXPECT_EQ(ReaderMain(nullptr, platform::kSwShowNormal), 0);
  EXPECT_EQ(gTaskBarSeenVisible, 0);
  EXPECT_TRUE(fake::WindowInfo(taskBar)->visible);
  ASSERT_FALSE(fake::FullScreenStates().empty());
  EXPECT_EQ(fake::FullScreenStates()[0].second, 42u);
  EXPECT_EQ(fake::LoopAccelerators().size(), kReaderAcceleratorCount);
  EXPECT_EQ(Writes(u"Lesson"), 1);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
}

TEST_F(MainWindowTest, TaskBarHiddenAtStartStaysHidden) {
  PutDevice(u"FullScreen", 1);
  Window* taskBar = fake::AddForeignWindow(u"HHTaskBar", u"", false);
  fake::QueueMessage(nullptr, platform::kMsgKeyDown, 'Q', 0, platform::kAccelControl);
  EXPECT_EQ(ReaderMain(nullptr, platform::kSwShowNormal), 0);
  EXPECT_FALSE(fake::WindowInfo(taskBar)->visible);
  EXPECT_NE(fake::WindowInfo(taskBar)->lastShowState, platform::kSwShow);
}

TEST_F(MainWindowTest, UnhandledKeyAnswersOneWithoutDefaultProcessing) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Key('A'), 1);
  EXPECT_EQ(Key(platform::kVkF1), 1);
  EXPECT_EQ(Key(platform::kVkReturn), 0);  // empty search string: handled, nothing done
  EXPECT_TRUE(fake::DefaultProcessing().empty());
}

TEST_F(MainWindowTest, UnknownCommandGoesToDefaultProcessing) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Command(kCmdNextArticle), 0);
  EXPECT_TRUE(fake::DefaultProcessing().empty());
  Command(4242);
  ASSERT_EQ(fake::DefaultProcessing().size(), 1u);
  EXPECT_EQ(fake::DefaultProcessing()[0].message, platform::kMsgCommand);
}

TEST_F(MainWindowTest, ActivationSetsFullScreenStateUnlessIgnored) {
  ASSERT_NE(Start(), nullptr);
  Send(platform::kMsgActivate, 1, 0);
  Send(platform::kMsgActivate, 0, 0);
  ASSERT_EQ(fake::FullScreenStates().size(), 1u);
  EXPECT_EQ(fake::FullScreenStates()[0].second, 8u);
  gDeviceOptions.ignoreActivate = 1;
  Send(platform::kMsgActivate, 1, 0);
  EXPECT_EQ(fake::FullScreenStates().size(), 1u);
  EXPECT_EQ(fake::DefaultProcessing().size(), 1u);
}

TEST_F(MainWindowTest, EveryWayOfClosingSavesOnceAndQuits) {
  ASSERT_NE(Start(), nullptr);
  platform::WindowPosition plain{0, 0, 10, 10, platform::kSwpNoActivate};
  Send(platform::kMsgWindowPositionChanged, 0, intptr_t(&plain));
  EXPECT_FALSE(fake::WindowInfo(window_)->destroyed);
  platform::WindowPosition special{0, 0, 10, 10, 0x80000 | platform::kSwpNoActivate};
  Send(platform::kMsgWindowPositionChanged, 0, intptr_t(&special));
  EXPECT_TRUE(fake::WindowInfo(window_)->destroyed);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
  EXPECT_EQ(Writes(u"Lesson"), 1);
  EXPECT_EQ(fake::WindowDcsOut(), 0);
  EXPECT_TRUE(fake::WindowInfo(gPaneState.upperScrollBar)->destroyed);
}

TEST_F(MainWindowTest, PrivateQuitMessageClosesAsExitDoes) {
  ASSERT_NE(Start(), nullptr);
  Key(platform::kVkRight);
  Key(platform::kVkRight);
  Send(platform::kMsgPrivateQuit, 0, 0);
  EXPECT_TRUE(fake::WindowInfo(window_)->destroyed);
  EXPECT_EQ(Stored(u"Lesson"), 5);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
}

TEST_F(MainWindowTest, AllocationFailureMidRunSavesOnceAndReleasesOnce) {
  ASSERT_NE(Start(), nullptr);
  Key(platform::kVkRight);
  fake::FailAllocation(1);
  EXPECT_EQ(AllocOrAbort(64), nullptr);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"There is not enough memory, aborting");
  EXPECT_EQ(Upper(), nullptr);
  // Input still arriving before the loop ends finds no views and does no harm.
  Key(platform::kVkRight);
  Key(platform::kVkDown);
  Tap(20, 20);
  Send(platform::kMsgPaint, 0, 0);
  // The window is destroyed afterwards: nothing is written or released twice.
  Command(kCmdExit);
  EXPECT_EQ(Writes(u"Lesson"), 1);
  EXPECT_EQ(Stored(u"Lesson"), 3);
  EXPECT_FALSE(fake::QuitRequests().empty());
}

TEST_F(MainWindowTest, SetUpDialogAddsDoneButtonUnlessFullScreen) {
  ASSERT_NE(Start(), nullptr);
  const size_t opened = fake::Dialogs().size();  // the first start's font chooser
  // A dialog without a template: the fake places it at the default size.
  fake::ScriptDialog(900, {});
  auto proc = [](Window* dialog, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
    if (message == platform::kMsgInitDialog) SetUpDialog(dialog, 30);
    return 0;
  };
  platform::DialogBox(900, window_, proc, 0);
  gDeviceOptions.fullScreen = 1;
  platform::DialogBox(900, window_, proc, 0);
  ASSERT_EQ(fake::ShellDialogInits().size(), 2u);
  EXPECT_EQ(fake::ShellDialogInits()[0].second, 31u);
  EXPECT_EQ(fake::ShellDialogInits()[1].second, 30u);
  // Full screen: moved to the top, keeping its left edge, as tall as its old bottom.
  ASSERT_EQ(fake::Dialogs().size(), opened + 2);
  const fake::FakeWindowInfo* second = fake::WindowInfo(fake::Dialogs()[opened + 1].dialog);
  EXPECT_EQ(second->rect.top, 0);
  EXPECT_EQ(second->rect.bottom, kClientHeight);
  EXPECT_EQ(fake::WindowInfo(fake::Dialogs()[opened].dialog)->moves, 0);
}

}  // namespace
}  // namespace shell_test
