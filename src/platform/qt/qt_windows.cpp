// Windows and messages on Qt: the main window is a QMainWindow whose central widget is the
// client area. The client area paints from the window's paint message, through one drawing
// context, into Qt's own backing store; what the window draws outside a paint only marks
// that part to be painted anew. It also turns Qt's events into the reader's messages;
// child scroll bars are QScrollBars on it that report their actions as vertical-scroll
// messages.
#include <QApplication>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStyleHints>
#include <QPainter>
#include <QPointer>
#include <QPointingDevice>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_accessibility.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_startup_time.h"
#include "platform/qt/qt_window_access.h"


namespace platform::qt {

struct WindowClassRecord {
  uint32_t style;
  WindowProc proc;
  Icon* icon;
};

// Internal to the Qt backend (qt_pictures.cpp): the icon of a handle.
QIcon IconOf(Icon* icon);

namespace {

struct WindowsState {
  std::map<QString, WindowClassRecord> classes;
  bool offscreen = false;
  QSize defaultSize;
};

WindowsState& State() {
  static WindowsState state;
  return state;
}

bool Alive(Window* window) { return window && !window->destroyed && window->widget; }

intptr_t Deliver(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window || window->destroyed || !window->proc) return 0;
  return window->proc(window, message, wParam, lParam);
}

// Windows key codes of the keys the reader and its dialogs may look at; 0 for others.
uint32_t VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace: return kVkBack;
    case Qt::Key_Tab: return kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kVkReturn;
    case Qt::Key_Escape: return kVkEscape;
    case Qt::Key_Space: return kVkSpace;
    case Qt::Key_PageUp: return kVkPrior;
    case Qt::Key_PageDown: return kVkNext;
    case Qt::Key_End: return kVkEnd;
    case Qt::Key_Home: return kVkHome;
    case Qt::Key_Left: return kVkLeft;
    case Qt::Key_Up: return kVkUp;
    case Qt::Key_Right: return kVkRight;
    case Qt::Key_Down: return kVkDown;
    case Qt::Key_Insert: return kVkInsert;
    case Qt::Key_Delete: return kVkDelete;
    case Qt::Key_Plus: return kVkAdd;
    case Qt::Key_Equal: return kVkOemPlus;
    case Qt::Key_Minus: return kVkOemMinus;
    default: break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return kVkF1 + uint32_t(key - Qt::Key_F1);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return uint32_t(key);
  return 0;
}

uint32_t Clamp16(int value) { return uint32_t(value < 0 ? 0 : value > 0xFFFF ? 0xFFFF : value); }

// A press of a real mouse (or touchpad), not one Qt or the system made from a touch or a pen.
bool FromMouse(const QMouseEvent* event) {
  if (event->source() != Qt::MouseEventNotSynthesized) return false;
  const QPointingDevice* device = event->pointingDevice();
  if (!device) return true;
  return device->type() == QInputDevice::DeviceType::Mouse || device->type() == QInputDevice::DeviceType::TouchPad;
}

}  // namespace

// The client area of a top-level window.
class ClientArea : public QWidget {
 public:
  ClientArea(Window* window, QWidget* parent, bool dialogBody)
      : QWidget(parent), window_(window), dialogBody_(dialogBody) {
    setObjectName(QStringLiteral("SolmarClient"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    dc_ = CreateImageDc(nullptr);
    dc_->onChanged = [this](const QRect& rect) {
      if (!painting_) update(rect);
    };
  }
  ~ClientArea() override { DeleteImageDc(dc_); }

  Dc* dc() const { return dc_; }
  bool painted() const { return paints_ > 0; }
  // Work the first frame does not need: it runs from the event loop once the first frame
  // is painted (at once, from the loop, when it already is).
  void AfterFirstPaint(std::function<void()> work) {
    if (painted())
      QTimer::singleShot(0, this, std::move(work));
    else
      afterFirstPaint_.push_back(std::move(work));
  }

 protected:
  void resizeEvent(QResizeEvent*) override {
    Deliver(window_, kMsgSize, 0, MakeLong(Clamp16(width()), Clamp16(height())));
    update();
  }

  // Every paint asks the window for all of it over the ground; Qt clips to the part that
  // needs it. The window paints from what it shows, so what it drew outside a paint (and
  // only marked) comes out the same.
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), ToQColor(ChromeColoursNow().ground));
    LendDcPainter(dc_, &painter);
    painting_ = true;
    Deliver(window_, kMsgPaint, 0, 0);
    painting_ = false;
    LendDcPainter(dc_, nullptr);
    PaintDocumentFocus(window_, this, &painter);
    if (paints_++ == 0) {
      if (qEnvironmentVariableIntValue("SOLMAR_REPORT_FIRST_PAINT") == 1)
        std::fprintf(stderr, "solmar: first frame painted %.1f ms after the process started\n",
                     MillisecondsSinceProcessStart());
      for (std::function<void()>& work : afterFirstPaint_) QTimer::singleShot(0, this, std::move(work));
      afterFirstPaint_.clear();
    }
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint p = DialogPointOf(window_, event->position().toPoint());
    uint32_t keys = kMkLButton | (FromMouse(event) ? kMkFromMouse : 0);
    if (event->modifiers() & Qt::ShiftModifier) keys |= kMkShift;
    // Qt tells double clicks but not triple ones: a press soon after a double click, near
    // it, is the third click.
    if (lastDoubleClick_.isValid() && lastDoubleClick_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
        (p - lastDoubleClickAt_).manhattanLength() <= QGuiApplication::styleHints()->startDragDistance()) {
      lastDoubleClick_.invalidate();
      Deliver(window_, kMsgLButtonDblClk, MakeLong(keys, 3), MakeLong(Clamp16(p.x()), Clamp16(p.y())));
      return;
    }
    Deliver(window_, kMsgLButtonDown, keys, MakeLong(Clamp16(p.x()), Clamp16(p.y())));
    FocusDocumentAt(window_, this, p);
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    const QPoint p = event->position().toPoint();
    uint32_t keys = kMkLButton | (FromMouse(event) ? kMkFromMouse : 0);
    if (event->modifiers() & Qt::ShiftModifier) keys |= kMkShift;
    lastDoubleClick_.start();
    lastDoubleClickAt_ = p;
    Deliver(window_, kMsgLButtonDblClk, MakeLong(keys, 2), MakeLong(Clamp16(p.x()), Clamp16(p.y())));
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    Deliver(window_, kMsgMouseMove, kMkLButton, MakeLong(Clamp16(p.x()), Clamp16(p.y())));
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    Deliver(window_, kMsgLButtonUp, FromMouse(event) ? kMkFromMouse : 0, MakeLong(Clamp16(p.x()), Clamp16(p.y())));
  }

  // Tab and Shift+Tab visit the panes one by one before leaving the client area.
  bool focusNextPrevChild(bool next) override {
    if (hasFocus() && MoveDocumentFocus(window_, this, next)) return true;
    return QWidget::focusNextPrevChild(next);
  }
  void focusInEvent(QFocusEvent* event) override {
    EnterDocumentFocus(window_, this, event->reason());
    QWidget::focusInEvent(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    update();  // takes the focus mark away
    QWidget::focusOutEvent(event);
  }

  void wheelEvent(QWheelEvent* event) override {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QWidget::wheelEvent(event);
    const QPoint p = event->position().toPoint();
    uint32_t keys = 0;
    if (event->modifiers() & Qt::ControlModifier) keys |= kMkControl;
    if (event->modifiers() & Qt::ShiftModifier) keys |= kMkShift;
    Deliver(window_, kMsgMouseWheel, uintptr_t(MakeLong(keys, uint32_t(delta))),
            MakeLong(uint32_t(p.x()), uint32_t(p.y())));
    event->accept();
  }

  void keyPressEvent(QKeyEvent* event) override {
    const uint32_t key = VirtualKey(event->key());
    // A dialog answers these keys itself (OK, Cancel, the next control).
    if (dialogBody_ && (key == kVkReturn || key == kVkEscape || key == kVkTab || event->key() == Qt::Key_Backtab))
      return QWidget::keyPressEvent(event);
    if (key && Deliver(window_, kMsgKeyDown, key, (event->modifiers() & Qt::ShiftModifier) ? kKeyWithShift : 0) == 0) {
      event->accept();
      return;
    }
    // F1 that the window leaves alone is the platform's help request.
    if (key == kVkF1 && event->modifiers() == Qt::NoModifier) {
      Deliver(window_, kMsgHelp, 0, 0);
      event->accept();
      return;
    }
    QWidget::keyPressEvent(event);
  }

 private:
  Window* window_;
  bool dialogBody_;
  Dc* dc_ = nullptr;
  bool painting_ = false;
  int paints_ = 0;
  QElapsedTimer lastDoubleClick_;
  QPoint lastDoubleClickAt_;
  std::vector<std::function<void()>> afterFirstPaint_;
};

namespace {

class MainFrame : public QMainWindow {
 public:
  explicit MainFrame(Window* window) : window_(window) { setContextMenuPolicy(Qt::PreventContextMenu); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The platform's close destroys the window, which saves and ends the loop.
    if (!window_->destroyed) DestroyWindow(window_);
    event->accept();
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange && !window_->destroyed)
      Deliver(window_, kMsgActivate, isActiveWindow() ? 1 : 0, 0);
    QMainWindow::changeEvent(event);
  }
  void showEvent(QShowEvent* event) override {
    QMainWindow::showEvent(event);
    if (window_->client) window_->client->setFocus(Qt::OtherFocusReason);
  }

 private:
  Window* window_;
};

QSize DefaultTopLevelSize() {
  const QSize wanted = State().defaultSize.isValid() && !State().defaultSize.isEmpty() ? State().defaultSize
                                                                                      : QSize(540, 800);
  if (State().defaultSize.isValid() && !State().defaultSize.isEmpty()) return wanted;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    // Leave room for the window frame.
    return wanted.boundedTo(QSize(available.width() - 16, available.height() - 48)).expandedTo(QSize(200, 240));
  }
  return wanted;
}

}  // namespace

Window* CreateChildScrollBar(Window* parent, const QString& title, uint32_t style, int32_t x, int32_t y,
                             int32_t width, int32_t height, bool ownBar) {
  if (!Alive(parent) || !parent->client) return nullptr;
  auto* scrollBar = new QScrollBar(Qt::Vertical, parent->client);
  scrollBar->setObjectName(title);
  scrollBar->setFocusPolicy(Qt::NoFocus);
  scrollBar->setRange(0, 0);
  Window* record = NewWindowRecord(Window::Kind::kScrollBar, scrollBar);
  record->className = QStringLiteral("SCROLLBAR");
  record->title = title;
  record->parent = parent;
  const int32_t w = width == kUseDefault ? SystemMetric(kSystemMetricScrollBarWidth) : width;
  const int32_t h = height == kUseDefault ? 0 : height;
  scrollBar->setGeometry(x, y, w, h);

  // The bar reports what the user did; where the thumb ends up is the reader's decision
  // (SetScrollPosition), so the widget is put back to the stored position afterwards.
  auto report = [record, parent, ownBar](uint32_t code, int position) {
    Deliver(parent, kMsgVScroll, uintptr_t(MakeLong(code, uint32_t(position))), ownBar ? 0 : intptr_t(record));
  };
  QObject::connect(scrollBar, &QAbstractSlider::actionTriggered, scrollBar, [record, scrollBar, report](int action) {
    uint32_t code;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = kSbLineDown; break;
      case QAbstractSlider::SliderSingleStepSub: code = kSbLineUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = kSbPageDown; break;
      case QAbstractSlider::SliderPageStepSub: code = kSbPageUp; break;
      case QAbstractSlider::SliderToMinimum: code = kSbTop; break;
      case QAbstractSlider::SliderToMaximum: code = kSbBottom; break;
      case QAbstractSlider::SliderMove: code = kSbThumbTrack; break;
      default: return;
    }
    report(code, scrollBar->sliderPosition());
    if (!record->destroyed) scrollBar->setSliderPosition(record->scrollPosition);
  });
  QObject::connect(scrollBar, &QAbstractSlider::sliderReleased, scrollBar, [record, scrollBar, report] {
    report(kSbThumbPosition, scrollBar->sliderPosition());
    report(kSbEndScroll, 0);
    if (!record->destroyed) scrollBar->setSliderPosition(record->scrollPosition);
  });
  if (style & kWsVisible) scrollBar->show();
  return record;
}

void MarkWindowDestroyed(Window* window) {
  window->destroyed = true;
  for (Window* record : AllWindowRecords())
    if (record->parent == window && !record->destroyed) MarkWindowDestroyed(record);
}

ClientArea* CreateClientArea(Window* window, QWidget* parent, bool dialogBody) {
  return new ClientArea(window, parent, dialogBody);
}

QWidget* ClientWidgetOf(Window* window) { return Alive(window) ? window->client : nullptr; }

void SetWindowsOffscreen(bool offscreen) { State().offscreen = offscreen; }
bool WindowsOffscreen() { return State().offscreen; }
void SetDefaultWindowSize(int width, int height) { State().defaultSize = QSize(width, height); }

bool SettleWindow(Window* window, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (Alive(window) && window->client) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (window->client->painted()) return true;
    if (timer.elapsed() > timeoutMs) return false;
    // Painting is what is waited for; a hidden or never-exposed window is painted on request.
    if (timer.elapsed() > timeoutMs / 4) window->client->repaint();
  }
  return false;
}

QImage RenderWindow(Window* window) {
  if (!Alive(window)) return QImage();
  return window->widget->grab().toImage();
}

}  // namespace platform::qt

namespace platform {

using qt::State;

bool RegisterWindowClass(const WindowClass& windowClass) {
  if (!windowClass.name || !windowClass.proc) return false;
  State().classes[QString::fromUtf16(windowClass.name)] = {windowClass.style, windowClass.proc, windowClass.icon};
  return true;
}

Window* CreateWindow(uint32_t /*exStyle*/, const char16_t* className, const char16_t* title, uint32_t style, int32_t x,
                     int32_t y, int32_t width, int32_t height, Window* parent, Menu* /*menu*/) {
  const QString name = QString::fromUtf16(className ? className : u"");
  const QString text = QString::fromUtf16(title ? title : u"");
  if (name == QLatin1String("SCROLLBAR"))
    return qt::CreateChildScrollBar(parent, text, style, x, y, width, height, false);
  auto cls = State().classes.find(name);
  if (cls == State().classes.end() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;

  // The frame needs its record for close and activation, so the record comes first.
  Window* record = qt::NewWindowRecord(Window::Kind::kTopLevel, nullptr);
  auto* frame = new qt::MainFrame(record);
  qt::AttachWidget(record, frame);
  record->className = name;
  record->title = text;
  record->proc = cls->second.proc;
  frame->setObjectName(text);
  // The window's name as the interface's language writes it ("Solmar" among the captions).
  frame->setWindowTitle(QCoreApplication::translate("Dialog", text.toUtf8().constData()));
  if (State().offscreen) frame->setAttribute(Qt::WA_DontShowOnScreen);
  record->client = new qt::ClientArea(record, frame, false);
  // The icon goes to the window system once the first frame is painted: drawing it at every
  // size the desktop may want is no work for the first frame.
  if (cls->second.icon) {
    const QPointer<QWidget> target(frame);
    record->client->AfterFirstPaint([target, icon = qt::IconOf(cls->second.icon)] {
      if (target) target->setWindowIcon(icon);
    });
  }
  frame->setCentralWidget(record->client);
  const QSize size = qt::DefaultTopLevelSize();
  frame->resize(width == kUseDefault ? size.width() : width, height == kUseDefault ? size.height() : height);
  if (x != kUseDefault && y != kUseDefault) frame->move(x, y);

  if (record->proc(record, kMsgCreate, 0, 0) == -1) {
    qt::MarkWindowDestroyed(record);
    frame->deleteLater();
    return nullptr;
  }
  if (style & kWsVisible) frame->show();
  return record;
}

bool DestroyWindow(Window* window) {
  if (!window || window->destroyed) return false;
  Window::Kind kind = window->kind;
  if (kind == Window::Kind::kTopLevel || (kind == Window::Kind::kDialog && window->modeless))
    qt::Deliver(window, kMsgDestroy, 0, 0);
  qt::MarkWindowDestroyed(window);
  if (kind == Window::Kind::kBar) return true;  // its widgets belong to the owner's frame
  if (QWidget* widget = window->widget.data()) {
    widget->hide();
    widget->deleteLater();
  }
  return true;
}

Window* FindWindow(const char16_t* className, const char16_t* title) {
  const QString cls = QString::fromUtf16(className ? className : u"");
  const QString text = QString::fromUtf16(title ? title : u"");
  for (Window* w : qt::TopLevelWindows())
    if (w->className == cls && w->title == text) return w;
  return nullptr;
}

Window* GetForegroundWindow() { return qt::HandleOf(QApplication::activeWindow()); }

Window* GetParent(Window* window) {
  if (!window) return nullptr;
  if (window->kind != Window::Kind::kOther) return window->parent;
  QWidget* widget = window->widget.data();
  QWidget* owner = widget ? widget->parentWidget() : nullptr;
  return owner ? qt::HandleOf(owner->window()) : nullptr;
}

bool SetForegroundWindow(Window* window) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  widget = widget->window();
  if (widget->isMinimized()) widget->showNormal();
  widget->raise();
  widget->activateWindow();
  return true;
}

intptr_t SendMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return qt::Deliver(window, message, wParam, lParam);
}

// Qt does its own default handling before and after the reader sees an event.
intptr_t DefWindowProc(Window*, uint32_t, uintptr_t, intptr_t) { return 0; }

bool ShowWindow(Window* window, int showState) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  if (window->kind == Window::Kind::kBar) {
    const bool was = widget->isVisible();
    widget->setVisible(showState != kSwHide);
    return was;
  }
  const bool was = widget->isVisible();
  if (showState == kSwHide)
    widget->hide();
  else
    widget->show();  // keeps a full-screen state set before
  return was;
}

bool IsWindowVisible(Window* window) {
  QWidget* widget = qt::WidgetOf(window);
  return widget && widget->isVisible();
}

void UpdateWindow(Window* window) {
  if (qt::Alive(window) && window->client && window->client->isVisible()) window->client->repaint();
}

void ShowFirstFrame(Window* window, int timeoutMs) {
  // An off-screen window is never exposed; its frame is painted when it is rendered.
  if (!qt::Alive(window) || !window->client || !window->client->isVisible() || qt::WindowsOffscreen()) return;
  if (window->client->painted()) return;
  QEventLoop loop;
  const QPointer<QEventLoop> waiting(&loop);
  QTimer::singleShot(std::max(0, timeoutMs), &loop, &QEventLoop::quit);
  window->client->AfterFirstPaint([waiting] {
    if (waiting) waiting->quit();
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool GetWindowRect(Window* window, Rect* rect) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget || !rect) return false;
  QRect r;
  if (widget->isWindow()) {
    r = widget->frameGeometry();
  } else {
    r = QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  }
  *rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return true;
}

bool GetClientRect(Window* window, Rect* rect) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget || !rect) return false;
  if (window->client) widget = window->client;
  *rect = {0, 0, widget->width(), widget->height()};
  return true;
}

bool MoveWindow(Window* window, int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  if (widget->isWindow()) {
    // A full-screen window already covers the screen, which is what moving it to the top
    // at full size is for; moving it would leave the full-screen state.
    if (widget->windowState() & Qt::WindowFullScreen) return true;
    // Outer rectangle: take the frame's margins off for the widget's own size.
    const QRect frame = widget->frameGeometry(), inner = widget->geometry();
    widget->move(x, y);
    widget->resize(std::max(1, width - (frame.width() - inner.width())),
                   std::max(1, height - (frame.height() - inner.height())));
  } else {
    widget->setGeometry(qt::ShownControlLeft(window, x, width), y, std::max(0, width), std::max(0, height));
  }
  if (repaint) widget->update();
  return true;
}

Dc* GetWindowDc(Window* window) { return qt::Alive(window) && window->client ? window->client->dc() : nullptr; }

// The context belongs to the client area for its whole life; giving it back changes nothing.
void ReleaseWindowDc(Window*, Dc*) {}

Dc* BeginPaint(Window* window) {
  if (!qt::Alive(window) || !window->client) return nullptr;
  return window->client->dc();
}

// The paint event that sent the message ends the painting; there is nothing to give back.
void EndPaint(Window*) {}

void SetScrollRange(Window* scrollBar, int32_t minimum, int32_t maximum, bool /*redraw*/) {
  if (scrollBar && scrollBar->kind == Window::Kind::kDialog) scrollBar = scrollBar->ownScrollBar;
  if (!scrollBar || scrollBar->kind != Window::Kind::kScrollBar) return;
  if (maximum < minimum) maximum = minimum;
  scrollBar->scrollMinimum = minimum;
  scrollBar->scrollMaximum = maximum;
  scrollBar->scrollPosition = std::clamp(scrollBar->scrollPosition, minimum, maximum);
  if (auto* bar = qobject_cast<QScrollBar*>(qt::WidgetOf(scrollBar))) {
    bar->setRange(minimum, maximum);
    bar->setValue(scrollBar->scrollPosition);
  }
}

void SetScrollPage(Window* scrollBar, int32_t page) {
  if (scrollBar && scrollBar->kind == Window::Kind::kDialog) scrollBar = scrollBar->ownScrollBar;
  if (!scrollBar || scrollBar->kind != Window::Kind::kScrollBar) return;
  // The page step sizes the thumb; what a click in the trough does stays the reader's.
  if (auto* bar = qobject_cast<QScrollBar*>(qt::WidgetOf(scrollBar))) bar->setPageStep(std::max(0, page));
}

bool GetWindowPlacement(Window* window, WindowPlacement* placement) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget || !widget->isWindow() || window->kind != Window::Kind::kTopLevel || !placement) return false;
  const bool normal = !(widget->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
  const QRect r = normal || !widget->normalGeometry().isValid() ? widget->geometry() : widget->normalGeometry();
  placement->normal = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  placement->maximized = (widget->windowState() & Qt::WindowMaximized) != 0;
  return true;
}

bool SetWindowPlacement(Window* window, const WindowPlacement& placement) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget || !widget->isWindow() || window->kind != Window::Kind::kTopLevel) return false;
  const Rect& r = placement.normal;
  if (widget->windowState() & Qt::WindowMaximized) widget->setWindowState(widget->windowState() & ~Qt::WindowMaximized);
  widget->setGeometry(r.left, r.top, std::max(1, r.right - r.left), std::max(1, r.bottom - r.top));
  if (placement.maximized) widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
  return true;
}

bool SetMinimumClientSize(Window* window, int32_t width, int32_t height) {
  if (!qt::Alive(window) || window->kind != Window::Kind::kTopLevel || !window->client) return false;
  // The frame's own minimum follows from its central widget's.
  window->client->setMinimumSize(std::max(0, width), std::max(0, height));
  return true;
}

int ScreenWorkAreas(Rect* areas, int capacity) {
  QList<QScreen*> screens = QGuiApplication::screens();
  if (QScreen* primary = QGuiApplication::primaryScreen()) {
    screens.removeAll(primary);
    screens.prepend(primary);
  }
  for (int i = 0; i < capacity && i < screens.size(); ++i) {
    const QRect r = screens[i]->availableGeometry();
    areas[i] = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
  return int(screens.size());
}

void SetScrollPosition(Window* scrollBar, int32_t position, bool /*redraw*/) {
  if (scrollBar && scrollBar->kind == Window::Kind::kDialog) scrollBar = scrollBar->ownScrollBar;
  if (!scrollBar || scrollBar->kind != Window::Kind::kScrollBar) return;
  scrollBar->scrollPosition = std::clamp(position, scrollBar->scrollMinimum, scrollBar->scrollMaximum);
  if (auto* bar = qobject_cast<QScrollBar*>(qt::WidgetOf(scrollBar))) bar->setValue(scrollBar->scrollPosition);
}

}  // namespace platform
