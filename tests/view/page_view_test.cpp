// The view record, its font cache and the text primitives on the fake backend.
#include "view_fixture.h"

namespace {

using PageViewTest = ViewTest;

// A new view draws in the rectangle it was made for, with the face of its FontSpec, and
// makes no font before it needs one.
TEST_F(PageViewTest, CreatedViewDrawsInItsRectangleWithItsFace) {
  EXPECT_EQ(PageViewCreate(nullptr, nullptr, fontSpec_, 100), nullptr);
  fontSpec_.faceName[0] = u'F';
  platform::Rect rect{10, 20, 110, 220};
  view_ = PageViewCreate(dc_, &rect, fontSpec_, 100);
  ASSERT_NE(view_, nullptr);
  EXPECT_EQ(fake::FontsCreated(), 0) << "no font before the first use";
  EXPECT_EQ(PageViewPaint(view_, 1), kViewMissing) << "nothing to paint yet";
  StreamBuilder s;
  s.Add(0x01, 0, "ab");
  ASSERT_EQ(LayOut(s), kViewOk);
  fake::ClearDrawCalls();
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect.left, 10);
  EXPECT_EQ(fills[0].rect.top, 20);
  EXPECT_EQ(fills[0].rect.right, 110);
  EXPECT_EQ(fills[0].rect.bottom, 220);
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rect.left, 10);
  EXPECT_EQ(texts[0].rect.top, 20);
  EXPECT_EQ(texts[0].font.face[0], u'F');
}

// Without a rectangle the view has no size and lays out nothing until it gets one; a
// failed record allocation gives no view, a failed table a view that lays out all the same.
TEST_F(PageViewTest, CreateWithoutRectangleOrMemory) {
  view_ = PageViewCreate(dc_, nullptr, fontSpec_, 0);
  ASSERT_NE(view_, nullptr);
  EXPECT_EQ(PageViewSetSize(view_, 0, 0), kViewBadSize);
  PageViewDestroy(view_, true);

  platform::Rect rect{0, 0, 100, 100};
  fake::FailAllocation(1);
  EXPECT_EQ(PageViewCreate(dc_, &rect, fontSpec_, 100), nullptr);
  fake::FailAllocation(2);  // the table: the view still comes back
  view_ = PageViewCreate(dc_, &rect, fontSpec_, 100);
  ASSERT_NE(view_, nullptr);
  EXPECT_EQ(view_->lines, nullptr);
  StreamBuilder s;
  s.Add(0x01, 0, "ab cd");
  ASSERT_EQ(LayOut(s), kViewOk) << "the layout makes its own table";
  EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(PageViewTest, StyleFontsAndColoursFollowTheStyleKey) {
  FontSpec fontSpec{};
  fontSpec.faceName[0] = u'X';
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x01).height, 0);  // platform default
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x04).height, 20);
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x02).height, 14);
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x06).height, 20);  // larger wins
  fontSpec.size = 14;
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x04).height, 17);
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x02).height, 10);
  fontSpec.size = 16;
  const platform::FontDescription big = StyleFontDescription(fontSpec, 0x0E);
  EXPECT_EQ(big.height, 20);
  EXPECT_EQ(big.weight, 700);
  EXPECT_EQ(big.face[0], u'X');
  EXPECT_EQ(big.charset, 0);
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x02).height, 12);
  EXPECT_EQ(StyleFontDescription(fontSpec, 0x11).weight, 400);

  EXPECT_EQ(StyleColour(0x0E), 0x800000u);  // dark blue takes precedence
  EXPECT_EQ(StyleColour(0x0C), 0xFF0000u);
  EXPECT_EQ(StyleColour(0x09), 0u);
  EXPECT_EQ(StyleColour(0x04), 0u);
}

TEST_F(PageViewTest, FontCacheMakesOneFontPerKey) {
  EXPECT_EQ(FontCacheSelect(nullptr, 1), nullptr);
  MakeView(100, 100);
  EXPECT_EQ(FontCacheSelect(view_, 0x01), nullptr) << "the context's default font was selected";
  platform::Font* plain = FontCacheSelect(view_, 0x11 | kSelectWithColour);
  EXPECT_NE(plain, nullptr);
  EXPECT_EQ(fake::FontsCreated(), 2) << "keys differing in 0x10 get entries of their own";
  EXPECT_EQ(fake::SelectedFont(dc_).height, 20);
  FontCacheSelect(view_, 0x01);
  FontCacheSelect(view_, 0x03 | kSelectWithColour);
  EXPECT_EQ(platform::GetTextColour(dc_), 0x800000u);
  FontCacheSelect(view_, 0x11 | 0x80 | 0x20);  // bits above the key do not matter
  EXPECT_EQ(fake::FontsCreated(), 3);
  EXPECT_EQ(platform::GetTextColour(dc_), 0x800000u) << "no colour without the flag";
  platform::SelectFont(dc_, nullptr);
}

TEST_F(PageViewTest, SetFontReplacesReleasesAndRepaints) {
  MakeView(100, 100);
  EXPECT_EQ(PageViewSetFont(nullptr, nullptr), kViewMissing);
  EXPECT_EQ(PageViewSetFont(view_, &fontSpec_), kSetFontLayoutFailed) << "no text to lay out";
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb").Add(0x03, 0, "cc");
  ASSERT_EQ(LayOut(s), kViewOk);
  ASSERT_EQ(fake::LiveFonts(), 2);

  EXPECT_EQ(PageViewSetFont(view_, nullptr), kViewOk);
  EXPECT_EQ(fake::LiveFonts(), 0);

  fake::ClearDrawCalls();
  FontSpec bigger = fontSpec_;
  bigger.size = 40;
  EXPECT_EQ(PageViewSetFont(view_, &bigger), kViewOk);
  EXPECT_EQ(fake::LiveFonts(), 2);
  EXPECT_EQ(view_->fontSpec.size, 40);
  EXPECT_EQ(view_->lineCount, 3) << "laid out again with 20-pixel characters";
  EXPECT_EQ(fake::DrawCallsOf(fake::DrawOp::kFill).size(), 1u) << "painted erasing";
  EXPECT_EQ(Texts()[0].font.height, 40);
}

TEST_F(PageViewTest, SetSizeRefusesEmptySizesAndLaysOutAgain) {
  EXPECT_EQ(PageViewSetSize(nullptr, 10, 10), kViewMissing);
  MakeView(100, 100);
  EXPECT_EQ(PageViewSetSize(view_, 100, 100), kLayoutNoStream);
  StreamBuilder s;
  s.Add(0x01, 0, "aaaa bbbb");
  ASSERT_EQ(LayOut(s), kViewOk);
  EXPECT_EQ(PageViewSetSize(view_, 100, 0), kViewBadSize);
  EXPECT_EQ(PageViewSetSize(view_, -1, 10), kViewBadSize);
  EXPECT_EQ(view_->height, 100);
  EXPECT_EQ(view_->lineCount, 1) << "the old layout stays";
  EXPECT_EQ(PageViewSetSize(view_, 40, 20), kViewOk);
  EXPECT_EQ(view_->lineCount, 2);
  EXPECT_EQ(view_->maxTopRow, 1);
  EXPECT_TRUE(fake::DrawCallsOf(fake::DrawOp::kText).empty()) << "no repaint";
}

TEST_F(PageViewTest, DestroyKeepingTheRecordLeavesItEmpty) {
  MakeView(100, 100);
  StreamBuilder s;
  s.Add(0x01, 0, "abc");
  ASSERT_EQ(LayOut(s), kViewOk);
  PageViewDestroy(view_, false);
  EXPECT_EQ(view_->text, nullptr);
  EXPECT_EQ(view_->lines, nullptr);
  EXPECT_EQ(view_->fontCache, nullptr);
  EXPECT_EQ(fake::LiveFonts(), 0);
  ResetConversionBuffer();
  EXPECT_EQ(fake::LiveBlocks(), 1) << "only the record is left";
  PageViewDestroy(nullptr, true);
}

TEST_F(PageViewTest, MeasureFitAnswersTheFittingPrefixAndItsWidth) {
  const uint8_t text[] = "abcdef";
  int32_t width = 35, count = 5;
  MeasureFit(dc_, text, 97, &width, &count);  // default font: 12 high, 6 wide
  EXPECT_EQ(count, 5);
  EXPECT_EQ(width, 30);
  width = 100;
  count = 20;  // the text ends first
  MeasureFit(dc_, text, 97, &width, &count);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(width, 36);
  width = 5;
  count = 6;
  MeasureFit(dc_, text, 97, &width, &count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(width, 0);

  width = 100;
  count = 3;
  MeasureFit(dc_, text, 1488, &width, &count);
  EXPECT_EQ(gConversionBuffer.block[0], u'\u05D0') << "measured in stored order, never reversed";

  // Long texts are measured a piece at a time: the answer is the same on either side of
  // where one piece ends and the next begins, and where the text's 0 comes.
  std::vector<uint8_t> longText(700, 'a');
  longText[500] = 0;
  struct Case {
    int32_t width, count, fits;
  } const cases[] = {
      {159 * 6, 600, 159}, {160 * 6, 600, 160}, {161 * 6, 600, 161}, {320 * 6 + 5, 600, 320},
      {700 * 6, 600, 500}, {700 * 6, 480, 480}, {161 * 6, 161, 161},
  };
  for (const Case& c : cases) {
    width = c.width;
    count = c.count;
    MeasureFit(dc_, longText.data(), 97, &width, &count);
    EXPECT_EQ(count, c.fits) << c.width << " wide, " << c.count << " asked";
    EXPECT_EQ(width, c.fits * 6) << c.width << " wide, " << c.count << " asked";
  }
}

TEST_F(PageViewTest, DrawingPrimitivesRestoreTheContext) {
  const uint8_t text[] = "ab~";
  platform::SetBackgroundMode(dc_, platform::kBkTransparent);
  platform::SetTextColour(dc_, 7);
  platform::SetBackgroundColour(dc_, 8);
  fake::ClearDrawCalls();
  DrawColouredTextBox(dc_, text, 3, TextForm{97, false}, 5, 6, 18, 12, 0x111111, 0x222222);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Utf8(texts[0].text), "ab{");
  EXPECT_EQ(texts[0].rect.left, 5);
  EXPECT_EQ(texts[0].rect.right, 23);
  EXPECT_EQ(texts[0].rect.bottom, 18);
  EXPECT_EQ(texts[0].textColour, 0x111111u);
  EXPECT_EQ(texts[0].backgroundColour, 0x222222u);
  EXPECT_EQ(texts[0].backgroundMode, platform::kBkOpaque);
  EXPECT_EQ(fake::BackgroundModeOf(dc_), platform::kBkTransparent);
  EXPECT_EQ(platform::GetTextColour(dc_), 7u);
  EXPECT_EQ(fake::BackgroundColourOf(dc_), 8u);
  // Restored in the order background colour, text colour, mode.
  const auto& calls = fake::DrawCalls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 3].op, fake::DrawOp::kSetBackgroundColour);
  EXPECT_EQ(calls[calls.size() - 2].op, fake::DrawOp::kSetTextColour);
  EXPECT_EQ(calls[calls.size() - 1].op, fake::DrawOp::kSetBackgroundMode);

  FillViewRect(dc_, 1, 2, 3, 4, platform::kStockBlackBrush);
  auto fills = fake::DrawCallsOf(fake::DrawOp::kFill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect.right, 4);
  EXPECT_EQ(fills[0].rect.bottom, 6);
  EXPECT_EQ(fills[0].brushColour, 0u);
}

}  // namespace
