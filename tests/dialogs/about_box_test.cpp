// The About box, its link and the update check on the fake backend; F1, the About and
// Check For Updates commands.
#include <string>
#include <vector>

#include "dialogs/about_box.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

class AboutBoxTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetAboutBoxState();
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
    ASSERT_NE(Start(), nullptr);
  }
  void TearDown() override {
    ResetAboutBoxState();
    ShellTest::TearDown();
  }
  intptr_t Run(std::vector<fake::DialogStep> steps) {
    fake::ScriptDialogSteps(kAboutBoxTemplate, std::move(steps));
    const size_t before = fake::Dialogs().size();
    OpenAboutBox(window_);
    EXPECT_EQ(fake::Dialogs().size(), before + 1);
    return fake::Dialogs().back().result;
  }
  static Window* Link(Window* dialog) { return platform::GetDialogItem(dialog, kSiteLinkId); }
};

TEST_F(AboutBoxTest, LinkFontIsMadeAtOpeningAndFreedByOkAndCancelEveryTime) {
  const int fontsBefore = fake::LiveFonts();
  for (int round = 0; round < 3; ++round) {
    for (int closeWith : {platform::kIdOk, platform::kIdCancel}) {
      EXPECT_EQ(Run({fake::Inspect([&](Window* dialog) {
                       EXPECT_EQ(fake::LiveFonts(), fontsBefore + 1);
                       platform::FontDescription d{};
                       ASSERT_TRUE(fake::FontDescriptionOf(fake::ControlInfo(Link(dialog))->font, &d));
                       // The control's font names no face and no size: Tahoma at 10 points.
                       EXPECT_EQ(std::u16string(d.face), u"Tahoma");
                       EXPECT_EQ(d.height, 10 * 96 / 72);
                       EXPECT_EQ(d.weight, 800);
                       EXPECT_NE(d.underline, 0);
                     }),
                     fake::PressButton(closeWith)}),
                closeWith);
      EXPECT_EQ(fake::LiveFonts(), fontsBefore) << "round " << round << ", closed with " << closeWith;
      EXPECT_EQ(gAboutBox.linkFont, nullptr);
    }
  }
}

TEST_F(AboutBoxTest, LinkIsSizedToItsCaptionInTheLinkFont) {
  const std::u16string site = kMakerSite;
  Run({fake::Inspect([&](Window* dialog) {
    const fake::FakeWindowInfo* info = fake::WindowInfo(Link(dialog));
    // Template place 7 dialog units across = 14 pixels; each unit of a 13-pixel font is 6
    // pixels wide; two edges of 2 on each axis.
    EXPECT_EQ(info->rect.left, 14);
    EXPECT_EQ(info->rect.right - info->rect.left, int32_t(site.size()) * 6 + 4);
    EXPECT_EQ(info->rect.bottom - info->rect.top, 13 + 4);
    EXPECT_TRUE(info->visible);
  })});
}

TEST_F(AboutBoxTest, FailedLinkFontLeavesTheLinkAsItWas) {
  fake::FailFontCreation(true);
  Run({fake::Inspect([](Window* dialog) {
         EXPECT_EQ(fake::ControlInfo(Link(dialog))->font, nullptr);
         const fake::FakeWindowInfo* info = fake::WindowInfo(Link(dialog));
         EXPECT_EQ(info->rect.right - info->rect.left, 146 * 8 / 4);
       }),
       fake::PressButton(platform::kIdOk)});
  fake::FailFontCreation(false);
}

TEST_F(AboutBoxTest, LinkIsDrawnBlueAndUnderlinedAndAPressOpensTheSite) {
  Run({fake::Inspect([](Window*) { fake::ClearDrawCalls(); }), fake::DrawControl(kSiteLinkId),
       fake::PressButton(kSiteLinkId), fake::Inspect([](Window* dialog) {
         EXPECT_FALSE(fake::WindowInfo(dialog)->destroyed);  // the box stays open
       })});
  const std::vector<fake::DrawCall> texts = fake::DrawCallsOf(fake::DrawOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, std::u16string(kMakerSite));
  EXPECT_EQ(texts[0].textColour, 0xFF0000u);
  EXPECT_EQ(texts[0].backgroundMode, platform::kBkTransparent);
  EXPECT_EQ(texts[0].backgroundColour, 0xFFFFFFu);
  EXPECT_NE(texts[0].font.underline, 0);
  EXPECT_EQ(texts[0].rect.left, 1);  // half an edge in
  EXPECT_EQ(texts[0].rect.top, 0);
  EXPECT_EQ(fake::OpenedAddresses(), std::vector<std::u16string>{kMakerSite});
}

TEST_F(AboutBoxTest, HelpRequestAndAboutCommandOpenIt) {
  fake::ScriptDialogSteps(kAboutBoxTemplate, {fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(Send(platform::kMsgHelp, 0, 0), 0);
  EXPECT_EQ(Command(kCmdAbout), 0);
  ASSERT_GE(fake::Dialogs().size(), 2u);
  for (size_t i = fake::Dialogs().size() - 2; i < fake::Dialogs().size(); ++i) {
    EXPECT_EQ(fake::Dialogs()[i].templateId, kAboutBoxTemplate);
    EXPECT_EQ(fake::Dialogs()[i].owner, window_);
    EXPECT_EQ(fake::Dialogs()[i].result, platform::kIdOk);
  }
}

TEST_F(AboutBoxTest, CheckForUpdatesOpensTheUpdatePageOfThisVersion) {
  EXPECT_EQ(Command(kCmdCheckForUpdates), 0);
  EXPECT_EQ(fake::OpenedAddresses(),
            std::vector<std::u16string>{std::u16string(kMakerSite) + u"/cgi-bin/upgrade?p=arm/Orvanel/Solmar&v=1.84a"});
}

TEST(UpdateAddressTest, EncodesThePathUnitByUnit) {
  struct Case {
    std::u16string path, encoded;
  } const cases[] = {
      {u"Orvanel/Solmar", u"Orvanel/Solmar"},
      {u"a b.c/9Z", u"a+b.c/9Z"},
      {u"09AZaz./", u"09AZaz./"},
      {u":@[`{", u"%3A%40%5B%60%7B"},  // the neighbours of the unescaped ranges
      {u"a-b_c~", u"a%2Db%5Fc%7E"},
      {u"\x01", u"%01"},
      {u"\u00E9", u"%E9"},
      {u"\u05D0", u"%5D0"},     // above 0xFF: more than two digits
      {u"\uFFFF", u"%FFFF"},
      {u"%&=", u"%25%26%3D"},
  };
  for (const Case& c : cases) {
    char16_t buffer[kUpdateAddressCapacity];
    ASSERT_TRUE(BuildUpdateAddress(buffer, kUpdateAddressCapacity, u"p/", c.path.c_str(), u"&v=1"));
    EXPECT_EQ(std::u16string(buffer), u"p/" + c.encoded + u"&v=1");
  }
}

TEST(UpdateAddressTest, AnAddressThatDoesNotFitIsNotCut) {
  // "ab" + "%5D0" + "!" needs 7 units and the 0.
  char16_t buffer[8];
  EXPECT_TRUE(BuildUpdateAddress(buffer, 8, u"ab", u"\u05D0", u"!"));
  EXPECT_EQ(std::u16string(buffer), u"ab%5D0!");
  for (uint32_t capacity : {7u, 5u, 3u, 1u}) {
    std::fill(std::begin(buffer), std::end(buffer), u'x');
    EXPECT_FALSE(BuildUpdateAddress(buffer, capacity, u"ab", u"\u05D0", u"!")) << capacity;
    EXPECT_EQ(buffer[0], 0) << capacity;
  }
}

}  // namespace
}  // namespace shell_test
