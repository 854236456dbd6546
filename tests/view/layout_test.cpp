// Line layout on the fake backend: size 20 fonts, so rows are 20 high and every
// character is 10 pixels wide; a 100-pixel view takes 10 characters.
#include <sys/mman.h>
#include <unistd.h>

#include "view_fixture.h"

namespace {

struct Expected {
  uint16_t offset, length, x, leadWidth, width, height;
  uint8_t flags;
};

void ExpectRow(const LineRecord& row, const Expected& e) {
  EXPECT_EQ(row.offset, e.offset);
  EXPECT_EQ(row.length, e.length);
  EXPECT_EQ(row.x, e.x);
  EXPECT_EQ(row.leadWidth, e.leadWidth);
  EXPECT_EQ(row.width, e.width);
  EXPECT_EQ(row.height, e.height);
  EXPECT_EQ(row.flags, e.flags);
}

using LayoutTest = ViewTest;

TEST_F(LayoutTest, BreaksAtSpacesAndAfterHyphens) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb cccc").Add(0x01, 0, "aaaa-bbbbbbb ccc");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 5u);
  const uint16_t p = s.TextOffset(0), q = s.TextOffset(1);
  ExpectRow(rows[0], {p, 9, 0, 0, 90, 20, 0x01});
  ExpectRow(rows[1], {uint16_t(p + 10), 4, 0, 0, 40, 20, 0x01});
  EXPECT_EQ(RowText(rows[2]), "aaaa-");  // the hyphen stays on the row
  ExpectRow(rows[2], {q, 5, 0, 0, 50, 20, 0x01});
  EXPECT_EQ(RowText(rows[3]), "bbbbbbb");
  EXPECT_EQ(RowText(rows[4]), "ccc");
  EXPECT_EQ(view_->lineCount, 5);
  EXPECT_EQ(view_->totalRows, 5);
}

TEST_F(LayoutTest, WordWiderThanRowIsCutWhereTheWidthEnds) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "abcdefghijklmn");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(RowText(rows[0]), "abcdefghij");
  EXPECT_EQ(rows[0].width, 100);
  EXPECT_EQ(RowText(rows[1]), "klmn");
}

TEST_F(LayoutTest, RowEndingInsideARunOfSpacesKeepsOneSpace) {
  MakeView(60, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa  bbbb");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(RowText(rows[0]), "aaaa ");
  EXPECT_EQ(rows[0].width, 50);
  EXPECT_EQ(RowText(rows[1]), "bbbb");
}

TEST_F(LayoutTest, ExtraRowsCountOnceAtTheParagraphsLastRowAndNeverEndTheArticle) {
  MakeView(40, 400);
  StreamBuilder s;
  s.Add(0x81, 0, "aaaa bbbb cccc")  // three rows, the extra row after the third
      .Add(0x81, 0, "    ")          // spaces only: no row, no extra row
      .Add(0x81, 0, "aaaa  ")        // its trailing spaces fall after the break: no last row
      .Add(0x81, 0, "dd");           // the article's last row loses its extra row
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].flags, 0x01);
  EXPECT_EQ(rows[1].flags, 0x01);
  EXPECT_EQ(RowText(rows[2]), "cccc");
  EXPECT_EQ(rows[2].flags, 0x81);
  EXPECT_EQ(RowText(rows[3]), "aaaa");
  EXPECT_EQ(rows[3].flags, 0x01);
  EXPECT_EQ(RowText(rows[4]), "dd");
  EXPECT_EQ(rows[4].flags, 0x01);
  EXPECT_EQ(view_->lineCount, 5);
  EXPECT_EQ(view_->totalRows, 6);
}

// Regression: a paragraph flags byte of exactly 0x80 gives its earlier rows the flags 0,
// which must not end the line table.
TEST_F(LayoutTest, ParagraphWithFlagsExactly0x80KeepsAllItsRows) {
  MakeView(100, 400);
  StreamBuilder s;
  s.Add(0x80, 0, "aaaa bbbb cccc").Add(0x01, 0, "dd");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].flags, 0x00);
  EXPECT_EQ(rows[1].flags, 0x80);
  EXPECT_EQ(RowText(rows[2]), "dd");
  EXPECT_EQ(view_->totalRows, 4);
  EXPECT_EQ(PageViewScrollToOffset(view_, s.TextOffset(1)), 1);
  ASSERT_EQ(PageViewPaint(view_, 0), kViewOk);
  EXPECT_EQ(view_->rowsPainted, 4);
  EXPECT_EQ(Texts().size(), 3u);
}

TEST_F(LayoutTest, LeftToRightLeadWordHangsTheParagraphAndItsContinuations) {
  MakeView(100, 400);
  StreamBuilder s;
  s.Add(0x01, 0x40 | 5, "ab cccc dddd eeee")  // k = 1: lead box (1 + 1) * 10 / 2 = 10
      .Add(0x01, 0x40 | 5, " ffff")            // continuation, same indent
      .Add(0x01, 0x40 | 8, " gggg")            // continuation, indent moved by 8 - 5
      .Add(0x01, 0, "hhhh");                   // a new paragraph starts from its own indent
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 6u);
  const uint16_t p = s.TextOffset(0);
  ExpectRow(rows[0], {p, 4, 15, 10, 40, 20, 0x01});  // offset of the lead word; x = indent + lead
  ExpectRow(rows[1], {uint16_t(p + 8), 4, 15, 0, 40, 20, 0x01});
  ExpectRow(rows[2], {uint16_t(p + 13), 4, 15, 0, 40, 20, 0x01});
  EXPECT_EQ(RowText(rows[3]), "ffff");
  EXPECT_EQ(rows[3].x, 15);
  EXPECT_EQ(rows[4].x, 18);
  EXPECT_EQ(rows[5].x, 0);
}

TEST_F(LayoutTest, RightToLeftLeadWordIsTheLastStoredWordAtTheRight) {
  MakeView(100, 400);
  StreamBuilder s;
  // Reading order "ab cccc dddd", stored reversed; k = 3: lead box 20.
  s.Add(0x31, 0xC0, "dddd cccc ba").Add(0x31, 0, "xx");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  const uint16_t p = s.TextOffset(0);
  ExpectRow(rows[0], {uint16_t(p + 5), 4, 40, 20, 40, 20, 0x31});  // 100 - (0 + 20) - 40
  EXPECT_EQ(RowText(rows[0]), "cccc");
  ExpectRow(rows[1], {p, 4, 40, 0, 40, 20, 0x31});  // hangs by the lead box on the right
  EXPECT_EQ(RowText(rows[1]), "dddd");
  EXPECT_EQ(rows[2].x, 80);
}

TEST_F(LayoutTest, AlignmentPlacesRowsAndRules) {
  MakeView(200, 400, 10, 0);
  StreamBuilder s;
  s.Add(0x41, 4, "abc")   // centre: 10 + 4 + (200 - 4 - 30) / 2
      .Add(0x61, 4, "abc")  // 0x60 is left
      .Add(0x27, 100, "")   // right rule, 100 px
      .Add(0x47, 170, "")   // centred rule, 20 per cent
      .Add(0x07, 255, "")   // capped at the view width
      .Add(0x07, 0, "")     // no row
      .Add(0x87, 50, "");   // extra row after a rule
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].x, 10 + 4 + 83);
  EXPECT_EQ(rows[1].x, 14);
  ExpectRow(rows[2], {s.TextOffset(2), 0, 110, 0, 100, 20, 0x27});
  ExpectRow(rows[3], {s.TextOffset(3), 0, 90, 0, 40, 20, 0x47});
  ExpectRow(rows[4], {s.TextOffset(4), 0, 10, 0, 200, 20, 0x07});
  EXPECT_EQ(rows[5].flags, 0x07);  // the article's last row loses its extra row
  EXPECT_EQ(view_->totalRows, 6);
}

TEST_F(LayoutTest, StyleChangesTakeTheRowHeightOfTheirFont) {
  MakeView(100, 400);
  StreamBuilder s;
  s.Add(0x05, 0, "abc").Add(0x03, 0, "abc").Add(0x07, 10, "").Add(0x01, 0, "a");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  EXPECT_EQ(rows[0].height, 25);  // size * 5 / 4
  EXPECT_EQ(rows[0].width, 36);   // 3 characters of 12
  EXPECT_EQ(rows[1].height, 15);  // size * 6 / 8
  EXPECT_EQ(rows[2].height, 15);  // a rule keeps the current height
  EXPECT_EQ(rows[3].height, 20);
  EXPECT_EQ(fake::SelectedFont(dc_).height, 0) << "the context's own font is selected again";
}

TEST_F(LayoutTest, NarrowViewsStillTakeOneCharacterPerRow) {
  MakeView(5, 400);  // narrower than one character
  StreamBuilder s;
  s.Add(0x01, 0, "ab cd");
  ASSERT_EQ(LayOut(s), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(RowText(rows[0]), "a");
  EXPECT_EQ(rows[0].width, 10);
  EXPECT_EQ(RowText(rows[3]), "d");

  // Indent and lead box wider than the view: the lead row takes the lead word only, and
  // each later row one character.
  view_->width = 30;
  StreamBuilder t;
  t.Add(0x01, 0xC0 | 20, "ab cd");
  ASSERT_EQ(LayOut(t), kViewOk);
  rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].length, 0);
  EXPECT_EQ(rows[0].leadWidth, 20);
  EXPECT_EQ(RowText(rows[1]), "c");
  EXPECT_EQ(RowText(rows[2]), "d");
}

// An indent that leaves no room (as wide as the view or wider) is dropped; a narrower one
// is kept. (A check of "wider than the view" let an indent equal to the width through, and
// the paragraph came out one character a row at the view's right edge.)
TEST_F(LayoutTest, IndentAsWideAsTheViewIsDropped) {
  struct Case {
    uint8_t indent;
    size_t rows;
    uint16_t x;
  };
  const Case cases[] = {{40, 1, 0}, {41, 1, 0}, {50, 1, 0}, {39, 4, 39}, {20, 2, 20}, {0, 1, 0}};
  MakeView(40, 400);
  for (const Case& c : cases) {
    StreamBuilder s;
    s.Add(0x01, c.indent, "aaaa");
    ASSERT_EQ(LayOut(s), kViewOk) << int(c.indent);
    auto rows = Rows();
    ASSERT_EQ(rows.size(), c.rows) << int(c.indent);
    EXPECT_EQ(rows[0].x, c.x) << int(c.indent);
  }
}

TEST_F(LayoutTest, MaxTopRowLeavesTheLastScreenFull) {
  MakeView(100, 100);
  StreamBuilder s;
  for (int i = 0; i < 8; ++i) s.Add(0x01, 0, "abc");
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(view_->maxTopRow, 8 - 5);

  // Height 50: the extra row after the last row but one and the last row fit.
  view_->height = 50;
  StreamBuilder t;
  t.Add(0x01, 0, "a").Add(0x01, 0, "b").Add(0x01, 0, "c").Add(0x81, 0, "d").Add(0x01, 0, "e");
  ASSERT_EQ(LayOut(t), kViewOk);
  EXPECT_EQ(view_->totalRows, 6);
  EXPECT_EQ(view_->maxTopRow, 4);

  // Shorter than one screen: 0.
  view_->height = 500;
  ASSERT_EQ(PageViewSetSize(view_, 100, 500), kViewOk);
  EXPECT_EQ(view_->maxTopRow, 0);
}

TEST_F(LayoutTest, ScrollToOffsetFindsTheRowAndStopsAtMaxTopRow) {
  MakeView(100, 60);
  StreamBuilder s;
  for (int i = 0; i < 10; ++i) s.Add(i == 1 ? 0x81 : 0x01, 0, "abcd");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(view_->totalRows, 11);
  ASSERT_EQ(view_->maxTopRow, 8);
  EXPECT_EQ(PageViewScrollToOffset(view_, s.TextOffset(2) + 4), 1);  // end of the row counts
  EXPECT_EQ(view_->topRow, 3);                                        // after the extra row
  EXPECT_EQ(PageViewScrollToOffset(view_, s.TextOffset(9)), 1);
  EXPECT_EQ(view_->topRow, 8);
  view_->topRow = 2;
  EXPECT_EQ(PageViewScrollToOffset(view_, 60000), 0);
  EXPECT_EQ(view_->topRow, 2);
}

// Regression: offsets in a lead word were not found. A right-to-left lead word is stored
// after its row proper, and a left-to-right lead row's row proper ends past offset +
// length; both belong to the lead row, and the first row holding an offset still wins.
TEST_F(LayoutTest, ScrollToOffsetFindsLeadWordsAndTheTailOfALeadRow) {
  MakeView(100, 40);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa")               // row 0
      .Add(0x31, 0xC0, "dddd cccc ba")  // row 1: "cccc" with the lead word "ba"; row 2: "dddd"
      .Add(0x01, 0xC0, "ab cccc dd");   // row 3: lead word "ab", row proper "cccc dd"
  for (int i = 0; i < 4; ++i) s.Add(0x01, 0, "zz");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(view_->maxTopRow, 6);
  const uint16_t p = s.TextOffset(1), q = s.TextOffset(2);
  const struct {
    uint16_t offset;
    uint16_t topRow;
  } cases[] = {
      {uint16_t(p + 10), 1}, {uint16_t(p + 11), 1},  // the lead word "ba"
      {uint16_t(p + 12), 1},                         // just past it, as at any row's end
      {uint16_t(p + 9), 1},                          // the space before it
      {uint16_t(p + 5), 1}, {uint16_t(p + 4), 2},    // unchanged: row proper, second row's end
      {q, 3}, {uint16_t(q + 7), 3},                  // unchanged: lead word, offset + length
      {uint16_t(q + 8), 3}, {uint16_t(q + 10), 3},   // the tail "dd" and just past it
  };
  for (const auto& c : cases) {
    view_->topRow = 0;
    EXPECT_EQ(PageViewScrollToOffset(view_, c.offset), 1) << c.offset;
    EXPECT_EQ(view_->topRow, c.topRow) << c.offset;
  }
  // Between the records: the zero byte of the right-to-left record's text is its lead
  // row's end; the next record's flags byte is in no row.
  view_->topRow = 4;
  EXPECT_EQ(PageViewScrollToOffset(view_, uint16_t(q - 1)), 0);
  EXPECT_EQ(view_->topRow, 4);
}

// Without its text (released by a layout of no stream, which keeps the table) a view finds
// only row propers, and never reads the released stream for a lead word.
TEST_F(LayoutTest, ScrollToOffsetWithoutTextFindsOnlyRowPropers) {
  MakeView(100, 40);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa").Add(0x31, 0xC0, "dddd cccc ba");
  for (int i = 0; i < 4; ++i) s.Add(0x01, 0, "zz");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(PageViewLayOut(view_, nullptr, true), kLayoutNoStream);
  const uint16_t p = s.TextOffset(1);
  EXPECT_EQ(PageViewScrollToOffset(view_, uint16_t(p + 11)), 0);
  EXPECT_EQ(PageViewScrollToOffset(view_, uint16_t(p + 6)), 1);
}

TEST_F(LayoutTest, ResultCodesAndWhatTheyLeaveBehind) {
  EXPECT_EQ(PageViewLayOut(nullptr, nullptr, true), kViewMissing);
  MakeView(100, 100);
  StreamBuilder s;
  s.Add(0x01, 0, "abc");
  ASSERT_EQ(LayOut(s), kViewOk);
  uint8_t* held = view_->text;
  view_->topRow = 7;
  view_->highlightStart = 2;
  view_->highlightEnd = 3;

  uint8_t empty[] = {0, 0};
  EXPECT_EQ(PageViewLayOut(view_, empty, true), kLayoutMalformed);
  uint8_t noText[] = {0x01, 0, 0, 0};
  EXPECT_EQ(PageViewLayOut(view_, noText, true), kLayoutMalformed);
  EXPECT_EQ(view_->text, held) << "a malformed stream releases nothing";
  EXPECT_EQ(view_->highlightStart, 0);
  EXPECT_EQ(view_->totalRows, 0);
  EXPECT_EQ(view_->topRow, 7) << "the caller sets topRow";

  StreamBuilder rule;
  rule.Add(0x07, 10, "");
  EXPECT_EQ(LayOut(rule), kViewOk) << "a rule may come first with its empty text";

  EXPECT_EQ(PageViewLayOut(view_, nullptr, false), kLayoutNoStream);
  EXPECT_NE(view_->text, nullptr);
  EXPECT_EQ(PageViewLayOut(view_, nullptr, true), kLayoutNoStream);
  EXPECT_EQ(view_->text, nullptr);
  EXPECT_EQ(PageViewPaint(view_, 1), kViewMissing);
}

TEST_F(LayoutTest, TableGrowsBy128AndCopiesItsRows) {
  MakeView(100, 100);
  ASSERT_EQ(view_->lineCapacity, 100);
  StreamBuilder s;
  for (int i = 0; i < 150; ++i) s.Add(0x01, 0, std::string(1, char('a' + i % 26)));
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(view_->lineCapacity, 228);
  EXPECT_EQ(view_->lineCount, 150);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 150u);
  for (int i = 0; i < 150; ++i) EXPECT_EQ(rows[i].offset, s.TextOffset(i));
}

TEST_F(LayoutTest, OutOfMemoryAtTheFirstTable) {
  platform::Rect rect{0, 0, 100, 100};
  view_ = PageViewCreate(dc_, &rect, fontSpec_, 0);
  ASSERT_EQ(view_->lines, nullptr);
  StreamBuilder s;
  s.Add(0x01, 0, "abc");
  uint8_t* stream = s.Build();
  fake::FailAllocation(1);
  EXPECT_EQ(PageViewLayOut(view_, stream, true), kLayoutNoMemory);
  EXPECT_EQ(view_->text, nullptr) << "the caller keeps the stream";
  platform::Free(stream);
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(view_->lineCapacity, 128);
}

TEST_F(LayoutTest, OutOfMemoryWhileGrowingKeepsTheRowsMadeAndTheFont) {
  platform::Rect rect{0, 0, 100, 100};
  view_ = PageViewCreate(dc_, &rect, fontSpec_, 3);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb").Add(0x01, 0, "cccc dddd").Add(0x01, 0, "eeee ffff");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(view_->lineCount, 3);
  fake::FailAllocationsFrom(1);
  EXPECT_EQ(PageViewSetSize(view_, 50, 100), kLayoutNoMemory);
  fake::FailAllocationsFrom(0);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 3u);  // the narrower rows made before the table was full
  EXPECT_EQ(RowText(rows[2]), "cccc");
  EXPECT_EQ(view_->maxTopRow, 0);
  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
}

TEST_F(LayoutTest, OutOfMemoryForTheReversedCopy) {
  MakeView(100, 100);
  StreamBuilder s;
  s.Add(0x11, 0, "cba");
  ASSERT_EQ(LayOut(s), kViewOk);  // fonts and conversion buffer exist now
  uint8_t* stream = s.Build();
  fake::FailAllocation(1);
  EXPECT_EQ(PageViewLayOut(view_, stream, false), kLayoutNoMemory);
  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
  EXPECT_TRUE(Rows().empty()) << "no row may point into a stream the view does not hold";
  platform::Free(stream);
}

// A buffer whose end is followed by an unreadable page: any read past it would crash.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t size) : page_(size_t(sysconf(_SC_PAGESIZE))) {
    const size_t pages = (size + page_ - 1) / page_ + 1;
    length_ = pages * page_;
    base_ = static_cast<uint8_t*>(mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(base_ + length_ - page_, page_, PROT_NONE);
    data_ = base_ + length_ - page_ - size;
  }
  ~GuardedBuffer() { munmap(base_, length_); }
  uint8_t* data() { return data_; }

 private:
  size_t page_, length_ = 0;
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
};

TEST_F(LayoutTest, UnterminatedRecordsAreNeverReadPastTheBuffer) {
  MakeView(100, 100);
  const uint8_t bytes[] = {0x01, 0, 'a', 'b', 0, 0x01, 0, 'c', 'd'};  // second text has no 0
  GuardedBuffer buffer(sizeof bytes);
  std::memcpy(buffer.data(), bytes, sizeof bytes);
  ASSERT_EQ(PageViewLayOut(view_, buffer.data(), sizeof bytes, false), kViewOk);
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(RowText(rows[0]), "ab");
  EXPECT_EQ(view_->textLength, 5u);
  EXPECT_EQ(PageViewPaint(view_, 1), kViewOk);
  PageViewShowTitleBanner(view_);
  view_->text = nullptr;  // not a heap block

  GuardedBuffer first(5);
  std::memcpy(first.data(), bytes, 2);
  std::memcpy(first.data() + 2, "abc", 3);
  EXPECT_EQ(PageViewLayOut(view_, first.data(), 5, false), kLayoutMalformed);
}

TEST_F(LayoutTest, StreamsStopAtTheSixteenBitOffsetLimit) {
  MakeView(100, 100);
  GuardedBuffer buffer(0x10000);
  uint8_t* p = buffer.data();
  std::memset(p, 'a', 0x10000);  // the second record's text runs to the limit unterminated
  const uint8_t head[] = {0x01, 0, 'x', 'y', 0, 0x01, 0};
  std::memcpy(p, head, sizeof head);
  ASSERT_EQ(PageViewLayOut(view_, p, false), kViewOk);
  EXPECT_EQ(view_->lineCount, 1);
  EXPECT_EQ(view_->textLength, 5u);
  view_->text = nullptr;
}

}  // namespace
