// Assistive technology and keyboard focus on Qt. The client area reads as a client with
// one child of role Document per document the reader describes (its panes): each has a
// name, a rectangle, the rows shown now as its description and the whole article through
// QAccessibleTextInterface, with the caret where the shown rows begin. Tab and Shift+Tab
// step through the documents before leaving the client area; the focused one is framed.
#include "platform/qt/qt_accessibility.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>
#include <vector>

#include "platform/qt/qt_language.h"
#include "platform/qt/qt_window_access.h"

namespace platform::qt {
namespace {

struct DocumentsState {
  const AccessibleDocuments* documents = nullptr;
  int focused = 0;
};

std::map<Window*, DocumentsState>& States() {
  static std::map<Window*, DocumentsState> states;
  return states;
}

DocumentsState* StateOf(Window* window) {
  auto found = States().find(window);
  return found == States().end() || !found->second.documents ? nullptr : &found->second;
}

int CountOf(Window* window) {
  DocumentsState* state = StateOf(window);
  return state && state->documents->count && WidgetOf(window) ? std::max(0, state->documents->count(window)) : 0;
}

bool Describe(Window* window, int index, QString* name, QRect* rect) {
  DocumentsState* state = StateOf(window);
  if (!state || !state->documents->describe || index < 0 || index >= CountOf(window)) return false;
  std::u16string text;
  Rect r{0, 0, 0, 0};
  if (!state->documents->describe(window, index, &text, &r)) return false;
  if (name) *name = Translated("Accessibility", text.c_str());
  if (rect) *rect = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
  return true;
}

QString TextOf(Window* window, int index, bool whole) {
  DocumentsState* state = StateOf(window);
  if (!state || !state->documents->text || index < 0 || index >= CountOf(window)) return QString();
  return QString::fromStdU16String(state->documents->text(window, index, whole));
}

bool SelectionOf(Window* window, int index, int* start, int* end) {
  DocumentsState* state = StateOf(window);
  if (!state || !state->documents->selection || index < 0 || index >= CountOf(window)) return false;
  return state->documents->selection(window, index, start, end);
}

// The window a client area belongs to.
Window* WindowOfClient(QWidget* client) { return client ? HandleOf(client->window()) : nullptr; }

void NotifyFocus(QWidget* client, int index);

void SetFocused(Window* window, QWidget* client, int index, bool tellReader) {
  DocumentsState* state = StateOf(window);
  if (!state) return;
  const int count = CountOf(window);
  if (count == 0) return;
  index = std::clamp(index, 0, count - 1);
  const bool moved = state->focused != index;
  state->focused = index;
  if (tellReader && state->documents->focus) state->documents->focus(window, index);
  if (client) {
    client->update();
    if (moved || tellReader) NotifyFocus(client, index);
  }
}

// --- Accessible interfaces -------------------------------------------------------------

class DocumentAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
 public:
  DocumentAccessible(QWidget* client, int index) : client_(client), index_(index) {}

  bool isValid() const override { return client_ && index_ < CountOf(Owner()); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return client_ ? client_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(client_.data()); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::Document; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    DocumentsState* st = StateOf(Owner());
    s.focused = client_ && client_->hasFocus() && st && st->focused == index_;
    s.invisible = !client_ || !client_->isVisible();
    return s;
  }
  QRect rect() const override {
    QRect r;
    if (!client_ || !Describe(Owner(), index_, nullptr, &r)) return QRect();
    return QRect(client_->mapToGlobal(r.topLeft()), r.size());
  }
  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: {
        QString name;
        Describe(Owner(), index_, &name, nullptr);
        return name;
      }
      case QAccessible::Description: return TextOf(Owner(), index_, false);
      default: return QString();
    }
  }
  void setText(QAccessible::Text, const QString&) override {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
  }

  // The whole article; the caret stands where the rows shown now begin, and the reader's
  // selection is the one selection.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    int start = 0, end = 0;
    if (selectionIndex == 0 && SelectionOf(Owner(), index_, &start, &end)) {
      *startOffset = start;
      *endOffset = end;
    }
  }
  int selectionCount() const override {
    int start = 0, end = 0;
    return SelectionOf(Owner(), index_, &start, &end) ? 1 : 0;
  }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override {
    const QString shown = TextOf(Owner(), index_, false);
    const QString firstRow = shown.section(QLatin1Char('\n'), 0, 0);
    const int at = firstRow.isEmpty() ? -1 : TextOf(Owner(), index_, true).indexOf(firstRow);
    return std::max(at, 0);
  }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override {
    const QString all = TextOf(Owner(), index_, true);
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = endOffset < 0 ? int(all.size()) : std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return int(TextOf(Owner(), index_, true).size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = offset;
    return QString();
  }

 private:
  platform::Window* Owner() const { return WindowOfClient(client_.data()); }

  QPointer<QWidget> client_;
  int index_;
};

// The client area: its documents first, then its own child widgets (the scroll bars).
class ClientAccessible : public QAccessibleWidget {
 public:
  explicit ClientAccessible(QWidget* client) : QAccessibleWidget(client, QAccessible::Client) {}
  ~ClientAccessible() override {
    for (QAccessible::Id id : documentIds_) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return Documents() + QAccessibleWidget::childCount(); }
  QAccessibleInterface* child(int index) const override {
    const int documents = Documents();
    if (index < 0) return nullptr;
    if (index < documents) return Document(index);
    return QAccessibleWidget::child(index - documents);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < Documents(); ++i)
      if (Document(i) == child) return i;
    const int inner = QAccessibleWidget::indexOfChild(child);
    return inner < 0 ? -1 : inner + Documents();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < Documents(); ++i)
      if (Document(i)->rect().contains(x, y)) return Document(i);
    return QAccessibleWidget::childAt(x, y);
  }
  QAccessibleInterface* focusChild() const override {
    DocumentsState* state = StateOf(WindowOfClient(widget()));
    if (!widget()->hasFocus() || !state || state->focused >= Documents()) return nullptr;
    return Document(state->focused);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return QCoreApplication::translate("Accessibility", "Reading panes");
    return QAccessibleWidget::text(t);
  }

 private:
  int Documents() const { return CountOf(WindowOfClient(widget())); }
  DocumentAccessible* Document(int index) const {
    while (int(documents_.size()) <= index) {
      auto* document = new DocumentAccessible(widget(), int(documents_.size()));
      documentIds_.push_back(QAccessible::registerAccessibleInterface(document));
      documents_.push_back(document);
    }
    return documents_[size_t(index)];
  }

  mutable std::vector<DocumentAccessible*> documents_;
  mutable std::vector<QAccessible::Id> documentIds_;
};

bool IsClientArea(QObject* object) {
  return object && object->isWidgetType() && object->objectName() == QLatin1String("SolmarClient");
}

QAccessibleInterface* ClientFactory(const QString&, QObject* object) {
  return IsClientArea(object) ? new ClientAccessible(static_cast<QWidget*>(object)) : nullptr;
}

void NotifyFocus(QWidget* client, int index) {
  if (!QAccessible::isActive() || !client->hasFocus()) return;
  QAccessibleEvent event(client, QAccessible::Focus);
  event.setChild(index);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

bool MoveDocumentFocus(Window* window, QWidget* client, bool next) {
  DocumentsState* state = StateOf(window);
  const int count = CountOf(window);
  if (!state || count == 0) return false;
  const int target = state->focused + (next ? 1 : -1);
  if (target < 0 || target >= count) return false;
  SetFocused(window, client, target, true);
  return true;
}

void EnterDocumentFocus(Window* window, QWidget* client, Qt::FocusReason reason) {
  DocumentsState* state = StateOf(window);
  if (!state) return;
  const int count = CountOf(window);
  if (reason == Qt::TabFocusReason)
    SetFocused(window, client, 0, true);
  else if (reason == Qt::BacktabFocusReason)
    SetFocused(window, client, count - 1, true);
  else
    SetFocused(window, client, state->focused, false);
}

void FocusDocumentAt(Window* window, QWidget* client, QPoint point) {
  for (int i = 0; i < CountOf(window); ++i) {
    QRect rect;
    if (Describe(window, i, nullptr, &rect) && rect.contains(point)) return SetFocused(window, client, i, false);
  }
}

std::unique_ptr<QAccessibleTextSelectionEvent> SelectionChangeEvent(Window* window, int index) {
  QWidget* client = index >= 0 && index < CountOf(window) ? ClientWidgetOf(window) : nullptr;
  QAccessibleInterface* area = client ? QAccessible::queryAccessibleInterface(client) : nullptr;
  QAccessibleInterface* document = area ? area->child(index) : nullptr;
  if (!document) return nullptr;
  int start = -1, end = -1;
  if (!SelectionOf(window, index, &start, &end)) start = end = -1;
  return std::make_unique<QAccessibleTextSelectionEvent>(document, start, end);
}

void PaintDocumentFocus(Window* window, QWidget* client, QPainter* painter) {
  DocumentsState* state = StateOf(window);
  QRect rect;
  if (!state || !client->hasFocus() || !Describe(window, state->focused, nullptr, &rect)) return;
  // Two pixels in the highlight colour just inside the pane, dashed so that it reads as a
  // focus mark over text and backgrounds alike.
  QPen pen(client->palette().color(QPalette::Highlight), 2, Qt::DashLine);
  painter->save();
  painter->setPen(pen);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
  painter->restore();
}

}  // namespace platform::qt

namespace platform {

bool SetAccessibleName(Window* window, const char16_t* name) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget || !name) return false;
  widget->setAccessibleName(qt::Translated("Accessibility", name));
  return true;
}

bool NotifyAccessibleSelection(Window* window, int index) {
  if (!window || window->destroyed || index < 0 || index >= qt::CountOf(window)) return false;
  // Without assistive technology listening nobody needs the document's interface made.
  if (!QAccessible::isActive()) return true;
  const std::unique_ptr<QAccessibleTextSelectionEvent> event = qt::SelectionChangeEvent(window, index);
  if (!event) return false;
  QAccessible::updateAccessibility(event.get());
  return true;
}

bool SetAccessibleDocuments(Window* window, const AccessibleDocuments* documents) {
  if (!window || window->destroyed || window->kind != Window::Kind::kTopLevel || !window->client) return false;
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(qt::ClientFactory);
    return true;
  }();
  (void)factoryInstalled;
  qt::DocumentsState& state = qt::States()[window];
  state.documents = documents;
  state.focused = 0;
  return true;
}

}  // namespace platform
