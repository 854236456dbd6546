// The selection of a page view: reading keys of right-to-left text, hit-testing drawn rows
// with their lead words, and the selected characters painted over them.
#include <string>
#include <vector>

#include "view_fixture.h"

namespace {

bool SameRect(const platform::Rect& a, const platform::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(actual, l, t, r, b) EXPECT_TRUE(SameRect(actual, platform::Rect{l, t, r, b}))

class SelectionTest : public ViewTest {
 protected:
  // Opaque text in the selection's colours, as drawn.
  std::vector<fake::DrawCall> Selected() {
    std::vector<fake::DrawCall> out;
    for (const fake::DrawCall& c : Texts())
      if (c.backgroundMode == platform::kBkOpaque && c.textColour == kInk && c.backgroundColour == kGround)
        out.push_back(c);
    return out;
  }
  uint16_t KeyAt(int32_t x, int32_t y) {
    uint16_t key = 0;
    return PageViewKeyAt(view_, x, y, &key) ? key : 0;
  }
  // Written out so that a change of the scheme's colours is seen.
  // The light scheme's selection: black on a light blue (0xB5D5FF as RGB).
  static constexpr uint32_t kInk = 0x000000;
  static constexpr uint32_t kGround = 0xFFD5B5;
};

TEST_F(SelectionTest, RightToLeftKeysRunInReadingOrder) {
  MakeView(200, 200);
  StreamBuilder s;
  s.Add(0x31, 0xC0, "dddd cccc ba").Add(0x01, 0, "xyz");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0), q = s.TextOffset(1);
  // Stored "dddd cccc ba" reads "ab cccc dddd": the last stored character is read first.
  const struct {
    uint16_t stored, key;
  } cases[] = {
      {uint16_t(p + 11), p},          {uint16_t(p + 10), uint16_t(p + 1)}, {uint16_t(p + 9), uint16_t(p + 2)},
      {p, uint16_t(p + 11)},          {q, q},                              {uint16_t(q + 2), uint16_t(q + 2)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageViewReadingKey(view_, c.stored), c.key) << c.stored;
    EXPECT_EQ(PageViewStoredOffset(view_, c.key), c.stored) << c.key;
  }
  // Flags, parameter and the 0 between records hold no character.
  EXPECT_EQ(PageViewReadingKey(view_, uint16_t(p - 1)), 0);
  EXPECT_EQ(PageViewReadingKey(view_, uint16_t(p + 12)), 0);
  uint16_t record = 0, end = 0;
  ASSERT_TRUE(PageViewRecordOfKey(view_, uint16_t(p + 4), &record, &end));
  EXPECT_EQ(record, p - 2);
  EXPECT_EQ(end, p + 12);
}

TEST_F(SelectionTest, ClicksFindTheCharacterDrawnUnderThemInRightToLeftLeadRows) {
  MakeView(100, 200);
  StreamBuilder s;
  // As paint draws it: "ba" in the lead box at 80..100, "dddd" at 40..80; a second
  // paragraph left to right with its lead box at the left: "ab" 0..20, "cccc" 20..60.
  s.Add(0x31, 0xC0, "dddd ba").Add(0x01, 0xC0, "ab cccc");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const uint16_t p = s.TextOffset(0), q = s.TextOffset(1);
  const struct {
    int32_t x, y;
    uint16_t key;
  } cases[] = {
      {95, 5, p},                    // "a", drawn rightmost: read first
      {85, 5, uint16_t(p + 1)},      // "b"
      {79, 5, uint16_t(p + 3)},      // the last stored "d" is the first read after the space
      {41, 5, uint16_t(p + 6)},      // the first stored "d", read last
      {0, 5, uint16_t(p + 6)},       // left of the row: the nearest character
      {5, 25, q},                    // left-to-right lead word
      {25, 25, uint16_t(q + 3)},     // the row proper after it
      {99, 25, uint16_t(q + 6)},     // right of the row
  };
  for (const auto& c : cases) EXPECT_EQ(KeyAt(c.x, c.y), c.key) << c.x << "," << c.y;
  // Below the last row, and outside the view.
  EXPECT_EQ(KeyAt(50, 100), 0);
  EXPECT_EQ(KeyAt(150, 5), 0);
  // The place of a key is where a click finds it again; the space between the row and
  // its lead word is drawn nowhere and takes the place of the character read before it.
  for (uint16_t key = p; key < p + 7; ++key) {
    int32_t line = -1, x = -1;
    ASSERT_TRUE(PageViewKeyPlace(view_, key, &line, &x)) << key;
    EXPECT_EQ(line, 0);
    EXPECT_EQ(KeyAt(x, 5), key == p + 2 ? p + 1 : key) << key;
  }
}

TEST_F(SelectionTest, EmptyRowsAndRulesHoldNoCharacter) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x81, 0, "ab").Add(0x07 | 0x40, 50, "").Add(0x01, 0, "cd");
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_NE(KeyAt(5, 5), 0);
  EXPECT_EQ(KeyAt(5, 25), 0);  // the extra row after "ab"
  EXPECT_EQ(KeyAt(50, 45), 0);  // the rule
  EXPECT_EQ(KeyAt(5, 65), s.TextOffset(2));
}

TEST_F(SelectionTest, APassageAcrossTwoRightToLeftRecordsPaintsWhatIsRead) {
  MakeView(100, 200);
  StreamBuilder s;
  s.Add(0x31, 0xC0, "dddd ba").Add(0x31, 0xC0, "ffff ca");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0), q = s.TextOffset(1);
  // From the second-last "d" read in the first verse to the "c" of the second's number.
  PageViewSelect(view_, uint16_t(q + 1), uint16_t(p + 5));
  EXPECT_EQ(view_->selectionStart, p + 5);
  EXPECT_EQ(view_->selectionEnd, q + 2);
  platform::SetBackgroundMode(dc_, platform::kBkTransparent);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const auto marks = Selected();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(Utf8(marks[0].text), "dd");  // the first two stored: read last
  EXPECT_RECT(marks[0].rect, 40, 0, 60, 20);
  EXPECT_EQ(Utf8(marks[1].text), "ca");  // the second verse's number, whole
  EXPECT_RECT(marks[1].rect, 80, 20, 100, 40);
  EXPECT_EQ(fake::BackgroundModeOf(dc_), platform::kBkTransparent);
}

TEST_F(SelectionTest, SelectionAndHighlightAreToldApart) {
  MakeView(200, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  view_->highlightStart = p;
  view_->highlightEnd = uint16_t(p + 4);
  PageViewSelect(view_, uint16_t(p + 5), uint16_t(p + 8));
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const auto marks = Selected();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(Utf8(marks[0].text), "bbbb");
  EXPECT_RECT(marks[0].rect, 50, 0, 90, 20);
}

TEST_F(SelectionTest, ReversedDrawingSelectsTheCharacterDrawnThere) {
  fontSpec_.fontAsciiBase = kUnicodeLetterBase;
  MakeView(200, 200);
  view_->drawReversed = true;
  StreamBuilder s;
  s.Add(0x01, 0, "abcd");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  // "abcd" is drawn turned around: "d" leftmost.
  EXPECT_EQ(KeyAt(2, 5), p + 3);
  EXPECT_EQ(KeyAt(38, 5), p);
  PageViewSelect(view_, p, p);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const auto marks = Selected();
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_RECT(marks[0].rect, 30, 0, 40, 20);
}

TEST_F(SelectionTest, WordsEndAtSpacesInReadingOrder) {
  MakeView(200, 200);
  StreamBuilder s;
  s.Add(0x31, 0, "dddd cccc ba");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  const struct {
    uint16_t key, first, last;
  } cases[] = {
      {p, p, uint16_t(p + 1)},                                     // "ab", the number
      {uint16_t(p + 4), uint16_t(p + 3), uint16_t(p + 6)},         // "cccc"
      {uint16_t(p + 11), uint16_t(p + 8), uint16_t(p + 11)},       // "dddd", at the record's end
      {uint16_t(p + 2), uint16_t(p + 2), uint16_t(p + 2)},         // a space is its own word
  };
  for (const auto& c : cases) {
    uint16_t first = 0, last = 0;
    ASSERT_TRUE(PageViewWordAround(view_, c.key, &first, &last)) << c.key;
    EXPECT_EQ(first, c.first) << c.key;
    EXPECT_EQ(last, c.last) << c.key;
  }
}

TEST_F(SelectionTest, ANewTextClearsTheSelectionALayoutOfTheSameKeepsIt) {
  MakeView(200, 200);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb");
  ASSERT_EQ(LayOut(s), kViewOk);
  const uint16_t p = s.TextOffset(0);
  PageViewSelect(view_, p, uint16_t(p + 3));
  ASSERT_EQ(PageViewSetSize(view_, 100, 100), kViewOk);
  EXPECT_TRUE(PageViewHasSelection(view_));
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_FALSE(PageViewHasSelection(view_));
}

}  // namespace
