// The Qt backend's windows, menus, bars and message loop: Qt events must arrive as the
// reader's messages with the documented parameters. A recording window procedure stands
// in for the reader. Runs on Qt's off-screen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_window_access.h"

namespace {

using platform::Window;

struct Message {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

std::vector<Message> gMessages;
intptr_t gKeyAnswer = 0;
// What the recording window shows: a rectangle outlined in black here (none when empty).
platform::Rect gSquare{};

intptr_t RecordingProc(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  gMessages.push_back({message, wParam, lParam});
  if (message == platform::kMsgPaint && gSquare.right > gSquare.left) {
    platform::DrawRectangle(platform::BeginPaint(window), gSquare);
    platform::EndPaint(window);
  }
  return message == platform::kMsgKeyDown ? gKeyAnswer : 0;
}

// The parts of a widget its paint events were for.
class PaintRegions : public QObject {
 public:
  explicit PaintRegions(QWidget* widget) { widget->installEventFilter(this); }
  QRegion seen;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) seen += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

std::vector<Message> Received(uint32_t message) {
  std::vector<Message> out;
  for (const Message& m : gMessages)
    if (m.message == message) out.push_back(m);
  return out;
}

const platform::MenuItemTemplate kItems[] = {{10, u"&First\bCtrl+F"}, {0, nullptr}, {11, u"Second"},
                                             {21, u"Small"},          {22, u"Big"}};
const platform::PopupTemplate kPopups[] = {{u"&Go", kItems, 3}, {u"&Size", kItems + 3, 2}};
const platform::MenuTemplate kMenu = {kPopups, 2};
const platform::MenuBarButton kButtons[] = {{40001, u"Go", 0}, {40003, u"Size", 1}};

class QtWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_window_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    platform::RegisterWindowClass({platform::kCsHRedraw | platform::kCsVRedraw, RecordingProc, nullptr, nullptr,
                                   u"Recorder"});
  }
  void SetUp() override {
    gMessages.clear();
    gKeyAnswer = 0;
    platform::qt::SetDefaultWindowSize(300, 400);
    window_ = platform::CreateWindow(0, u"Recorder", u"Recorder", platform::kWsVisible, platform::kUseDefault,
                                     platform::kUseDefault, platform::kUseDefault, platform::kUseDefault, nullptr,
                                     nullptr);
    ASSERT_NE(window_, nullptr);
    frame_ = qobject_cast<QMainWindow*>(platform::qt::WidgetOf(window_));
    client_ = platform::qt::ClientWidgetOf(window_);
    ASSERT_TRUE(frame_ && client_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_));
    ASSERT_TRUE(platform::qt::SettleWindow(window_, 2000));
  }
  void TearDown() override {
    if (platform::qt::WidgetOf(window_)) platform::DestroyWindow(window_);
    QCoreApplication::processEvents();
  }

  Window* window_ = nullptr;
  QMainWindow* frame_ = nullptr;
  QWidget* client_ = nullptr;
};

TEST_F(QtWindowTest, CreationSizeAndPaintArriveAsMessages) {
  ASSERT_FALSE(gMessages.empty());
  EXPECT_EQ(gMessages.front().message, platform::kMsgCreate);
  const auto sizes = Received(platform::kMsgSize);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(platform::LowWord(uintptr_t(sizes.back().lParam)), uint32_t(client_->width()));
  EXPECT_EQ(platform::HighWord(uintptr_t(sizes.back().lParam)), uint32_t(client_->height()));
  EXPECT_EQ(Received(platform::kMsgPaint).size(), 1u);
  platform::Rect client{};
  ASSERT_TRUE(platform::GetClientRect(window_, &client));
  EXPECT_EQ(client.right, client_->width());
  EXPECT_NE(platform::GetWindowDc(window_), nullptr);

  // A new size repaints whole.
  gMessages.clear();
  frame_->resize(320, 420);
  QTest::qWait(50);
  client_->repaint();
  EXPECT_EQ(Received(platform::kMsgSize).size(), 1u);
  EXPECT_FALSE(Received(platform::kMsgPaint).empty());
}

// Drawing outside a paint draws nothing itself: it marks what it covers, and the paint that
// follows asks the window for it, over the ground, clipped to the marks.
TEST_F(QtWindowTest, DrawingOutsideAPaintIsPaintedByTheNextPaint) {
  const QColor ground = client_->grab().toImage().pixelColor(150, 150);
  PaintRegions regions(client_);
  platform::Dc* dc = platform::GetWindowDc(window_);
  gSquare = {10, 10, 30, 20};
  gMessages.clear();
  platform::DrawRectangle(dc, gSquare);
  platform::FillRect(dc, {40, 10, 50, 30}, platform::StockBrush(platform::kStockBlackBrush));
  platform::DrawTextCentred(dc, u"ab", 2, {100, 50, 200, 100});
  int32_t width = 0, height = 0;
  platform::TextExtent(dc, u"ab", 2, &width, &height);
  EXPECT_TRUE(Received(platform::kMsgPaint).empty());
  QTest::qWait(20);
  client_->repaint(0, 0, 1, 1);  // offscreen: nothing is exposed unless asked
  EXPECT_GE(Received(platform::kMsgPaint).size(), 1u);
  const QRegion marked = QRegion(10, 10, 20, 10) + QRegion(40, 10, 10, 20) +
                         QRegion(100 + (100 - width) / 2, 50 + (50 - height) / 2, width, height) + QRegion(0, 0, 1, 1);
  EXPECT_EQ(regions.seen, marked);

  // What shows is what the paint drew, the outline's four edges inside the rectangle; the
  // fill made outside a paint is not there.
  const QImage shot = client_->grab().toImage();
  for (const QPoint& edge : {QPoint(10, 15), QPoint(29, 15), QPoint(15, 10), QPoint(15, 19)})
    EXPECT_EQ(shot.pixelColor(edge), QColor(Qt::black)) << edge.x() << "," << edge.y();
  for (const QPoint& outside : {QPoint(9, 15), QPoint(30, 15), QPoint(15, 9), QPoint(15, 20), QPoint(45, 15)})
    EXPECT_EQ(shot.pixelColor(outside), ground) << outside.x() << "," << outside.y();
  gSquare = {};
  EXPECT_EQ(client_->grab().toImage().pixelColor(10, 15), ground);
  EXPECT_NE(ground, QColor(Qt::black));
}

TEST_F(QtWindowTest, KeysTapsAndWheelArriveWithTheirParameters) {
  QTest::keyClick(client_, Qt::Key_Right);
  QTest::keyClick(client_, Qt::Key_PageDown);
  QTest::keyClick(client_, Qt::Key_F3);
  QTest::keyClick(client_, Qt::Key_Exclam);  // no key code: not sent
  const auto keys = Received(platform::kMsgKeyDown);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].wParam, platform::kVkRight);
  EXPECT_EQ(keys[1].wParam, platform::kVkNext);
  EXPECT_EQ(keys[2].wParam, platform::kVkF3);
  // F1 the window does not handle becomes the help request.
  gKeyAnswer = 1;
  QTest::keyClick(client_, Qt::Key_F1);
  EXPECT_EQ(Received(platform::kMsgHelp).size(), 1u);

  QTest::mouseClick(client_, Qt::LeftButton, Qt::NoModifier, QPoint(17, 230));
  const auto taps = Received(platform::kMsgLButtonDown);
  ASSERT_EQ(taps.size(), 1u);
  EXPECT_EQ(taps[0].lParam, platform::MakeLong(17, 230));
  EXPECT_EQ(taps[0].wParam, platform::kMkLButton | platform::kMkFromMouse);

  QWheelEvent wheel(QPointF(40, 50), client_->mapToGlobal(QPointF(40, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(client_, &wheel);
  QWheelEvent ctrlWheel(QPointF(40, 50), client_->mapToGlobal(QPointF(40, 50)), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(client_, &ctrlWheel);
  const auto wheels = Received(platform::kMsgMouseWheel);
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(int16_t(platform::HighWord(wheels[0].wParam)), -120);
  EXPECT_EQ(platform::LowWord(wheels[0].wParam), 0u);
  EXPECT_EQ(wheels[0].lParam, platform::MakeLong(40, 50));
  EXPECT_EQ(int16_t(platform::HighWord(wheels[1].wParam)), 120);
  EXPECT_EQ(platform::LowWord(wheels[1].wParam), platform::kMkControl);
}

// A touch on the screen reaches the reader as a tap without the mouse mark, so that it
// keeps the stylus rules.
TEST_F(QtWindowTest, TouchTapsAreNotMouseClicks) {
  static QPointingDevice* touchScreen = QTest::createTouchDevice();
  QTest::touchEvent(frame_->windowHandle(), touchScreen).press(0, client_->mapTo(frame_, QPoint(30, 40)));
  QTest::touchEvent(frame_->windowHandle(), touchScreen).release(0, client_->mapTo(frame_, QPoint(30, 40)));
  QCoreApplication::processEvents();
  const auto taps = Received(platform::kMsgLButtonDown);
  ASSERT_EQ(taps.size(), 1u);
  EXPECT_EQ(taps[0].lParam, platform::MakeLong(30, 40));
  EXPECT_EQ(taps[0].wParam & platform::kMkFromMouse, 0u);
}

// A press Qt did not make from a touch carries the mouse mark only when its device is a
// mouse or a touchpad; a pen or a touch screen keeps the stylus rules.
TEST_F(QtWindowTest, OnlyMiceAndTouchpadsClickAsAMouse) {
  using Type = QInputDevice::DeviceType;
  static QPointingDevice mouse(QStringLiteral("mouse"), 101, Type::Mouse, QPointingDevice::PointerType::Generic,
                               QInputDevice::Capability::Position, 1, 3);
  static QPointingDevice touchpad(QStringLiteral("touchpad"), 102, Type::TouchPad,
                                  QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 5, 2);
  static QPointingDevice pen(QStringLiteral("pen"), 103, Type::Stylus, QPointingDevice::PointerType::Pen,
                             QInputDevice::Capability::Position, 1, 1);
  static QPointingDevice screen(QStringLiteral("screen"), 104, Type::TouchScreen,
                                QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 5, 0);
  const struct {
    const QPointingDevice* device;
    bool fromMouse;
  } cases[] = {{&mouse, true}, {&touchpad, true}, {&pen, false}, {&screen, false}};
  for (const auto& c : cases) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 30), client_->mapToGlobal(QPointF(20, 30)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, c.device);
    QApplication::sendEvent(client_, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 30), client_->mapToGlobal(QPointF(20, 30)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier, c.device);
    QApplication::sendEvent(client_, &release);
    const auto taps = Received(platform::kMsgLButtonDown);
    ASSERT_FALSE(taps.empty()) << c.device->name().toStdString();
    EXPECT_EQ((taps.back().wParam & platform::kMkFromMouse) != 0, c.fromMouse) << c.device->name().toStdString();
  }
}

TEST_F(QtWindowTest, ScrollBarReportsActionsAndKeepsTheReadersPosition) {
  Window* bar = platform::CreateWindow(0, u"SCROLLBAR", u"Top", 0x50000003, 200, 10, platform::kUseDefault,
                                       platform::kUseDefault, window_, nullptr);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(platform::MoveWindow(bar, 200, 10, 16, 300, true));
  auto* scrollBar = qobject_cast<QScrollBar*>(platform::qt::WidgetOf(bar));
  ASSERT_NE(scrollBar, nullptr);
  EXPECT_EQ(scrollBar->geometry(), QRect(200, 10, 16, 300));
  platform::SetScrollRange(bar, 0, 20, false);
  platform::SetScrollPosition(bar, 5, true);
  EXPECT_EQ(scrollBar->value(), 5);
  platform::SetScrollPosition(bar, 50, true);  // pulled into the range
  EXPECT_EQ(scrollBar->value(), 20);
  platform::SetScrollPosition(bar, 5, true);

  const struct {
    QAbstractSlider::SliderAction action;
    uint32_t code;
  } cases[] = {{QAbstractSlider::SliderSingleStepAdd, platform::kSbLineDown},
               {QAbstractSlider::SliderSingleStepSub, platform::kSbLineUp},
               {QAbstractSlider::SliderPageStepAdd, platform::kSbPageDown},
               {QAbstractSlider::SliderPageStepSub, platform::kSbPageUp},
               {QAbstractSlider::SliderToMinimum, platform::kSbTop},
               {QAbstractSlider::SliderToMaximum, platform::kSbBottom}};
  for (const auto& c : cases) {
    gMessages.clear();
    scrollBar->triggerAction(c.action);
    const auto scrolls = Received(platform::kMsgVScroll);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(platform::LowWord(scrolls[0].wParam), c.code);
    EXPECT_EQ(scrolls[0].lParam, intptr_t(bar));
    // The reader did not move the bar, so neither does the widget.
    EXPECT_EQ(scrollBar->value(), 5);
  }

  // The page sizes the thumb and leaves range and position alone.
  platform::SetScrollPage(bar, 12);
  EXPECT_EQ(scrollBar->pageStep(), 12);
  EXPECT_EQ(scrollBar->maximum(), 20);
  EXPECT_EQ(scrollBar->value(), 5);
}

TEST_F(QtWindowTest, MenusSendCommandsAndShowOnlyTheReadersMarks) {
  Window* bar = platform::CreateMenuBar(window_, kMenu, kButtons, 2, platform::kMenuBarHideInputPanelButton);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(platform::BarHeight(bar), 0);  // outside the client area
  const QList<QAction*> popups = frame_->menuBar()->actions();
  ASSERT_EQ(popups.size(), 2);
  EXPECT_EQ(popups[0]->text(), QStringLiteral("&Go"));
  const QList<QAction*> items = popups[0]->menu()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), QStringLiteral("&First\tCtrl+F"));
  EXPECT_TRUE(items[1]->isSeparator());

  platform::Menu* go = platform::BarMenu(bar, 40001);
  platform::Menu* size = platform::BarMenu(bar, 40003);
  ASSERT_TRUE(go && size);
  EXPECT_FALSE(platform::CheckMenuItem(go, 11, true));
  EXPECT_TRUE(items[2]->isChecked());
  EXPECT_TRUE(platform::IsMenuItemChecked(go, 11));
  EXPECT_FALSE(platform::IsMenuItemChecked(go, 21));  // not in this popup

  // A click sends the command; the mark stays what the reader set.
  items[2]->trigger();
  const auto commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(platform::LowWord(commands[0].wParam), 11u);
  EXPECT_TRUE(items[2]->isChecked());
  EXPECT_TRUE(platform::IsMenuItemChecked(go, 11));

  ASSERT_TRUE(platform::CheckMenuRadioItem(size, 21, 22, 22));
  const QList<QAction*> sizes = popups[1]->menu()->actions();
  EXPECT_FALSE(sizes[0]->isChecked());
  EXPECT_TRUE(sizes[1]->isChecked());
  EXPECT_NE(sizes[1]->actionGroup(), nullptr);  // drawn as a radio mark
  sizes[0]->trigger();
  EXPECT_TRUE(sizes[1]->isChecked());
  EXPECT_FALSE(platform::CheckMenuRadioItem(size, 21, 22, 99));
}

TEST_F(QtWindowTest, ToolButtonsCarryImagesTipsAndCommands) {
  Window* bar = platform::CreateMenuBar(window_, kMenu, kButtons, 2, 0);
  const char16_t* tips[] = {u"", u"Back", u"Forward"};
  ASSERT_TRUE(platform::BarAddTips(bar, tips, 3));
  EXPECT_EQ(platform::BarAddBitmap(bar, 114, 6, 16, 16), 0);
  // The last two name pictures beyond the strip of six: they get none.
  const platform::ToolButton buttons[] = {{0, 110}, {2, 109}, {6, 112}, {99, 113}};
  ASSERT_TRUE(platform::BarAddButtons(bar, buttons, 4));
  platform::ShowWindow(bar, platform::kSwShow);
  auto* toolBar = frame_->findChild<QToolBar*>();
  ASSERT_NE(toolBar, nullptr);
  const QList<QAction*> actions = toolBar->actions();
  ASSERT_EQ(actions.size(), 4);
  EXPECT_EQ(actions[0]->toolTip(), QStringLiteral("Back"));
  EXPECT_EQ(actions[1]->toolTip(), QStringLiteral("Forward"));
  EXPECT_FALSE(actions[0]->icon().isNull());
  EXPECT_TRUE(actions[2]->icon().isNull() && actions[3]->icon().isNull());
  actions[1]->trigger();
  const auto commands = Received(platform::kMsgCommand);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(platform::LowWord(commands[0].wParam), 109u);
}

// Runs before any test asks the loop to quit: Qt's modal loops end at once after that.
// Escape and the close button never pick the answer that acts.
TEST_F(QtWindowTest, DismissedMessageBoxesAnswerTheHarmlessButton) {
  struct Case {
    uint32_t type;
    bool byEscape;
    int answer;
  };
  for (const Case& c : {Case{platform::kMbYesNoCancel, true, platform::kIdNo},
                        Case{platform::kMbYesNoCancel, false, platform::kIdNo},
                        Case{platform::kMbYesNo, true, platform::kIdNo},
                        Case{platform::kMbOkCancel, true, platform::kIdCancel},
                        Case{platform::kMbOk, false, platform::kIdOk}}) {
    QTimer::singleShot(50, [&c] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      if (c.byEscape)
        QTest::keyClick(box, Qt::Key_Escape);
      else
        box->close();
    });
    EXPECT_EQ(platform::MessageBox(window_, u"Remove?", u"Question", c.type), c.answer)
        << c.type << (c.byEscape ? " escape" : " close");
  }
}

TEST_F(QtWindowTest, AcceleratorsBecomeCommandsAndTheQuitRequestEndsTheLoop) {
  const platform::Accelerator accelerators[] = {{platform::kAccelControl, 'Q', 40005},
                                                {0, uint16_t(platform::kVkF3), 117},
                                                {platform::kAccelControl, uint16_t(platform::kVkOemPlus), 1},
                                                {platform::kAccelControl, uint16_t(platform::kVkAdd), 2},
                                                {platform::kAccelControl, uint16_t(platform::kVkOemMinus), 3},
                                                {platform::kAccelControl, '0', 4}};
  QTimer::singleShot(0, [this] {
    QTest::keyClick(client_, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(client_, Qt::Key_F3);
    // Ctrl with =, + (typed or on the keypad), - (the keypad's too) and 0.
    QTest::keyClick(client_, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(client_, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(client_, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(client_, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    QTest::keyClick(client_, Qt::Key_0, Qt::ControlModifier);
    platform::PostQuitMessage(7);
  });
  EXPECT_EQ(platform::RunMessageLoop(window_, accelerators, 6), 7);
  std::vector<uint32_t> commands;
  for (const Message& m : Received(platform::kMsgCommand)) commands.push_back(platform::LowWord(m.wParam));
  EXPECT_EQ(commands, (std::vector<uint32_t>{40005, 117, 1, 2, 2, 3, 4}));
  // The accelerated keys did not also arrive as key presses.
  EXPECT_TRUE(Received(platform::kMsgKeyDown).empty());
  // A quit asked for before the loop runs ends it at once.
  EXPECT_EQ(platform::RunMessageLoop(window_, nullptr, 0), 7);
}

TEST_F(QtWindowTest, PlacementIsSetAndReadWithoutTheFrame) {
  platform::SetMinimumClientSize(window_, 250, 210);
  EXPECT_EQ(client_->minimumSize(), QSize(250, 210));
  ASSERT_TRUE(platform::SetWindowPlacement(window_, {{40, 30, 440, 530}, false}));
  QCoreApplication::processEvents();
  platform::WindowPlacement placement{};
  ASSERT_TRUE(platform::GetWindowPlacement(window_, &placement));
  EXPECT_EQ(placement.normal.left, 40);
  EXPECT_EQ(placement.normal.top, 30);
  EXPECT_EQ(placement.normal.right, 440);
  EXPECT_EQ(placement.normal.bottom, 530);
  EXPECT_FALSE(placement.maximized);
  // Maximised, it still tells the place it comes back to.
  ASSERT_TRUE(platform::SetWindowPlacement(window_, {{40, 30, 440, 530}, true}));
  QCoreApplication::processEvents();
  ASSERT_TRUE(platform::GetWindowPlacement(window_, &placement));
  EXPECT_TRUE(placement.maximized);
  EXPECT_EQ(placement.normal.right - placement.normal.left, 400);
  platform::Rect screens[4];
  EXPECT_GE(platform::ScreenWorkAreas(screens, 4), 1);
  EXPECT_GT(screens[0].right - screens[0].left, 0);
}

TEST_F(QtWindowTest, ClosingDestroysOnceWithTheDestroyMessage) {
  Window* bar = platform::CreateWindow(0, u"SCROLLBAR", u"Bottom", 0x50000003, 0, 0, 10, 10, window_, nullptr);
  frame_->close();
  EXPECT_EQ(Received(platform::kMsgDestroy).size(), 1u);
  EXPECT_EQ(platform::qt::WidgetOf(window_), nullptr);
  EXPECT_EQ(platform::qt::WidgetOf(bar), nullptr);
  EXPECT_FALSE(platform::DestroyWindow(window_));
  EXPECT_EQ(platform::SendMessage(window_, platform::kMsgKeyDown, platform::kVkRight, 0), 0);
  EXPECT_EQ(Received(platform::kMsgKeyDown).size(), 0u);
  EXPECT_EQ(platform::FindWindow(u"Recorder", u"Recorder"), nullptr);
}

}  // namespace
