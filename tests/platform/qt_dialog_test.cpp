// Dialogs of the Qt backend, off screen: Qt's events and signals must reach the procedure as
// the seam's messages, and the control operations must act on the widgets. A recording
// procedure stands in for the dialogs; a step run from the event loop plays the user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <set>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/platform.h"
#include "platform/qt/qt_window_access.h"

namespace {

using platform::Window;

struct Message {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};
std::vector<Message> gMessages;
// Commands with these ids end the dialog with the id.
std::vector<int> gEndingCommands;

intptr_t Recording(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  gMessages.push_back({message, wParam, lParam});
  if (message == platform::kMsgCommand)
    for (int id : gEndingCommands)
      if (int(platform::LowWord(wParam)) == id) platform::EndDialog(dialog, id);
  return message == platform::kMsgKeyDown ? 1 : 0;
}

std::vector<Message> Received(uint32_t message) {
  std::vector<Message> out;
  for (const Message& m : gMessages)
    if (m.message == message) out.push_back(m);
  return out;
}

intptr_t OwnerProc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

class QtDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qt_dialog_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    platform::RegisterWindowClass({0, OwnerProc, nullptr, nullptr, u"DialogOwner"});
  }
  void SetUp() override {
    gMessages.clear();
    gEndingCommands = {platform::kIdOk, platform::kIdCancel};
    owner_ = platform::CreateWindow(0, u"DialogOwner", u"DialogOwner", platform::kWsVisible, 40, 30, 500, 600,
                                    nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    platform::DestroyWindow(owner_);
    QCoreApplication::processEvents();
  }
  // Runs template id; step gets the running dialog from the event loop and must end it.
  intptr_t Run(uint32_t id, const std::function<void(Window*, QDialog*)>& step) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      QDialog* frame = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) frame = d;
      ASSERT_NE(frame, nullptr);
      step(platform::qt::HandleOf(frame), frame);
      ran = true;
    });
    const intptr_t result = platform::DialogBox(id, owner_, Recording, 77);
    EXPECT_TRUE(ran);
    return result;
  }
  Window* owner_ = nullptr;
};

TEST_F(QtDialogTest, MessagesFromInitToDestroyAndEscapeCancels) {
  EXPECT_EQ(Run(115,
                [](Window*, QDialog* frame) {
                  QTest::keyClick(frame->findChild<QLineEdit*>(), Qt::Key_Escape);
                }),
            platform::kIdCancel);
  ASSERT_FALSE(gMessages.empty());
  EXPECT_EQ(gMessages.front().message, platform::kMsgInitDialog);
  EXPECT_EQ(gMessages.front().lParam, 77);
  EXPECT_EQ(gMessages.back().message, platform::kMsgDestroy);
  const std::vector<Message> commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, uintptr_t(platform::MakeLong(platform::kIdCancel, platform::kBnClicked)));
  EXPECT_EQ(commands[0].lParam, 0);
}

TEST_F(QtDialogTest, EnterIsOkAndTheCloseButtonCancelsOnlyWhenTheProcedureEnds) {
  gEndingCommands = {platform::kIdOk};
  EXPECT_EQ(Run(115,
                [](Window*, QDialog* frame) {
                  frame->close();  // Cancel, which this procedure ignores: the dialog stays
                  EXPECT_TRUE(frame->isVisible());
                  QTest::keyClick(frame->findChild<QLineEdit*>(), Qt::Key_Return);
                }),
            platform::kIdOk);
  const std::vector<Message> commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(platform::LowWord(commands[0].wParam), uint32_t(platform::kIdCancel));
  EXPECT_EQ(platform::LowWord(commands[1].wParam), uint32_t(platform::kIdOk));
}

TEST_F(QtDialogTest, ButtonBesideOkSitsLeftOfItAndSendsItsCommand) {
  gEndingCommands = {1014};
  EXPECT_EQ(Run(115,
                [](Window*, QDialog* frame) {
                  QPushButton* ok = frame->findChild<QPushButton*>(QStringLiteral("SolmarDialogOk"));
                  QPushButton* all = nullptr;
                  for (QPushButton* b : frame->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("Find &All")) all = b;
                  ASSERT_NE(ok, nullptr);
                  ASSERT_NE(all, nullptr);
                  EXPECT_EQ(all->parentWidget(), frame);
                  EXPECT_EQ(all->geometry().top(), ok->geometry().top());
                  EXPECT_LT(all->geometry().right(), ok->geometry().left());
                  all->click();
                }),
            1014);
  const std::vector<Message> commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, uintptr_t(platform::MakeLong(1014, platform::kBnClicked)));
}

TEST_F(QtDialogTest, ControlsSitAtTheirDialogUnitsAndTheDialogOverItsOwner) {
  Run(115, [](Window* dialog, QDialog* frame) {
    const uint32_t units = platform::GetDialogBaseUnits();
    QWidget* edit = platform::qt::WidgetOf(platform::GetDialogItem(dialog, 1013));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(platform::DialogUnitsToPixelsX(7, units), platform::DialogUnitsToPixelsY(21, units),
                                      platform::DialogUnitsToPixelsX(112, units),
                                      platform::DialogUnitsToPixelsY(43, units)));
    platform::Rect client{};
    ASSERT_TRUE(platform::GetClientRect(dialog, &client));
    EXPECT_EQ(client.right, platform::DialogUnitsToPixelsX(126, units));
    EXPECT_EQ(client.bottom, platform::DialogUnitsToPixelsY(131, units));
    EXPECT_EQ(frame->parentWidget(), platform::qt::WidgetOf(platform::GetParent(dialog)));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(edit)->alignment() & Qt::AlignRight);
    // A font goes to controls only.
    const QFont before = frame->font();
    platform::FontDescription big{};
    big.height = 40;
    platform::Font* font = platform::CreateFont(big);
    platform::SetWindowFont(dialog, font, true);
    EXPECT_EQ(frame->font(), before);
    platform::SetWindowFont(platform::GetDialogItem(dialog, 1013), font, true);
    EXPECT_NE(edit->font(), before);
    platform::DeleteFont(font);
    frame->reject();
  });
}

TEST_F(QtDialogTest, PressesOnThePictureReachTheDialogInClientPixels) {
  Run(115, [](Window* dialog, QDialog*) {
    QWidget* body = platform::qt::ClientWidgetOf(dialog);
    ASSERT_NE(body, nullptr);
    QTest::mouseClick(body, Qt::LeftButton, Qt::NoModifier, QPoint(30, 200));
    platform::SendMessage(dialog, platform::kMsgCommand, platform::kIdOk, 0);
  });
  const std::vector<Message> presses = Received(platform::kMsgLButtonDown);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].lParam, platform::MakeLong(30, 200));
}

TEST_F(QtDialogTest, OwnScrollBarReportsWithoutAControlAndKeysReachTheProcedure) {
  Run(118, [](Window* dialog, QDialog* frame) {
    platform::SetScrollRange(dialog, 0, 10, true);
    platform::SetScrollPosition(dialog, 3, true);
    auto* bar = frame->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->value(), 3);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 3);  // where the thumb goes is the procedure's decision
    QWidget* body = platform::qt::ClientWidgetOf(dialog);
    body->setFocus();
    QTest::keyClick(body, Qt::Key_PageDown);
    QTest::keyClick(body, Qt::Key_Escape);
  });
  const std::vector<Message> scrolls = Received(platform::kMsgVScroll);
  ASSERT_EQ(scrolls.size(), 1u);
  EXPECT_EQ(platform::LowWord(scrolls[0].wParam), platform::kSbLineDown);
  EXPECT_EQ(scrolls[0].lParam, 0);
  const std::vector<Message> keys = Received(platform::kMsgKeyDown);
  ASSERT_EQ(keys.size(), 1u);  // Escape went to the dialog as Cancel
  EXPECT_EQ(keys[0].wParam, platform::kVkNext);
}

TEST_F(QtDialogTest, ListBoxesAndRadioButtons) {
  Run(105, [](Window* dialog, QDialog* frame) {
    Window* faces = platform::GetDialogItem(dialog, 1001);
    for (const char16_t* name : {u"Nachlieli", u"david", u"Arial", u"DejaVu Sans"}) platform::ListBoxAddString(faces, name);
    char16_t text[16];
    platform::ListBoxGetText(faces, 1, text, 16);
    EXPECT_EQ(std::u16string(text), u"david");
    EXPECT_EQ(platform::ListBoxSelectPrefix(faces, -1, u"DEJ"), 2);
    EXPECT_EQ(platform::ListBoxGetCurrentSelection(faces), 2);
    EXPECT_TRUE(platform::ListBoxSetItemData(faces, 0, 177));
    EXPECT_EQ(platform::ListBoxGetItemData(faces, 0), 177);
    EXPECT_TRUE(Received(platform::kMsgCommand).empty());  // the reader's own changes are not reported
    auto* list = qobject_cast<QListWidget*>(platform::qt::WidgetOf(faces));
    list->setCurrentRow(3);  // as the user would
    platform::CheckDialogButton(dialog, 1004, true);
    auto* unicode = qobject_cast<QRadioButton*>(platform::qt::WidgetOf(platform::GetDialogItem(dialog, 1005)));
    ASSERT_NE(unicode, nullptr);
    unicode->click();
    EXPECT_TRUE(platform::IsDialogButtonChecked(dialog, 1005));
    EXPECT_FALSE(platform::IsDialogButtonChecked(dialog, 1004));
    EXPECT_EQ(platform::ListBoxInsertString(faces, -1, u"Zz"), 4);
    EXPECT_EQ(platform::ListBoxInsertString(faces, 6, u"Zz"), platform::kListBoxError);
    EXPECT_EQ(platform::ListBoxDeleteString(faces, 0), 4);
    platform::ListBoxReset(faces);
    EXPECT_EQ(platform::ListBoxCount(faces), 0);
    frame->reject();
  });
  const std::vector<Message> commands = Received(platform::kMsgCommand);
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, uintptr_t(platform::MakeLong(1001, platform::kLbnSelChange)));
  EXPECT_EQ(commands[1].wParam, uintptr_t(platform::MakeLong(1005, platform::kBnClicked)));
}

// A non-modal dialog with a result list: a procedure that fills 40,000 rows and answers
// each cell with its row and column, marking the first two units of the last column (as
// Find All marks a hit at the very start of an article).
std::set<int> gRowsAsked;
intptr_t ResultListProc(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  gMessages.push_back({message, wParam, lParam});
  Window* list = platform::GetDialogItem(dialog, 1001);
  switch (message) {
    case platform::kMsgInitDialog: {
      static const platform::ResultColumn columns[] = {{u"A", 30}, {u"B", 0}};
      platform::ResultListSetColumns(list, columns, 2);
      platform::ResultListSetRowCount(list, 40000);
      platform::ResultListSetSelection(list, 0);
      platform::SetFocus(list);
      return 0;
    }
    case platform::kMsgGetRowCell: {
      auto* cell = reinterpret_cast<platform::RowCell*>(lParam);
      gRowsAsked.insert(cell->row);
      cell->text = u"r" + std::u16string(1, char16_t(u'0' + cell->row % 10)) + u"c" + char16_t(u'0' + cell->column);
      if (cell->column == 1) cell->markStart = 0, cell->markLength = 2;
      return 1;
    }
    case platform::kMsgCommand:
      if (platform::LowWord(wParam) == uint32_t(platform::kIdCancel)) platform::DestroyWindow(dialog);
      return 1;
    default:
      return 0;
  }
}

TEST_F(QtDialogTest, NonModalResultListDrawsOnlyVisibleRows) {
  gRowsAsked.clear();
  Window* dialog = platform::CreateDialog(125, owner_, ResultListProc, 5);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  ASSERT_FALSE(gMessages.empty());
  EXPECT_EQ(gMessages.front().message, platform::kMsgInitDialog);
  EXPECT_EQ(gMessages.front().lParam, 5);
  Window* list = platform::GetDialogItem(dialog, 1001);
  auto* view = qobject_cast<QTreeView*>(platform::qt::WidgetOf(list));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->layoutDirection(), Qt::RightToLeft);
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("B"));
  EXPECT_EQ(view->model()->columnCount(), 2);
  EXPECT_EQ(platform::ResultListRowCount(list), 40000);
  EXPECT_EQ(platform::ResultListGetSelection(list), 0);

  // Painted: the first screen of rows is asked for, not the rest; the mark shows yellow.
  const QImage shot = view->grab().toImage();
  EXPECT_FALSE(gRowsAsked.empty());
  EXPECT_LT(gRowsAsked.size(), 200u);
  EXPECT_EQ(view->model()->data(view->model()->index(3, 0)).toString(), QStringLiteral("r3c0"));
  int yellow = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) yellow += shot.pixel(x, y) == qRgb(255, 255, 0);
  EXPECT_GT(yellow, 0);

  // Keys: Down moves the selection; Enter is OK, once.
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_EQ(platform::ResultListGetSelection(list), 1);
  QTest::keyClick(view, Qt::Key_Return);
  // A double click selects the row and says so.
  const QRect row2 = view->visualRect(view->model()->index(2, 0));
  // As the window system delivers one: press, release, then the second press as a double click.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row2.center());
  QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(row2.center()), view->viewport()->mapToGlobal(QPointF(row2.center())),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &twice);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, row2.center());
  EXPECT_EQ(platform::ResultListGetSelection(list), 2);
  std::vector<Message> commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, uintptr_t(platform::MakeLong(platform::kIdOk, platform::kBnClicked)));
  EXPECT_EQ(commands[1].wParam, uintptr_t(platform::MakeLong(1001, platform::kLbnDblClk)));
  EXPECT_EQ(commands[1].lParam, intptr_t(list));

  EXPECT_EQ(platform::ResultListSetSelection(list, 40000), platform::kListBoxError);
  EXPECT_EQ(platform::ResultListGetSelection(list), platform::kListBoxError);
  EXPECT_EQ(platform::ResultListSetSelection(list, 39999), 39999);
  platform::ResultListSetRowCount(list, 3);
  EXPECT_EQ(platform::ResultListRowCount(list), 3);

  // Escape is Cancel; the procedure destroys the dialog, which then gets its last message.
  QTest::keyClick(view, Qt::Key_Escape);
  EXPECT_EQ(gMessages.back().message, platform::kMsgDestroy);
  EXPECT_EQ(platform::qt::WidgetOf(dialog), nullptr);
  QCoreApplication::processEvents();
}

TEST_F(QtDialogTest, UnknownTemplateCannotBeMade) {
  EXPECT_EQ(platform::DialogBox(999, owner_, Recording, 0), -1);
  EXPECT_EQ(platform::CreateDialog(999, owner_, Recording, 0), nullptr);
  EXPECT_TRUE(gMessages.empty());
}

// In a right-to-left interface the search dialog is the mirror image of its template: each
// control as far from the right edge as the template puts it from the left, the OK strip
// from the left, and a press lands where the procedure laid its controls out.
TEST_F(QtDialogTest, RightToLeftDialogIsTheMirrorOfItsTemplate) {
  QGuiApplication::setLayoutDirection(Qt::RightToLeft);
  Run(115, [](Window* dialog, QDialog* frame) {
    const uint32_t units = platform::GetDialogBaseUnits();
    const int width = platform::DialogUnitsToPixelsX(126, units);
    const int x7 = platform::DialogUnitsToPixelsX(7, units);
    QWidget* edit = platform::qt::WidgetOf(platform::GetDialogItem(dialog, 1013));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->x(), width - x7 - platform::DialogUnitsToPixelsX(112, units));
    EXPECT_EQ(edit->y(), platform::DialogUnitsToPixelsY(21, units));
    QLabel* picture = nullptr;
    for (QLabel* label : frame->findChildren<QLabel*>())
      if (!label->pixmap().isNull()) picture = label;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->x(), width - x7 - picture->width());
    // The centred caption above the edit box stays centred.
    for (QLabel* label : frame->findChildren<QLabel*>())
      if (label->pixmap().isNull()) {
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
      }

    // OK at the left, the button beside it to its right.
    QPushButton* ok = frame->findChild<QPushButton*>(QStringLiteral("SolmarDialogOk"));
    ASSERT_NE(ok, nullptr);
    for (QPushButton* b : frame->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
      if (b != ok) {
        EXPECT_GT(b->geometry().left(), ok->geometry().right());
      }
    EXPECT_LT(ok->x(), frame->width() / 2);

    // The picture's first column is the template's; outside the controls the point is mirrored.
    QWidget* body = platform::qt::ClientWidgetOf(dialog);
    QTest::mouseClick(body, Qt::LeftButton, Qt::NoModifier, QPoint(picture->x() + 3, picture->y() + 5));
    QTest::mouseClick(body, Qt::LeftButton, Qt::NoModifier, QPoint(2, 3));

    // The procedure's own placing is mirrored too, and a wider dialog keeps the controls at
    // their distance from the right edge.
    platform::MoveWindow(platform::GetDialogItem(dialog, 1013), 10, 20, 30, 40, false);
    EXPECT_EQ(edit->geometry(), QRect(width - 10 - 30, 20, 30, 40));
    // The search dialog keeps one size; here it is widened as a dialog with lists may be.
    frame->setFixedSize(frame->width() + 50, frame->height());
    EXPECT_EQ(edit->geometry(), QRect(width + 50 - 10 - 30, 20, 30, 40));
    EXPECT_EQ(picture->x(), width + 50 - x7 - picture->width());
    platform::SendMessage(dialog, platform::kMsgCommand, platform::kIdOk, 0);
  });
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
  const std::vector<Message> presses = Received(platform::kMsgLButtonDown);
  ASSERT_EQ(presses.size(), 2u);
  const uint32_t units = platform::GetDialogBaseUnits();
  EXPECT_EQ(presses[0].lParam, platform::MakeLong(uint32_t(platform::DialogUnitsToPixelsX(7, units) + 3),
                                                  uint32_t(platform::DialogUnitsToPixelsY(71, units) + 5)));
  EXPECT_EQ(presses[1].lParam, platform::MakeLong(uint32_t(platform::DialogUnitsToPixelsX(126, units) - 1 - 2), 3));
}

// Text kept to the left of its place in the template keeps to the right when mirrored.
TEST_F(QtDialogTest, RightToLeftKeepsLeftAlignedTextToTheRight) {
  QGuiApplication::setLayoutDirection(Qt::RightToLeft);
  Run(103, [](Window*, QDialog* frame) {
    int texts = 0;
    for (QLabel* label : frame->findChildren<QLabel*>()) {
      if (!label->pixmap().isNull()) continue;
      ++texts;
      EXPECT_TRUE(label->alignment() & Qt::AlignRight) << label->text().toStdString();
      EXPECT_FALSE(label->alignment() & Qt::AlignLeft);
    }
    EXPECT_EQ(texts, 3);
    frame->reject();
  });
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

// A dialog that draws itself, as the panes do, keeps its drawing and its points as they
// are; only its scroll bar moves to the left edge.
TEST_F(QtDialogTest, RightToLeftLeavesADialogWithoutControlsAsItIs) {
  QGuiApplication::setLayoutDirection(Qt::RightToLeft);
  Run(118, [](Window* dialog, QDialog* frame) {
    QScrollBar* bar = frame->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->x(), 0);
    QTest::mouseClick(platform::qt::ClientWidgetOf(dialog), Qt::LeftButton, Qt::NoModifier, QPoint(4, 6));
    platform::SendMessage(dialog, platform::kMsgCommand, platform::kIdOk, 0);
  });
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
  const std::vector<Message> presses = Received(platform::kMsgLButtonDown);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].lParam, platform::MakeLong(4, 6));
}

}  // namespace
