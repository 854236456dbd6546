// The page view drawn through the Qt backend into an image: Hebrew text arrives in visual
// order and must be drawn exactly so, with right-to-left paragraphs right-aligned. The
// rendered article is saved as view_render.png in the build folder for a look.
#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/qt/qt_drawing.h"
#include "view/page_view.h"

namespace {

// Letter code of Hebrew text in reading order. Right-to-left records store it in visual
// order: reversed, with brackets mirrored so they still open towards their contents.
std::string Code(const std::u16string& text, bool reversed) {
  std::string out;
  for (char16_t c : text) out += (c >= 0x05D0 && c <= 0x05EA) ? char(0x61 + (c - 0x05D0)) : char(c);
  if (reversed) {
    std::reverse(out.begin(), out.end());
    for (char& c : out) c = c == '(' ? ')' : c == ')' ? '(' : c;
  }
  return out;
}

class Stream {
 public:
  // A continuation is marked by a space at the start of its stored text.
  Stream& Add(uint8_t flags, uint8_t param, const std::u16string& text, bool continuation = false) {
    bytes_.push_back(flags);
    bytes_.push_back(param);
    const std::string code = (continuation ? " " : "") + Code(text, flags & kParaRightToLeft);
    bytes_.insert(bytes_.end(), code.begin(), code.end());
    bytes_.push_back(0);
    return *this;
  }
  uint16_t Size() const { return uint16_t(bytes_.size()); }
  uint8_t* Build() const {
    auto* block = static_cast<uint8_t*>(platform::Alloc(bytes_.size() + 2));
    std::memcpy(block, bytes_.data(), bytes_.size());
    block[bytes_.size()] = block[bytes_.size() + 1] = 0;
    return block;
  }

 private:
  std::vector<uint8_t> bytes_;
};

bool Ink(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// Columns holding ink in the band top..bottom of the image.
std::vector<bool> InkColumns(const QImage& image, int top, int bottom) {
  std::vector<bool> columns(size_t(image.width()), false);
  for (int x = 0; x < image.width(); ++x)
    for (int y = top; y < bottom && !columns[size_t(x)]; ++y) columns[size_t(x)] = Ink(image, x, y);
  return columns;
}

class QtRenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int argc = 1;
      static char name[] = "view_qt_tests";
      static char* argv[] = {name, nullptr};
      app_ = new QGuiApplication(argc, argv);
    }
  }

  void SetUp() override {
    ResetConversionBuffer();
    fontSpec_ = FontSpec{};
    const std::u16string face = u"Frank Ruehl CLM";
    std::copy(face.begin(), face.end(), fontSpec_.faceName);
    fontSpec_.size = 24;
    fontSpec_.fontAsciiBase = 1488;
    image_ = QImage(480, 360, QImage::Format_RGB32);
    image_.fill(Qt::white);
    dc_ = platform::qt::CreateImageDc(&image_);
  }
  void TearDown() override {
    if (selected_) {
      platform::SelectFont(dc_, previous_);
      platform::DeleteFont(selected_);
    }
    PageViewDestroy(view_, true);
    platform::qt::DeleteImageDc(dc_);
    ResetConversionBuffer();
  }

  // The page's face at a height and weight, selected into the context until the test
  // ends; its metrics.
  platform::TextMetrics SelectPageFace(int32_t height, int32_t weight) {
    platform::FontDescription d{};
    d.height = height;
    d.weight = weight;
    std::copy(fontSpec_.faceName, fontSpec_.faceName + 32, d.face);
    selected_ = platform::CreateFont(d);
    previous_ = platform::SelectFont(dc_, selected_);
    platform::TextMetrics m{};
    platform::GetTextMetrics(dc_, &m);
    return m;
  }

  PageView* MakeView(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    platform::Rect rect{left, top, right, bottom};
    view_ = PageViewCreate(dc_, &rect, fontSpec_, 100);
    return view_;
  }

  static QGuiApplication* app_;
  FontSpec fontSpec_{};
  QImage image_;
  platform::Dc* dc_ = nullptr;
  PageView* view_ = nullptr;
  platform::Font* selected_ = nullptr;
  platform::Font* previous_ = nullptr;
};

QGuiApplication* QtRenderTest::app_ = nullptr;

TEST_F(QtRenderTest, FontHeightIsAscentPlusDescentAndFitAgreesWithExtent) {
  const platform::TextMetrics m = SelectPageFace(24, 700);
  EXPECT_EQ(m.height, m.ascent + m.descent);
  EXPECT_LE(m.height, 24);
  EXPECT_GE(m.height, 22);
  EXPECT_GT(m.maxCharWidth, 0);

  const std::u16string text = u"\u05D0\u05D1\u05D2 \u05D3\u05D4-\u05D5\u05D6 (12)";
  for (int32_t max = 0; max < 200; max += 7) {
    const int32_t fit = platform::CharactersFitting(dc_, text.data(), int32_t(text.size()), max);
    int32_t w = 0, h = 0;
    platform::TextExtent(dc_, text.data(), fit, &w, &h);
    EXPECT_LE(w, max);
    if (fit < int32_t(text.size())) {
      platform::TextExtent(dc_, text.data(), fit + 1, &w, &h);
      EXPECT_GT(w, max) << "one more character would not fit";
    }
  }
}

int32_t Advance(platform::Dc* dc, const std::u16string& text) {
  int32_t w = 0, h = 0;
  platform::TextExtent(dc, text.data(), int32_t(text.size()), &w, &h);
  return w;
}

// Draws each piece after the other from x = 10, each with its own call.
QImage Pieces(platform::Dc* dc, QImage& image, const std::vector<std::u16string>& pieces) {
  image.fill(Qt::white);
  int32_t x = 10;
  for (const std::u16string& piece : pieces) {
    const int32_t w = Advance(dc, piece);
    platform::DrawTextCentred(dc, piece.data(), int32_t(piece.size()), platform::Rect{x, 10, x + w, 60});
    x += w;
  }
  return image.copy();
}

int DifferentPixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += Ink(a, x, y) != Ink(b, x, y);
  return n;
}

TEST_F(QtRenderTest, UnitsAreDrawnLeftToRightInTheOrderGiven) {
  SelectPageFace(40, 400);
  // Right-to-left letters in one call must come out exactly as the same letters drawn one
  // by one from the left, in the order given, and not as the reordered pair.
  const std::u16string shin = u"\u05E9", vav = u"\u05D5", lamed = u"\u05DC";
  const QImage together = Pieces(dc_, image_, {shin + vav + lamed});
  const QImage inOrder = Pieces(dc_, image_, {shin, vav, lamed});
  const QImage reordered = Pieces(dc_, image_, {lamed, vav, shin});
  const int reorderedDifference = DifferentPixels(together, reordered);
  EXPECT_GT(reorderedDifference, 100);
  EXPECT_LT(DifferentPixels(together, inOrder), reorderedDifference / 20);  // whole-pixel advances
}

// A face name that fills its whole field has no terminating zero: it ends with the field,
// whatever follows it.
TEST_F(QtRenderTest, AFaceNameFillingItsFieldEndsWithIt) {
  platform::FontDescription d{};
  std::fill(std::begin(d.face), std::end(d.face), u'A');
  d.underline = 1;
  platform::Font* font = platform::CreateFont(d);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(platform::qt::QFontOf(font).family(), QString(32, QLatin1Char('A')));
  EXPECT_TRUE(platform::qt::QFontOf(font).underline());
  platform::DeleteFont(font);
}

// Centred text, as a printed sheet's page number and the About box's caption are drawn: its
// ink in the middle of the rectangle across, and down within the line centred in it.
TEST_F(QtRenderTest, CentredTextStandsInTheMiddleOfItsRectangle) {
  const platform::TextMetrics m = SelectPageFace(24, 400);
  const std::u16string text = u"143";
  for (const platform::Rect& rect : {platform::Rect{0, 0, 480, 360}, platform::Rect{100, 40, 180, 100},
                                     platform::Rect{300, 200, 470, 230}}) {
    image_.fill(Qt::white);
    platform::DrawTextCentred(dc_, text.data(), int32_t(text.size()), rect);
    int left = image_.width(), right = -1, top = image_.height(), bottom = -1;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x)
        if (Ink(image_, x, y)) left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    ASSERT_GE(right, 0) << "nothing drawn in " << rect.left << "," << rect.top;
    EXPECT_NEAR((left + right + 1) / 2.0, (rect.left + rect.right) / 2.0, 2.0) << rect.left << "," << rect.top;
    const int lineTop = rect.top + (rect.bottom - rect.top - m.height) / 2;
    EXPECT_GE(top, lineTop) << rect.left << "," << rect.top;
    EXPECT_LE(bottom, lineTop + m.height) << rect.left << "," << rect.top;
  }
}

TEST_F(QtRenderTest, RightToLeftParagraphIsRightAlignedAndReadsFromTheRight) {
  MakeView(20, 20, 460, 340);
  Stream s;
  // Reading order: a lone vav, then a word of six shins.
  s.Add(0x31, 0, u"\u05D5 \u05E9\u05E9\u05E9\u05E9\u05E9\u05E9");
  ASSERT_EQ(PageViewLayOut(view_, s.Build(), true), kViewOk);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const LineRecord row = view_->lines[0];
  const std::vector<bool> ink = InkColumns(image_, 20, 20 + row.height);
  int first = -1, last = -1;
  for (int x = 0; x < int(ink.size()); ++x)
    if (ink[size_t(x)]) {
      if (first < 0) first = x;
      last = x;
    }
  ASSERT_GE(first, 0);
  EXPECT_GE(last, 460 - 4) << "right-aligned against the view's right edge";
  EXPECT_LT(last, 460);
  EXPECT_GT(first, 200) << "a short row does not start at the left";
  // The widest run of empty columns inside the ink is the space between the words.
  int gapStart = 0, gapLength = 0;
  for (int x = first; x <= last;) {
    if (ink[size_t(x)]) {
      ++x;
      continue;
    }
    int end = x;
    while (end <= last && !ink[size_t(end)]) ++end;
    if (end - x > gapLength) gapStart = x, gapLength = end - x;
    x = end;
  }
  ASSERT_GT(gapLength, 0);
  const int leftPart = gapStart - first, rightPart = last - (gapStart + gapLength) + 1;
  EXPECT_GT(leftPart, 4 * rightPart) << "the six shins are at the left, the first word (vav) at the right";
}

TEST_F(QtRenderTest, RendersAnArticleForALook) {
  MakeView(10, 10, 470, 350);
  Stream s;
  s.Add(0xDC, 0, u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA \u05D0:\u05D0 - \u05D1:\u05D2");
  s.Add(0xD1, 0, u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA");
  s.Add(0xD9, 0, u"\u05E4\u05E8\u05E7 \u05D0");
  s.Add(0x31 | 0x20, 0x40,
        u"\u05D0 \u05D1\u05E8\u05D0\u05E9\u05D9\u05EA \u05D1\u05E8\u05D0 \u05D0\u05DC\u05D4\u05D9\u05DD \u05D0\u05EA "
        u"\u05D4\u05E9\u05DE\u05D9\u05DD \u05D5\u05D0\u05EA \u05D4\u05D0\u05E8\u05E5. \u05D5\u05D4\u05D0\u05E8\u05E5 "
        u"\u05D4\u05D9\u05EA\u05D4 \u05EA\u05D4\u05D5 \u05D5\u05D1\u05D4\u05D5 \u05D5\u05D7\u05E9\u05DA \u05E2\u05DC "
        u"\u05E4\u05E0\u05D9 \u05EA\u05D4\u05D5\u05DD (\u05D0).");
  s.Add(0x31 | 0x20, 0x44, u"\u05D5\u05E8\u05D5\u05D7 \u05D0\u05DC\u05D4\u05D9\u05DD \u05DE\u05E8\u05D7\u05E4\u05EA "
                           u"\u05E2\u05DC \u05E4\u05E0\u05D9 \u05D4\u05DE\u05D9\u05DD.",
        true);
  s.Add(0xC7, 170, u"");
  s.Add(0x33 | 0x20, 0, u"\u05D5\u05D9\u05D0\u05DE\u05E8 \u05D0\u05DC\u05D4\u05D9\u05DD \u05D9\u05D4\u05D9 "
                         u"\u05D0\u05D5\u05E8 \u05D5\u05D9\u05D4\u05D9 \u05D0\u05D5\u05E8.");
  ASSERT_EQ(PageViewLayOut(view_, s.Build(), true), kViewOk);
  // Highlight the word "ha-shamayim" of the fourth record in stored order.
  const std::string stored(reinterpret_cast<const char*>(view_->text), s.Size());
  const size_t at = stored.find(Code(u"\u05D4\u05E9\u05DE\u05D9\u05DD", true));
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
  const QImage plain = image_.copy();
  view_->highlightStart = uint16_t(at);
  view_->highlightEnd = uint16_t(at + 5);
  ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);

  // The highlight changes one row only: blue letters on yellow boxes (the word, and the
  // row's lead word), where the plain page had no yellow. (The banner below is yellow
  // too, so counting yellow pixels in the whole picture proved nothing.)
  int32_t tallestRow = 0;
  for (const LineRecord* e = view_->lines; !LineRecordIsEnd(*e); ++e) tallestRow = std::max<int32_t>(tallestRow, e->height);
  int left = image_.width(), right = -1, top = image_.height(), bottom = -1;
  for (int y = 0; y < image_.height(); ++y)
    for (int x = 0; x < image_.width(); ++x)
      if (image_.pixel(x, y) != plain.pixel(x, y)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0) << "the highlight changed nothing";
  EXPECT_LE(bottom - top + 1, tallestRow) << "the highlight spans more than one row";
  int yellow = 0, blue = 0;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const QRgb before = plain.pixel(x, y), after = image_.pixel(x, y);
      EXPECT_NE(before, qRgb(255, 255, 0));
      yellow += after == qRgb(255, 255, 0);
      blue += qBlue(after) > 128 && qRed(after) < 100 && qGreen(after) < 100;
    }
  EXPECT_GT(blue, 0) << "the letters are blue";
  EXPECT_GT(yellow, blue) << "on a yellow ground, not the other way round";

  PageViewShowTitleBanner(view_);
  const QString path = QStringLiteral(SOLMAR_ARTIFACT_DIR "/view_render.png");
  ASSERT_TRUE(image_.save(path));
}

// Six stock brushes, kept for the whole run: deleting one leaves it alone, and a number
// outside them names none.
TEST(QtStockBrushTest, SixStockBrushesAndNoneBeyond) {
  std::vector<platform::Brush*> stock;
  for (int i = 0; i < 6; ++i) {
    stock.push_back(platform::StockBrush(i));
    platform::DeleteBrush(stock.back());
    EXPECT_NE(stock.back(), nullptr) << i;
  }
  std::sort(stock.begin(), stock.end());
  EXPECT_EQ(std::unique(stock.begin(), stock.end()), stock.end());
  for (int outside : {-1, 6, 1000}) EXPECT_EQ(platform::StockBrush(outside), nullptr) << outside;
}

}  // namespace
