// Internal to the Qt backend: the widget behind a window handle.
#pragma once

class QWidget;

namespace platform {
struct Window;
}

namespace platform::qt {

// The widget of a window handle, or none for none.
QWidget* WidgetOf(Window* window);

}  // namespace platform::qt
