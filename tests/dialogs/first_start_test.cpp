// The font chooser from start-up and from the Font command: what the panes take afterwards;
// and a start-up whose settings load runs out of memory.
#include <string>
#include <vector>

#include "dialogs/font_chooser.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

constexpr int kDavid = 0, kTahoma = 3;

class ChooserCallersTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetFontChooserState();
  }
  void TearDown() override {
    ResetFontChooserState();
    ShellTest::TearDown();
  }
  static int ChoosersOpened() {
    int n = 0;
    for (const fake::RecordedDialog& d : fake::Dialogs()) n += d.templateId == kFontChooserTemplate;
    return n;
  }
};

TEST_F(ChooserCallersTest, FirstStartAsksAndThePanesTakeTheResultWhateverTheAnswer) {
  struct Case {
    int closeWith;
    std::u16string face;  // what both panes draw with afterwards
    int32_t size;
  } const cases[] = {{platform::kIdOk, u"David CLM", 24},
                     // Cancel keeps the face and size chosen in advance (24 at 96 per inch).
                     {platform::kIdCancel, u"Frank Ruehl CLM", 24}};
  for (const Case& c : cases) {
    SetUp();
    fake::PutNumberSetting(kSettingsKeyPath, u"FontAsciiBase", 0);
    fake::ScriptDialogSteps(kFontChooserTemplate, {fake::SelectListItem(kFontListId, kDavid),
                                                   fake::SelectListItem(kSizeListId, 8), fake::PressButton(c.closeWith)});
    ASSERT_NE(Start(), nullptr);
    ASSERT_EQ(ChoosersOpened(), 1);
    EXPECT_EQ(fake::Dialogs().back().owner, window_);
    EXPECT_TRUE(fake::WindowInfo(window_)->visible);  // shown before the chooser
    for (PageView* view : {Upper(), Lower()}) {
      EXPECT_EQ(std::u16string(view->fontSpec.faceName), c.face) << c.closeWith;
      EXPECT_EQ(view->fontSpec.size, c.size) << c.closeWith;
      // The stored 0 became the Unicode base, and the panes follow it even on Cancel.
      EXPECT_EQ(view->fontSpec.fontAsciiBase, 1488) << c.closeWith;
    }
    TearDown();
  }
}

TEST_F(ChooserCallersTest, AStoredFaceKeepsTheChooserAway) {
  fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(ChoosersOpened(), 0);
}

TEST_F(ChooserCallersTest, FontCommandGivesThePanesTheChoiceOnOkOnly) {
  fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
  ASSERT_NE(Start(), nullptr);
  fake::ScriptDialogSteps(kFontChooserTemplate, {fake::SelectListItem(kFontListId, kDavid),
                                                 fake::SelectListItem(kSizeListId, 2), fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_EQ(std::u16string(Upper()->fontSpec.faceName), u"Tahoma");
  EXPECT_EQ(std::u16string(gReaderSettings.fontSpec.faceName), u"Tahoma");
  fake::ScriptDialogSteps(kFontChooserTemplate, {fake::SelectListItem(kFontListId, kDavid),
                                                 fake::SelectListItem(kSizeListId, 2), fake::PressButton(platform::kIdOk)});
  Command(kCmdFont);
  for (PageView* view : {Upper(), Lower()}) {
    EXPECT_EQ(std::u16string(view->fontSpec.faceName), u"David CLM");
    EXPECT_EQ(view->fontSpec.size, 12);
  }
}

TEST_F(ChooserCallersTest, CancelledFontCommandStillGivesThePanesTheUnicodeBaseItMade) {
  fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
  ASSERT_NE(Start(), nullptr);
  gReaderSettings.fontSpec.fontAsciiBase = 0;
  PageViewSetFont(Upper(), &gReaderSettings.fontSpec);
  PageViewSetFont(Lower(), &gReaderSettings.fontSpec);
  fake::ScriptDialogSteps(kFontChooserTemplate, {fake::SelectListItem(kFontListId, kTahoma), fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_EQ(Upper()->fontSpec.fontAsciiBase, 1488);
  EXPECT_EQ(Lower()->fontSpec.fontAsciiBase, 1488);
}

// Regression: the window used to open (and the chooser after it) once "There is not enough
// memory, aborting" had been shown and the store shut down.
TEST_F(ChooserCallersTest, OutOfMemoryWhileLoadingEndsStartUpBeforeAnyWindow) {
  fake::PutStringSetting(kSettingsKeyPath, u"SearchString", u"ab");
  fake::ScriptDialogSteps(kFontChooserTemplate, {fake::PressButton(platform::kIdOk)});
  fake::FailAllocationsFrom(1);
  EXPECT_EQ(Start(), nullptr);
  fake::FailAllocationsFrom(0);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"There is not enough memory, aborting");
  for (Window* w : fake::AllWindows()) EXPECT_NE(fake::WindowInfo(w)->className, kReaderClassName);
  EXPECT_TRUE(fake::Dialogs().empty());
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
}

}  // namespace
}  // namespace shell_test
