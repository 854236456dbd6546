#include "platform/qt/qt_window_access.h"

#include <QWidget>

namespace platform::qt {

// A window handle is the QWidget itself: the handle type is opaque to the core, and the
// backend is the only code that converts it back.
QWidget* WidgetOf(Window* window) { return reinterpret_cast<QWidget*>(window); }

}  // namespace platform::qt
