// The search dialog through the Qt backend, off screen. A Hebrew word typed on the keyboard,
// pasted, or tapped on the picture letter by letter must give the same search string and
// the same edit text, and the box must hold it in reading order. Leaves search_dialog.png in
// the build folder for a look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>
#include <string>

#include "shell/reader_settings.h"
#include "platform/qt/qt_window_access.h"
#include "search/search_dialog.h"
#include "shell/shell_state.h"

namespace platform::qt {
const char* KeyboardPictureLetters();
}

namespace {

using platform::Window;

const QString kWord = QString::fromUtf16(u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA");  // bereshit, reading order

intptr_t OwnerProc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

QDialog* RunningDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->objectName() == "SolmarDialog115" && dialog->isVisible())
      return dialog;
  return nullptr;
}

struct Outcome {
  std::string stored;       // the search string after OK
  std::u16string seamText;  // the edit text as the dialog procedure reads it
  QString boxText;          // what the box holds
  int notFoundBoxes = 0;
};

class QtSearchDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "search_qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    platform::RegisterWindowClass({0, OwnerProc, nullptr, nullptr, u"Owner"});
  }
  void SetUp() override {
    ResetShellState();
    ResetReaderSettings();
    ResetSearchDialogState();
    gReaderSettings.fontSpec.fontAsciiBase = 1488;
    gReaderSettings.fontSpec.size = 20;
    std::u16string face = u"DejaVu Sans";
    face.copy(gReaderSettings.fontSpec.faceName, face.size());
    owner_ = platform::CreateWindow(0, u"Owner", u"Owner", platform::kWsVisible, 0, 0, 400, 500, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    gShellWindows.mainWindow = owner_;
  }
  void TearDown() override {
    platform::DestroyWindow(owner_);
    QCoreApplication::processEvents();
  }

  // Opens the dialog, lets input put text in, presses OK (the book is not loaded, so
  // "Not Found!" comes and is answered), reads the box and cancels.
  Outcome Enter(const std::function<void(QDialog*, QLineEdit*)>& input) {
    Outcome out;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&out] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        out.notFoundBoxes += box->text() == "Not Found!";
        box->accept();
      }
    });
    answerer.start(10);
    bool ran = false;
    QTimer::singleShot(0, [&] {
      QDialog* dialog = RunningDialog();
      ASSERT_NE(dialog, nullptr);
      auto* edit = dialog->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      input(dialog, edit);
      ran = true;
      QTest::keyClick(edit, Qt::Key_Return);
      out.stored = reinterpret_cast<const char*>(gReaderSettings.searchString);
      Window* record = platform::qt::HandleOf(dialog);
      char16_t text[64] = {};
      platform::GetWindowText(platform::GetDialogItem(record, kSearchEditId), text, 64);
      out.seamText = text;
      out.boxText = edit->text();
      // The failed OK selected all of it.
      EXPECT_EQ(edit->selectedText(), edit->text());
      QTest::keyClick(edit, Qt::Key_Escape);
    });
    OpenSearchDialog(owner_);
    EXPECT_TRUE(ran);
    EXPECT_EQ(RunningDialog(), nullptr);
    return out;
  }

  Window* owner_ = nullptr;
};

// Letter codes of the word in stored (visual) order: the reverse of reading order.
std::string StoredWord() {
  std::string out;
  for (qsizetype i = kWord.size() - 1; i >= 0; --i) out += char(0x61 + (kWord[i].unicode() - 0x05D0));
  return out;
}

void Tap(QDialog* dialog, QChar letter) {
  const char code = char(0x61 + (letter.unicode() - 0x05D0));
  const int position = int(std::strchr(KeyboardLayout, code) - KeyboardLayout) + 1;
  QLabel* picture = nullptr;
  for (QLabel* label : dialog->findChildren<QLabel*>())
    if (!label->pixmap().isNull()) picture = label;
  ASSERT_NE(picture, nullptr);
  const int row = (position - 1) / 9, column = 8 - (position - 1) % 9;
  const QPoint at = picture->geometry().topLeft() + QPoint(column * 17 + 8, row * 25 + 12);
  QTest::mouseClick(picture->parentWidget(), Qt::LeftButton, Qt::NoModifier, at);
}

TEST_F(QtSearchDialogTest, TypedPastedAndTappedWordsAgree) {
  const Outcome typed = Enter([](QDialog*, QLineEdit* edit) {
    for (QChar c : kWord) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
  });
  const Outcome pasted = Enter([](QDialog*, QLineEdit* edit) {
    QApplication::clipboard()->setText(kWord);
    edit->paste();
  });
  const Outcome tapped = Enter([](QDialog* dialog, QLineEdit*) {
    for (QChar c : kWord) Tap(dialog, c);
  });
  for (const Outcome* o : {&typed, &pasted, &tapped}) {
    EXPECT_EQ(o->stored, StoredWord());
    EXPECT_EQ(o->seamText, std::u16string(u"\u05EA\u05D9\u05E9\u05D0\u05E8\u05D1"));
    EXPECT_EQ(o->boxText, kWord);  // reading order, shown right to left
    EXPECT_EQ(o->notFoundBoxes, 1);
  }
}

// Reopening shows the stored word again, in reading order, all of it selected so that typing
// replaces it.
TEST_F(QtSearchDialogTest, StoredStringComesBackSelected) {
  std::memcpy(gReaderSettings.searchString, StoredWord().c_str(), StoredWord().size() + 1);
  QString shown, selected;
  QTimer::singleShot(0, [&] {
    QDialog* dialog = RunningDialog();
    ASSERT_NE(dialog, nullptr);
    auto* edit = dialog->findChild<QLineEdit*>();
    shown = edit->text();
    selected = edit->selectedText();
    // The reader's font: DejaVu Sans, 20 pixels from ascent to descent (as near as the face allows).
    EXPECT_EQ(QFontInfo(edit->font()).family(), "DejaVu Sans");
    const QFontMetrics metrics(edit->font());
    EXPECT_LE(metrics.ascent() + metrics.descent(), 20);
    EXPECT_GE(metrics.ascent() + metrics.descent(), 17);
    EXPECT_EQ(edit->maxLength(), int(kSearchTextLimit));
    QImage image = dialog->grab().toImage();
    image.save(QStringLiteral(SOLMAR_ARTIFACT_DIR "/search_dialog.png"));
    dialog->reject();
  });
  OpenSearchDialog(owner_);
  EXPECT_EQ(shown, kWord);
  EXPECT_EQ(selected, kWord);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(gReaderSettings.searchString)), StoredWord());
}

// A tap lands where the reader expects: in front of the caret in reading order, so a letter
// tapped with the caret after "בר" (at the left end) follows it.
TEST_F(QtSearchDialogTest, TapAfterTypingContinuesTheWord) {
  const Outcome mixed = Enter([](QDialog* dialog, QLineEdit* edit) {
    for (QChar c : kWord.left(3)) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
    for (QChar c : kWord.mid(3)) Tap(dialog, c);
  });
  EXPECT_EQ(mixed.boxText, kWord);
  EXPECT_EQ(mixed.stored, StoredWord());
}

TEST(QtKeyboardPicture, LettersAreTheDialogsLayout) {
  EXPECT_STREQ(platform::qt::KeyboardPictureLetters(), KeyboardLayout);
}

}  // namespace
