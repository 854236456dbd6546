// The list of every hit on the fake backend: its rows for a small book (order, place,
// verse, context with the hit marked, text or commentary), going to a row as Search Again
// goes to a hit, walking the rows, an empty pattern, no hits, and the list's window.
#include <string>
#include <vector>

#include "content/streams.h"
#include "content/visual_order.h"
#include "search/find_all.h"
#include "search/find_all_list.h"
#include "search/search.h"
#include "search/search_dialog.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

// One record of a small article, its text in reading order.
struct Record {
  uint8_t flags;
  uint8_t param;
  std::u16string text;
  bool continuation = false;  // stored with a space in front, as the book compiler does
};

constexpr uint8_t kRtl = 0x30;          // right to left, aligned right
constexpr uint8_t kHeading = 0x58;      // bold, centred, right to left
constexpr uint8_t kVerseLabel = 0x38;   // bold, right to left, aligned right

std::vector<uint8_t> LetterBytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) bytes.push_back(c >= 0x5D0 && c <= 0x5EA ? uint8_t(0x61 + (c - 0x5D0)) : uint8_t(c));
  return bytes;
}

std::vector<uint8_t> Stream(const std::vector<Record>& records) {
  std::vector<uint8_t> stream;
  for (const Record& r : records) {
    std::vector<uint8_t> text = LetterBytes(r.text);
    if (r.flags & 0x10) SwapVisualOrder(text.data(), text.size());
    if (r.continuation) text.insert(text.begin(), ' ');
    stream.push_back(r.flags);
    stream.push_back(r.param);
    stream.insert(stream.end(), text.begin(), text.end());
    stream.push_back(0);
  }
  stream.push_back(0);
  return stream;
}

const std::u16string kTitle = u"בראשית א:ה - ב:ב";

// Page 2 (article 3) and its commentary (article 4): the word "אור" five times, three in
// the text, two in the commentary.
const std::vector<Record> kPage = {
    {kTitleFlags, 0, kTitle},
    {kSubtitleFlags, 0, u"בראשית"},
    {kRtl, 0x40, u"ה ויקרא אור"},
    {kHeading, 0, u"פרק ב"},
    {kRtl, 0x40, u"א ויכלו אור שמים"},
    {kRtl, 0x44, u"והארץ אור", true},
    {kRtl, 0x40, u"ב ויכל"},
};
const std::vector<Record> kCommentary = {
    {kTitleFlags, 0, kTitle},
    {kSubtitleFlags, 0, u"בראשית - ניתוח דקדוקי"},
    {kVerseLabel, 0x40, u"ה א:ה"},
    {kRtl, 0x44, u"אור: ש\"ע", true},
    {kVerseLabel, 0x40, u"א ב:א"},
    {kRtl, 0x44, u"ואור: ו' החיבור", true},
};

// The stored offset of record i's text in the stream of records.
uint16_t TextOffset(const std::vector<Record>& records, size_t i) {
  const std::vector<uint8_t> s = Stream(records);
  uint32_t at = 0;
  for (size_t k = 0; k < i; ++k) {
    at += 2;
    while (s[at]) ++at;
    ++at;
  }
  return uint16_t(at + 2);
}

// A row as the list shows it.
struct Row {
  std::u16string place, part, verse, context;
  int32_t markStart, markLength;
  bool operator==(const Row&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Row& r) {
  auto narrow = [](const std::u16string& s) {
    std::string n;
    for (char16_t c : s) n += c < 0x80 ? char(c) : '#';
    return n;
  };
  return out << "{" << narrow(r.place) << " | " << narrow(r.part) << " | " << narrow(r.verse) << " | "
             << narrow(r.context) << " | mark " << r.markStart << "+" << r.markLength << "}";
}

class FindAllListTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ResetFindAllState();
    ResetSearchDialogState();
    fake::AddResource(kArticleResourceBase + 3, platform::kResourceTypeRawData, ArticleResource(Stream(kPage)));
    fake::AddResource(kArticleResourceBase + 4, platform::kResourceTypeRawData, ArticleResource(Stream(kCommentary)));
  }
  void TearDown() override {
    if (gFindAll.dialog) platform::DestroyWindow(gFindAll.dialog);
    EXPECT_EQ(gFindAll.dialog, nullptr);
    ShellTest::TearDown();
  }
  void SetPattern(const std::u16string& readingOrder) {
    std::memset(gReaderSettings.searchString, 0, kSearchStringSize);
    if (!readingOrder.empty()) {
      ASSERT_EQ(StoredPatternFromReadingOrder(readingOrder.c_str(), gReaderSettings.searchString), PatternError::kNone);
    }
  }
  Window* List() const { return platform::GetDialogItem(gFindAll.dialog, kFindAllListId); }
  Row RowAt(int row) const {
    const std::vector<platform::RowCell> cells = fake::ResultListRow(List(), row);
    if (cells.size() != kFindAllColumnCount) return {};
    return {cells[0].text, cells[1].text, cells[2].text, cells[3].text, cells[3].markStart, cells[3].markLength};
  }
  std::u16string Caption() const { return fake::WindowInfo(gFindAll.dialog)->title; }
  void Press(uint32_t key) { fake::ResultListKey(List(), key); }
  // Where the highlight of the active pane lies, and which pane that is.
  struct Shown {
    int lesson;
    bool lowerActive;
    uint16_t start, end;
    bool operator==(const Shown&) const = default;
  };
  Shown Now() const {
    const PageView* v = ActiveView();
    return {gReaderSettings.lesson, gPaneState.activeView == Lower(), v->highlightStart, v->highlightEnd};
  }
  // The highlight of "אור" in record i of article 3 (page) or 4 (commentary), whose text
  // holds it at reading position at.
  static Shown HitAt(int article, size_t record, int at, size_t textLength, bool continuation = false) {
    const std::vector<Record>& records = article == 3 ? kPage : kCommentary;
    // Stored reversed: reading position at of a text of n units is stored at n - 1 - at.
    const uint16_t text = TextOffset(records, record) + (continuation ? 1 : 0);
    const uint16_t last = uint16_t(text + textLength - 1 - at);
    return {3, article == 4, uint16_t(last - 2), uint16_t(last + 1)};
  }
};

TEST_F(FindAllListTest, RowsOfASmallBookInBookOrder) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"אור");
  Command(kCmdFindAll);
  ASSERT_NE(gFindAll.dialog, nullptr);
  // Nothing of a row is made before it is drawn.
  EXPECT_EQ(fake::RowCellRequests(), 0);
  EXPECT_EQ(Caption(), u"אור \u2014 5 hits");
  ASSERT_EQ(platform::ResultListRowCount(List()), 5);
  EXPECT_EQ(platform::ResultListGetSelection(List()), 0);
  EXPECT_EQ(fake::FocusWindow(), List());
  const std::vector<Row> expected = {
      {kTitle, u"Text", u"א:ה", u"ה ויקרא אור", 8, 3},
      {kTitle, u"Text", u"ב:א", u"א ויכלו אור שמים", 8, 3},
      {kTitle, u"Text", u"ב:א", u"והארץ אור ", 6, 3},  // a continuation keeps its verse
      {kTitle, u"Commentary", u"א:ה", u"אור: ש\"ע ", 0, 3},
      {kTitle, u"Commentary", u"ב:א", u"ואור: ו' החיבור ", 1, 3},
  };
  for (int row = 0; row < 5; ++row) EXPECT_EQ(RowAt(row), expected[size_t(row)]) << "row " << row;
  EXPECT_EQ(RowAt(5), Row{});
  EXPECT_EQ(fake::ControlInfo(List())->columns.size(), size_t(kFindAllColumnCount));
}

// The walk and the order of --find agree, hit for hit.
TEST_F(FindAllListTest, RowsFollowTheBookListing) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"א");
  std::vector<BookHit> listed;
  FindAllInBook(gReaderSettings.searchString, [&](const BookHit& hit) { listed.push_back(hit); });
  std::vector<FoundHit> rows;
  EXPECT_EQ(CollectBookHits(gReaderSettings.searchString, &rows), 0);
  ASSERT_EQ(rows.size(), listed.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].article, listed[i].article) << i;
    EXPECT_EQ(rows[i].endOffset, listed[i].endOffset) << i;
    EXPECT_EQ(rows[i].length, listed[i].length) << i;
  }
}

TEST_F(FindAllListTest, EnterShowsTheSelectedHitAndArrowsWalk) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"אור");
  Command(kCmdFindAll);
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), HitAt(3, 2, 8, 11));
  Press(platform::kVkDown);
  Press(platform::kVkDown);
  Press(platform::kVkDown);
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), HitAt(4, 3, 0, 8, true));  // the commentary, in the lower pane
  Press(platform::kVkUp);
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), HitAt(3, 5, 6, 9, true));
  Press(platform::kVkEnd);
  Press(platform::kVkDown);  // stays on the last row
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), HitAt(4, 5, 1, 15, true));
  Press(platform::kVkHome);
  Press(platform::kVkUp);  // stays on the first
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), HitAt(3, 2, 8, 11));
  // The list stays open, and Search Again goes on from the hit shown.
  EXPECT_NE(gFindAll.dialog, nullptr);
  EXPECT_EQ(SearchAgain(window_), 1);
  EXPECT_EQ(Now(), HitAt(3, 4, 8, 16));
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

// From another page, a commentary row makes its page current above and the commentary
// active below, with the title banner shown, as Search Again's walk does.
TEST_F(FindAllListTest, DoubleClickOnACommentaryRowFromAnotherPage) {
  Put(u"Lesson", 101);
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"אור");
  Command(kCmdFindAll);
  fake::ClearDrawCalls();
  fake::ResultListDoubleClick(List(), 4);
  EXPECT_EQ(Now(), HitAt(4, 5, 1, 15, true));
  EXPECT_EQ(platform::ResultListGetSelection(List()), 4);
  ASSERT_NE(Upper()->text, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(Upper()->text, Upper()->text + Stream(kPage).size()), Stream(kPage));
  bool banner = false;
  for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText))
    banner |= c.textColour == 0x0000FF && c.backgroundColour == 0x00FFFF;  // red on yellow
  EXPECT_TRUE(banner) << "the title banner shows";
}

// A hidden lower pane is shown for a commentary hit: a hit nobody sees would be no hit.
TEST_F(FindAllListTest, CommentaryHitShowsAHiddenLowerPane) {
  Put(u"BottomSection", 1);
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"אור");
  Command(kCmdFindAll);
  EXPECT_EQ(platform::ResultListRowCount(List()), 5);  // commentary rows are listed all the same
  platform::ResultListSetSelection(List(), 3);
  Press(platform::kVkReturn);
  EXPECT_EQ(gReaderSettings.bottomSection, kDefaultLowerPaneCode);
  EXPECT_EQ(RadioChecked(), kCmdLowerPaneHalf);
  EXPECT_GT(Lower()->height, 0);
  EXPECT_EQ(Now(), HitAt(4, 3, 0, 8, true));
}

TEST_F(FindAllListTest, EmptyPatternOpensTheSearchDialogWhoseButtonListsTheHits) {
  ASSERT_NE(Start(), nullptr);
  gReaderSettings.fontSpec.fontAsciiBase = 1488;
  SetPattern(u"");
  // The button with an empty box keeps the dialog open; with a word it lists the word.
  fake::ScriptDialogSteps(kSearchDialogTemplate,
                          {fake::PressButton(kSearchFindAllId),
                           fake::Inspect([](Window* dialog) { EXPECT_FALSE(fake::WindowInfo(dialog)->destroyed); }),
                           fake::TypeText(kSearchEditId, u"רוא"),  // visual order, as taps build it
                           fake::PressButton(kSearchFindAllId)});
  const size_t before = fake::Dialogs().size();
  Command(kCmdFindAll);
  ASSERT_EQ(fake::Dialogs().size(), before + 1);
  EXPECT_EQ(fake::Dialogs().back().templateId, kSearchDialogTemplate);
  EXPECT_EQ(fake::Dialogs().back().result, kSearchFindAllId);
  ASSERT_NE(gFindAll.dialog, nullptr);
  EXPECT_EQ(Caption(), u"אור \u2014 5 hits");
  EXPECT_EQ(gReaderSettings.lesson, 1);  // nothing shown until a row is chosen
}

TEST_F(FindAllListTest, SearchDialogOkStillSearchesAndOpensNoList) {
  ASSERT_NE(Start(), nullptr);
  gReaderSettings.fontSpec.fontAsciiBase = 1488;
  fake::ScriptDialogSteps(kSearchDialogTemplate, {fake::TypeText(kSearchEditId, u"רוא"), fake::PressButton(platform::kIdOk)});
  Command(kCmdSearch);
  EXPECT_EQ(fake::Dialogs().back().result, platform::kIdOk);
  EXPECT_EQ(gFindAll.dialog, nullptr);
  EXPECT_EQ(Now(), HitAt(3, 2, 8, 11));
}

TEST_F(FindAllListTest, NoHitsListsNothingAndChangesNothing) {
  Put(u"Lesson", 7);
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"קקק");
  const Shown before = Now();
  const uint8_t* upperText = Upper()->text;
  Command(kCmdFindAll);
  ASSERT_NE(gFindAll.dialog, nullptr);
  EXPECT_EQ(Caption(), u"קקק \u2014 0 hits");
  EXPECT_EQ(platform::ResultListRowCount(List()), 0);
  EXPECT_EQ(platform::ResultListGetSelection(List()), platform::kListBoxError);
  Press(platform::kVkDown);
  Press(platform::kVkReturn);
  EXPECT_EQ(Now(), before);
  EXPECT_EQ(Upper()->text, upperText);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  for (const fake::RecordedDialog& d : fake::Dialogs()) EXPECT_NE(d.templateId, kSearchDialogTemplate);
}

TEST_F(FindAllListTest, OneListWindowRefreshedAndEscapeClosesIt) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"אור");
  Command(kCmdFindAll);
  Window* first = gFindAll.dialog;
  Press(platform::kVkDown);
  SetPattern(u"ויכל");
  Command(kCmdFindAll);
  EXPECT_EQ(gFindAll.dialog, first);
  EXPECT_EQ(Caption(), u"ויכל \u2014 2 hits");
  EXPECT_EQ(platform::ResultListGetSelection(List()), 0);
  EXPECT_EQ(RowAt(1).verse, u"ב:ב");
  EXPECT_EQ(fake::ForegroundRequests().back(), first);
  int dialogs = 0;
  for (Window* w : fake::AllWindows()) dialogs += fake::WindowInfo(w)->className == u"#dialog";
  EXPECT_EQ(dialogs, 1);

  Press(platform::kVkEscape);
  EXPECT_TRUE(fake::WindowInfo(first)->destroyed);
  EXPECT_EQ(gFindAll.dialog, nullptr);
  EXPECT_TRUE(gFindAll.hits.empty());
  // A row of a closed list goes nowhere.
  EXPECT_EQ(GoToFoundHit(0), 0);
}

// A hit that ends its paragraph in reading order lies at the first stored byte of the
// record's text; its row has its verse and context like any other.
TEST_F(FindAllListTest, HitEndingAParagraphHasItsContext) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"ל");
  Command(kCmdFindAll);
  ASSERT_EQ(platform::ResultListRowCount(List()), 2);
  EXPECT_EQ(RowAt(0), (Row{kTitle, u"Text", u"ב:א", u"א ויכלו אור שמים", 5, 1}));
  EXPECT_EQ(RowAt(1), (Row{kTitle, u"Text", u"ב:ב", u"ב ויכל", 5, 1}));
  platform::ResultListSetSelection(List(), 1);
  Press(platform::kVkReturn);
  const uint16_t text = TextOffset(kPage, 6);
  EXPECT_EQ(Now(), (Shown{3, false, text, uint16_t(text + 1)}));
}

TEST_F(FindAllListTest, OpeningAnswersWhetherTheListShows) {
  ASSERT_NE(Start(), nullptr);
  SetPattern(u"");
  EXPECT_EQ(OpenFindAllList(window_), 0);
  EXPECT_EQ(gFindAll.dialog, nullptr);
  SetPattern(u"אור");
  EXPECT_EQ(OpenFindAllList(window_), 1);
  EXPECT_EQ(OpenFindAllList(window_), 1);  // refreshed, still shown
  EXPECT_NE(gFindAll.dialog, nullptr);
}

TEST_F(FindAllListTest, CaptionCountsOneHitInTheSingular) {
  uint8_t pattern[kSearchStringSize] = {};
  ASSERT_EQ(StoredPatternFromReadingOrder(u"א?ב", pattern), PatternError::kNone);
  EXPECT_EQ(FindAllCaption(pattern, 1), u"א?ב \u2014 1 hit");
  EXPECT_EQ(FindAllCaption(pattern, 12345), u"א?ב \u2014 12345 hits");
}

TEST_F(FindAllListTest, VerseOfEachRecord) {
  struct Case {
    std::vector<Record> records;
    std::vector<std::u16string> verses;
  } const cases[] = {
      {kPage, {u"", u"", u"א:ה", u"ב", u"ב:א", u"ב:א", u"ב:ב"}},
      {kCommentary, {u"", u"", u"א:ה", u"א:ה", u"ב:א", u"ב:א"}},
      // Without a title range the verse number stands alone until a chapter heading; a
      // rule and a paragraph that is no verse carry none. Words joined by a colon are no
      // chapter and verse.
      {{{kRtl, 0x40, u"ג אור"}, {0x47, 40, u""}, {kRtl, 0x40, u"ויהי ערב"}, {kHeading, 0, u"פרק יא"},
        {kRtl, 0x40, u"קעו אור"}, {kRtl, 0x40, u"קעז השמים:והארץ"}},
       {u"ג", u"", u"", u"יא", u"יא:קעו", u"יא:קעז"}},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> stream = Stream(c.records);
    const std::vector<RecordVerse> verses = ArticleVerses(stream.data(), uint32_t(stream.size()));
    std::vector<std::u16string> got;
    for (const RecordVerse& v : verses) got.push_back(v.verse);
    EXPECT_EQ(got, c.verses);
    for (size_t i = 0; i < verses.size(); ++i) EXPECT_EQ(verses[i].recordOffset + 2u, TextOffset(c.records, i));
  }
}

TEST_F(FindAllListTest, ContextAroundAHit) {
  // Reading order "0123456789…" stored left to right (no rtl flag): positions are offsets.
  std::u16string digits;
  for (int i = 0; i < 80; ++i) digits.push_back(char16_t(u'A' + i % 26));
  const std::vector<uint8_t> text = LetterBytes(digits);
  struct Case {
    uint32_t first, count;
    std::u16string context;
    int32_t markStart, markLength;
  } const cases[] = {
      {0, 2, digits.substr(0, 26) + u"\u2026", 0, 2},
      {40, 3, u"\u2026" + digits.substr(16, 51) + u"\u2026", 25, 3},
      {78, 2, u"\u2026" + digits.substr(54), 25, 2},
      {79, 2, u"", -1, 0},  // reaches past the end
  };
  for (const Case& c : cases) {
    const HitContext got = ContextAroundHit(text.data(), uint32_t(text.size()), 0x01, c.first, c.count);
    EXPECT_EQ(got.text, c.context) << c.first;
    EXPECT_EQ(got.markStart, c.markStart) << c.first;
    EXPECT_EQ(got.markLength, c.markLength) << c.first;
  }
  // Right to left: the stored bytes read backwards, brackets mirrored, numbers kept.
  std::vector<uint8_t> rtl = LetterBytes(u"(א) 12 אב");
  SwapVisualOrder(rtl.data(), rtl.size());
  const HitContext got = ContextAroundHit(rtl.data(), uint32_t(rtl.size()), kRtl, 0, 2);  // stored "בא": the last word
  EXPECT_EQ(got.text, u"(א) 12 אב");
  EXPECT_EQ(got.markStart, 7);
  EXPECT_EQ(got.markLength, 2);
}

TEST_F(FindAllListTest, ShowingAHitRefusesWhatIsNotInTheBook) {
  ASSERT_NE(Start(), nullptr);
  const Shown before = Now();
  struct Case {
    int article;
    uint16_t end, length;
  } const cases[] = {{0, 10, 2}, {287, 10, 2}, {3, 0, 1}, {3, 10, 0}, {3, 5000, 2}, {1, 5000, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(ShowHitInArticle(window_, c.article, c.end, c.length), 0) << c.article << " " << c.end;
    EXPECT_EQ(Now(), before);
  }
}

}  // namespace
}  // namespace shell_test
