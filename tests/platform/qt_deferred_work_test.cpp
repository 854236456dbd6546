// What the Qt backend leaves out of a window's first frame and does later, off screen: text
// widths measured glyph by glyph when first used, pictures drawn only at the sizes and
// scales asked for, the window icon given once the first frame is painted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QRawFont>
#include <QWidget>
#include <cmath>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_window_access.h"

namespace {

using platform::Window;

intptr_t QuietProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(window, message, wParam, lParam);
}

class QtDeferredWorkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_deferred_work_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    platform::RegisterWindowClass({0, QuietProc, platform::LoadIcon(101), nullptr, u"DeferredOwner"});
  }
};

// The width of a text is the sum of each unit's advance rounded to whole pixels, whichever
// units were measured before and in whatever order: each test string is measured after the
// ones before it in the same font, so a unit measured once must be found again unchanged.
TEST_F(QtDeferredWorkTest, WidthsAreSumsOfEachUnitsRoundedAdvance) {
  QImage image(200, 50, QImage::Format_RGB32);
  platform::Dc* dc = platform::qt::CreateImageDc(&image);
  platform::FontDescription description{};
  const std::u16string face = u"DejaVu Sans";
  std::copy(face.begin(), face.end(), description.face);
  description.height = 22;
  platform::Font* font = platform::CreateFont(description);
  ASSERT_NE(font, nullptr);
  platform::SelectFont(dc, font);
  const QRawFont raw = QRawFont::fromFont(platform::qt::QFontOf(font));
  ASSERT_TRUE(raw.isValid());
  auto expected = [&raw](const std::u16string& text) {
    double sum = 0;
    for (char16_t unit : text) {
      if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // lone surrogates have no width
      const QChar c(unit);
      quint32 glyph = 0;
      int glyphs = 1;
      QPointF advance;
      if (raw.glyphIndexesForChars(&c, 1, &glyph, &glyphs) && raw.advancesForGlyphIndexes(&glyph, &advance, 1))
        sum += std::round(advance.x());
    }
    return int32_t(std::lround(sum));
  };
  const std::u16string texts[] = {
      u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA",  // Hebrew letters, one page
      u"\u05D0\u05D1",                         // the same page again: letters met before
      u"abc \u05D0 xyz",                       // two pages mixed
      u"WWWiii...",                            // wide and narrow on a page seen already
      u"\u2013\u201C\u00A0",                   // pages of their own
      std::u16string{u'a', char16_t(0xD800), u'b'},  // a lone surrogate between letters
      u"\uFB2A\u05C1",                         // presentation forms and points
  };
  for (const std::u16string& text : texts) {
    int32_t width = -1, height = -1;
    platform::TextExtent(dc, text.data(), int32_t(text.size()), &width, &height);
    EXPECT_EQ(width, expected(text)) << std::string(text.begin(), text.end());
    EXPECT_GT(height, 0);
    // The fitting count agrees with the widths measured above, unit by unit.
    const int32_t fit = platform::CharactersFitting(dc, text.data(), int32_t(text.size()), width - 1);
    EXPECT_LT(fit, int32_t(text.size()));
    EXPECT_EQ(platform::CharactersFitting(dc, text.data(), int32_t(text.size()), width), int32_t(text.size()));
  }
  platform::SelectFont(dc, nullptr);
  platform::DeleteFont(font);
  platform::qt::DeleteImageDc(dc);
}

// Asked at a logical size and a scale, a tool-bar picture comes drawn at that scale and
// never larger than its cell; each size is drawn once.
TEST_F(QtDeferredWorkTest, DrawnIconDrawsTheSizesAskedForOnce) {
  std::vector<QSize> drawn;
  const QIcon icon = platform::qt::DrawnIcon(
      [&drawn](QSize pixels) {
        drawn.push_back(pixels);
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::blue);
        return image;
      },
      {QSize(16, 16)}, false);
  EXPECT_TRUE(drawn.empty());  // nothing drawn until asked for
  struct Case {
    QSize asked;
    qreal scale;
    QSize pixels;  // device pixels of the answer
  } const cases[] = {
      {{16, 16}, 1.0, {16, 16}}, {{16, 16}, 2.0, {32, 32}}, {{16, 16}, 1.5, {24, 24}},
      {{32, 32}, 1.0, {16, 16}},  // not enlarged beyond its cell
      {{8, 8}, 1.0, {8, 8}},      // drawn smaller when asked smaller
  };
  for (const Case& c : cases) {
    const QPixmap pixmap = icon.pixmap(c.asked, c.scale);
    EXPECT_EQ(pixmap.size(), c.pixels) << c.asked.width() << " at " << c.scale;
  }
  EXPECT_EQ(drawn.size(), size_t(4));  // 16 at 1 and 32 at 1 are the same 16 x 16 pixels
  (void)icon.pixmap(QSize(16, 16), 2.0);
  EXPECT_EQ(drawn.size(), size_t(4));  // kept, not drawn again
  EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
  // The disabled picture is the style's, made from the drawn one: same size, other pixels.
  const QImage normal = icon.pixmap(QSize(16, 16), 1.0, QIcon::Normal).toImage();
  const QImage disabled = icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage();
  EXPECT_EQ(disabled.size(), normal.size());
  EXPECT_NE(disabled.convertToFormat(QImage::Format_ARGB32), normal.convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(drawn.size(), size_t(4));
}

// A cell drawn on its own is the cell of the whole strip, at every scale.
TEST_F(QtDeferredWorkTest, ToolButtonCellsMatchTheStrip) {
  for (const qreal ratio : {1.0, 1.5, 2.0}) {
    const QImage strip = platform::qt::PictureAt(114, ratio);
    ASSERT_FALSE(strip.isNull());
    for (int i = 0; i < 6; ++i) {
      const QImage cell = platform::qt::PictureCellAt(114, i, 16, 16, ratio);
      const int side = int(std::lround(16 * ratio));
      EXPECT_EQ(cell.size(), QSize(side, side)) << i << " at " << ratio;
      EXPECT_EQ(cell.devicePixelRatio(), ratio);
      EXPECT_EQ(cell.convertToFormat(QImage::Format_ARGB32),
                strip.copy(int(std::lround(i * 16 * ratio)), 0, side, side).convertToFormat(QImage::Format_ARGB32))
          << "cell " << i << " at " << ratio;
      // The tool bar's icon of the cell draws the same pixels when a screen of that scale asks.
      EXPECT_EQ(platform::qt::PictureCellIcon(114, i, 16, 16).pixmap(QSize(16, 16), ratio).toImage().convertToFormat(
                    QImage::Format_ARGB32),
                cell.convertToFormat(QImage::Format_ARGB32))
          << "icon " << i << " at " << ratio;
    }
  }
  // A pixel pattern comes at its own size whatever the scale asked.
  const QImage glyph = platform::qt::PictureCellAt(201, 0, 9, 9, 2.0);
  EXPECT_EQ(glyph.size(), QSize(9, 9));
  EXPECT_EQ(glyph.devicePixelRatio(), 1.0);
  EXPECT_TRUE(platform::qt::PictureCellAt(999, 0, 16, 16, 1.0).isNull());
  // HasPicture answers as PictureAt draws, for every id around the program's pictures.
  for (uint32_t id = 100; id <= 210; ++id)
    EXPECT_EQ(platform::qt::HasPicture(id), !platform::qt::PictureAt(id, 1.0).isNull()) << id;
}

// The window gets its icon, at every size the desktop may ask for, once its first frame
// is painted; ShowFirstFrame waits for that frame and no longer.
TEST_F(QtDeferredWorkTest, WindowIconFollowsTheFirstFrame) {
  Window* window = platform::CreateWindow(0, u"DeferredOwner", u"Deferred", platform::kWsVisible, 0, 0, 300, 200,
                                          nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  QWidget* frame = platform::qt::WidgetOf(window);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->windowIcon().isNull() || frame->windowIcon().cacheKey() == QApplication::windowIcon().cacheKey());
  QElapsedTimer timer;
  timer.start();
  platform::ShowFirstFrame(window, 5000);
  EXPECT_LT(timer.elapsed(), 4000);  // the offscreen platform exposes the window at once
  QCoreApplication::processEvents();
  const QList<QSize> sizes = frame->windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(48, 48)) && sizes.contains(QSize(256, 256)));
  EXPECT_EQ(frame->windowIcon().pixmap(QSize(48, 48), 1.0).size(), QSize(48, 48));
  // A window already painted waits for nothing.
  timer.restart();
  platform::ShowFirstFrame(window, 5000);
  EXPECT_LT(timer.elapsed(), 1000);
  platform::DestroyWindow(window);
  QCoreApplication::processEvents();
}

}  // namespace
