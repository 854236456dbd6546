// Verses and selections in the reader with the real book: going to a reference, selecting
// with the mouse and the keyboard in both panes, and copying a selection with its reference.
#include <cstring>
#include <functional>

#include "content/verse_map.h"
#include "export/export.h"
#include "reader/go_to_verse.h"
#include "search/hebrew_keyboard.h"
#include "shell_fixture.h"
#include "support/book_pack.h"

namespace shell_test {
namespace {

using test_support::Utf8;


class VerseSelectionTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(fake::UsePack(test_support::ReadBookPack())) << SOLMAR_BOOK_PACK_FILE;
    ResetBookVerseMap();
    fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"David CLM");
    ASSERT_NE(Start(), nullptr);
  }
  void TearDown() override {
    ShellTest::TearDown();
    ResetBookVerseMap();
  }

  // The clipboard's Unicode text.
  static std::u16string ClipboardText() {
    uint32_t size = 0;
    uint8_t* data = ReadClipboardData(0, &size);
    std::u16string text(size / 2, u'\0');
    if (data) std::memcpy(text.data(), data, size);
    platform::Free(data);
    return text;
  }
  // Where the character of key is drawn in view, as client coordinates: false when it is
  // not on a row shown now.
  static bool PointOf(PageView* view, uint16_t key, int32_t* x, int32_t* y) {
    int32_t line = 0;
    if (!PageViewKeyPlace(view, key, &line, x)) return false;
    for (int32_t at = view->y; at < view->y + view->height; ++at) {
      uint16_t found = 0;
      if (PageViewKeyAt(view, *x, at, &found) && found == key) {
        *y = at;
        return true;
      }
    }
    return false;
  }
  void MouseDown(int32_t x, int32_t y, uint32_t keys = 0) {
    Send(platform::kMsgLButtonDown, platform::kMkLButton | platform::kMkFromMouse | keys,
         platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
  void MouseMove(int32_t x, int32_t y) {
    Send(platform::kMsgMouseMove, platform::kMkLButton, platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
  void MouseUp(int32_t x, int32_t y) {
    Send(platform::kMsgLButtonUp, platform::kMkFromMouse, platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
  void Clicks(int32_t x, int32_t y, uint32_t count) {
    MouseDown(x, y);
    MouseUp(x, y);
    Send(platform::kMsgLButtonDblClk, uintptr_t(platform::MakeLong(platform::kMkLButton | platform::kMkFromMouse, 2)),
         platform::MakeLong(uint32_t(x), uint32_t(y)));
    MouseUp(x, y);
    if (count == 3)
      Send(platform::kMsgLButtonDblClk,
           uintptr_t(platform::MakeLong(platform::kMkLButton | platform::kMkFromMouse, 3)),
           platform::MakeLong(uint32_t(x), uint32_t(y)));
  }
  const VersePlace& Place(VerseKey key) {
    const VersePlace* place = FindVerse(BookVerseMap(), key);
    EXPECT_NE(place, nullptr);
    return *place;
  }
  // The view's keys of the selection as text of the article (reading order).
  std::u16string SelectedText() {
    char16_t* text = ExportSelectionText(ActiveView(), kUnicodeLetterBase, true);
    std::u16string out = text ? std::u16string(text) : std::u16string();
    platform::Free(text);
    return out;
  }
};

TEST_F(VerseSelectionTest, GoToAVerseShowsItsPageSelectedAndCopiesItWithItsReference) {
  std::u16string message;
  ASSERT_EQ(GoToTypedReference(window_, u"Exod 25:8", &message), 1) << Utf8(message);
  const VersePlace& place = Place(VerseKey{1, 25, 8});
  EXPECT_EQ(gReaderSettings.lesson, place.article);
  EXPECT_EQ(ActiveView(), Upper());
  EXPECT_EQ(Upper()->selectionStart, place.firstRecord + 2);
  EXPECT_EQ(Upper()->selectionEnd, place.endRecord - 1);
  // The verse's first row (its number) is the top row, or the view is at its end.
  int32_t line = 0, x = 0;
  ASSERT_TRUE(PageViewKeyPlace(Upper(), uint16_t(place.firstRecord + 2), &line, &x));
  EXPECT_EQ(Upper()->topRow, std::min<int32_t>(PageViewRowOfLine(Upper(), line), Upper()->maxTopRow));
  Command(kCmdCopy);
  EXPECT_EQ(Utf8(ClipboardText()), "ח ועשו לי מקדש ושכנתי בתוכם:\r\n(שמות כה:ח)\r\n");
  // Append adds the next one behind it.
  ASSERT_EQ(GoToTypedReference(window_, u"שמות כה:ט", &message), 1);
  Command(kCmdAppend);
  EXPECT_EQ(Utf8(ClipboardText()),
            "ח ועשו לי מקדש ושכנתי בתוכם:\r\n(שמות כה:ח)\r\n"
            "ט ככל אשר אני מראה אותך את תבנית המשכן ואת תבנית כל-כליו וכן תעשו:\r\n(שמות כה:ט)\r\n");
}

TEST_F(VerseSelectionTest, ARangeAcrossAChapterTakesItsHeadingAlong) {
  std::u16string message;
  ASSERT_EQ(GoToTypedReference(window_, u"בראשית א:לא-ב:א", &message), 1) << Utf8(message);
  EXPECT_EQ(Utf8(SelectedText()),
            "לא וירא אלהים את-כל-אשר עשה והנה-טוב מאד ויהי-ערב ויהי-בקר יום הששי:\r\n\r\n"
            "פרק ב\r\n"
            "א ויכלו השמים והארץ וכל-צבאם:\r\n"
            "(בראשית א:לא-ב:א)\r\n");
}

TEST_F(VerseSelectionTest, ARangePastItsPageIsSelectedToThePagesEnd) {
  // Page 1 ends with Genesis 2:16.
  std::u16string message;
  ASSERT_EQ(GoToTypedReference(window_, u"Gen 2:15-2:20", &message), 1) << Utf8(message);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(Upper()->selectionEnd, Place(VerseKey{0, 2, 16}).endRecord - 1);
  // What is copied names the verses copied, not the range asked for.
  Command(kCmdCopy);
  const std::string copied = Utf8(ClipboardText());
  EXPECT_EQ(copied.substr(copied.rfind("\r\n(")), "\r\n(בראשית ב:טו-טז)\r\n");
}

TEST_F(VerseSelectionTest, ABadReferenceChangesNothingAndSaysWhy) {
  std::u16string message;
  EXPECT_EQ(GoToTypedReference(window_, u"Gen 1:32", &message), 0);
  EXPECT_EQ(Utf8(message), "Chapter א of בראשית has no verse 32: it has 31 verses.");
  EXPECT_FALSE(PageViewHasSelection(Upper()));
  // From a later start: the message comes over the reader, which stays where it was.
  OnGoToRequest(window_, u"Psalms 1:1");
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Go to Verse");
  EXPECT_EQ(gReaderSettings.lesson, 1);
}

TEST_F(VerseSelectionTest, TheGoToVerseBoxKeepsABadReferenceAndGoesWithAGoodOne) {
  // The box: a reference that names no verse is answered inside it; a good one closes it.
  std::u16string shown;
  fake::ScriptDialogSteps(kGoToVerseDialogTemplate,
                          {fake::TypeText(kGoToVerseEditId, u"Gen 51:1"), fake::PressButton(platform::kIdOk),
                           fake::DialogStep{[&](platform::Window* dialog) {
                             char16_t text[200] = {};
                             platform::GetWindowText(platform::GetDialogItem(dialog, kGoToVerseMessageId), text, 200);
                             shown = text;
                           }},
                           fake::TypeText(kGoToVerseEditId, u"Deut 34:12"), fake::PressButton(platform::kIdOk)});
  Command(kCmdGoToVerse);
  EXPECT_EQ(Utf8(shown), "בראשית has no chapter 51: it has 50 chapters.");
  EXPECT_EQ(gReaderSettings.lesson, Place(VerseKey{4, 34, 12}).article);
  EXPECT_TRUE(PageViewHasSelection(Upper()));
}

// A tap on the box's keyboard picture (at 7, 64 dialog units: 14, 128 pixels with the fake's
// base units) on the key of a Hebrew letter, or on the space bar for ' '.
fake::DialogStep TapKey(char16_t letter) {
  int32_t x = 14 + 3 * kKeyWidth + 5, y = 128 + 3 * kKeyHeight + 5;
  if (letter != u' ') {
    const int position = int(std::strchr(KeyboardLayout, char(0x61 + (letter - 0x05D0))) - KeyboardLayout) + 1;
    x = 14 + (8 - (position - 1) % 9) * kKeyWidth + 8;
    y = 128 + (position - 1) / 9 * kKeyHeight + 12;
  }
  return fake::TapDialog(x, y);
}

TEST_F(VerseSelectionTest, TheGoToVerseBoxTakesHebrewFromItsKeyboard) {
  // A bad reference leaves the box with all of it selected: the taps that follow replace it,
  // in reading order, and take typed characters after them.
  std::u16string tapped;
  int offKeys = -1;
  std::vector<fake::DialogStep> steps = {fake::TypeText(kGoToVerseEditId, u"Gen 51:1"),
                                         fake::PressButton(platform::kIdOk)};
  for (char16_t c : std::u16string(u"שמות כה")) steps.push_back(TapKey(c));
  steps.push_back(fake::TypeKeys(kGoToVerseEditId, u":ח"));
  steps.push_back(fake::DialogStep{[&](platform::Window* dialog) {
    tapped = fake::ControlInfo(platform::GetDialogItem(dialog, kGoToVerseEditId))->text;
    // Beside the space bar and under the message line no key lies.
    offKeys = GoToVerseKeyboardTap(dialog, 14 + 5, 128 + 3 * kKeyHeight + 5) +
              GoToVerseKeyboardTap(dialog, 14 + 5, 128 - 2);
  }});
  steps.push_back(fake::PressButton(platform::kIdOk));
  fake::ScriptDialogSteps(kGoToVerseDialogTemplate, std::move(steps));
  Command(kCmdGoToVerse);
  EXPECT_EQ(Utf8(tapped), "שמות כה:ח");
  EXPECT_EQ(offKeys, 2);
  EXPECT_EQ(gReaderSettings.lesson, Place(VerseKey{1, 25, 8}).article);
  EXPECT_EQ(Upper()->selectionStart, Place(VerseKey{1, 25, 8}).firstRecord + 2);
}

TEST_F(VerseSelectionTest, ADragSelectsInReadingOrderAndAClickClearsAndPages) {
  std::u16string message;
  ASSERT_EQ(GoToTypedReference(window_, u"Gen 1:1", &message), 1);
  ClearSelections(window_);
  const VersePlace& place = Place(VerseKey{0, 1, 3});
  // "ג ויאמר אלהים יהי אור ויהי-אור:": from the first letter of its second word to the last
  // of its third, read right to left.
  const uint16_t first = uint16_t(place.firstRecord + 2 + 2), last = uint16_t(place.firstRecord + 2 + 12);
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  ASSERT_TRUE(PointOf(Upper(), first, &x0, &y0));
  ASSERT_TRUE(PointOf(Upper(), last, &x1, &y1));
  const uint16_t top = Upper()->topRow;
  MouseDown(x0, y0);
  MouseMove(x0 - 2, y0);  // within the drag distance: still a click
  EXPECT_FALSE(PageViewHasSelection(Upper()));
  MouseMove(x1, y1);
  MouseUp(x1, y1);
  EXPECT_EQ(Upper()->topRow, top) << "a drag does not page";
  EXPECT_EQ(Utf8(SelectedText()), "ויאמר אלהים\r\n(בראשית א:ג)\r\n");
  // Dragged the other way, the same passage.
  MouseDown(x1, y1);
  MouseMove(x0, y0);
  MouseUp(x0, y0);
  EXPECT_EQ(Utf8(SelectedText()), "ויאמר אלהים\r\n(בראשית א:ג)\r\n");
  // Shift+click extends from where the last drag began, the end of "אלהים".
  int32_t x2 = 0, y2 = 0;
  ASSERT_TRUE(PointOf(Upper(), uint16_t(place.firstRecord + 2 + 16), &x2, &y2));
  MouseDown(x2, y2, platform::kMkShift);
  MouseUp(x2, y2);
  EXPECT_EQ(Utf8(SelectedText()), "ם יהי\r\n(בראשית א:ג)\r\n");
  // A click clears it and keeps the tap rules: the lower half pages forward.
  const int32_t lowerHalf = Upper()->y + Upper()->height - 5;
  MouseDown(20, lowerHalf);
  MouseUp(20, lowerHalf);
  EXPECT_FALSE(PageViewHasSelection(Upper()));
  EXPECT_GT(Upper()->topRow, top);
}

TEST_F(VerseSelectionTest, DoubleClickPicksAWordTripleClickAVerseOrALine) {
  const VersePlace& place = Place(VerseKey{0, 1, 3});
  int32_t x = 0, y = 0;
  // "אלהים", the third word.
  ASSERT_TRUE(PointOf(Upper(), uint16_t(place.firstRecord + 2 + 9), &x, &y));
  const uint16_t top = Upper()->topRow;
  Clicks(x, y, 2);
  EXPECT_EQ(Upper()->topRow, top) << "the double click's first click paged, and was taken back";
  EXPECT_EQ(Utf8(SelectedText()), "אלהים\r\n(בראשית א:ג)\r\n");
  Clicks(x, y, 3);
  EXPECT_EQ(Utf8(SelectedText()), "ג ויאמר אלהים יהי אור ויהי-אור:\r\n(בראשית א:ג)\r\n");
  // In the commentary the triple click takes the line, whose verse is its heading's.
  // Its fourth record: the analysis of the first word of Genesis 1:1.
  const std::vector<RecordVerseKey> records = ArticleRecordVerses(Lower()->text, Lower()->textLength);
  ASSERT_GT(records.size(), 4u);
  int32_t lx = 0, ly = 0;
  ASSERT_TRUE(PointOf(Lower(), uint16_t(records[3].recordOffset + 4), &lx, &ly));
  Clicks(lx, ly, 3);
  EXPECT_EQ(ActiveView(), Lower());
  EXPECT_FALSE(PageViewHasSelection(Upper())) << "one selection at a time";
  const std::u16string line = SelectedText();
  EXPECT_NE(line.find(u"(בראשית א:א)"), std::u16string::npos) << Utf8(line);
  EXPECT_EQ(std::count(line.begin(), line.end(), u'\n'), 2) << Utf8(line);
  // Escape clears it.
  Key(platform::kVkEscape);
  EXPECT_FALSE(PageViewHasSelection(Lower()));
}

TEST_F(VerseSelectionTest, ShiftDownAndUpExtendByARow) {
  std::u16string message;
  ASSERT_EQ(GoToTypedReference(window_, u"Gen 1:3", &message), 1);
  const uint16_t anchor = Upper()->selectionAnchor;
  int32_t line = 0, x = 0;
  ASSERT_TRUE(PageViewKeyPlace(Upper(), Upper()->selectionFocus, &line, &x));
  Send(platform::kMsgKeyDown, platform::kVkDown, platform::kKeyWithShift);
  int32_t nextLine = 0;
  ASSERT_TRUE(PageViewKeyPlace(Upper(), Upper()->selectionFocus, &nextLine, &x));
  EXPECT_EQ(Upper()->selectionAnchor, anchor);
  EXPECT_GT(nextLine, line);
  const uint16_t end = Upper()->selectionEnd;
  Send(platform::kMsgKeyDown, platform::kVkUp, platform::kKeyWithShift);
  EXPECT_LT(Upper()->selectionEnd, end);
  // Plain Down still scrolls and keeps the selection.
  const uint16_t top = Upper()->topRow;
  Key(platform::kVkDown);
  EXPECT_EQ(Upper()->topRow, top + 1);
  EXPECT_TRUE(PageViewHasSelection(Upper()));
  // A new page clears it.
  Key(platform::kVkRight);
  EXPECT_FALSE(PageViewHasSelection(Upper()));
}

TEST_F(VerseSelectionTest, TheSelectionIsTheDocumentsAccessibleSelection) {
  const platform::AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window_);
  ASSERT_NE(documents, nullptr);
  ASSERT_NE(documents->selection, nullptr);
  int start = -1, end = -1;
  EXPECT_FALSE(documents->selection(window_, 0, &start, &end));
  std::u16string message;
  for (const char16_t* reference : {u"Gen 1:3", u"Gen 1:31-2:1", u"Gen 2:16"}) {
    ASSERT_EQ(GoToTypedReference(window_, reference, &message), 1);
    ASSERT_TRUE(documents->selection(window_, 0, &start, &end));
    const std::u16string whole = documents->text(window_, 0, true);
    ASSERT_LE(end, int(whole.size()));
    // The verses as the article text reads them: rows joined by spaces, paragraphs by line ends.
    std::u16string expected;
    for (const VersePlace& place : BookVerseMap().verses) {
      if (place.firstRecord + 2 < Upper()->selectionStart || place.endRecord - 1 > Upper()->selectionEnd ||
          place.article != 1)
        continue;
      uint32_t length = 0;
      uint8_t* data = LoadArticle(1, nullptr, &length);
      if (!expected.empty()) expected += u"\n";
      expected += VerseReadingText(data, length + 1, place);
      platform::Free(data);
    }
    std::u16string selected = whole.substr(size_t(start), size_t(end - start));
    // Between two verses of the range may stand a chapter heading.
    const size_t heading = selected.find(u"\nפרק ב\n");
    if (heading != std::u16string::npos) selected.erase(heading, 6);
    EXPECT_EQ(Utf8(selected), Utf8(expected)) << Utf8(reference);
  }
}

// Every change of a pane's selection, wherever the reader makes it, is told to assistive
// technology once, for that pane; what leaves the selections alone tells nothing.
TEST_F(VerseSelectionTest, ScreenReadersHearOfEverySelectionChange) {
  const auto& notices = fake::AccessibleSelectionNotices();
  const auto told = [&](size_t before) {
    std::vector<int> panes;
    for (size_t i = before; i < notices.size(); ++i) {
      EXPECT_EQ(notices[i].first, window_);
      panes.push_back(notices[i].second);
    }
    return panes;
  };
  const VersePlace& place = Place(VerseKey{0, 1, 3});
  int32_t x = 0, y = 0, lx = 0, ly = 0;
  ASSERT_TRUE(PointOf(Upper(), uint16_t(place.firstRecord + 2 + 9), &x, &y));
  const std::vector<RecordVerseKey> records = ArticleRecordVerses(Lower()->text, Lower()->textLength);
  ASSERT_GT(records.size(), 4u);
  ASSERT_TRUE(PointOf(Lower(), uint16_t(records[3].recordOffset + 4), &lx, &ly));
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<int> panes;
  } const steps[] = {
      {"nothing selected yet: scrolling", [&] { Key(platform::kVkDown); }, {}},
      {"a double click selects a word", [&] { Key(platform::kVkUp); Clicks(x, y, 2); }, {0}},
      // Each click of a triple click is a message of its own: the first one's release
      // clears, the second selects the word, the third the verse.
      {"a triple click selects the verse", [&] { Clicks(x, y, 3); }, {0, 0, 0}},
      {"scrolling keeps it", [&] { Key(platform::kVkDown); }, {}},
      {"Shift+Down extends it", [&] { Send(platform::kMsgKeyDown, platform::kVkDown, platform::kKeyWithShift); }, {0}},
      {"a selection in the commentary takes the page's away", [&] { Clicks(lx, ly, 3); }, {0, 1, 1}},
      {"Escape clears it", [&] { Key(platform::kVkEscape); }, {1}},
      {"Escape with nothing selected", [&] { Key(platform::kVkEscape); }, {}},
      {"Go to Verse selects on another page",
       [&] {
         fake::ScriptDialogSteps(kGoToVerseDialogTemplate, {fake::TypeText(kGoToVerseEditId, u"Exod 25:8"),
                                                            fake::PressButton(platform::kIdOk)});
         Command(kCmdGoToVerse);
       },
       {0}},
      {"the next page clears it", [&] { Key(platform::kVkRight); }, {0}},
  };
  for (const Step& step : steps) {
    const size_t before = notices.size();
    step.act();
    EXPECT_EQ(told(before), step.panes) << step.what;
  }
  // Only a pane that shows is a document to tell of.
  EXPECT_TRUE(platform::NotifyAccessibleSelection(window_, 1));
  EXPECT_FALSE(platform::NotifyAccessibleSelection(window_, 2));
  EXPECT_FALSE(platform::NotifyAccessibleSelection(window_, -1));
}

TEST_F(VerseSelectionTest, WithoutASelectionCopyTakesTheWholeArticle) {
  Command(kCmdCopy);
  const std::u16string text = ClipboardText();
  EXPECT_EQ(text.substr(0, 6), u"בראשית");
  EXPECT_EQ(text.find(u"(בראשית"), std::u16string::npos);
  EXPECT_GT(text.size(), 2000u);
}

}  // namespace
}  // namespace shell_test
