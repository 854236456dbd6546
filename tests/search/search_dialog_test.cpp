// The search dialog on the fake backend, run from scripts: the keyboard's geometry, the
// order taps build, OK and Cancel, the input panel and the edit box's font.
#include <string>
#include <vector>

#include <algorithm>
#include <cstdio>

#include "search/search_dialog.h"
#include "search/typed_patterns.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

char16_t Letter(int position, int32_t base) { return char16_t(base + (KeyboardLayout[position - 1] - 0x61)); }

// The seam's order of a box that reads right to left: the reverse of reading order.
std::u16string Visual(std::u16string reading) {
  std::reverse(reading.begin(), reading.end());
  return reading;
}

std::u16string EditText(Window* dialog) {
  const fake::FakeControl* edit = fake::ControlInfo(platform::GetDialogItem(dialog, kSearchEditId));
  return edit ? edit->text : u"<no edit box>";
}

class SearchDialogTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetSearchDialogState();
    ASSERT_NE(Start(), nullptr);
    gReaderSettings.fontSpec.fontAsciiBase = 1488;
  }
  // Runs the dialog over the main window with these steps; answers its result.
  intptr_t Run(std::vector<fake::DialogStep> steps) {
    fake::ScriptDialogSteps(kSearchDialogTemplate, std::move(steps));
    const size_t before = fake::Dialogs().size();
    OpenSearchDialog(window_);
    EXPECT_EQ(fake::Dialogs().size(), before + 1);
    return fake::Dialogs().back().result;
  }
  // Client pixels of the keyboard picture's point x', y' (base units 8 x 16: 14, 142).
  static fake::DialogStep TapKeyboard(int32_t x, int32_t y) { return fake::TapDialog(14 + x, 142 + y); }
  std::string Stored() const { return reinterpret_cast<const char*>(gReaderSettings.searchString); }
};

TEST_F(SearchDialogTest, KeyboardGeometry) {
  struct Case {
    int32_t x, y;      // in the picture
    int position;      // -1: nothing
  } const cases[] = {
      {40, 80, 0},   {20, 80, -1},  {0, 0, 9},      {152, 74, 19},  {16, 0, 9},    {17, 0, 8},
      {136, 24, 1},  {0, 25, 18},   {136, 49, 10},  {34, 75, 0},    {33, 75, -1},  {118, 94, 0},
      {119, 94, -1}, {153, 0, 1},   {153, 30, 10},  {153, 60, 19},  {153, 80, -1}, {-1, 0, -1},
      {0, -1, -1},   {154, 0, -1},  {0, 95, -1},
  };
  Run({fake::Inspect([&](Window* dialog) {
    for (const Case& c : cases) {
      platform::SetWindowText(platform::GetDialogItem(dialog, kSearchEditId), u"");
      const int answer = KeyboardTap(dialog, 14 + c.x, 142 + c.y);
      const std::u16string expected = c.position < 0    ? u""
                                      : c.position == 0 ? u" "
                                                        : std::u16string(1, Letter(c.position, 1488));
      EXPECT_EQ(EditText(dialog), expected) << "x' " << c.x << ", y' " << c.y;
      EXPECT_EQ(answer, c.position < 0 ? 1 : 0) << "x' " << c.x << ", y' " << c.y;
    }
  })});
}

// The picture's place comes from the platform's base units, each division truncated.
TEST_F(SearchDialogTest, KeyboardOriginTruncatesWithTheBaseUnits) {
  fake::SetDialogBaseUnits(7, 15);  // 49 / 4 = 12, 1065 / 8 = 133
  Run({fake::TapDialog(11, 133), fake::TapDialog(12, 132), fake::Inspect([](Window* dialog) {
         EXPECT_EQ(EditText(dialog), u"");
       }),
       fake::TapDialog(12, 133), fake::Inspect([](Window* dialog) {
         EXPECT_EQ(EditText(dialog), std::u16string(1, Letter(9, 1488)));
       })});
}

// The keyboard as another dialog uses it: its picture at another place, other base units,
// and the Unicode character of each key.
TEST(HebrewKeyboard, KeysAtAnyPlaceAndTheirUnicodeCharacters) {
  struct Case {
    int32_t x, y;  // client pixels; the picture at 7, 64 with base units 6 x 13: 10, 104
    int position;
  } const cases[] = {{10, 104, 9}, {9, 104, -1}, {10, 103, -1}, {163, 104, 1}, {164, 104, -1},
                     {10 + 40, 104 + 80, 0}, {10 + 118, 104 + 94, 0}, {10 + 119, 104 + 94, -1}, {10, 104 + 95, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(KeyboardKeyAt(c.x, c.y, 7, 64, uint32_t(platform::MakeLong(6, 13))), c.position) << c.x << ", " << c.y;
  // Positions 11 and 12 follow the picture's second row: kaf, then final kaf.
  struct Character {
    int position;
    char16_t expected;
  } const characters[] = {{0, u' '}, {1, u'\u05D0'}, {11, u'\u05DB'}, {12, u'\u05DA'}, {27, u'\u05EA'}, {-1, 0}, {28, 0}};
  for (const Character& c : characters) EXPECT_EQ(KeyboardUnicodeCharacter(c.position), c.expected) << c.position;
}

TEST_F(SearchDialogTest, TapsBuildTheTextLeftwardsAndOkStoresItInThatOrder) {
  Run({TapKeyboard(140, 5), TapKeyboard(120, 5), fake::Inspect([](Window* dialog) {
         // Position 1 first, then position 2: the first letter ends up last.
         EXPECT_EQ(EditText(dialog), (std::u16string{Letter(2, 1488), Letter(1, 1488)}));
         const fake::FakeControl* edit = fake::ControlInfo(platform::GetDialogItem(dialog, kSearchEditId));
         EXPECT_EQ(edit->selectionStart, 0u);
         EXPECT_EQ(edit->selectionEnd, 0u);
         EXPECT_TRUE(edit->canUndo);
       }),
       fake::PressButton(platform::kIdCancel)});
  // A tap into a selection replaces it, and the caret stays in front of the new letter.
  Run({fake::TypeText(kSearchEditId, u"xyz"), fake::Inspect([](Window* dialog) {
         Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
         platform::EditSetSelection(edit, 1, 2);
         InsertKeyboardLetter(dialog, 0);
         EXPECT_EQ(EditText(dialog), u"x z");
         EXPECT_EQ(fake::ControlInfo(edit)->selectionStart, 1u);
         EXPECT_EQ(fake::ControlInfo(edit)->selectionEnd, 1u);
       }),
       fake::PressButton(platform::kIdCancel)});
}

TEST_F(SearchDialogTest, LetterOfEachPositionFollowsTheLetterBase) {
  struct Case {
    int32_t base;
    int position;
    char16_t expected;
  } const cases[] = {{1488, 1, 1488}, {1488, 27, 1514}, {224, 1, 224}, {97, 11, u'l'}, {1488, 0, u' '}};
  for (const Case& c : cases) {
    gReaderSettings.fontSpec.fontAsciiBase = c.base;
    Run({fake::Inspect([&](Window* dialog) {
      InsertKeyboardLetter(dialog, c.position);
      EXPECT_EQ(EditText(dialog), std::u16string(1, c.expected)) << "base " << c.base << ", position " << c.position;
      InsertKeyboardLetter(dialog, 28);
      InsertKeyboardLetter(dialog, -1);
      EXPECT_EQ(EditText(dialog).size(), 1u);
    })});
  }
}

TEST_F(SearchDialogTest, OkWithAHitClosesTheDialog) {
  // 'w' (position 22) begins the article's second paragraph.
  EXPECT_EQ(Run({TapKeyboard(90, 55), fake::PressButton(platform::kIdOk)}), platform::kIdOk);
  EXPECT_EQ(Stored(), "w");
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_NE(Upper()->highlightEnd, 0);
}

TEST_F(SearchDialogTest, FailedOkKeepsTheDialogOpenWithAllSelectedAndCancelKeepsTheString) {
  Window* running = nullptr;
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, u"קקק"), fake::PressButton(platform::kIdOk),
                 fake::Inspect([&](Window* dialog) {
                   running = dialog;
                   const fake::FakeControl* edit = fake::ControlInfo(platform::GetDialogItem(dialog, kSearchEditId));
                   EXPECT_EQ(edit->selectionStart, 0u);
                   EXPECT_EQ(edit->selectionEnd, 3u);
                 }),
                 fake::PressButton(platform::kIdCancel)}),
            platform::kIdCancel);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"Not Found!");
  EXPECT_EQ(fake::MessageBoxes()[0].owner, running);
  EXPECT_EQ(Stored(), "xxx");
}

TEST_F(SearchDialogTest, EmptyOkClosesWithoutSearching) {
  std::memcpy(gReaderSettings.searchString, "w", 2);
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, u""), fake::PressButton(platform::kIdOk)}), platform::kIdOk);
  EXPECT_EQ(Stored(), "");
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_EQ(Upper()->highlightEnd, 0);
}

// The box shows the stored string in stored order, the Reverse option notwithstanding, so
// opening the dialog and confirming it searches for the same pattern again.
TEST_F(SearchDialogTest, StoredStringShownAsStoredAndKeptByOk) {
  std::memcpy(gReaderSettings.searchString, "ab", 3);
  gReaderSettings.flags |= kFlagReverse;
  Run({fake::Inspect([](Window* dialog) { EXPECT_EQ(EditText(dialog), u"\u05D0\u05D1"); }),
       fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(Stored(), "ab");
  EXPECT_EQ(fake::ControlInfo(platform::GetDialogItem(fake::Dialogs().back().dialog, kSearchEditId)), nullptr);
}

TEST_F(SearchDialogTest, InputPanelFollowsTheOptionAndIsPutAwayOnClose) {
  for (int allow : {0, 1}) {
    for (int closeWith : {platform::kIdOk, platform::kIdCancel}) {
      gDeviceOptions.allowSipInHebrewSearch = allow;
      fake::ResetShell();
      Run({fake::SendToDialog(platform::kMsgActivate, platform::kWaClickActive, 0),
           fake::SendToDialog(platform::kMsgActivate, platform::kWaInactive, 0), fake::PressButton(closeWith)});
      int shown = 0;
      for (const auto& [w, state] : fake::FullScreenStates()) {
        EXPECT_EQ(w, window_);
        shown += state == platform::kFullScreenShowInputPanelButton;
      }
      // Two activations (the dialog's first and the click) and no deactivation.
      EXPECT_EQ(shown, allow ? 2 : 0) << "allow " << allow;
      ASSERT_FALSE(fake::FullScreenStates().empty());
      EXPECT_EQ(fake::FullScreenStates().back().second, platform::kFullScreenHideInputPanelButton);
      EXPECT_EQ(fake::InputPanelsForcedDown(), std::vector<Window*>{window_});
      EXPECT_EQ(fake::YieldCalls(), 1);
    }
  }
}

TEST_F(SearchDialogTest, PlainActivationHidesAKnownTaskBarAgain) {
  gShellWindows.taskBar = fake::AddForeignWindow(u"HHTaskBar", u"", true);
  Run({fake::Inspect([](Window*) { EXPECT_FALSE(fake::WindowInfo(gShellWindows.taskBar)->visible); }),
       fake::Inspect([](Window*) { platform::ShowWindow(gShellWindows.taskBar, platform::kSwShow); }),
       fake::SendToDialog(platform::kMsgActivate, platform::kWaClickActive, 0),
       fake::Inspect([](Window*) { EXPECT_TRUE(fake::WindowInfo(gShellWindows.taskBar)->visible); })});
}

TEST_F(SearchDialogTest, EditBoxUsesTheUpperPaneFontUntilTheDialogEnds) {
  FontSpec spec{};
  std::u16string face = u"David CLM";
  face.copy(spec.faceName, face.size());
  spec.size = 20;
  spec.fontAsciiBase = 1488;
  PageViewSetFont(Upper(), &spec);
  const int fontsBefore = fake::LiveFonts();
  Run({fake::Inspect([&](Window* dialog) {
    Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
    const fake::FakeControl* info = fake::ControlInfo(edit);
    platform::FontDescription d{};
    ASSERT_TRUE(fake::FontDescriptionOf(info->font, &d));
    EXPECT_EQ(d.height, 20);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(std::u16string(d.face), u"David CLM");
    EXPECT_EQ(info->font, gSearchDialog.searchFont);
    EXPECT_EQ(info->limit, kSearchTextLimit);
    EXPECT_EQ(fake::LiveFonts(), fontsBefore + 1);
    EXPECT_EQ(fake::FocusWindow(), edit);
    bool redrawn = false;
    for (const fake::ControlCall& call : fake::ControlCalls())
      redrawn |= call.op == fake::ControlOp::kSetFont && call.window == edit && call.b == 1;
    EXPECT_TRUE(redrawn);
  })});
  EXPECT_EQ(fake::LiveFonts(), fontsBefore);
  EXPECT_EQ(gSearchDialog.searchFont, nullptr);
}

// Whatever the store left in the records, the box gets at most the string's 33 letters and
// the font a terminated face name.
TEST_F(SearchDialogTest, UnterminatedStringAndFaceAreCut) {
  std::memset(gReaderSettings.searchString, 'a', kSearchStringSize);
  FontSpec spec{};
  for (char16_t& c : spec.faceName) c = u'F';
  spec.size = 12;
  PageViewSetFont(Upper(), &spec);
  Run({fake::Inspect([](Window* dialog) {
    EXPECT_EQ(EditText(dialog), std::u16string(kSearchStringSize - 1, u'\u05D0'));
    platform::FontDescription d{};
    ASSERT_TRUE(fake::FontDescriptionOf(gSearchDialog.searchFont, &d));
    EXPECT_EQ(std::u16string(d.face), std::u16string(31, u'F'));
  })});
}

// A full box takes no more letters; the caret still moves left, as it does after any tap.
TEST_F(SearchDialogTest, FullBoxTakesNoMoreLetters) {
  Run({fake::Inspect([](Window* dialog) {
    for (uint32_t i = 0; i < kSearchTextLimit + 5; ++i) InsertKeyboardLetter(dialog, 1);
    EXPECT_EQ(EditText(dialog), std::u16string(kSearchTextLimit, u'\u05D0'));
  })});
}

// Every input of the table, pasted into the box, through the Find All button (which stores
// the pattern as OK does, without searching): the stored string, or a box naming the
// character the book cannot hold, with the dialog left open, the text kept and the stored
// string as it was.
TEST_F(SearchDialogTest, TypedAndPastedPatternsTable) {
  for (const typed_patterns::TypedPattern& row : typed_patterns::Table()) {
    SCOPED_TRACE(row.what);
    fake::ResetMessageBoxes();
    std::memcpy(gReaderSettings.searchString, "before", 7);
    std::u16string kept;
    // A refused text keeps the dialog open, so only then is there a box left to look at.
    const intptr_t result =
        row.refused ? Run({fake::TypeText(kSearchEditId, Visual(row.input)), fake::PressButton(kSearchFindAllId),
                           fake::Inspect([&](Window* dialog) { kept = EditText(dialog); })})
                    : Run({fake::TypeText(kSearchEditId, Visual(row.input)), fake::PressButton(kSearchFindAllId)});
    if (!row.refused) {
      EXPECT_EQ(result, kSearchFindAllId);
      EXPECT_EQ(Stored(), typed_patterns::LetterCode(row.stored));
      EXPECT_TRUE(fake::MessageBoxes().empty());
      continue;
    }
    EXPECT_EQ(result, 0);  // still open when the script ran out
    EXPECT_EQ(Stored(), "before");
    EXPECT_EQ(kept, Visual(row.input));
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    char code[16];
    std::snprintf(code, sizeof code, "(U+%04X)", unsigned(row.refused));
    const std::u16string text = fake::MessageBoxes()[0].text;
    EXPECT_NE(text.find(std::u16string(code, code + std::strlen(code))), std::u16string::npos);
    EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Solmar");
    EXPECT_EQ(fake::MessageBoxes()[0].owner, fake::Dialogs().back().dialog);
  }
}

// OK with a character the book cannot hold: the box says so, the dialog stays open with the
// text as it was, and no search runs.
TEST_F(SearchDialogTest, RefusedTextOnOkKeepsTheDialogAndSearchesNothing) {
  const std::u16string text = Visual(u"\u05E9\u0627");
  std::u16string kept;
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, text), fake::PressButton(platform::kIdOk),
                 fake::Inspect([&](Window* dialog) { kept = EditText(dialog); }), fake::PressButton(platform::kIdCancel)}),
            platform::kIdCancel);
  EXPECT_EQ(kept, text);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text,
            u"The book's text cannot hold \"\u0627\" (U+0627), so the search cannot look for it.");
  EXPECT_EQ(Upper()->highlightEnd, 0);
  EXPECT_EQ(Stored(), "");
}

// A paste of 34 letters is refused with its own message; 33 letters with their points fit.
TEST_F(SearchDialogTest, TheLimitCountsLettersNotPoints) {
  std::u16string pointed;
  for (int i = 0; i < 33; ++i) pointed += u"\u05D5\u05B9";  // vav with holam: "w" is in every page
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, pointed), fake::PressButton(kSearchFindAllId)}), kSearchFindAllId);
  EXPECT_EQ(Stored(), std::string(33, 'f'));
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, std::u16string(34, u'\u05D5')), fake::PressButton(kSearchFindAllId),
                 fake::PressButton(platform::kIdCancel)}),
            platform::kIdCancel);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"The search text is longer than 33 characters.");
  EXPECT_EQ(Stored(), std::string(33, 'f'));
}

// Letters typed while the keyboard is in its Latin layout are the Hebrew letters on the same
// keys: "nafi" types mishkan, each letter in front of the last, as Hebrew is typed.
TEST_F(SearchDialogTest, LatinLayoutTypesHebrew) {
  EXPECT_EQ(Run({fake::TypeKeys(kSearchEditId, u"nafi"),
                 fake::Inspect([](Window* dialog) { EXPECT_EQ(EditText(dialog), Visual(u"משכן")); }),
                 fake::PressButton(kSearchFindAllId)}),
            kSearchFindAllId);
  EXPECT_EQ(Stored(), "plzo");
  // Typed Hebrew, capitals and digits go in as they are.
  EXPECT_EQ(Run({fake::TypeKeys(kSearchEditId, u"שA1"), fake::PressButton(kSearchFindAllId)}), kSearchFindAllId);
  EXPECT_EQ(Stored(), "A1z");  // capitals and digits keep their own order
}

// With letter base 224 the box shows the stored letters at U+00E0..; those and typed or
// pasted Unicode Hebrew both count as the letters.
TEST_F(SearchDialogTest, Base224TakesUnicodeHebrewAndItsOwnLetters) {
  gReaderSettings.fontSpec.fontAsciiBase = 224;
  std::memcpy(gReaderSettings.searchString, "ba", 3);
  EXPECT_EQ(Run({fake::Inspect([](Window* dialog) { EXPECT_EQ(EditText(dialog), u"\u00E1\u00E0"); }),
                 fake::PressButton(kSearchFindAllId)}),
            kSearchFindAllId);
  EXPECT_EQ(Stored(), "ba");
  EXPECT_EQ(Run({fake::TypeText(kSearchEditId, Visual(u"מְשַׁה\u00E0")), fake::PressButton(kSearchFindAllId)}),
            kSearchFindAllId);
  EXPECT_EQ(Stored(), "aezo");
}

// Regression: the Find All button with an empty box emptied the stored string, and a Cancel
// after it kept it emptied. It leaves the string as it was and keeps the dialog open.
TEST_F(SearchDialogTest, FindAllWithAnEmptyBoxKeepsTheStoredString) {
  std::memcpy(gReaderSettings.searchString, "w", 2);
  for (const std::u16string& empty : {std::u16string(), std::u16string(u"**"), std::u16string(u"\u05B0")}) {
    EXPECT_EQ(Run({fake::TypeText(kSearchEditId, empty), fake::PressButton(kSearchFindAllId),
                   fake::Inspect([](Window* dialog) {
                     EXPECT_EQ(fake::FocusWindow(), platform::GetDialogItem(dialog, kSearchEditId));
                   }),
                   fake::PressButton(platform::kIdCancel)}),
              platform::kIdCancel);
    EXPECT_EQ(Stored(), "w");
  }
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// The stored string comes back into the box as the user wrote it: brackets and numbers read
// the right way round, and OK stores the same string again.
TEST_F(SearchDialogTest, BracketsAndNumbersSurviveTheBox) {
  const std::string stored = "[a21b]";  // reading order: [bet 21 alef], as the book stores it
  std::memcpy(gReaderSettings.searchString, stored.c_str(), stored.size() + 1);
  Run({fake::Inspect([](Window* dialog) { EXPECT_EQ(EditText(dialog), Visual(u"[ב21א]")); }),
       fake::PressButton(kSearchFindAllId)});
  EXPECT_EQ(Stored(), stored);
}

}  // namespace
}  // namespace shell_test
