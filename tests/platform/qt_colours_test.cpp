// The Qt backend's own colours: the classic ones until the reader gives its scheme, the
// application palette only where the desktop's does not match the scheme, and the pictures
// it draws (keyboard, tree glyphs, tool buttons) in the scheme's colours. Off screen, where
// the desktop's palette is Qt's light default.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <map>
#include <utility>
#include <vector>

#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_pictures.h"
#include "view/colour_scheme.h"

namespace {

class QtColoursTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_colours_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
  }
  void TearDown() override { platform::SetChromeColours(kLightColourScheme.chrome); }
};

// Every colour of two ChromeColours, to compare them whole.
std::vector<uint32_t> Fields(const platform::ChromeColours& c) {
  return {c.dark,       c.ground,     c.window,      c.windowText, c.base,        c.alternateBase,
          c.text,       c.button,     c.buttonText,  c.highlight,  c.highlightedText, c.disabledText,
          c.link,       c.toolTipBase, c.toolTipText, c.pictureInk, c.pictureGround, c.iconInk,
          c.iconAccent, c.iconLens,   c.markText,   c.markGround};
}

// The colours of an image, counted.
std::map<QRgb, int> Colours(const QImage& image) {
  std::map<QRgb, int> colours;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) ++colours[rgb.pixel(x, y)];
  return colours;
}

QRgb Rgb(uint32_t colour) { return platform::qt::ToQColor(colour).rgb(); }

TEST_F(QtColoursTest, ClassicColoursAreTheLightSchemesUntilTheReaderGivesItsOwn) {
  // This runs first: nothing has given colours yet.
  EXPECT_EQ(Fields(platform::qt::ChromeColoursNow()), Fields(kLightColourScheme.chrome));
}

TEST_F(QtColoursTest, PaletteIsTheDesktopsUnlessItDoesNotMatch) {
  const QPalette desktop = QApplication::palette();
  ASSERT_FALSE(platform::qt::IsDarkPalette(desktop)) << "off screen, the desktop is light";
  EXPECT_FALSE(platform::DesktopPrefersDark());

  platform::SetChromeColours(kLightColourScheme.chrome);
  EXPECT_EQ(QApplication::palette(), desktop) << "a light scheme on a light desktop keeps its palette";

  const platform::ChromeColours& dark = kDarkColourScheme.chrome;
  platform::SetChromeColours(dark);
  const QPalette palette = QApplication::palette();
  EXPECT_TRUE(platform::qt::IsDarkPalette(palette));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Window).rgb(), Rgb(dark.window));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Base).rgb(), Rgb(dark.base));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Text).rgb(), Rgb(dark.text));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::ButtonText).rgb(), Rgb(dark.buttonText));
  EXPECT_EQ(palette.color(QPalette::Active, QPalette::Highlight).rgb(), Rgb(dark.highlight));
  EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Text).rgb(), Rgb(dark.disabledText));
  EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Window).rgb(), Rgb(dark.window));
  EXPECT_FALSE(platform::DesktopPrefersDark()) << "the reader's own palette is not the desktop's choice";

  platform::SetChromeColours(kLightColourScheme.chrome);
  EXPECT_EQ(QApplication::palette(), desktop) << "the desktop's palette comes back";
}

TEST_F(QtColoursTest, PicturesAreDrawnInTheGivenColours) {
  for (const ColourScheme* scheme : {&kLightColourScheme, &kDarkColourScheme}) {
    SCOPED_TRACE(scheme->chrome.dark ? "dark" : "light");
    platform::SetChromeColours(scheme->chrome);
    const QRgb ink = Rgb(scheme->chrome.pictureInk), ground = Rgb(scheme->chrome.pictureGround);

    // The keyboard: two colours, mostly ground, the grid and letters in ink.
    const std::map<QRgb, int> keys = Colours(platform::qt::PictureAt(119, 1.0));
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_GT(keys.at(ground), keys.at(ink));
    EXPECT_GT(keys.at(ink), 154 * 4) << "the grid's lines at least";

    // A boxed plus: its 32 frame pixels and the 9 of the cross in ink.
    const std::map<QRgb, int> plus = Colours(platform::qt::PictureAt(201, 1.0));
    ASSERT_EQ(plus.size(), 2u);
    EXPECT_EQ(plus.at(ink), 32 + 9);
    EXPECT_EQ(plus.at(ground), 81 - 41);

    // The tool buttons: the arrows in the icon ink, the index's marks in the accent.
    const QImage tools = platform::qt::PictureAt(114, 1.0);
    const QImage next = tools.copy(32, 0, 16, 16);
    EXPECT_EQ(QColor(next.pixel(5, 8)).rgb(), Rgb(scheme->chrome.iconInk)) << "inside the right arrow";
    const QImage index = tools.copy(16, 0, 16, 16);
    EXPECT_EQ(QColor(index.pixel(4, 4)).rgb(), Rgb(scheme->chrome.iconAccent)) << "a mark of the index";
  }
}

TEST_F(QtColoursTest, KeyboardStrokesAreTheSameOnAnyGround) {
  // Dark ink on a light ground and light ink on a dark ground give the same picture: the
  // grid exactly, the letters but for the odd antialiased edge pixel.
  platform::ChromeColours colours = kLightColourScheme.chrome;
  const QImage lightKeys = platform::qt::PictureAt(119, 1.0);
  std::swap(colours.pictureInk, colours.pictureGround);
  platform::SetChromeColours(colours);
  const QImage darkKeys = platform::qt::PictureAt(119, 1.0);
  ASSERT_EQ(lightKeys.size(), darkKeys.size());
  auto ink = [](const QImage& image, int x, int y, bool darkInk) { return (qGray(image.pixel(x, y)) < 128) == darkInk; };
  int inkPixels = 0, differing = 0;
  for (int y = 0; y < lightKeys.height(); ++y)
    for (int x = 0; x < lightKeys.width(); ++x) {
      const bool a = ink(lightKeys, x, y, true), b = ink(darkKeys, x, y, false);
      inkPixels += a;
      differing += a != b;
      if ((x % 17 == 0 && y <= 75) || (y % 25 == 0 && y <= 75)) {
        EXPECT_TRUE(a && b) << "grid at " << x << ", " << y;
      }
    }
  EXPECT_GT(inkPixels, 1000);
  EXPECT_LT(differing, inkPixels / 5) << "the letters are the same letters";
}

int gColourChanges = 0;
intptr_t RecordingProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == platform::kMsgSysColourChange) ++gColourChanges;
  return platform::DefWindowProc(window, message, wParam, lParam);
}

TEST_F(QtColoursTest, TheDesktopTurningDarkReachesTheWindowsOnce) {
  ASSERT_TRUE(platform::RegisterWindowClass({0, RecordingProc, nullptr, nullptr, u"ColourWatcher"}));
  platform::Window* window = platform::CreateWindow(0, u"ColourWatcher", u"", 0, 0, 0, 100, 100, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  platform::SetChromeColours(kLightColourScheme.chrome);
  const QPalette desktop = QApplication::palette();
  gColourChanges = 0;
  ASSERT_FALSE(platform::DesktopPrefersDark());

  // The desktop's palette turns dark, as a theme change makes it.
  QApplication::setPalette(platform::qt::PaletteOf(kDarkColourScheme.chrome));
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(gColourChanges, 1);
  EXPECT_TRUE(platform::DesktopPrefersDark());

  // The reader answers with the dark scheme: the palette stays the desktop's, and the
  // reader's own change is not taken for the desktop's.
  platform::SetChromeColours(kDarkColourScheme.chrome);
  QCoreApplication::processEvents();
  EXPECT_EQ(gColourChanges, 1);
  EXPECT_TRUE(platform::DesktopPrefersDark());

  // And back.
  QApplication::setPalette(desktop);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(gColourChanges, 2);
  EXPECT_FALSE(platform::DesktopPrefersDark());
  platform::DestroyWindow(window);
}

}  // namespace
