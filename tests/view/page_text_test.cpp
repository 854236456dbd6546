// The text of a laid-out view in reading order, on the fake backend (size 20 fonts: rows 20
// high, every character 10 pixels wide, so a 100-pixel view takes 10 characters a row).
#include "content/streams.h"
#include "content/visual_order.h"
#include "view/page_text.h"
#include "view_fixture.h"

namespace {

constexpr uint8_t kRtl = 0x11;      // style key 0x01, right to left
constexpr uint8_t kRule = 0x07;
constexpr uint8_t kLead = 0x40;     // param: lead factor 1

// Letter-code text (a = alef ... { the last letter) as it reads in Unicode.
std::u16string Hebrew(const std::string& letterCode) {
  std::u16string out;
  for (unsigned char c : letterCode)
    out.push_back(c >= 0x61 && c <= 0x7B ? char16_t(0x05D0 + (c - 0x61)) : char16_t(c));
  return out;
}

// A right-to-left text as the book stores it.
std::string Stored(std::string readingOrder) {
  SwapVisualOrder(reinterpret_cast<uint8_t*>(readingOrder.data()), readingOrder.size());
  return readingOrder;
}

using PageTextTest = ViewTest;

TEST_F(PageTextTest, NoViewOrNoTextGivesNothing) {
  EXPECT_TRUE(PageViewArticleText(nullptr).empty());
  EXPECT_TRUE(PageViewVisibleText(nullptr).empty());
  MakeView(100, 100);
  EXPECT_TRUE(PageViewArticleText(view_).empty());
}

TEST_F(PageTextTest, RowsOfAParagraphJoinAsTheTextHadThem) {
  MakeView(100, 400);
  StreamBuilder s;
  // Broken at spaces, after a hyphen, and inside a word wider than the row.
  s.Add(0x01, 0, "AAAA BBBB CCCC").Add(0x01, 0, "AAAA-BBBBBBB CCC").Add(0x01, 0, "ABCDEFGHIJKLMN");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_GE(view_->totalRows, 7);
  EXPECT_EQ(PageViewArticleText(view_), u"AAAA BBBB CCCC\nAAAA-BBBBBBB CCC\nABCDEFGHIJKLMN\n");
}

TEST_F(PageTextTest, RightToLeftParagraphsReadInReadingOrderOverSeveralRows) {
  MakeView(100, 400);
  const std::string first = "abc def(12:5) ghi jk", second = "lmn [op] 3.14 qrs";
  StreamBuilder s;
  s.Add(kRtl, 0, Stored(first)).Add(kRtl, 0, Stored(second));
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_GE(view_->totalRows, 4) << "each paragraph takes more than one row";
  EXPECT_EQ(PageViewArticleText(view_), Hebrew(first) + u"\n" + Hebrew(second) + u"\n");
}

TEST_F(PageTextTest, LeadWordsComeFirstInBothDirections) {
  MakeView(100, 400);
  const std::string rtl = "yb abc def ghi", ltr = "XY ABC DEF GHI";
  StreamBuilder s;
  s.Add(kRtl, kLead, Stored(rtl)).Add(0x01, kLead, ltr);
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_NE(Rows()[0].leadWidth, 0) << "the first row carries a lead word";
  EXPECT_EQ(PageViewArticleText(view_), Hebrew(rtl) + u"\n" + Hebrew(ltr) + u"\n");
}

TEST_F(PageTextTest, RulesHaveNoTextAndGapsNoExtraLine) {
  MakeView(100, 400);
  StreamBuilder s;
  s.Add(0x01 | kParaExtraRow, 0, "ONE").Add(kRule, 50, "").Add(0x01, 0, "TWO");
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(PageViewArticleText(view_), u"ONE\nTWO\n");
}

TEST_F(PageTextTest, VisibleTextIsTheRowsThatFitFromTheTopRow) {
  MakeView(100, 70);  // three rows of 20 fit
  StreamBuilder s;
  s.Add(0x01, 0, "P1").Add(0x01, 0, "P2").Add(0x01, 0, "P3 CONTINUES").Add(0x01, 0, "P4").Add(0x01, 0, "P5");
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(PageViewVisibleText(view_), u"P1\nP2\nP3\n");
  view_->topRow = 3;  // the second row of P3
  EXPECT_EQ(PageViewVisibleText(view_), u"CONTINUES\nP4\nP5\n");
  EXPECT_EQ(PageViewArticleText(view_), u"P1\nP2\nP3 CONTINUES\nP4\nP5\n") << "the whole article whatever is shown";
}

}  // namespace
