// The ColorScheme setting, the menu's switch and the desktop's colours, on the fake backend.
#include "shell/colour_scheme_choice.h"
#include "reader/colour_scheme_switch.h"
#include "shell_fixture.h"

namespace {

using namespace shell_test;

class ColourSchemeChoiceTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetColourScheme();
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
  }
  void TearDown() override {
    ShellTest::TearDown();
    ResetColourScheme();
  }
  // The stored ColorScheme text; "-" when none is stored.
  static std::u16string StoredScheme() {
    const fake::StoredSetting* v = fake::FindSetting(kSettingsKeyPath, u"ColorScheme");
    if (!v) return u"-";
    EXPECT_EQ(v->type, platform::kSettingString);
    std::u16string text(v->data.size() / 2, u'\0');
    std::memcpy(text.data(), v->data.data(), text.size() * 2);
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }
  // Everything that shows the scheme: the table painting reads, the platform's colours,
  // the tree's pictures, the panes' text ground and the menu's mark.
  void ExpectShown(ColourSchemeKind kind) {
    const ColourScheme& scheme = ColourSchemeOf(kind);
    EXPECT_EQ(gColourScheme, &scheme);
    ASSERT_FALSE(fake::ChromeColoursGiven().empty());
    EXPECT_EQ(fake::ChromeColoursGiven().back().dark, kind == ColourSchemeKind::kDark);
    EXPECT_EQ(fake::ChromeColoursGiven().back().pictureGround, scheme.chrome.pictureGround);
    for (platform::Bitmap* bitmap : gIndexBitmaps.bitmaps) {
      ASSERT_NE(bitmap, nullptr);
      EXPECT_EQ(fake::BitmapInfo(bitmap)->ink, scheme.chrome.pictureInk);
      EXPECT_EQ(fake::BitmapInfo(bitmap)->ground, scheme.chrome.pictureGround);
    }
    if (Upper()) {
      EXPECT_EQ(fake::BackgroundColourOf(Upper()->dc), scheme.pageGround);
    }
    EXPECT_EQ(Checked(kCmdDarkColours), kind == ColourSchemeKind::kDark);
  }
};

TEST(ColourSchemeSettingTest, StoredTextsNameASetting) {
  struct Case {
    const char16_t* text;
    int32_t setting;
  };
  const Case cases[] = {
      {u"light", kColourSchemeLight}, {u"dark", kColourSchemeDark},     {u"system", kColourSchemeSystem},
      {u"Dark", kColourSchemeDark},   {u"LIGHT", kColourSchemeLight},   {u" dark\t", kColourSchemeDark},
      {u"", kColourSchemeSystem},     {u"darker", kColourSchemeSystem}, {u"dar", kColourSchemeSystem},
      {u"d ark", kColourSchemeSystem}, {u"2", kColourSchemeSystem},     {nullptr, kColourSchemeSystem},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColourSchemeSettingFromText(c.text), c.setting)
        << (c.text ? std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)) : "none");
  for (int32_t setting : {kColourSchemeSystem, kColourSchemeLight, kColourSchemeDark})
    EXPECT_EQ(ColourSchemeSettingFromText(ColourSchemeSettingText(setting)), setting);
  EXPECT_EQ(std::u16string(ColourSchemeSettingText(7)), u"system");
}

TEST_F(ColourSchemeChoiceTest, StartsInTheStoredSchemeOrTheDesktops) {
  struct Case {
    const char16_t* stored;  // none: no value
    bool desktopDark;
    ColourSchemeKind shown;
  };
  const Case cases[] = {
      {nullptr, false, ColourSchemeKind::kLight}, {nullptr, true, ColourSchemeKind::kDark},
      {u"system", true, ColourSchemeKind::kDark}, {u"dark", false, ColourSchemeKind::kDark},
      {u"light", true, ColourSchemeKind::kLight}, {u"garbage", true, ColourSchemeKind::kDark},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    SCOPED_TRACE(c.stored ? std::string(c.stored, c.stored + std::char_traits<char16_t>::length(c.stored)) : "none");
    if (c.stored) fake::PutStringSetting(kSettingsKeyPath, u"ColorScheme", c.stored);
    fake::SetDesktopPrefersDark(c.desktopDark);
    ASSERT_NE(Start(), nullptr);
    ExpectShown(c.shown);
  }
}

TEST_F(ColourSchemeChoiceTest, TheDesktopsSchemeIsNotWrittenAChosenOneIs) {
  fake::SetDesktopPrefersDark(true);
  ASSERT_NE(Start(), nullptr);
  platform::DestroyWindow(window_);
  EXPECT_EQ(Writes(u"ColorScheme"), 0);
  EXPECT_EQ(StoredScheme(), u"-");

  TearDown();
  SetUp();
  fake::PutStringSetting(kSettingsKeyPath, u"ColorScheme", u"Dark");
  ASSERT_NE(Start(), nullptr);
  platform::DestroyWindow(window_);
  EXPECT_EQ(StoredScheme(), u"dark") << "written again, in its usual spelling";
}

TEST_F(ColourSchemeChoiceTest, MenuCommandSwitchesRepaintsAndStores) {
  ASSERT_NE(Start(), nullptr);
  ExpectShown(ColourSchemeKind::kLight);
  const ColourScheme& dark = ColourSchemeOf(ColourSchemeKind::kDark);
  fake::ClearDrawCalls();
  EXPECT_EQ(Command(kCmdDarkColours), 0);
  ExpectShown(ColourSchemeKind::kDark);
  // The whole client is painted again: the gutter, the page, the commentary's ground and
  // the line above it, the text on the page's ground.
  bool gutter = false, page = false, commentary = false, separator = false;
  for (const fake::DrawCall& c : fake::DrawCalls()) {
    if (c.op == fake::DrawOp::kFill && c.rect.left == 0 && c.rect.top == 0 && c.rect.right == kClientWidth &&
        c.rect.bottom == kClientHeight)
      gutter = c.brushColour == dark.gutter;
    if (c.op == fake::DrawOp::kFill && c.rect.top == Upper()->y && c.rect.left == Upper()->x)
      page = c.brushColour == dark.pageGround;
    if (c.op == fake::DrawOp::kRectangle && c.hasBrush && c.brushColour == dark.commentaryGround) commentary = true;
    if (c.op == fake::DrawOp::kRectangle && c.penColour == dark.separator) separator = true;
    if (c.op == fake::DrawOp::kText && c.rect.top < Upper()->y + Upper()->height) {
      EXPECT_EQ(c.textColour, dark.text);
      EXPECT_EQ(c.backgroundColour, dark.pageGround);
    }
  }
  EXPECT_TRUE(gutter && page && commentary && separator);
  EXPECT_GT(TextDrawnIn(Upper()), 0);
  EXPECT_GT(TextDrawnIn(Lower()), 0);
  EXPECT_EQ(fake::LiveLoadedBitmaps(), 3) << "the old pictures are released";

  // Nothing is stored before the end; then the choice is.
  EXPECT_EQ(Writes(u"ColorScheme"), 0);
  EXPECT_EQ(Command(kCmdDarkColours), 0);
  ExpectShown(ColourSchemeKind::kLight);
  EXPECT_EQ(Command(kCmdDarkColours), 0);
  platform::DestroyWindow(window_);
  EXPECT_EQ(StoredScheme(), u"dark");
}

TEST_F(ColourSchemeChoiceTest, SwitchingFromTheDesktopsDarkGoesLight) {
  fake::SetDesktopPrefersDark(true);
  ASSERT_NE(Start(), nullptr);
  ExpectShown(ColourSchemeKind::kDark);
  Command(kCmdDarkColours);
  ExpectShown(ColourSchemeKind::kLight);
  platform::DestroyWindow(window_);
  EXPECT_EQ(StoredScheme(), u"light");
}

TEST_F(ColourSchemeChoiceTest, FollowsTheDesktopOnlyWithTheSystemSetting) {
  ASSERT_NE(Start(), nullptr);
  ExpectShown(ColourSchemeKind::kLight);
  fake::SetDesktopPrefersDark(true);
  fake::ClearDrawCalls();
  EXPECT_EQ(Send(platform::kMsgSysColourChange, 0, 0), 0);
  ExpectShown(ColourSchemeKind::kDark);
  EXPECT_GT(TextDrawnIn(Upper()), 0) << "repainted";
  fake::SetDesktopPrefersDark(false);
  Send(platform::kMsgSysColourChange, 0, 0);
  ExpectShown(ColourSchemeKind::kLight);

  // A chosen scheme stays; the platform still gets its colours again, to match its palette
  // to the desktop's new one.
  Command(kCmdDarkColours);
  const size_t given = fake::ChromeColoursGiven().size();
  fake::SetDesktopPrefersDark(true);
  Send(platform::kMsgSysColourChange, 0, 0);
  fake::SetDesktopPrefersDark(false);
  fake::ClearDrawCalls();
  Send(platform::kMsgSysColourChange, 0, 0);
  ExpectShown(ColourSchemeKind::kDark);
  EXPECT_EQ(fake::ChromeColoursGiven().size(), given + 2);
  EXPECT_EQ(TextDrawnIn(Upper()), 0) << "nothing to repaint";
}

TEST_F(ColourSchemeChoiceTest, CtrlShiftNIsTheSwitch) {
  bool found = false;
  for (const platform::Accelerator& a : kReaderAccelerators)
    if (a.command == kCmdDarkColours)
      found = a.key == 'N' && a.modifiers == (platform::kAccelControl | platform::kAccelShift);
  EXPECT_TRUE(found);
}

}  // namespace
