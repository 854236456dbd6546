// The registry of window records: every handle the Qt backend gives out.
#include "platform/qt/qt_window_access.h"

#include <QHash>
#include <QWidget>
#include <deque>
#include <memory>

namespace platform::qt {
namespace {

struct Registry {
  std::deque<std::unique_ptr<Window>> records;
  QHash<QWidget*, Window*> byWidget;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

QWidget* WidgetOf(Window* window) { return window && !window->destroyed ? window->widget.data() : nullptr; }

Window* NewWindowRecord(Window::Kind kind, QWidget* widget) {
  auto record = std::make_unique<Window>();
  record->kind = kind;
  Window* w = record.get();
  TheRegistry().records.push_back(std::move(record));
  AttachWidget(w, widget);
  return w;
}

void AttachWidget(Window* window, QWidget* widget) {
  window->widget = widget;
  if (widget) TheRegistry().byWidget.insert(widget, window);
}

Window* HandleOf(QWidget* widget) {
  if (!widget) return nullptr;
  if (Window* known = TheRegistry().byWidget.value(widget)) {
    if (known->widget) return known;
    TheRegistry().byWidget.remove(widget);  // a deleted widget's record; the address is new
  }
  Window* record = NewWindowRecord(Window::Kind::kOther, widget);
  record->title = widget->windowTitle();
  return record;
}

std::vector<Window*> AllWindowRecords() {
  std::vector<Window*> out;
  for (const auto& record : TheRegistry().records) out.push_back(record.get());
  return out;
}

std::vector<Window*> TopLevelWindows() {
  std::vector<Window*> out;
  for (const auto& record : TheRegistry().records)
    if (record->kind == Window::Kind::kTopLevel && !record->destroyed && record->widget) out.push_back(record.get());
  return out;
}

}  // namespace platform::qt
