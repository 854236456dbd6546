// Internal to the Qt backend: what a window handle is.
//
// Every window of the seam is a Window record owned by the backend; it points at its
// widget (a QMainWindow for a top-level window, a QScrollBar for a child scroll bar, the
// tool bar for a bar, any other top-level widget for windows the reader did not make,
// such as message boxes). Records outlive their widgets, so a handle kept after
// DestroyWindow stays safe to pass: it is marked destroyed.
#pragma once

#include <QPoint>
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
  enum class Kind { kTopLevel, kScrollBar, kBar, kDialog, kControl, kOther };
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
  // Dialogs: their controls in template order, their own scroll bar, the end asked for.
  std::vector<Window*> controls;
  Window* ownScrollBar = nullptr;
  bool dialogEnded = false;
  intptr_t dialogResult = 0;
  bool modeless = false;  // made by CreateDialog: DestroyWindow ends it
  // Dialogs of a right-to-left interface: the controls are placed mirrored across a body
  // this wide (see MirroredLeft).
  bool mirrored = false;
  int mirrorWidth = 0;
  // Controls: the template's id, kind and style.
  int controlId = kNoControlId;
  int controlKind = -1;  // a platform::ControlKind
  uint32_t controlStyle = 0;
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

// A client area for window inside parent: the widget the window paints (from its paint
// message) and that turns Qt events into its messages. A dialog's body leaves Enter,
// Escape and Tab to the dialog.
ClientArea* CreateClientArea(Window* window, QWidget* parent, bool dialogBody);
// A vertical scroll bar in parent's client area reporting to parent; ownBar: it stands for
// the parent's own bar (its messages carry none instead of the bar).
Window* CreateChildScrollBar(Window* parent, const QString& title, uint32_t style, int32_t x, int32_t y,
                             int32_t width, int32_t height, bool ownBar);
// Whether windows are made for rendering only (SetWindowsOffscreen).
bool WindowsOffscreen();
// Marks a window and its descendants destroyed.
void MarkWindowDestroyed(Window* window);

// The main window's client area: the widget the panes are painted on, which turns Qt
// events into messages for the window procedure.
QWidget* ClientWidgetOf(Window* window);
// Where a press at shown (body pixels) lands in the dialog's own coordinates: the same
// point for a dialog that is not mirrored; in a mirrored one, the same place of the control
// under it as the template lays that control out, else the point mirrored across the body.
QPoint DialogPointOf(Window* dialog, const QPoint& shown);
// The left edge a control of a mirrored dialog is shown at for the x its dialog gives it
// (x itself for any other window).
int32_t ShownControlLeft(Window* control, int32_t x, int32_t width);

// Whether the reader asked its message loop to end (PostQuitMessage).
bool QuitRequested();

}  // namespace platform::qt
