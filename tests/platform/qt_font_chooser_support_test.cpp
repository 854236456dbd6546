// What the font chooser and the About box need of the Qt backend, off screen: the desktop's
// font families with the Hebrew ones marked, a control's font, sizing in place, owner-drawn
// buttons, boxes in visual order, underlined text and picture 113.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/platform.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_window_access.h"

namespace {

using platform::Window;

bool Collect(const platform::FontDescription& family, intptr_t param) {
  reinterpret_cast<std::vector<platform::FontDescription>*>(param)->push_back(family);
  return true;
}

bool StopAtThird(const platform::FontDescription&, intptr_t param) { return ++*reinterpret_cast<int*>(param) < 3; }

int gDrawItems = 0;
std::u16string gDrawnCaption;
intptr_t DrawingProc(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == platform::kMsgDrawItem) {
    const auto* item = reinterpret_cast<const platform::DrawItem*>(lParam);
    ++gDrawItems;
    EXPECT_EQ(wParam, uintptr_t(item->controlId));
    char16_t caption[101] = {};
    const uint32_t n = platform::GetWindowText(item->control, caption, 101);
    gDrawnCaption = caption;
    platform::SetTextColour(item->dc, 0xFF0000);
    platform::DrawTextCentred(item->dc, caption, int32_t(n), item->rect);
    return 1;
  }
  if (message == platform::kMsgCommand && platform::LowWord(wParam) <= 2) platform::EndDialog(dialog, 1);
  return 0;
}

intptr_t QuietProc(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t) {
  if (message == platform::kMsgCommand && platform::LowWord(wParam) <= 2) platform::EndDialog(dialog, 1);
  return 0;
}

intptr_t OwnerProc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

class QtChooserSupportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_font_chooser_support_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    platform::RegisterWindowClass({0, OwnerProc, nullptr, nullptr, u"ChooserOwner"});
  }
  void SetUp() override {
    owner_ = platform::CreateWindow(0, u"ChooserOwner", u"ChooserOwner", platform::kWsVisible, 0, 0, 600, 700, nullptr,
                                    nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    platform::DestroyWindow(owner_);
    QCoreApplication::processEvents();
  }
  void Run(uint32_t id, platform::WindowProc proc, const std::function<void(Window*, QDialog*)>& step) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      QDialog* frame = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) frame = d;
      ASSERT_NE(frame, nullptr);
      step(platform::qt::HandleOf(frame), frame);
      ran = true;
      frame->reject();
    });
    platform::DialogBox(id, owner_, proc, 0);
    EXPECT_TRUE(ran);
  }
  Window* owner_ = nullptr;
};

TEST_F(QtChooserSupportTest, FamiliesOfTheDesktopWithTheInstalledHebrewOnesMarked) {
  std::vector<platform::FontDescription> families;
  EXPECT_TRUE(platform::EnumerateFontFamilies(nullptr, Collect, intptr_t(&families)));
  bool david = false, dejaVu = false;
  for (const platform::FontDescription& f : families) {
    const std::u16string face = f.face;
    EXPECT_LE(face.size(), 31u);
    EXPECT_EQ(f.height, 0);
    if (face == u"David CLM") david = f.charset == platform::kHebrewCharset;       // Culmus
    if (face == u"DejaVu Sans Mono") dejaVu = f.charset == 0;                      // no Hebrew
  }
  EXPECT_TRUE(david) << "the Culmus fonts are installed by the set-up script";
  EXPECT_TRUE(dejaVu);
  int handed = 0;
  EXPECT_FALSE(platform::EnumerateFontFamilies(nullptr, StopAtThird, intptr_t(&handed)));
  EXPECT_EQ(handed, 3);
}

TEST_F(QtChooserSupportTest, OwnerDrawnLinkIsDrawnByTheDialogAndSizedInPlace) {
  gDrawItems = 0;
  Run(103, DrawingProc, [](Window* dialog, QDialog*) {
    Window* link = platform::GetDialogItem(dialog, 1025);
    QWidget* widget = platform::qt::WidgetOf(link);
    ASSERT_NE(widget, nullptr);
    const QPoint place = widget->pos();
    EXPECT_TRUE(platform::SizeWindow(link, 123, 21));
    EXPECT_EQ(widget->pos(), place);
    EXPECT_EQ(widget->size(), QSize(123, 21));
    const QImage image = widget->grab().toImage();
    EXPECT_GT(gDrawItems, 0);
    EXPECT_EQ(gDrawnCaption.substr(0, 4), u"http");
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
      }
    EXPECT_GT(blue, 20) << "the caption is drawn in blue";
    // The control's font as the seam describes it, and a new one given to it.
    platform::FontDescription d{};
    ASSERT_TRUE(platform::GetWindowFont(link, &d));
    EXPECT_GT(d.height, 0);
    EXPECT_NE(d.face[0], 0);
    platform::FontDescription bold = d;
    bold.weight = 800;
    bold.underline = 1;
    platform::Font* font = platform::CreateFont(bold);
    platform::SetWindowFont(link, font, true);
    platform::FontDescription read{};
    ASSERT_TRUE(platform::GetWindowFont(link, &read));
    EXPECT_NE(read.underline, 0);
    EXPECT_GE(read.weight, 700);
    platform::SetWindowFont(link, nullptr, false);
    platform::DeleteFont(font);
  });
}

TEST_F(QtChooserSupportTest, VisualOrderBoxShowsItsTextLeftToRightAsGiven) {
  Run(105, QuietProc, [](Window* dialog, QDialog*) {
    Window* preview = platform::GetDialogItem(dialog, 1002);
    const std::u16string letters = u"\u05D2\u05D1\u05D0";  // gimel, bet, alef
    platform::SetWindowText(preview, letters.c_str());
    char16_t back[8] = {};
    EXPECT_EQ(platform::GetWindowText(preview, back, 8), 3u);
    EXPECT_EQ(std::u16string(back), letters);
    // Read only: shown as the panes show text, not as an edit box.
    auto* edit = qobject_cast<QLabel*>(platform::qt::WidgetOf(preview));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->textInteractionFlags() & Qt::TextEditable, 0);
    // Shown with no reordering: shin then vav, left to right, as a right-to-left paragraph
    // would show vav then shin; not as it would show shin then vav.
    platform::SetWindowText(preview, u"\u05E9\u05D5");
    const QImage shown = edit->grab().toImage();
    edit->setText(QString::fromUtf16(u"\u05D5\u05E9"));
    const QImage mirrored = edit->grab().toImage();
    edit->setText(QString::fromUtf16(u"\u05E9\u05D5"));
    const QImage reordered = edit->grab().toImage();
    EXPECT_TRUE(shown == mirrored);
    EXPECT_FALSE(shown == reordered);
    // Right-aligned: a line too long for the box keeps its right end, where reading starts.
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);
  });
}

TEST_F(QtChooserSupportTest, LabelsMoveTheFocusToTheirListsAndButtons) {
  Run(105, QuietProc, [](Window* dialog, QDialog*) {
    const struct {
      int label, control;
    } pairs[] = {{1010, 1001}, {1011, 1004}, {1012, 1006}};
    for (const auto& p : pairs) {
      auto* label = qobject_cast<QLabel*>(platform::qt::WidgetOf(platform::GetDialogItem(dialog, p.label)));
      ASSERT_NE(label, nullptr) << p.label;
      EXPECT_EQ(label->buddy(), platform::qt::WidgetOf(platform::GetDialogItem(dialog, p.control))) << p.label;
    }
    // A plain text without '&' has no buddy.
    auto* line = qobject_cast<QLabel*>(platform::qt::WidgetOf(platform::GetDialogItem(dialog, 1007)));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->buddy(), nullptr);
  });
}

TEST_F(QtChooserSupportTest, DialogsOpenCentredOverTheOwnerAndOnlyListsResize) {
  const QRect owner = platform::qt::WidgetOf(owner_)->geometry();
  for (uint32_t id : {103u, 105u}) {
    Run(id, QuietProc, [&](Window* dialog, QDialog* frame) {
      const QRect placed = frame->geometry();
      EXPECT_LE(std::abs(placed.center().x() - owner.center().x()), 1) << id;
      EXPECT_LE(std::abs(placed.center().y() - owner.center().y()), 1) << id;
      EXPECT_EQ(frame->minimumSize(), frame->maximumSize()) << "fixed until the dialog asks otherwise";
      if (id != 105) return;
      ASSERT_TRUE(platform::PlaceDialog(dialog, placed.width() + 100, placed.height() + 60, true));
      EXPECT_EQ(frame->size(), placed.size() + QSize(100, 60));
      EXPECT_EQ(frame->minimumSize(), placed.size());  // down to the template's size
      EXPECT_GT(frame->maximumWidth(), 5000);
      int32_t width = 0, height = 0;
      EXPECT_TRUE(platform::GetDialogSize(dialog, &width, &height));
      EXPECT_EQ(width, placed.width() + 100);
      EXPECT_EQ(height, placed.height() + 60);
      EXPECT_LE(std::abs(frame->geometry().center().x() - owner.center().x()), 1);
      // A size below the template's gives the template's.
      ASSERT_TRUE(platform::PlaceDialog(dialog, 10, 10, true));
      EXPECT_EQ(frame->size(), placed.size());
    });
  }
  EXPECT_FALSE(platform::PlaceDialog(owner_, 100, 100, true));  // not a dialog
}

TEST_F(QtChooserSupportTest, AListOpensWithItsSelectionInView) {
  auto fill = [](Window* dialog, uint32_t message, uintptr_t wParam, intptr_t) -> intptr_t {
    if (message == platform::kMsgInitDialog) {
      Window* list = platform::GetDialogItem(dialog, 1001);
      for (int i = 0; i < 300; ++i) platform::ListBoxAddString(list, (u"Face " + std::u16string(1, char16_t(u'A' + i / 26)) +
                                                                     std::u16string(1, char16_t(u'a' + i % 26))).c_str());
      platform::ListBoxSetCurrentSelection(list, 250);
    }
    if (message == platform::kMsgCommand && platform::LowWord(wParam) <= 2) platform::EndDialog(dialog, 1);
    return 0;
  };
  Run(105, fill, [](Window* dialog, QDialog*) {
    QCoreApplication::processEvents();
    auto* list = qobject_cast<QListWidget*>(platform::qt::WidgetOf(platform::GetDialogItem(dialog, 1001)));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->currentItem()).center()));
  });
}

TEST_F(QtChooserSupportTest, UnderlinedFontDrawsALineBelowTheText) {
  QImage plainImage(120, 40, QImage::Format_RGB32), underlinedImage(120, 40, QImage::Format_RGB32);
  for (auto [image, underline] : {std::pair{&plainImage, 0}, std::pair{&underlinedImage, 1}}) {
    image->fill(Qt::white);
    platform::Dc* dc = platform::qt::CreateImageDc(image);
    platform::FontDescription d{};
    d.height = 24;
    d.underline = uint8_t(underline);
    platform::Font* font = platform::CreateFont(d);
    platform::Font* previous = platform::SelectFont(dc, font);
    platform::DrawTextCentred(dc, u"aaaa", 4, {0, 0, 120, 40});
    platform::SelectFont(dc, previous);
    platform::qt::DeleteImageDc(dc);
    platform::DeleteFont(font);
  }
  auto dark = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
  };
  EXPECT_GT(dark(underlinedImage), dark(plainImage) + 10);
}

TEST(QtPictureTest, AboutPictureIsTheIconAtFortyEight) {
  static int argc = 1;
  static char name[] = "qt_font_chooser_support_tests";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QApplication(argc, argv);
  platform::Bitmap* bitmap = platform::LoadBitmap(113);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->image.size(), QSize(48, 48));
  platform::DeleteBitmap(bitmap);
}

// The search dialog's keyboard picture: its grid lines lie where the dialog takes a tap on
// it to change keys (columns every 17 pixels, rows every 25), so a tap on a drawn key is a
// tap on that key. Lines are the rows and columns that are black from end to end.
TEST(QtPictureTest, KeyboardGridIsWhereTapsChangeKeys) {
  static int argc = 1;
  static char name[] = "qt_font_chooser_support_tests";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QApplication(argc, argv);
  const QImage image = platform::qt::PictureAt(119, 1.0);
  ASSERT_EQ(image.size(), QSize(154, 95));
  const auto black = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
  std::vector<int> columns, rows;
  for (int x = 0; x < 154; ++x) {
    bool whole = true;
    for (int y = 0; y <= 75; ++y) whole = whole && black(x, y);
    if (whole) columns.push_back(x);
  }
  for (int y = 0; y <= 75; ++y) {
    bool whole = true;
    for (int x = 0; x <= 153; ++x) whole = whole && black(x, y);
    if (whole) rows.push_back(y);
  }
  EXPECT_EQ(columns, (std::vector<int>{0, 17, 34, 51, 68, 85, 102, 119, 136, 153}));
  EXPECT_EQ(rows, (std::vector<int>{0, 25, 50, 75}));
  // Each key's letter stands in the middle of its key, so a tap lands on the letter it sees.
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 9; ++column) {
      int ink = 0, sumX = 0;
      for (int y = row * 25 + 1; y < row * 25 + 25; ++y)
        for (int x = column * 17 + 1; x < column * 17 + 17; ++x)
          if (black(x, y)) ++ink, sumX += x;
      ASSERT_GT(ink, 0) << "key at row " << row << ", column " << column << " is empty";
      EXPECT_NEAR(double(sumX) / ink, column * 17 + 8.5, 2.0) << "row " << row << ", column " << column;
    }
}

}  // namespace
