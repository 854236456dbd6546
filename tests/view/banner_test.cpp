// The title banner on the fake backend. Size 22 makes the banner's small font 16 high
// with characters 8 wide.
#include "view_fixture.h"

namespace {

class BannerTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    fontSpec_.size = 22;
  }
  void Show(const StreamBuilder& s) {
    ASSERT_EQ(LayOut(s), kViewOk);
    platform::SetTextColour(dc_, 0x010203);
    platform::SetBackgroundMode(dc_, platform::kBkTransparent);
    fake::ClearDrawCalls();
    PageViewShowTitleBanner(view_);
  }
  static void ExpectRect(const platform::Rect& r, int32_t l, int32_t t, int32_t rt, int32_t b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
  }
};

TEST_F(BannerTest, TitleAndSubtitleInFiveRingsAtTheBottom) {
  MakeView(200, 300);
  StreamBuilder s;
  s.Add(0xDC, 0, "abcd").Add(0xD1, 0, "ab").Add(0x01, 0, "xyz");
  Show(s);

  auto rings = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rings.size(), 5u);
  ExpectRect(rings[0].rect, 64, 256, 136, 298);
  ExpectRect(rings[1].rect, 65, 257, 135, 297);
  ExpectRect(rings[2].rect, 66, 258, 134, 296);
  ExpectRect(rings[4].rect, 68, 260, 132, 294);
  const uint32_t colours[] = {0x0000FF, 0x0000FF, 0xFFFFFF, 0xFF0000, 0xFF0000};
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(rings[i].hasPen);
    EXPECT_EQ(rings[i].penColour, colours[i]) << "ring " << i;
  }
  auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  ExpectRect(fills[0].rect, 69, 261, 131, 293);
  EXPECT_EQ(fills[0].brushColour, 0x00FFFFu);

  auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(Utf8(texts[0].text), "abcd");
  ExpectRect(texts[0].rect, 84, 261, 116, 277);
  EXPECT_EQ(texts[0].font.height, 16);
  EXPECT_EQ(texts[0].textColour, 0x0000FFu);
  EXPECT_EQ(texts[0].backgroundColour, 0x00FFFFu);
  EXPECT_EQ(texts[0].backgroundMode, platform::kBkOpaque);
  EXPECT_EQ(Utf8(texts[1].text), "ab");
  ExpectRect(texts[1].rect, 92, 277, 108, 293);

  EXPECT_EQ(fake::SelectedFont(dc_).height, 0);
  EXPECT_EQ(fake::BackgroundModeOf(dc_), platform::kBkTransparent);
  EXPECT_EQ(platform::GetTextColour(dc_), 0x010203u);
}

TEST_F(BannerTest, OneTextGivesAOneRowBanner) {
  MakeView(200, 300, 0, 40);
  StreamBuilder s;
  s.Add(0xD1, 0, "abcd").Add(0x01, 0, "xyz");
  Show(s);
  auto rings = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rings.size(), 5u);
  ExpectRect(rings[0].rect, 64, 40 + 272, 136, 40 + 298);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  ExpectRect(texts[0].rect, 84, 40 + 277, 116, 40 + 293);

  StreamBuilder t;
  t.Add(0xDC, 0, "abcd").Add(0x51, 0, "xyz");  // not exactly 0xD1: no subtitle
  Show(t);
  texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Utf8(texts[0].text), "abcd");
}

TEST_F(BannerTest, TitleWiderThanTheViewIsCutAndTheBoxTakesTheWholeWidth) {
  MakeView(60, 100);
  StreamBuilder s;
  s.Add(0xDC, 0, "abcdefghij");
  Show(s);
  auto rings = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rings.size(), 5u);
  ExpectRect(rings[0].rect, 0, 72, 60, 98);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Utf8(texts[0].text), "abcdefg");
  ExpectRect(texts[0].rect, 2, 77, 58, 93);  // starts 3 pixels left of the inner box
}

TEST_F(BannerTest, NothingWithoutTitleOrSubtitle) {
  PageViewShowTitleBanner(nullptr);
  MakeView(200, 300);
  PageViewShowTitleBanner(view_);  // no text
  StreamBuilder s;
  s.Add(0x01, 0, "abc").Add(0xD1, 0, "ab");  // a subtitle only counts first or after a title
  Show(s);
  EXPECT_TRUE(fake::DrawCalls().empty());
}

TEST_F(BannerTest, FindTitleRecordsSkipsEmptyTexts) {
  const uint8_t stream[] = {0xDC, 0, 0, 0xD1, 0, 'a', 'b', 0, 0};
  BannerText title{9, 9, stream}, subtitle{9, 9, stream};
  FindTitleRecords(stream, &title, &subtitle);
  EXPECT_EQ(title.text, nullptr);
  EXPECT_EQ(title.length, 0);
  EXPECT_EQ(subtitle.text, stream + 5);
  EXPECT_EQ(subtitle.length, 2);
  FindTitleRecords(stream, nullptr, &subtitle, stream + 6);  // the subtitle is cut off
  EXPECT_EQ(subtitle.text, nullptr);
  FindTitleRecords(nullptr, &title, &subtitle);
  EXPECT_EQ(subtitle.text, nullptr);
}

TEST_F(BannerTest, MissingPenOrBrushLeavesThatPartUndrawn) {
  MakeView(200, 300);
  StreamBuilder s;
  s.Add(0xDC, 0, "abcd").Add(0xD1, 0, "ab");
  fake::FailPenCreation(true);
  fake::FailBrushCreation(true);
  Show(s);
  EXPECT_TRUE(fake::DrawCallsOf(fake::DrawOp::kRectangle).empty());
  EXPECT_TRUE(fake::DrawCallsOf(fake::DrawOp::kFill).empty());
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  ExpectRect(texts[1].rect, 92, 277, 108, 293);
}

TEST_F(BannerTest, NestedFrameShrinksTheBoxAndGivesThePenBack) {
  platform::Rect box{10, 10, 30, 30};
  DrawNestedFrame(dc_, &box, 0x00FF00, 3);
  ExpectRect(box, 13, 13, 27, 27);
  auto rings = fake::DrawCallsOf(fake::DrawOp::kRectangle);
  ASSERT_EQ(rings.size(), 3u);
  ExpectRect(rings[2].rect, 12, 12, 28, 28);
  EXPECT_EQ(rings[2].penColour, 0x00FF00u);
  fake::ClearDrawCalls();
  platform::DrawRectangle(dc_, box);
  EXPECT_EQ(fake::DrawCalls()[0].penColour, 0u) << "the default black pen again";
}

}  // namespace
