// Internal to the Qt backend: what a window handle is.
//
// Every window of the seam is a Window record owned by the backend; it points at its
// widget (a QMainWindow for a top-level window, a QScrollBar for a child scroll bar, the
// tool bar for a bar, any other top-level widget for windows the reader did not make,
// such as message boxes). Records outlive their widgets, so a handle kept after
// DestroyWindow stays safe to pass: it is marked destroyed.
#pragma once

#include <QPointer>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

class QWidget;
class QMainWindow;
class QMenuBar;
class QToolBar;
class QAction;
class QImage;

namespace platform::qt {
class ClientArea;
struct BarState;
}  // namespace platform::qt

namespace platform {

struct Window {
  enum class Kind { kTopLevel, kScrollBar, kBar, kOther };
  Kind kind = Kind::kOther;
  QPointer<QWidget> widget;
  WindowProc proc = nullptr;  // top-level windows of a registered class
  QString className;
  QString title;
  Window* parent = nullptr;   // parent of a child, owner of a bar, none for a top-level window
  bool destroyed = false;
  qt::ClientArea* client = nullptr;  // top-level: the client area widget
  // Scroll bars: the range and position the reader set; the widget only mirrors them.
  int32_t scrollMinimum = 0, scrollMaximum = 0, scrollPosition = 0;
  qt::BarState* bar = nullptr;       // bars
};

}  // namespace platform

namespace platform::qt {

// The widget of a window handle (the top-level widget for a top-level window), or none for
// none or a destroyed window.
QWidget* WidgetOf(Window* window);
// The handle of a widget's window: the reader's own record, or a record made for it (kind
// kOther) the first time it is asked for. None for none.
Window* HandleOf(QWidget* widget);
// A new record the backend owns until the program ends.
Window* NewWindowRecord(Window::Kind kind, QWidget* widget);
// Makes widget the record's widget (HandleOf then finds the record).
void AttachWidget(Window* window, QWidget* widget);
// Every record made so far, destroyed ones too.
std::vector<Window*> AllWindowRecords();
// The registered top-level windows not yet destroyed.
std::vector<Window*> TopLevelWindows();

// The main window's client area: the widget that holds the backing image the panes draw
// into and turns Qt events into messages for the window procedure.
QWidget* ClientWidgetOf(Window* window);

// Whether the reader asked its message loop to end (PostQuitMessage).
bool QuitRequested();

}  // namespace platform::qt
