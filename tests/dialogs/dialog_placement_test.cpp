// Dialogs on the desktop: where each opens over the main window, which ones the user can
// resize and the sizes they keep between openings and runs; the first start's chooser with
// its face chosen in advance, its line and its labels; the verse in the preview.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/font_chooser.h"
#include "platform/dialog_placement.h"
#include "platform/dialog_template.h"
#include "search/find_all_list.h"
#include "shell/dialog_setup.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Rect;
using platform::Window;

TEST(DialogRectOverOwner, CentresOverTheOwnerWithinItsLeastSizeAndTheScreen) {
  const Rect screen{0, 0, 1024, 768};
  struct Case {
    const char* what;
    Rect owner;
    int32_t width, height, minWidth, minHeight;
    Rect screen, placed;
  } const cases[] = {
      {"centred", {100, 100, 900, 700}, 400, 300, 0, 0, screen, {300, 250, 700, 550}},
      {"never below the least size", {100, 100, 900, 700}, 100, 100, 400, 300, screen, {300, 250, 700, 550}},
      {"odd leftovers round down", {0, 0, 101, 101}, 50, 50, 0, 0, screen, {25, 25, 75, 75}},
      {"never larger than the screen", {100, 100, 900, 700}, 2000, 1000, 0, 0, screen, {0, 0, 1024, 768}},
      {"owner at the right edge", {800, 100, 1200, 500}, 400, 300, 0, 0, screen, {624, 150, 1024, 450}},
      {"owner above the screen", {100, -400, 500, 0}, 200, 200, 0, 0, screen, {200, 0, 400, 200}},
      {"second screen", {1100, 100, 1500, 500}, 200, 200, 0, 0, {1024, 0, 2048, 768}, {1200, 200, 1400, 400}},
      {"no screen known", {-500, -500, -100, -100}, 200, 200, 0, 0, {0, 0, 0, 0}, {-400, -400, -200, -200}},
      {"no size at all", {0, 0, 100, 100}, 0, -5, 0, 0, screen, {49, 49, 50, 50}},
  };
  for (const Case& c : cases) {
    const Rect r = platform::DialogRectOverOwner(c.owner, c.width, c.height, c.minWidth, c.minHeight, c.screen);
    EXPECT_EQ(r.left, c.placed.left) << c.what;
    EXPECT_EQ(r.top, c.placed.top) << c.what;
    EXPECT_EQ(r.right, c.placed.right) << c.what;
    EXPECT_EQ(r.bottom, c.placed.bottom) << c.what;
  }
}

TEST(DialogSizeSetting, ReadsTwoPositiveNumbersAndNothingElse) {
  struct Case {
    const char16_t* text;
    bool usable;
    int32_t width, height;
  } const cases[] = {
      {u"420,372", true, 420, 372},      {u"1,1", true, 1, 1},         {u"100000,100000", true, 100000, 100000},
      {u"100001,5", false, 0, 0},        {u"0,5", false, 0, 0},        {u"5,0", false, 0, 0},
      {u"-1,5", false, 0, 0},            {u"5,5,5", false, 0, 0},      {u"5", false, 0, 0},
      {u"", false, 0, 0},                {u" 5,5", false, 0, 0},       {u"5,5 ", false, 0, 0},
      {u"5;5", false, 0, 0},             {u"99999999999,1", false, 0, 0}, {nullptr, false, 0, 0},
  };
  for (const Case& c : cases) {
    int32_t width = -7, height = -7;
    EXPECT_EQ(ParseDialogSize(c.text, &width, &height), c.usable) << (c.text ? c.text[0] : 0);
    if (c.usable) {
      EXPECT_EQ(width, c.width);
      EXPECT_EQ(height, c.height);
    } else {
      EXPECT_EQ(width, -7);  // nothing written
    }
  }
}

FontFamilyList Families(const std::vector<std::pair<std::u16string, bool>>& installed) {
  FontFamilyList list{};
  for (const auto& [face, hebrew] : installed) {
    platform::FontDescription d{};
    face.copy(d.face, 31);
    d.charset = hebrew ? platform::kHebrewCharset : 0;
    EXPECT_TRUE(FontFamilyListAppend(&list, d));
  }
  return list;
}

TEST(FirstStartFace, TheBestInstalledReadingFaceIsChosen) {
  struct Case {
    std::vector<std::pair<std::u16string, bool>> installed;  // in the order the platform lists them
    std::u16string chosen;                                   // empty: none
  } const cases[] = {
      // What a Debian desktop with the culmus package lists: not its first entry.
      {{{u"Aharoni CLM", true}, {u"David CLM", true}, {u"DejaVu Sans", true}, {u"Frank Ruehl CLM", true},
        {u"Miriam CLM", true}},
       u"Frank Ruehl CLM"},
      {{{u"Aharoni CLM", true}, {u"David CLM", true}, {u"Tahoma", false}}, u"David CLM"},
      {{{u"Taamey David CLM", true}, {u"Taamey Frank CLM", true}}, u"Taamey Frank CLM"},
      // No preferred face: the first that writes Hebrew and is made for reading.
      {{{u"Aharoni CLM", true}, {u"Tahoma", false}, {u"Ezra SIL", true}, {u"SBL Hebrew", true}}, u"Ezra SIL"},
      {{{u"Stam Sefarad CLM", true}, {u"Miriam Mono CLM", true}, {u"Noto Serif Hebrew", true}}, u"Noto Serif Hebrew"},
      // Only faces for headings and scrolls: still one that writes Hebrew.
      {{{u"Tahoma", false}, {u"Stam Ashkenaz CLM", true}, {u"Aharoni CLM", true}}, u"Stam Ashkenaz CLM"},
      // A preferred name matches exactly, not as a prefix.
      {{{u"Frank Ruehl CLM Light", false}, {u"David", false}}, u""},
      {{{u"Tahoma", false}, {u"DejaVu Serif", false}}, u""},
      {{}, u""},
  };
  for (const Case& c : cases) {
    FontFamilyList list = Families(c.installed);
    const FontFamilyEntry* best = BestReadingFamily(&list);
    EXPECT_EQ(best ? std::u16string(best->faceName) : std::u16string(), c.chosen) << c.installed.size();
    FontFamilyListFree(&list);
  }
}

TEST(FirstStartFace, AComfortableSizeForTheScreensResolution) {
  const struct {
    int32_t pixelsPerInch, size;
  } cases[] = {{96, 24}, {0, 24}, {-5, 24}, {72, 18}, {120, 28},  // 30 lies between 28 and 32: the smaller
               {144, 32}, {192, 52}, {40, 10}, {1000, 72}, {88, 22}};
  for (const auto& c : cases) EXPECT_EQ(ComfortableFontSize(c.pixelsPerInch), c.size) << c.pixelsPerInch;
}

TEST(FontChooserTemplate, LabelsLeadToTheirControlsWithTheirOwnLetters) {
  const platform::DialogTemplate* t = platform::FindDialogTemplate(kFontChooserTemplate);
  ASSERT_NE(t, nullptr);
  struct Label {
    int id;
    char16_t letter;
    int leadsTo;  // the next control that takes the focus
  } const labels[] = {{kFontLabelId, u'f', kFontListId}, {kBaseLabelId, u'l', kBase224Id}, {kSizeLabelId, u's', kSizeListId}};
  std::u16string letters;
  for (const Label& label : labels) {
    size_t i = 0;
    while (i < t->controlCount && t->controls[i].id != label.id) ++i;
    ASSERT_LT(i, t->controlCount) << label.id;
    EXPECT_EQ(t->controls[i].kind, platform::ControlKind::kStaticText);
    const std::u16string text = t->controls[i].text;
    const size_t amp = text.find(u'&');
    ASSERT_NE(amp, std::u16string::npos) << label.id;
    ASSERT_LT(amp + 1, text.size());
    const char16_t letter = char16_t(text[amp + 1] | 0x20);
    EXPECT_EQ(letter, label.letter);
    EXPECT_EQ(letters.find(letter), std::u16string::npos) << "two labels share a letter";
    letters += letter;
    size_t next = i + 1;
    while (next < t->controlCount && !(t->controls[next].style & platform::kWsTabStop)) ++next;
    ASSERT_LT(next, t->controlCount);
    EXPECT_EQ(t->controls[next].id, label.leadsTo) << label.id;
  }
  // Cancel stands beside the OK.
  bool cancel = false;
  for (size_t i = 0; i < t->controlCount; ++i)
    cancel |= t->controls[i].id == platform::kIdCancel && (t->controls[i].style & platform::kBsBesideOk) &&
              std::u16string(t->controls[i].text) == u"Cancel";
  EXPECT_TRUE(cancel);
}

class DesktopDialogTest : public ShellTest {
 protected:
  static constexpr int32_t kMainWidth = 1000, kMainHeight = 720;

  void SetUp() override {
    ShellTest::SetUp();
    ResetFontChooserState();
    ResetFindAllState();
    fake::SetDefaultWindowSize(kMainWidth, kMainHeight);
  }
  void TearDown() override {
    if (gFindAll.dialog) platform::DestroyWindow(gFindAll.dialog);
    ResetFontChooserState();
    ShellTest::TearDown();
  }
  void StartWithFont() {
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
    ASSERT_NE(Start(), nullptr);
  }
  static Rect TemplatePixels(uint32_t id) {
    const platform::DialogTemplate* t = platform::FindDialogTemplate(id);
    const uint32_t units = platform::GetDialogBaseUnits();
    return {0, 0, platform::DialogUnitsToPixelsX(t->width, units), platform::DialogUnitsToPixelsY(t->height, units)};
  }
  // The dialog's rectangle while it is open (modal ones through a script).
  struct Seen {
    Rect rect{};
    bool resizable = false;
    int placements = 0;
  };
  Seen OpenAndLook(uint32_t templateId, const std::function<void()>& open, const std::function<void(Window*)>& act = {}) {
    Seen seen;
    auto look = [&seen, act](Window* dialog) {
      if (act) act(dialog);
      const fake::FakeWindowInfo* info = fake::WindowInfo(dialog);
      seen = {info->rect, info->resizable, info->placements};
    };
    fake::ScriptDialogSteps(templateId, {fake::Inspect(look), fake::PressButton(platform::kIdCancel)});
    open();
    return seen;
  }
  Seen OpenFindAll() {
    const uint8_t pattern[] = {'w', '1', 0};
    std::memcpy(gReaderSettings.searchString, pattern, sizeof pattern);
    Seen seen;
    if (OpenFindAllList(window_) != 1 || !gFindAll.dialog) return seen;
    const fake::FakeWindowInfo* info = fake::WindowInfo(gFindAll.dialog);
    seen = {info->rect, info->resizable, info->placements};
    return seen;
  }
  static std::u16string StoredText(const std::u16string& name) {
    const fake::StoredSetting* v = fake::FindSetting(kSettingsKeyPath, name);
    if (!v) return u"(none)";
    std::u16string text(v->data.size() / 2, u'\0');
    std::memcpy(text.data(), v->data.data(), text.size() * 2);
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }
};

TEST_F(DesktopDialogTest, EachDialogOpensAtItsTemplatesSizeCentredOverTheMainWindow) {
  StartWithFont();
  const Rect main = fake::WindowInfo(window_)->rect;
  struct Case {
    const char* name;
    uint32_t templateId;
    bool resizable;
    std::function<Seen()> open;
  } const cases[] = {
      {"Choose Font", kFontChooserTemplate, true, [&] { return OpenAndLook(kFontChooserTemplate, [&] { Command(kCmdFont); }); }},
      {"Choose Section", 118, true, [&] { return OpenAndLook(118, [&] { Command(kCmdIndex); }); }},
      {"Search", 115, false, [&] { return OpenAndLook(115, [&] { Command(kCmdSearch); }); }},
      {"About", 103, false, [&] { return OpenAndLook(103, [&] { Send(platform::kMsgHelp, 0, 0); }); }},
      {"Find All", 125, true, [&] { return OpenFindAll(); }},
  };
  for (const Case& c : cases) {
    const Seen seen = c.open();
    const Rect size = TemplatePixels(c.templateId);
    EXPECT_EQ(seen.rect.right - seen.rect.left, size.right) << c.name;
    EXPECT_EQ(seen.rect.bottom - seen.rect.top, size.bottom) << c.name;
    EXPECT_LT(seen.rect.right - seen.rect.left, kMainWidth) << c.name;
    EXPECT_LE(std::abs((seen.rect.left + seen.rect.right) - (main.left + main.right)), 1) << c.name;
    EXPECT_LE(std::abs((seen.rect.top + seen.rect.bottom) - (main.top + main.bottom)), 1) << c.name;
    EXPECT_EQ(seen.resizable, c.resizable) << c.name;
  }
}

TEST_F(DesktopDialogTest, StoredSizesAreUsedWhenUsableAndFittedToTheScreen) {
  const Rect chooser = TemplatePixels(kFontChooserTemplate);
  struct Case {
    const char16_t* stored;  // none: nothing stored
    int32_t width, height;
  } const cases[] = {
      {nullptr, chooser.right, chooser.bottom},
      {u"600,500", 600, 500},
      {u"garbage", chooser.right, chooser.bottom},
      {u"10,10", chooser.right, chooser.bottom},  // never below the template's size
      {u"5000,5000", 1024, 768},                  // never beyond the screen
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.stored) fake::PutStringSetting(kSettingsKeyPath, u"FontChooserSize", c.stored);
    StartWithFont();
    const Seen seen = OpenAndLook(kFontChooserTemplate, [&] { Command(kCmdFont); });
    EXPECT_EQ(seen.rect.right - seen.rect.left, c.width) << (c.stored ? c.stored[0] : 0);
    EXPECT_EQ(seen.rect.bottom - seen.rect.top, c.height) << (c.stored ? c.stored[0] : 0);
    TearDown();
  }
}

TEST_F(DesktopDialogTest, TheSizeTheUserGivesIsKeptForTheNextOpeningAndStoredAtTheEnd) {
  StartWithFont();
  auto resize = [](int32_t width, int32_t height) {
    return [=](Window* dialog) {
      const Rect r = fake::WindowInfo(dialog)->rect;
      platform::MoveWindow(dialog, r.left, r.top, width, height, true);
    };
  };
  OpenAndLook(118, [&] { Command(kCmdIndex); }, resize(700, 650));
  OpenAndLook(kFontChooserTemplate, [&] { Command(kCmdFont); }, resize(640, 480));
  const Seen again = OpenAndLook(118, [&] { Command(kCmdIndex); });
  EXPECT_EQ(again.rect.right - again.rect.left, 700);
  EXPECT_EQ(again.rect.bottom - again.rect.top, 650);
  // Find All, left open at the end, keeps the size it has then.
  OpenFindAll();
  ASSERT_NE(gFindAll.dialog, nullptr);
  const Rect r = fake::WindowInfo(gFindAll.dialog)->rect;
  platform::MoveWindow(gFindAll.dialog, r.left, r.top, 800, 400, true);
  EXPECT_EQ(Writes(u"ChooseSectionSize"), 0);  // nothing is written while the reader runs
  Command(kCmdExit);
  EXPECT_EQ(StoredText(u"ChooseSectionSize"), u"700,650");
  EXPECT_EQ(StoredText(u"FontChooserSize"), u"640,480");
  EXPECT_EQ(StoredText(u"FindAllSize"), u"800,400");
}

TEST_F(DesktopDialogTest, ADialogLeftWithoutWidthOrHeightKeepsTheSizeItHadBefore) {
  StartWithFont();
  auto resize = [](int32_t width, int32_t height) {
    return [=](Window* dialog) {
      const Rect r = fake::WindowInfo(dialog)->rect;
      platform::MoveWindow(dialog, r.left, r.top, width, height, true);
    };
  };
  OpenAndLook(118, [&] { Command(kCmdIndex); }, resize(700, 650));
  OpenAndLook(118, [&] { Command(kCmdIndex); }, resize(500, 0));
  OpenAndLook(118, [&] { Command(kCmdIndex); }, resize(0, 500));
  const Seen again = OpenAndLook(118, [&] { Command(kCmdIndex); });
  EXPECT_EQ(again.rect.right - again.rect.left, 700);
  EXPECT_EQ(again.rect.bottom - again.rect.top, 650);
}

TEST_F(DesktopDialogTest, StoredSizesOfDialogsNotOpenedAreWrittenBackOrLeftAlone) {
  fake::PutStringSetting(kSettingsKeyPath, u"FindAllSize", u"not a size");
  fake::PutStringSetting(kSettingsKeyPath, u"FontChooserSize", u"600,500");
  StartWithFont();
  OpenAndLook(118, [&] { Command(kCmdIndex); });
  Command(kCmdExit);
  // An unusable value is not the reader's to rewrite; a usable one comes back as it was,
  // so that every run's end writes the same values.
  EXPECT_EQ(Writes(u"FindAllSize"), 0);
  EXPECT_EQ(StoredText(u"FindAllSize"), u"not a size");
  EXPECT_EQ(StoredText(u"FontChooserSize"), u"600,500");
  EXPECT_EQ(Writes(u"ChooseSectionSize"), 1);
}

TEST_F(DesktopDialogTest, FullScreenDialogsCoverTheScreenAndKeepNoSize) {
  PutDevice(u"FullScreen", 1);
  fake::PutStringSetting(kSettingsKeyPath, u"FontChooserSize", u"600,500");
  StartWithFont();
  for (uint32_t id : {kFontChooserTemplate, uint32_t(118)}) {
    const Seen seen = OpenAndLook(id, [&] { Command(id == 118 ? kCmdIndex : kCmdFont); });
    EXPECT_EQ(seen.placements, 0) << id;
    EXPECT_FALSE(seen.resizable) << id;
    EXPECT_EQ(seen.rect.top, 0) << id;  // moved to the top by the full-screen set-up
  }
  Command(kCmdExit);
  EXPECT_EQ(StoredText(u"FontChooserSize"), u"600,500");  // the desktop's size, kept
  EXPECT_EQ(Writes(u"ChooseSectionSize"), 0);
}

std::u16string Selected(Window* dialog, int list) {
  Window* box = platform::GetDialogItem(dialog, list);
  char16_t text[32] = {};
  platform::ListBoxGetText(box, platform::ListBoxGetCurrentSelection(box), text, 32);
  return text;
}

TEST_F(DesktopDialogTest, TheFirstStartExplainsItselfWithAReadingFaceAndSizeChosen) {
  struct Seen {
    bool line = false;
    std::u16string face, size, specFace;
  } first, command;
  auto look = [](Seen* seen) {
    return fake::Inspect([seen](Window* dialog) {
      seen->line = fake::WindowInfo(platform::GetDialogItem(dialog, kFirstStartLineId))->visible;
      seen->face = Selected(dialog, kFontListId);
      seen->size = Selected(dialog, kSizeListId);
      seen->specFace = gReaderSettings.fontSpec.faceName;
    });
  };
  fake::PutNumberSetting(kSettingsKeyPath, u"FontAsciiBase", 224);
  fake::ScriptDialogSteps(kFontChooserTemplate, {look(&first), fake::PressButton(platform::kIdCancel)});
  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(first.line);
  EXPECT_EQ(first.face, u"Frank Ruehl CLM");
  EXPECT_EQ(first.size, u"24");
  EXPECT_EQ(first.specFace, u"Frank Ruehl CLM");  // already, so that Cancel keeps it
  // Cancel: the panes draw with what was chosen in advance, in the Unicode base the face needs.
  EXPECT_EQ(std::u16string(Upper()->fontSpec.faceName), u"Frank Ruehl CLM");
  EXPECT_EQ(Upper()->fontSpec.size, 24);
  EXPECT_EQ(Upper()->fontSpec.fontAsciiBase, 1488);
  // The Font command afterwards: no line, the current face and size selected.
  fake::ScriptDialogSteps(kFontChooserTemplate, {look(&command), fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_FALSE(command.line);
  EXPECT_EQ(command.face, u"Frank Ruehl CLM");
  EXPECT_EQ(command.size, u"24");
}

TEST_F(DesktopDialogTest, AFirstStartWithAStoredSizeKeepsIt) {
  fake::PutNumberSetting(kSettingsKeyPath, u"FontSize", 14);
  fake::ScriptDialogSteps(kFontChooserTemplate, {fake::PressButton(platform::kIdCancel)});
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(std::u16string(gReaderSettings.fontSpec.faceName), u"Frank Ruehl CLM");
  EXPECT_EQ(gReaderSettings.fontSpec.size, 14);
}

TEST_F(DesktopDialogTest, ThePreviewShowsTheFirstVerseAsThePanesDrawIt) {
  // Article 1: a title, a bold heading and then the first verse, all right to left; the
  // verse is stored in visual order: "c b a" reads a, b, c.
  const std::vector<uint8_t> stream = {0xDC, 0, 't', 0,    0x58, 0, 'a', 'a', 0,   0x30, 0x40,
                                       'c',  ' ', 'b', 'a', 0,    0x30, 0, 'z', 0,  0};
  fake::AddResource(kArticleResourceBase + 1, platform::kResourceTypeRawData, ArticleResource(stream));
  StartWithFont();
  std::u16string unicode, codePage, reversed;
  auto verse = [](std::u16string* text) {
    return fake::Inspect([text](Window* dialog) { *text = fake::ControlInfo(platform::GetDialogItem(dialog, kVersePreviewId))->text; });
  };
  fake::ScriptDialogSteps(kFontChooserTemplate, {verse(&unicode), fake::PressButton(kBase224Id), verse(&codePage),
                                                 fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_EQ(unicode, u"\u05D2 \u05D1\u05D0");
  EXPECT_EQ(codePage, u"\u00E2 \u00E1\u00E0");
  gReaderSettings.flags |= kFlagReverse;
  fake::ScriptDialogSteps(kFontChooserTemplate, {verse(&reversed), fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_EQ(reversed, u"\u05D0\u05D1 \u05D2");
}

TEST_F(DesktopDialogTest, NoVerseInThePreviewWithoutTheArticle) {
  Put(u"Lesson", 3);
  fake::FailResourceLoad(kArticleResourceBase + 1);
  StartWithFont();
  std::u16string shown = u"unset";
  fake::ScriptDialogSteps(kFontChooserTemplate,
                          {fake::Inspect([&](Window* dialog) {
                             shown = fake::ControlInfo(platform::GetDialogItem(dialog, kVersePreviewId))->text;
                           }),
                           fake::PressButton(platform::kIdCancel)});
  Command(kCmdFont);
  EXPECT_EQ(shown, u"");
}

}  // namespace
}  // namespace shell_test
