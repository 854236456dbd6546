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
#include "search/typed_patterns.h"
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

// What came of text put in the box and confirmed with Enter.
struct Confirmed {
  std::string stored;
  QString boxText;
  QStringList messages;  // every message box's text, in order
  bool stillOpen = false;
};

class QtSearchInputTest : public QtSearchDialogTest {
 protected:
  Confirmed Confirm(const std::function<void(QLineEdit*)>& input) {
    Confirmed out;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&out] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        out.messages << box->text();
        box->accept();
      }
    });
    answerer.start(10);
    QTimer::singleShot(0, [&] {
      QDialog* dialog = RunningDialog();
      ASSERT_NE(dialog, nullptr);
      auto* edit = dialog->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      edit->setFocus();
      input(edit);
      QTest::keyClick(edit, Qt::Key_Return);
      out.stored = reinterpret_cast<const char*>(gReaderSettings.searchString);
      out.boxText = edit->text();
      out.stillOpen = RunningDialog() != nullptr;
      if (out.stillOpen) QTest::keyClick(edit, Qt::Key_Escape);
    });
    OpenSearchDialog(owner_);
    return out;
  }
};

// Every input of the table, pasted into the real box: the stored string (the search then
// finds nothing, the book not being loaded here), or a box naming the character the book
// cannot hold, with the text left in the box and the stored string as it was.
TEST_F(QtSearchInputTest, PastedPatternsTable) {
  for (const typed_patterns::TypedPattern& row : typed_patterns::Table()) {
    SCOPED_TRACE(row.what);
    std::memcpy(gReaderSettings.searchString, "before", 7);
    const QString input = QString::fromUtf16(row.input.data(), qsizetype(row.input.size()));
    const Confirmed out = Confirm([&](QLineEdit* edit) {
      QApplication::clipboard()->setText(input);
      edit->paste();
    });
    ASSERT_EQ(out.messages.size(), 1);
    EXPECT_TRUE(out.stillOpen);
    if (!row.refused) {
      EXPECT_EQ(out.stored, typed_patterns::LetterCode(row.stored));
      EXPECT_EQ(out.messages[0], "Not Found!");
      continue;
    }
    EXPECT_EQ(out.stored, "before");
    EXPECT_EQ(out.boxText, input);
    EXPECT_TRUE(out.messages[0].contains(QStringLiteral("(U+%1)").arg(uint(row.refused), 4, 16, QChar('0')).toUpper()))
        << out.messages[0].toStdString();
  }
}

// Keys pressed with the keyboard in its Latin layout type the Hebrew letters of the same
// keys, in reading order; pasted Latin stays Latin (and is refused).
TEST_F(QtSearchInputTest, LatinLayoutTypesHebrew) {
  const Confirmed typed = Confirm([](QLineEdit* edit) { QTest::keyClicks(edit, "nafi"); });
  EXPECT_EQ(typed.boxText, QString::fromUtf16(u"משכן"));
  EXPECT_EQ(typed.stored, "plzo");
  const Confirmed punctuation = Confirm([](QLineEdit* edit) { QTest::keyClicks(edit, "vtr,"); });
  EXPECT_EQ(punctuation.boxText, QString::fromUtf16(u"הארת"));
  const Confirmed pasted = Confirm([](QLineEdit* edit) {
    QApplication::clipboard()->setText("nafi");
    edit->paste();
  });
  EXPECT_EQ(pasted.boxText, "nafi");
  ASSERT_EQ(pasted.messages.size(), 1);
  EXPECT_TRUE(pasted.messages[0].contains("(U+006E)"));
  // With Control held a letter is a shortcut, not a letter: select all, then type over it.
  const Confirmed shortcut = Confirm([](QLineEdit* edit) {
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "b");
  });
  EXPECT_EQ(shortcut.boxText, QString::fromUtf16(u"נ"));
}

// A bracket typed in the box reads as typed and is stored mirrored, as the book stores it,
// so the stored string finds the book's "[היצא]" and comes back as typed.
TEST_F(QtSearchInputTest, BracketsAreStoredMirrored) {
  const Confirmed typed = Confirm([](QLineEdit* edit) {
    for (QChar c : QString::fromUtf16(u"[היצא]"))
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
  });
  EXPECT_EQ(typed.stored, typed_patterns::LetterCode(u"[אציה]"));
  QString shown;
  QTimer::singleShot(0, [&] {
    QDialog* dialog = RunningDialog();
    ASSERT_NE(dialog, nullptr);
    shown = dialog->findChild<QLineEdit*>()->text();
    dialog->reject();
  });
  OpenSearchDialog(owner_);
  EXPECT_EQ(shown, QString::fromUtf16(u"[היצא]"));
}

TEST(QtKeyboardPicture, LettersAreTheDialogsLayout) {
  EXPECT_STREQ(platform::qt::KeyboardPictureLetters(), KeyboardLayout);
}

}  // namespace
