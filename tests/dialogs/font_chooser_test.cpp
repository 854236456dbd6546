// The font chooser on the fake backend, run from scripts: opening, the lists, the letter
// base, the preview, OK and Cancel, the family list's blocks and the layout.
#include <string>
#include <vector>

#include "dialogs/font_chooser.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

// The 27 letters from base + 26 down to base.
std::u16string Letters(int32_t base) {
  std::u16string s;
  for (int i = 26; i >= 0; --i) s += char16_t(base + i);
  return s;
}

std::u16string Face(const FontSpec& fontSpec) { return std::u16string(fontSpec.faceName); }

void SetFace(FontSpec* fontSpec, const std::u16string& face) {
  std::fill(std::begin(fontSpec->faceName), std::end(fontSpec->faceName), u'\0');
  face.copy(fontSpec->faceName, 31);
}

const fake::FakeControl* Control(Window* dialog, int id) { return fake::ControlInfo(platform::GetDialogItem(dialog, id)); }

std::vector<std::u16string> Items(Window* dialog, int id) {
  std::vector<std::u16string> out;
  for (const fake::FakeListItem& item : Control(dialog, id)->items) out.push_back(item.text);
  return out;
}

bool ButtonChecked(Window* dialog, int id) { return platform::IsDialogButtonChecked(dialog, id); }

// The fake's families sorted as list 1001 holds them.
constexpr int kDavid = 0, kDejaVu = 1, kFrank = 2, kTahoma = 3;

class FontChooserTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetFontChooserState();
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
    ASSERT_NE(Start(), nullptr);
    fontSpec_ = FontSpec{};
    SetFace(&fontSpec_, u"Tahoma");
    fontSpec_.size = 16;
    fontSpec_.fontAsciiBase = 1488;
  }
  void TearDown() override {
    ResetFontChooserState();
    ShellTest::TearDown();
  }
  intptr_t Run(std::vector<fake::DialogStep> steps) {
    fake::ScriptDialogSteps(kFontChooserTemplate, std::move(steps));
    return OpenFontChooser(window_, &fontSpec_, opening_);
  }
  FontChooserOpening opening_ = FontChooserOpening::kCommand;
  FontSpec fontSpec_{};
};

TEST_F(FontChooserTest, OpensWithTheBaseCheckedAndItsLettersLastFirst) {
  struct Case {
    int32_t stored;
    int32_t shown;     // the base after opening and of the preview
    int checkedId;     // 0: no button checked
  } const cases[] = {{0, 1488, kBase1488Id}, {1488, 1488, kBase1488Id}, {224, 224, kBase224Id},
                     {97, 97, 0 /* the template has no button 1003 */}, {300, 300, 0}};
  for (const Case& c : cases) {
    fontSpec_.fontAsciiBase = c.stored;
    Run({fake::Inspect([&](Window* dialog) {
           EXPECT_EQ(Control(dialog, kPreviewId)->text, Letters(c.shown)) << c.stored;
           EXPECT_EQ(ButtonChecked(dialog, kBase1488Id), c.checkedId == kBase1488Id) << c.stored;
           EXPECT_EQ(ButtonChecked(dialog, kBase224Id), c.checkedId == kBase224Id) << c.stored;
           EXPECT_EQ(fake::FocusWindow(), platform::GetDialogItem(dialog, kFontListId));
         }),
         fake::PressButton(platform::kIdCancel)});
    // A stored 0 becomes the Unicode base even when the user cancels.
    EXPECT_EQ(fontSpec_.fontAsciiBase, c.shown) << c.stored;
  }
  EXPECT_EQ(Letters(1488).front(), u'\u05EA');
  EXPECT_EQ(Letters(1488).back(), u'\u05D0');
}

TEST_F(FontChooserTest, FamiliesWhoseNamesDoNotFitAreLeftOut) {
  fake::SetFontFamilies({{std::u16string(31, u'y'), 0}, {std::u16string(32, u'z'), platform::kHebrewCharset}});
  Run({fake::Inspect([](Window* dialog) {
    EXPECT_EQ(Items(dialog, kFontListId), std::vector<std::u16string>{std::u16string(31, u'y')});
  })});
}

TEST_F(FontChooserTest, ListsTheFamiliesSortedAndSelectsTheStoredFaceByPrefix) {
  SetFace(&fontSpec_, u"frank");
  Run({fake::Inspect([](Window* dialog) {
    EXPECT_EQ(Items(dialog, kFontListId),
              (std::vector<std::u16string>{u"David CLM", u"DejaVu Sans", u"Frank Ruehl CLM", u"Tahoma"}));
    EXPECT_EQ(Control(dialog, kFontListId)->selection, kFrank);
  })});
  SetFace(&fontSpec_, u"Courier");
  Run({fake::Inspect([](Window* dialog) { EXPECT_EQ(Control(dialog, kFontListId)->selection, -1); })});
}

TEST_F(FontChooserTest, SizeListAndTheStoredSize) {
  const std::vector<std::u16string> fixed = {u"10", u"11", u"12", u"14", u"16", u"18", u"20",
                                             u"22", u"24", u"26", u"28", u"32", u"52", u"72"};
  struct Case {
    int32_t stored;
    std::u16string first;  // the first entry
    size_t count;
    int selected;
  } const cases[] = {{9, u"9", 15, 0}, {1, u"1", 15, 0}, {15, u"10", 14, -1}, {52, u"10", 14, 12},
                     {0, u"10", 14, -1}, {-5, u"10", 14, -1}, {72, u"10", 14, 13}};
  for (const Case& c : cases) {
    fontSpec_.size = c.stored;
    Run({fake::Inspect([&](Window* dialog) {
      const std::vector<std::u16string> items = Items(dialog, kSizeListId);
      ASSERT_EQ(items.size(), c.count) << c.stored;
      EXPECT_EQ(items.front(), c.first) << c.stored;
      EXPECT_TRUE(std::equal(fixed.begin(), fixed.end(), items.end() - 14)) << c.stored;
      EXPECT_EQ(Control(dialog, kSizeListId)->selection, c.selected) << c.stored;
    })});
  }
}

TEST_F(FontChooserTest, OkKeepsAnUnlistedSizeAndAFaceNotChosen) {
  SetFace(&fontSpec_, u"Courier New");
  fontSpec_.size = 15;
  EXPECT_EQ(Run({fake::PressButton(platform::kIdOk)}), platform::kIdOk);
  EXPECT_EQ(Face(fontSpec_), u"Courier New");
  EXPECT_EQ(fontSpec_.size, 15);
  EXPECT_EQ(fontSpec_.fontAsciiBase, 1488);
}

TEST_F(FontChooserTest, OkTakesFaceSizeAndBase) {
  fontSpec_.fontAsciiBase = 224;
  // The Hebrew family switches to 1488; the user then goes back to 224.
  EXPECT_EQ(Run({fake::SelectListItem(kFontListId, kFrank), fake::SelectListItem(kSizeListId, 6),
                 fake::Inspect([](Window* dialog) { EXPECT_TRUE(ButtonChecked(dialog, kBase1488Id)); }),
                 fake::PressButton(kBase224Id), fake::PressButton(platform::kIdOk)}),
            platform::kIdOk);
  EXPECT_EQ(Face(fontSpec_), u"Frank Ruehl CLM");
  EXPECT_EQ(fontSpec_.size, 20);
  EXPECT_EQ(fontSpec_.fontAsciiBase, 224);
}

TEST_F(FontChooserTest, CancelLeavesTheFontSpecUntouched) {
  const FontSpec before = fontSpec_;
  EXPECT_EQ(Run({fake::SelectListItem(kFontListId, kDavid), fake::SelectListItem(kSizeListId, 13),
                 fake::PressButton(kBase224Id), fake::PressButton(platform::kIdCancel)}),
            platform::kIdCancel);
  EXPECT_EQ(std::memcmp(&before, &fontSpec_, sizeof fontSpec_), 0);
}

TEST_F(FontChooserTest, HebrewFamilySwitchesToTheUnicodeBaseOnce) {
  struct Case {
    int32_t base;
    int family;
    bool switches;
  } const cases[] = {{224, kDavid, true}, {224, kTahoma, false}, {224, kDejaVu, false}, {1488, kFrank, false}};
  auto previewTexts = [] {
    int n = 0;
    for (const fake::ControlCall& call : fake::ControlCalls()) n += call.id == kPreviewId && call.op == fake::ControlOp::kSetText;
    return n;
  };
  for (const Case& c : cases) {
    fontSpec_.fontAsciiBase = c.base;
    int before = 0;
    Run({fake::Inspect([&](Window*) { before = previewTexts(); }), fake::SelectListItem(kFontListId, c.family),
         fake::Inspect([&](Window* dialog) {
           const int32_t shown = c.switches ? 1488 : c.base;
           EXPECT_EQ(ButtonChecked(dialog, kBase1488Id), shown == 1488) << c.base << " " << c.family;
           EXPECT_EQ(ButtonChecked(dialog, kBase224Id), shown == 224) << c.base << " " << c.family;
           EXPECT_EQ(Control(dialog, kPreviewId)->text, Letters(shown)) << c.base << " " << c.family;
           EXPECT_EQ(previewTexts() - before, c.switches ? 1 : 0) << c.base << " " << c.family;
         }),
         fake::PressButton(platform::kIdCancel)});
  }
}

TEST_F(FontChooserTest, RadioButtonsPreviewTheirLettersWithoutCommitting) {
  Run({fake::PressButton(kBase224Id), fake::Inspect([](Window* dialog) {
         EXPECT_EQ(Control(dialog, kPreviewId)->text, Letters(224));
       }),
       fake::PressButton(kBase1488Id), fake::Inspect([](Window* dialog) {
         EXPECT_EQ(Control(dialog, kPreviewId)->text, Letters(1488));
       })});
  EXPECT_EQ(fontSpec_.fontAsciiBase, 1488);
}

TEST_F(FontChooserTest, PreviewShowsTheCandidateFontAndKeepsItWhenANewOneFails) {
  const int fontsBefore = fake::LiveFonts();
  Run({fake::SelectListItem(kFontListId, kDavid), fake::SelectListItem(kSizeListId, 12),
       fake::Inspect([](Window* dialog) {
         platform::FontDescription d{};
         ASSERT_TRUE(fake::FontDescriptionOf(Control(dialog, kPreviewId)->font, &d));
         EXPECT_EQ(std::u16string(d.face), u"David CLM");
         EXPECT_EQ(d.height, 52);
         fake::FailFontCreation(true);
       }),
       fake::SelectListItem(kFontListId, kTahoma), fake::Inspect([](Window* dialog) {
         platform::FontDescription d{};
         ASSERT_TRUE(fake::FontDescriptionOf(Control(dialog, kPreviewId)->font, &d));
         EXPECT_EQ(std::u16string(d.face), u"David CLM");
         fake::FailFontCreation(false);
       }),
       fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(Face(fontSpec_), u"Tahoma");
  EXPECT_EQ(fontSpec_.size, 52);
  EXPECT_EQ(fake::LiveFonts(), fontsBefore);
}

TEST_F(FontChooserTest, SizeTextFollowsTheDecimalRuleWithoutCheckingCharacters) {
  Run({fake::Inspect([](Window* dialog) {
         Window* sizes = platform::GetDialogItem(dialog, kSizeListId);
         platform::ListBoxInsertString(sizes, 0, u"1a");         // 1 x 10 + ('a' - '0') = 59
         platform::ListBoxInsertString(sizes, 1, u"123456789");  // cut to 8 units
       }),
       fake::SelectListItem(kSizeListId, 0), fake::Inspect([this](Window*) { EXPECT_EQ(fontSpec_.size, 16); }),
       fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(fontSpec_.size, 59);
  Run({fake::Inspect([](Window* dialog) {
         platform::ListBoxInsertString(platform::GetDialogItem(dialog, kSizeListId), 0, u"123456789");
       }),
       fake::SelectListItem(kSizeListId, 0), fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(fontSpec_.size, 12345678);
}

TEST_F(FontChooserTest, EnumerationStopsAtTheFirstBlockThatCannotBeHad) {
  std::vector<fake::FakeFontFamily> families;
  for (int i = 0; i < 60; ++i)
    families.push_back({std::u16string(u"Face ") + char16_t(u'A' + i / 26) + char16_t(u'a' + i % 26), 0});
  families.push_back({std::u16string(32, u'x'), 0});  // too long for a description: left out
  fake::SetFontFamilies(families);
  const int before = fake::FontFamiliesHanded();
  fake::FailAllocation(2);  // the second block
  Run({fake::Inspect([](Window* dialog) { EXPECT_EQ(platform::ListBoxCount(platform::GetDialogItem(dialog, kFontListId)), 25); }),
       fake::PressButton(platform::kIdCancel)});
  EXPECT_EQ(fake::FontFamiliesHanded() - before, 26);
  // All 60 in three blocks, freed on OK.
  Run({fake::Inspect([](Window* dialog) {
         EXPECT_EQ(platform::ListBoxCount(platform::GetDialogItem(dialog, kFontListId)), 60);
         EXPECT_GE(fake::LiveBlocks(), 3);
       }),
       fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(gFontChooser.families.head, nullptr);
}

TEST_F(FontChooserTest, FamilyListCarvesBlocksOf25AndFreesThemAll) {
  FontFamilyList list{};
  const int blocksBefore = fake::LiveBlocks();
  platform::FontDescription family{};
  for (int i = 0; i < 51; ++i) {
    family.face[0] = char16_t(u'A' + i % 26);
    family.face[1] = char16_t(u'a' + i / 26);
    family.charset = i == 30 ? platform::kHebrewCharset : 0;
    ASSERT_TRUE(FontFamilyListAppend(&list, family));
  }
  EXPECT_EQ(fake::LiveBlocks() - blocksBefore, 3);
  int marked = 0, count = 0;
  for (const FontFamilyEntry* e = list.head; e; e = e->next, ++count) marked += e->blockStart;
  EXPECT_EQ(count, 51);
  EXPECT_EQ(marked, 3);
  const FontFamilyEntry* found = FontFamilyListFind(&list, u"Eb");  // entry 30
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->charset, platform::kHebrewCharset);
  EXPECT_EQ(FontFamilyListFind(&list, u"E"), nullptr);
  fake::FailAllocation(1);
  for (int i = 51; i < 75; ++i) ASSERT_TRUE(FontFamilyListAppend(&list, family));  // fills block 3
  EXPECT_FALSE(FontFamilyListAppend(&list, family));
  FontFamilyListFree(&list);
  EXPECT_EQ(fake::LiveBlocks(), blocksBefore);
  EXPECT_EQ(list.head, nullptr);
}

TEST_F(FontChooserTest, LaysTheControlsOutOnEverySize) {
  struct Place {
    int id;
    platform::Rect rect;
  };
  struct Case {
    FontChooserOpening opening;
    int32_t width, height;
    std::vector<Place> places;
  } const cases[] = {
      // Rows of 20 (10 dialog units), gaps of 8. c 226, d 150, bottom 313, lists 27..217,
      // preview from 225 in two halves of 44.
      {FontChooserOpening::kCommand, 240, 320,
       {{kFontLabelId, {7, 7, 150, 27}}, {kFontListId, {7, 27, 150, 217}}, {kBaseLabelId, {157, 7, 233, 27}},
        {kBase224Id, {157, 27, 233, 47}}, {kBase1488Id, {157, 47, 233, 67}}, {kSizeLabelId, {157, 75, 233, 95}},
        {kSizeListId, {157, 95, 233, 217}}, {kVersePreviewId, {7, 225, 233, 269}}, {kPreviewId, {7, 269, 233, 313}}}},
      // c 291, d 194, bottom 394, lists 27..271, preview from 279 (57 + 58).
      {FontChooserOpening::kCommand, 305, 401,
       {{kFontListId, {7, 27, 194, 271}}, {kSizeLabelId, {201, 75, 298, 95}}, {kSizeListId, {201, 95, 298, 271}},
        {kBase224Id, {201, 27, 298, 47}}, {kBase1488Id, {201, 47, 298, 67}}, {kVersePreviewId, {7, 279, 298, 336}},
        {kPreviewId, {7, 336, 298, 394}}}},
      // The first start's line (16 dialog units, 32) on top moves everything down by 40.
      {FontChooserOpening::kFirstStart, 240, 320,
       {{kFirstStartLineId, {7, 7, 233, 39}}, {kFontLabelId, {7, 47, 150, 67}}, {kFontListId, {7, 67, 150, 231}},
        {kBase224Id, {157, 67, 233, 87}}, {kSizeLabelId, {157, 115, 233, 135}}, {kSizeListId, {157, 135, 233, 231}},
        {kVersePreviewId, {7, 239, 233, 276}}, {kPreviewId, {7, 276, 233, 313}}}},
  };
  for (const Case& c : cases) {
    opening_ = c.opening;
    Run({fake::SendToDialog(platform::kMsgSize, 0, platform::MakeLong(uint32_t(c.width), uint32_t(c.height))),
         fake::Inspect([&](Window* dialog) {
           for (const Place& p : c.places) {
             const platform::Rect r = fake::WindowInfo(platform::GetDialogItem(dialog, p.id))->rect;
             EXPECT_EQ(r.left, p.rect.left) << c.width << " " << p.id;
             EXPECT_EQ(r.top, p.rect.top) << c.width << " " << p.id;
             EXPECT_EQ(r.right, p.rect.right) << c.width << " " << p.id;
             EXPECT_EQ(r.bottom, p.rect.bottom) << c.width << " " << p.id;
           }
         })});
  }
}

TEST_F(FontChooserTest, RunsTheSharedSetUpAndHidesTheTaskBarOnActivationInFullScreen) {
  gDeviceOptions.fullScreen = 1;
  gShellWindows.taskBar = fake::AddForeignWindow(u"HHTaskBar", u"", true);
  Run({fake::Inspect([](Window*) { platform::ShowWindow(gShellWindows.taskBar, platform::kSwShow); }),
       fake::SendToDialog(platform::kMsgActivate, platform::kWaActive, 0)});
  EXPECT_FALSE(fake::WindowInfo(gShellWindows.taskBar)->visible);
  ASSERT_FALSE(fake::ShellDialogInits().empty());
  EXPECT_EQ(fake::ShellDialogInits().back().second, 30u);
}

}  // namespace
}  // namespace shell_test
