// Modal dialogs on Qt: a QDialog built from a template. Its body is a client area (the
// dialog can draw on it and gets presses, keys, sizes and paints as messages) with the
// template's controls on top, placed with the dialog base units. Qt signals become command
// messages; Escape and the close button send Cancel, Enter and the caption's OK send OK.
//
// Edit boxes marked kEsRightToLeftReading keep their text in reading order, so typing,
// pasting and the caret behave as the user expects of Hebrew; the seam's operations see the
// reverse (visual order), with positions mirrored.
#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTreeView>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "platform/dialog_placement.h"
#include "platform/dialog_template.h"
#include "platform/platform.h"
#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_language.h"
#include "platform/qt/qt_window_access.h"

namespace platform::qt {
namespace {

intptr_t Deliver(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window || window->destroyed || !window->proc) return 0;
  return window->proc(window, message, wParam, lParam);
}

void SendCommand(Window* dialog, int id, uint16_t code, Window* control) {
  Deliver(dialog, kMsgCommand, uintptr_t(MakeLong(uint32_t(id), code)), intptr_t(control));
}

QString Reversed(const QString& text) {
  QString out(text.size(), QChar());
  for (qsizetype i = 0; i < text.size(); ++i) out[text.size() - 1 - i] = text[i];
  return out;
}

QString FromUtf16(const char16_t* text) { return text ? QString::fromUtf16(text) : QString(); }

uint32_t CopyOut(const QString& text, char16_t* buffer, uint32_t capacity) {
  if (!buffer || capacity == 0) return 0;
  const uint32_t n = std::min<uint32_t>(uint32_t(text.size()), capacity - 1);
  std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, buffer);
  buffer[n] = 0;
  return n;
}

ControlKind KindOf(Window* window) { return ControlKind(window->controlKind); }
bool IsControlOf(Window* window, ControlKind kind) {
  return window && !window->destroyed && window->kind == Window::Kind::kControl && window->widget &&
         KindOf(window) == kind;
}
bool ReadingOrder(Window* edit) { return edit->controlStyle & kEsRightToLeftReading; }
bool VisualOrder(Window* edit) { return edit->controlStyle & kEsVisualOrder; }
// A visual-order box holds its text between these two marks: left-to-right override and
// its end, so no bidirectional reordering applies.
constexpr char16_t kLeftToRightOverride = 0x202D;
constexpr char16_t kPopDirectionalFormatting = 0x202C;

// On X11 and Wayland a key event's scan code is the X key code of the key pressed. These
// characters are typed on their own keys only in a Latin layout: the Hebrew layout gives
// ',' on the "'" key and '.' on the '/' key, and those must stay as typed. Where the key is
// not known (a synthetic event, another platform) the character decides alone.
bool TypedOnItsLatinKey(const QKeyEvent* key, char16_t typed) {
  quint32 latinKey = 0;
  switch (typed) {
    case u',': latinKey = 59; break;
    case u'.': latinKey = 60; break;
    case u';': latinKey = 47; break;
    case u'/': latinKey = 61; break;
    case u'\'': latinKey = 48; break;
    default: return true;
  }
  const QString platform = QGuiApplication::platformName();
  if (key->nativeScanCode() == 0 || (platform != u"xcb" && !platform.startsWith(u"wayland"))) return true;
  return key->nativeScanCode() == latinKey;
}

// Puts the characters typed into a line edit through the reader's map: a key press whose
// character the map changes is handed on as the press of the mapped character, so the box
// edits, limits and undoes it as any typed character.
class TypedCharacterFilter : public QObject {
 public:
  TypedCharacterFilter(QLineEdit* line, TypedCharacterMap map) : QObject(line), map_(map) {
    setObjectName(kName);
  }
  static constexpr char kName[] = "solmarTypedCharacterFilter";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (forwarding_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = key->text();
    if (text.size() != 1) return false;
    const char16_t typed = text[0].unicode();
    const char16_t mapped = map_(typed);
    if (mapped == typed || !TypedOnItsLatinKey(key, typed)) return false;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, key->modifiers(), QString(QChar(mapped)),
                    key->isAutoRepeat());
    forwarding_ = true;
    QCoreApplication::sendEvent(watched, &press);
    forwarding_ = false;
    return true;
  }

 private:
  TypedCharacterMap map_;
  bool forwarding_ = false;
};

// --- Right-to-left dialogs ----------------------------------------------------------------
// In a right-to-left interface a dialog with controls is the mirror image of its template:
// every control keeps the template's distance from the right edge (MirroredLeft), the OK
// strip runs from the left. A dialog without controls draws itself, as the panes do, and
// is left as it is.

// Mirrors the controls BuildDialog placed by the template in a body bodyWidth pixels wide.
void MirrorForRightToLeft(Window* dialog, const DialogTemplate* t, int bodyWidth) {
  if (!IsLayoutRightToLeft() || t->controlCount == 0) return;
  dialog->mirrored = true;
  dialog->mirrorWidth = bodyWidth;
  for (Window* control : dialog->controls) {
    QWidget* widget = WidgetOf(control);
    if (!widget) continue;
    widget->move(MirroredLeft(widget->x(), widget->width(), bodyWidth), widget->y());
    // Text kept to one side keeps to the other, as the control now stands.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      Qt::Alignment align = label->alignment();
      const Qt::Alignment side = align & (Qt::AlignLeft | Qt::AlignRight);
      if (side == Qt::AlignLeft || side == Qt::AlignRight)
        label->setAlignment((align & ~side) | (side == Qt::AlignLeft ? Qt::AlignRight : Qt::AlignLeft));
    }
  }
}

// A mirrored dialog whose body becomes bodyWidth wide keeps its controls where they were
// from the right edge.
void KeepMirroredControls(Window* dialog, int bodyWidth) {
  if (!dialog->mirrored || bodyWidth == dialog->mirrorWidth) return;
  const int shift = bodyWidth - dialog->mirrorWidth;
  dialog->mirrorWidth = bodyWidth;
  for (Window* control : dialog->controls)
    if (QWidget* widget = WidgetOf(control); widget && widget->parentWidget() == ClientWidgetOf(dialog))
      widget->move(widget->x() + shift, widget->y());
}

class DialogFrame : public QDialog {
 public:
  DialogFrame(Window* record, QWidget* owner) : QDialog(owner), record_(record) {
    setContextMenuPolicy(Qt::PreventContextMenu);
  }
  void SetOkButton(QPushButton* ok) { ok_ = ok; }
  // A button that sits in the strip to the left of OK (the first one nearest OK).
  void AddStripButton(QPushButton* button) { strip_.push_back(button); }
  int StripHeight() const { return ok_ ? ok_->sizeHint().height() + 12 : 0; }
  // The size the template gives (with the OK strip): where the dialog opens, and the least
  // size a resizable one can be given.
  void SetTemplateSize(QSize size) { templateSize_ = size; }
  QSize TemplateSize() const { return templateSize_; }

  void reject() override { SendCommand(record_, kIdCancel, kBnClicked, nullptr); }
  void accept() override { SendCommand(record_, kIdOk, kBnClicked, nullptr); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
      // The default button answers Enter; without one Enter is OK.
      for (QPushButton* button : findChildren<QPushButton*>())
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
          button->click();
          return;
        }
      accept();
      return;
    }
    QDialog::keyPressEvent(event);
  }
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    // A list opens with its chosen entry in view, wherever in the list it is.
    for (QListWidget* list : findChildren<QListWidget*>())
      if (QListWidgetItem* item = list->currentItem(); item && item->isSelected())
        list->scrollToItem(item, QAbstractItemView::PositionAtCenter);
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange)
      Deliver(record_, kMsgActivate, isActiveWindow() ? kWaActive : kWaInactive, 0);
    QDialog::changeEvent(event);
  }
  void resizeEvent(QResizeEvent* event) override {
    QDialog::resizeEvent(event);
    const int strip = StripHeight();
    KeepMirroredControls(record_, width());
    if (QWidget* body = ClientWidgetOf(record_)) body->setGeometry(0, 0, width(), std::max(0, height() - strip));
    if (ok_) {
      const QSize hint = ok_->sizeHint();
      int left = width() - hint.width() - 8;
      ok_->setGeometry(left, height() - strip + 6, hint.width(), hint.height());
      for (QPushButton* button : strip_) {
        const QSize size = button->sizeHint();
        left -= size.width() + 6;
        button->setGeometry(left, height() - strip + 6, size.width(), hint.height());
      }
      if (record_->mirrored)
        for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
          button->move(MirroredLeft(button->x(), button->width(), width()), button->y());
    }
    if (record_->ownScrollBar)
      if (QWidget* bar = WidgetOf(record_->ownScrollBar)) {
        const int w = SystemMetric(kSystemMetricScrollBarWidth);
        bar->setGeometry(IsLayoutRightToLeft() ? 0 : width() - w, 0, w, std::max(0, height() - strip));
      }
  }

 private:
  Window* record_;
  QPushButton* ok_ = nullptr;
  std::vector<QPushButton*> strip_;
  QSize templateSize_;
};

// Gives a dialog its desktop size and place: size (at least the template's, at most the
// owner's screen) centred over the owner's window on that screen; a resizable one can be
// made larger by the user, or smaller down to the template's size.
void PlaceOverOwner(DialogFrame* frame, QSize size, bool resizable) {
  const QSize least = frame->TemplateSize().isValid() ? frame->TemplateSize() : frame->size();
  QWidget* owner = frame->parentWidget() ? frame->parentWidget()->window() : nullptr;
  const QRect over = owner ? owner->geometry() : frame->geometry();
  QScreen* screen = owner ? owner->screen() : frame->screen();
  const QRect available = screen ? screen->availableGeometry() : QRect();
  const Rect r = DialogRectOverOwner({over.left(), over.top(), over.left() + over.width(), over.top() + over.height()},
                                     size.width(), size.height(), least.width(), least.height(),
                                     {available.left(), available.top(), available.left() + available.width(),
                                      available.top() + available.height()});
  const QSize placed(r.right - r.left, r.bottom - r.top);
  frame->setMinimumSize(resizable ? least.boundedTo(placed) : placed);
  frame->setMaximumSize(resizable ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : placed);
  frame->setGeometry(r.left, r.top, placed.width(), placed.height());
}

// A button the dialog draws itself: each paint asks the dialog's procedure to draw it
// (kMsgDrawItem) on a context over an image with the button's font, then shows the image.
class OwnerDrawnButton : public QPushButton {
 public:
  OwnerDrawnButton(Window* dialog, Window* record, const QString& text, QWidget* parent)
      : QPushButton(text, parent), dialog_(dialog), record_(record) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const qreal ratio = devicePixelRatioF();
    QImage image(QSize(std::max(1, int(width() * ratio)), std::max(1, int(height() * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    FontDescription description{};
    GetWindowFont(record_, &description);
    Font* font = CreateFont(description);
    Dc* dc = CreateImageDc(&image);
    Font* previous = SelectFont(dc, font);
    SetBackgroundMode(dc, kBkTransparent);
    DrawItem item{record_->controlId, record_, dc, {0, 0, width(), height()}};
    Deliver(dialog_, kMsgDrawItem, uintptr_t(record_->controlId), intptr_t(&item));
    SelectFont(dc, previous);
    DeleteImageDc(dc);
    DeleteFont(font);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
    if (hasFocus()) {
      QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
      painter.setPen(pen);
      painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }

 private:
  Window* dialog_;
  Window* record_;
};

// The rows of a result list: the count and the column titles are kept here, each cell is
// asked of the dialog's procedure (kMsgGetRowCell) when the view draws it, so only the
// rows on the screen cost anything. Cells asked for are kept until the rows change.
class ResultListModel : public QAbstractTableModel {
 public:
  static constexpr int kMarkRole = Qt::UserRole + 2;  // QPoint(mark start, mark length)

  ResultListModel(Window* dialog, Window* record, QObject* parent)
      : QAbstractTableModel(parent), dialog_(dialog), record_(record) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(titles_.size()); }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(titles_.size()))
      return {};
    return titles_[size_t(section)];
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != kMarkRole && role != Qt::ToolTipRole)) return {};
    const RowCell& cell = Cell(index.row(), index.column());
    if (role == kMarkRole) return QPoint(cell.markStart, cell.markLength);
    return QString::fromStdU16String(cell.text);
  }

  void SetColumns(std::vector<QString> titles) {
    beginResetModel();
    titles_ = std::move(titles);
    rows_ = 0;
    cells_.clear();
    endResetModel();
  }
  void SetRowCount(int rows) {
    beginResetModel();
    rows_ = std::max(rows, 0);
    cells_.clear();
    endResetModel();
  }

 private:
  // Enough for many screens of rows; beyond it the cells are asked for again.
  static constexpr qsizetype kCellsKept = 4096;

  const RowCell& Cell(int row, int column) const {
    const quint64 key = (quint64(uint32_t(row)) << 16) | uint32_t(column);
    auto it = cells_.constFind(key);
    if (it != cells_.constEnd()) return it.value();
    if (cells_.size() >= kCellsKept) cells_.clear();
    RowCell cell{record_->controlId, row, column, {}, -1, 0};
    if (dialog_ && !dialog_->destroyed && dialog_->proc)
      dialog_->proc(dialog_, kMsgGetRowCell, uintptr_t(record_->controlId), intptr_t(&cell));
    return cells_.insert(key, std::move(cell)).value();
  }

  Window* dialog_;
  Window* record_;
  std::vector<QString> titles_;
  int rows_ = 0;
  mutable QHash<quint64, RowCell> cells_;
};

// Draws a cell whose text has a marked part: the part bold on a highlight, the rest as the
// view draws text, in the view's direction.
class MarkedTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QPoint mark = index.data(ResultListModel::kMarkRole).toPoint();
    if (mark.x() < 0 || mark.y() <= 0) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(2, 0, -2, 0);

    QTextLayout layout(text, item.font);
    QTextOption textOption;
    textOption.setTextDirection(item.direction);
    textOption.setWrapMode(QTextOption::NoWrap);
    // The line starts at its own left edge whatever the direction; it is placed below.
    textOption.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout.setTextOption(textOption);
    QTextCharFormat marked;
    marked.setFontWeight(QFont::Bold);
    marked.setBackground(ToQColor(ChromeColoursNow().markGround));
    marked.setForeground(ToQColor(ChromeColoursNow().markText));
    layout.setFormats({QTextLayout::FormatRange{mark.x(), mark.y(), marked}});
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(1e6);
    layout.endLayout();
    if (!line.isValid()) return;
    const qreal width = line.naturalTextWidth();
    const qreal x = item.direction == Qt::RightToLeft ? box.right() + 1 - width : box.left();
    const qreal y = box.top() + (box.height() - line.height()) / 2;
    painter->save();
    painter->setClipRect(box);
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(item.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    layout.draw(painter, QPointF(x, y));
    painter->restore();
  }
};

QWidget* MakeWidget(Window* dialog, Window* record, const ControlTemplate& c, QWidget* body) {
  switch (c.kind) {
    case ControlKind::kStaticText: {
      auto* label = new QLabel(Translated("Dialog", c.text), body);
      const uint32_t align = c.style & 0x3;
      label->setAlignment((align == kSsCenter ? Qt::AlignHCenter : align == kSsRight ? Qt::AlignRight : Qt::AlignLeft) |
                          Qt::AlignTop | Qt::AlignAbsolute);
      label->setWordWrap(true);
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      return label;
    }
    case ControlKind::kPicture: {
      auto* label = new QLabel(body);
      if (Bitmap* bitmap = LoadBitmap(c.pictureId)) {
        label->setPixmap(QPixmap::fromImage(bitmap->image));
        label->resize(bitmap->image.size());
        DeleteBitmap(bitmap);
      }
      label->setAttribute(Qt::WA_TransparentForMouseEvents);
      return label;
    }
    case ControlKind::kEdit: {
      const uint32_t align = c.style & 0x3;
      const Qt::Alignment horizontal =
          (align == kEsCenter ? Qt::AlignHCenter : align == kEsRight ? Qt::AlignRight : Qt::AlignLeft) |
          Qt::AlignAbsolute;
      if ((c.style & kEsVisualOrder) && (c.style & kEsReadOnly)) {
        // Letters shown as the panes show them: on the text's background, one line per
        // line of text, aligned as asked; a line too long for the box is cut at the side
        // away from its alignment, as a pane cuts nothing but shows where reading starts.
        auto* label = new QLabel(body);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(horizontal | Qt::AlignVCenter);
        label->setBackgroundRole(QPalette::Base);
        label->setAutoFillBackground(true);
        if (c.style & kWsBorder) label->setFrameShape(QFrame::StyledPanel);
        if (c.text) label->setText(QChar(kLeftToRightOverride) + FromUtf16(c.text) + QChar(kPopDirectionalFormatting));
        return label;
      }
      if (c.style & kEsMultiline) {
        auto* edit = new QPlainTextEdit(body);
        edit->setReadOnly(c.style & kEsReadOnly);
        if (c.style & kEsRightToLeftReading) edit->setLayoutDirection(Qt::RightToLeft);
        edit->setPlainText(FromUtf16(c.text));
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [dialog, record, edit] {
          if (edit->property("solmarSetting").toBool()) return;
          SendCommand(dialog, record->controlId, kEnChange, record);
        });
        return edit;
      }
      auto* edit = new QLineEdit(body);
      edit->setAlignment(horizontal | Qt::AlignVCenter);
      edit->setFrame(c.style & kWsBorder);
      edit->setReadOnly(c.style & kEsReadOnly);
      if (c.style & kEsRightToLeftReading) edit->setLayoutDirection(Qt::RightToLeft);
      edit->setText(FromUtf16(c.text));
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [dialog, record] { SendCommand(dialog, record->controlId, kEnChange, record); });
      return edit;
    }
    case ControlKind::kButton: {
      const uint32_t kind = c.style & kBsKindMask;
      if (kind == kBsAutoRadioButton) {
        auto* radio = new QRadioButton(Translated("Dialog", c.text), body);
        radio->setAutoExclusive(false);
        QObject::connect(radio, &QAbstractButton::clicked, radio, [dialog, record, radio] {
          // An automatic radio button checks itself and clears the others of its dialog.
          for (Window* other : dialog->controls)
            if (auto* button = qobject_cast<QRadioButton*>(WidgetOf(other))) button->setChecked(button == radio);
          SendCommand(dialog, record->controlId, kBnClicked, record);
        });
        return radio;
      }
      auto* button = kind == kBsOwnerDraw ? new OwnerDrawnButton(dialog, record, FromUtf16(c.text), body)
                                          : new QPushButton(Translated("Dialog", c.text), body);
      button->setDefault(kind == kBsDefPushButton);
      button->setAutoDefault(false);
      QObject::connect(button, &QAbstractButton::clicked, button,
                       [dialog, record] { SendCommand(dialog, record->controlId, kBnClicked, record); });
      return button;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(body);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      if (c.style & kLbsNotify) {
        QObject::connect(list, &QListWidget::currentRowChanged, list, [dialog, record, list] {
          if (!list->property("solmarSetting").toBool()) SendCommand(dialog, record->controlId, kLbnSelChange, record);
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                         [dialog, record] { SendCommand(dialog, record->controlId, kLbnDblClk, record); });
      }
      return list;
    }
    case ControlKind::kResultList: {
      auto* view = new QTreeView(body);
      view->setObjectName(QStringLiteral("SolmarResultList"));
      view->setRootIsDecorated(false);
      view->setItemsExpandable(false);
      view->setUniformRowHeights(true);
      view->setAllColumnsShowFocus(true);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->setSelectionBehavior(QAbstractItemView::SelectRows);
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->setTextElideMode(Qt::ElideMiddle);
      view->header()->setStretchLastSection(true);
      view->header()->setSectionsMovable(false);
      if (c.style & kRlsRightToLeft) view->setLayoutDirection(Qt::RightToLeft);
      view->setModel(new ResultListModel(dialog, record, view));
      view->setItemDelegate(new MarkedTextDelegate(view));
      QObject::connect(view, &QAbstractItemView::doubleClicked, view,
                       [dialog, record] { SendCommand(dialog, record->controlId, kLbnDblClk, record); });
      return view;
    }
  }
  return nullptr;
}

// Runs a change the reader asks for without reporting it as the user's.
template <typename Widget, typename Change>
void Quietly(Widget* widget, Change change) {
  widget->setProperty("solmarSetting", true);
  change();
  widget->setProperty("solmarSetting", false);
}

// Visual-order view of a line edit: text, selection and positions as the seam sees them.
QString EditText(Window* edit) {
  QString text;
  if (auto* label = qobject_cast<QLabel*>(WidgetOf(edit))) text = label->text();
  if (auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit))) text = line->text();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(WidgetOf(edit))) text = plain->toPlainText();
  if (VisualOrder(edit)) {
    text.remove(QChar(kLeftToRightOverride));
    text.remove(QChar(kPopDirectionalFormatting));
  }
  return ReadingOrder(edit) ? Reversed(text) : text;
}

// The selection as logical (widget) positions start <= end.
void LogicalSelection(Window* edit, int* start, int* end) {
  *start = *end = 0;
  if (auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit))) {
    if (line->hasSelectedText()) {
      *start = line->selectionStart();
      *end = *start + int(line->selectedText().size());
    } else {
      *start = *end = line->cursorPosition();
    }
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(WidgetOf(edit))) {
    const QTextCursor cursor = plain->textCursor();
    *start = cursor.selectionStart();
    *end = cursor.selectionEnd();
  }
}

// Selects logical start..end with the caret at caret (start or end).
void SetLogicalSelection(Window* edit, int start, int end, int caret) {
  const int anchor = caret == start ? end : start;
  if (auto* line = qobject_cast<QLineEdit*>(WidgetOf(edit))) {
    if (start == end)
      line->setCursorPosition(start);
    else
      line->setSelection(anchor, caret - anchor);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(WidgetOf(edit))) {
    QTextCursor cursor = plain->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    plain->setTextCursor(cursor);
  }
}

uint32_t BaseUnits() {
  static uint32_t units = [] {
    const QFontMetrics metrics(QApplication::font());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // The average width of the letters, rounded, and the line height.
    const int x = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return uint32_t(MakeLong(uint32_t(std::max(1, x)), uint32_t(std::max(1, metrics.height()))));
  }();
  return units;
}

}  // namespace

QPoint DialogPointOf(Window* dialog, const QPoint& shown) {
  if (!dialog || dialog->kind != Window::Kind::kDialog || !dialog->mirrored) return shown;
  QWidget* body = ClientWidgetOf(dialog);
  for (Window* control : dialog->controls) {
    QWidget* widget = WidgetOf(control);
    if (widget && widget->parentWidget() == body && widget->isVisible() && widget->geometry().contains(shown))
      return {MirroredLeft(widget->x(), widget->width(), dialog->mirrorWidth) + shown.x() - widget->x(), shown.y()};
  }
  return {dialog->mirrorWidth - 1 - shown.x(), shown.y()};
}

int32_t ShownControlLeft(Window* control, int32_t x, int32_t width) {
  if (!control || control->kind != Window::Kind::kControl || !control->parent || !control->parent->mirrored) return x;
  return MirroredLeft(x, std::max(0, width), control->parent->mirrorWidth);
}

}  // namespace platform::qt

namespace platform {



namespace qt {
namespace {

// A dialog of template t over owner with its controls, not yet shown; proc has had the
// init-dialog message and the focus is given as its answer asks.
DialogFrame* BuildDialog(const DialogTemplate* t, uint32_t templateId, Window* owner, WindowProc proc, intptr_t param,
                         Window** out) {
  QWidget* ownerWidget = WidgetOf(owner);
  if (ownerWidget) ownerWidget = ownerWidget->window();

  Window* record = NewWindowRecord(Window::Kind::kDialog, nullptr);
  auto* frame = new DialogFrame(record, ownerWidget);
  AttachWidget(record, frame);
  record->parent = owner;
  record->proc = proc;
  record->title = Translated("Dialog", t->caption);
  frame->setWindowTitle(record->title);
  frame->setObjectName(QStringLiteral("SolmarDialog%1").arg(templateId));
  if (WindowsOffscreen()) frame->setAttribute(Qt::WA_DontShowOnScreen);
  if (t->fontFace) {
    QFont font = QApplication::font();
    font.setFamilies({FromUtf16(t->fontFace)});
    if (t->fontPoints > 0) font.setPointSize(t->fontPoints);
    frame->setFont(font);
  }

  const uint32_t units = GetDialogBaseUnits();
  record->client = CreateClientArea(record, frame, true);
  QWidget* body = ClientWidgetOf(record);
  body->setFocusPolicy(t->controlCount ? Qt::NoFocus : Qt::StrongFocus);
  for (size_t i = 0; i < t->controlCount; ++i) {
    const ControlTemplate& c = t->controls[i];
    Window* control = NewWindowRecord(Window::Kind::kControl, nullptr);
    control->parent = record;
    control->controlId = c.id;
    control->controlKind = int(c.kind);
    control->controlStyle = c.style;
    QWidget* widget = MakeWidget(record, control, c, body);
    AttachWidget(control, widget);
    const int x = DialogUnitsToPixelsX(c.x, units), y = DialogUnitsToPixelsY(c.y, units);
    if (c.kind == ControlKind::kPicture)
      widget->move(x, y);
    else
      widget->setGeometry(x, y, DialogUnitsToPixelsX(c.width, units), DialogUnitsToPixelsY(c.height, units));
    const bool clickable = c.kind == ControlKind::kButton || c.kind == ControlKind::kListBox ||
                           c.kind == ControlKind::kResultList;
    widget->setFocusPolicy((c.style & kWsTabStop) ? Qt::StrongFocus : clickable ? Qt::ClickFocus : Qt::NoFocus);
    record->controls.push_back(control);
  }
  // A label's letter after '&' (Alt and the letter) moves the focus to the first control
  // after it that takes the focus.
  for (size_t i = 0; i < record->controls.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(WidgetOf(record->controls[i]));
    if (!label || KindOf(record->controls[i]) != ControlKind::kStaticText || !label->text().contains(QLatin1Char('&')))
      continue;
    for (size_t j = i + 1; j < record->controls.size(); ++j)
      if (QWidget* next = WidgetOf(record->controls[j]); next && next->focusPolicy() != Qt::NoFocus) {
        label->setBuddy(next);
        break;
      }
  }
  if (t->style & kWsVScroll) record->ownScrollBar = CreateChildScrollBar(record, QString(), kWsVisible, 0, 0, 0, 0, true);
  if (t->flags & kDialogOkInCaption) {
    auto* ok = new QPushButton(QCoreApplication::translate("Dialog", "OK"), frame);
    ok->setObjectName(QStringLiteral("SolmarDialogOk"));
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QAbstractButton::clicked, frame, [record] { SendCommand(record, kIdOk, kBnClicked, nullptr); });
    frame->SetOkButton(ok);
    for (Window* control : record->controls)
      if (control->controlKind == int(ControlKind::kButton) && (control->controlStyle & kBsBesideOk))
        if (auto* button = qobject_cast<QPushButton*>(WidgetOf(control))) {
          button->setParent(frame);
          button->show();
          frame->AddStripButton(button);
        }
  }
  frame->SetTemplateSize(
      QSize(DialogUnitsToPixelsX(t->width, units), DialogUnitsToPixelsY(t->height, units) + frame->StripHeight()));
  PlaceOverOwner(frame, frame->TemplateSize(), false);

  MirrorForRightToLeft(record, t, DialogUnitsToPixelsX(t->width, units));
  frame->resize(DialogUnitsToPixelsX(t->width, units), DialogUnitsToPixelsY(t->height, units) + frame->StripHeight());

  if (Deliver(record, kMsgInitDialog, 0, param) != 0) {
    for (Window* control : record->controls) {
      QWidget* widget = WidgetOf(control);
      if (!(control->controlStyle & kWsTabStop) || !widget || !widget->isEnabled()) continue;
      widget->setFocus(Qt::TabFocusReason);
      if (auto* line = qobject_cast<QLineEdit*>(widget)) line->selectAll();
      break;
    }
  }
  *out = record;
  return frame;
}

}  // namespace
}  // namespace qt

intptr_t DialogBox(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param) {
  const DialogTemplate* t = FindDialogTemplate(templateId);
  if (!t || !proc || !qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
  Window* record = nullptr;
  qt::DialogFrame* frame = qt::BuildDialog(t, templateId, owner, proc, param, &record);
  if (!record->dialogEnded) frame->exec();
  const intptr_t result = record->dialogResult;
  qt::Deliver(record, kMsgDestroy, 0, 0);
  qt::MarkWindowDestroyed(record);
  delete frame;
  return result;
}

Window* CreateDialog(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param) {
  const DialogTemplate* t = FindDialogTemplate(templateId);
  if (!t || !proc || !qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  Window* record = nullptr;
  qt::DialogFrame* frame = qt::BuildDialog(t, templateId, owner, proc, param, &record);
  record->modeless = true;
  frame->setModal(false);
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  frame->show();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    frame->raise();
    frame->activateWindow();
  }
  // The focus the procedure gave a control before the window was shown goes back to it.
  if (QWidget* focus = frame->focusWidget()) focus->setFocus(Qt::ActiveWindowFocusReason);
  return record;
}

bool EndDialog(Window* dialog, intptr_t result) {
  if (!dialog || dialog->kind != Window::Kind::kDialog || dialog->destroyed || dialog->dialogEnded) return false;
  dialog->dialogEnded = true;
  dialog->dialogResult = result;
  if (auto* frame = qobject_cast<QDialog*>(qt::WidgetOf(dialog))) frame->done(0);
  return true;
}

bool PlaceDialog(Window* dialog, int32_t width, int32_t height, bool resizable) {
  if (!dialog || dialog->kind != Window::Kind::kDialog || dialog->destroyed) return false;
  auto* frame = dynamic_cast<qt::DialogFrame*>(qt::WidgetOf(dialog));
  if (!frame) return false;
  // A dialog the full-screen set-up has sized goes back to its template's size.
  QSize size = frame->TemplateSize().isValid() ? frame->TemplateSize() : frame->size();
  if (width > 0) size.setWidth(width);
  if (height > 0) size.setHeight(height);
  qt::PlaceOverOwner(frame, size, resizable);
  return true;
}

bool GetDialogSize(Window* dialog, int32_t* width, int32_t* height) {
  QWidget* frame = dialog && dialog->kind == Window::Kind::kDialog ? qt::WidgetOf(dialog) : nullptr;
  const QSize size = frame ? frame->size() : QSize(0, 0);
  if (width) *width = size.width();
  if (height) *height = size.height();
  return frame != nullptr;
}

uint32_t GetDialogBaseUnits() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return uint32_t(MakeLong(8, 16));
  return qt::BaseUnits();
}

Window* GetDialogItem(Window* dialog, int id) {
  if (!dialog || dialog->kind != Window::Kind::kDialog || dialog->destroyed || id == kNoControlId) return nullptr;
  for (Window* control : dialog->controls)
    if (control->controlId == id && !control->destroyed) return control;
  return nullptr;
}

int GetDialogControlId(Window* control) {
  return control && control->kind == Window::Kind::kControl && !control->destroyed ? control->controlId : kNoControlId;
}

bool SetWindowText(Window* window, const char16_t* text) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  QString value = qt::FromUtf16(text);
  if (window->kind != Window::Kind::kControl) {
    window->title = value;
    widget->setWindowTitle(value);
    return true;
  }
  if (qt::KindOf(window) == ControlKind::kEdit && qt::ReadingOrder(window)) value = qt::Reversed(value);
  if (qt::KindOf(window) == ControlKind::kEdit && qt::VisualOrder(window))
    value = QChar(qt::kLeftToRightOverride) + value + QChar(qt::kPopDirectionalFormatting);
  if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    line->setText(value);  // the caret at the end of reading order: the start of visual order
    if (!qt::ReadingOrder(window)) line->setCursorPosition(0);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    qt::Quietly(plain, [&] { plain->setPlainText(value); });
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(value);
  }
  return true;
}

uint32_t GetWindowText(Window* window, char16_t* buffer, uint32_t capacity) {
  if (buffer && capacity) buffer[0] = 0;
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return 0;
  QString text;
  if (window->kind != Window::Kind::kControl)
    text = window->title;
  else if (qt::KindOf(window) == ControlKind::kEdit)
    text = qt::EditText(window);
  else if (auto* label = qobject_cast<QLabel*>(widget))
    text = label->text();
  else if (auto* button = qobject_cast<QAbstractButton*>(widget))
    text = button->text();
  return qt::CopyOut(text, buffer, capacity);
}

void SetWindowFont(Window* control, Font* font, bool redraw) {
  QWidget* widget = qt::WidgetOf(control);
  if (!widget || control->kind != Window::Kind::kControl) return;
  QFont shown = font ? qt::QFontOf(font) : QFont();
  // A box in visual order shows letters as the panes draw them, and the panes take every
  // glyph from their own font: no other font stands in for one the font lacks.
  if (font && control->controlStyle & kEsVisualOrder) shown.setStyleStrategy(QFont::NoFontMerging);
  widget->setFont(shown);
  if (redraw) widget->update();
}

bool EnableWindow(Window* window, bool enable) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  const bool wasDisabled = !widget->isEnabled();
  widget->setEnabled(enable);
  return wasDisabled;
}

bool SetFocus(Window* window) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  if (QWidget* client = qt::ClientWidgetOf(window)) widget = client;
  widget->setFocus(Qt::OtherFocusReason);
  return true;
}

void EditLimitText(Window* edit, uint32_t maxUnits) {
  if (!qt::IsControlOf(edit, ControlKind::kEdit)) return;
  if (auto* line = qobject_cast<QLineEdit*>(qt::WidgetOf(edit)))
    line->setMaxLength(maxUnits == 0 || maxUnits > 32767 ? 32767 : int(maxUnits));
}

void EditMapTypedCharacters(Window* edit, TypedCharacterMap map) {
  if (!qt::IsControlOf(edit, ControlKind::kEdit)) return;
  auto* line = qobject_cast<QLineEdit*>(qt::WidgetOf(edit));
  if (!line) return;
  for (QObject* old : line->findChildren<QObject*>(QString::fromLatin1(qt::TypedCharacterFilter::kName),
                                                  Qt::FindDirectChildrenOnly)) {
    line->removeEventFilter(old);
    delete old;
  }
  if (map) line->installEventFilter(new qt::TypedCharacterFilter(line, map));
}

void EditGetSelection(Window* edit, uint32_t* start, uint32_t* end) {
  int s = 0, e = 0;
  if (qt::IsControlOf(edit, ControlKind::kEdit)) {
    qt::LogicalSelection(edit, &s, &e);
    if (qt::ReadingOrder(edit)) {
      const int n = int(qt::EditText(edit).size());
      std::tie(s, e) = std::pair(n - e, n - s);
    }
  }
  if (start) *start = uint32_t(s);
  if (end) *end = uint32_t(e);
}

void EditSetSelection(Window* edit, int32_t start, int32_t end) {
  if (!qt::IsControlOf(edit, ControlKind::kEdit)) return;
  const int n = int(qt::EditText(edit).size());
  if (start < 0) {
    int s = 0, e = 0;
    qt::LogicalSelection(edit, &s, &e);
    if (auto* line = qobject_cast<QLineEdit*>(qt::WidgetOf(edit))) {
      const int caret = line->cursorPosition();
      line->deselect();
      line->setCursorPosition(caret);
    } else {
      qt::SetLogicalSelection(edit, e, e, e);
    }
    return;
  }
  if (end < 0 || end > n) end = n;
  if (start > n) start = n;
  if (start > end) std::swap(start, end);
  // The caret goes to the end given, as the reader's model has it.
  if (qt::ReadingOrder(edit))
    qt::SetLogicalSelection(edit, n - end, n - start, n - end);
  else
    qt::SetLogicalSelection(edit, start, end, end);
}

void EditReplaceSelection(Window* edit, const char16_t* text, bool /*allowUndo: Qt's boxes always can*/) {
  if (!qt::IsControlOf(edit, ControlKind::kEdit)) return;
  int s = 0, e = 0;
  qt::LogicalSelection(edit, &s, &e);
  QString insert = qt::FromUtf16(text);
  if (auto* line = qobject_cast<QLineEdit*>(qt::WidgetOf(edit))) {
    // What does not fit is dropped from the end of the text as given.
    const int kept = int(line->text().size()) - (e - s);
    insert = insert.left(std::max(0, line->maxLength() - kept));
    if (qt::ReadingOrder(edit)) insert = qt::Reversed(insert);
    line->setSelection(s, e - s);
    line->insert(insert);
    // In visual order the caret follows the insertion: in reading order it stands before it.
    if (qt::ReadingOrder(edit)) line->setCursorPosition(s);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(qt::WidgetOf(edit))) {
    if (qt::ReadingOrder(edit)) insert = qt::Reversed(insert);
    QTextCursor cursor = plain->textCursor();
    cursor.setPosition(s);
    cursor.setPosition(e, QTextCursor::KeepAnchor);
    cursor.insertText(insert);
    if (qt::ReadingOrder(edit)) cursor.setPosition(s);
    plain->setTextCursor(cursor);
  }
}

void CheckDialogButton(Window* dialog, int id, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(qt::WidgetOf(GetDialogItem(dialog, id)))) {
    button->setCheckable(true);
    button->setChecked(checked);
  }
}

bool IsDialogButtonChecked(Window* dialog, int id) {
  auto* button = qobject_cast<QAbstractButton*>(qt::WidgetOf(GetDialogItem(dialog, id)));
  return button && button->isChecked();
}

namespace {

QListWidget* ListOf(Window* list) {
  return qt::IsControlOf(list, ControlKind::kListBox) ? qobject_cast<QListWidget*>(qt::WidgetOf(list)) : nullptr;
}
bool ValidIndex(QListWidget* list, int index) { return list && index >= 0 && index < list->count(); }
constexpr int kItemDataRole = Qt::UserRole + 1;

}  // namespace

int ListBoxInsertString(Window* list, int index, const char16_t* text) {
  QListWidget* widget = ListOf(list);
  if (!widget || index < -1 || index > widget->count()) return kListBoxError;
  if (index == -1) index = widget->count();
  auto* item = new QListWidgetItem(qt::FromUtf16(text));
  item->setData(kItemDataRole, QVariant::fromValue<qlonglong>(0));
  qt::Quietly(widget, [&] { widget->insertItem(index, item); });
  return index;
}

int ListBoxAddString(Window* list, const char16_t* text) {
  QListWidget* widget = ListOf(list);
  if (!widget) return kListBoxError;
  int index = widget->count();
  if (list->controlStyle & kLbsSort) {
    const QString value = qt::FromUtf16(text);
    index = 0;
    while (index < widget->count() && widget->item(index)->text().compare(value, Qt::CaseInsensitive) <= 0) ++index;
  }
  return ListBoxInsertString(list, index, text);
}

int ListBoxDeleteString(Window* list, int index) {
  QListWidget* widget = ListOf(list);
  if (!ValidIndex(widget, index)) return kListBoxError;
  qt::Quietly(widget, [&] { delete widget->takeItem(index); });
  return widget->count();
}

void ListBoxReset(Window* list) {
  if (QListWidget* widget = ListOf(list)) qt::Quietly(widget, [&] { widget->clear(); });
}

int ListBoxCount(Window* list) {
  QListWidget* widget = ListOf(list);
  return widget ? widget->count() : 0;
}

int ListBoxGetText(Window* list, int index, char16_t* buffer, uint32_t capacity) {
  QListWidget* widget = ListOf(list);
  if (!ValidIndex(widget, index)) return kListBoxError;
  return int(qt::CopyOut(widget->item(index)->text(), buffer, capacity));
}

bool ListBoxSetItemData(Window* list, int index, intptr_t data) {
  QListWidget* widget = ListOf(list);
  if (!ValidIndex(widget, index)) return false;
  widget->item(index)->setData(kItemDataRole, QVariant::fromValue<qlonglong>(data));
  return true;
}

intptr_t ListBoxGetItemData(Window* list, int index) {
  QListWidget* widget = ListOf(list);
  if (!ValidIndex(widget, index)) return kListBoxError;
  return intptr_t(widget->item(index)->data(kItemDataRole).toLongLong());
}

int ListBoxGetCurrentSelection(Window* list) {
  QListWidget* widget = ListOf(list);
  if (!widget) return kListBoxError;
  const QList<QListWidgetItem*> selected = widget->selectedItems();
  return selected.isEmpty() ? kListBoxError : widget->row(selected.first());
}

int ListBoxSetCurrentSelection(Window* list, int index) {
  QListWidget* widget = ListOf(list);
  if (!widget) return kListBoxError;
  if (!ValidIndex(widget, index)) {
    qt::Quietly(widget, [&] { widget->clearSelection(); });
    return kListBoxError;
  }
  qt::Quietly(widget, [&] {
    widget->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    widget->scrollToItem(widget->item(index));
  });
  return index;
}

int ListBoxFindPrefix(Window* list, int startAfter, const char16_t* prefix) {
  QListWidget* widget = ListOf(list);
  if (!widget || widget->count() == 0) return kListBoxError;
  const QString p = qt::FromUtf16(prefix);
  const int count = widget->count();
  const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
  for (int i = 0; i < count; ++i) {
    const int index = (first + i) % count;
    if (widget->item(index)->text().startsWith(p, Qt::CaseInsensitive)) return index;
  }
  return kListBoxError;
}

int ListBoxSelectPrefix(Window* list, int startAfter, const char16_t* prefix) {
  const int index = ListBoxFindPrefix(list, startAfter, prefix);
  if (index != kListBoxError) ListBoxSetCurrentSelection(list, index);
  return index;
}

}  // namespace platform

namespace platform {
namespace {

QTreeView* ResultViewOf(Window* list) {
  return qt::IsControlOf(list, ControlKind::kResultList) ? qobject_cast<QTreeView*>(qt::WidgetOf(list)) : nullptr;
}
qt::ResultListModel* ResultModelOf(QTreeView* view) {
  return view ? static_cast<qt::ResultListModel*>(view->model()) : nullptr;
}

}  // namespace

void ResultListSetColumns(Window* list, const ResultColumn* columns, size_t count) {
  QTreeView* view = ResultViewOf(list);
  if (!view) return;
  std::vector<QString> titles;
  for (size_t i = 0; i < count; ++i) titles.push_back(qt::Translated("Dialog", columns[i].title));
  ResultModelOf(view)->SetColumns(std::move(titles));
  const uint32_t units = GetDialogBaseUnits();
  for (size_t i = 0; i + 1 < count; ++i)
    if (columns[i].width > 0) view->setColumnWidth(int(i), DialogUnitsToPixelsX(columns[i].width, units));
}

void ResultListSetRowCount(Window* list, int count) {
  if (QTreeView* view = ResultViewOf(list)) ResultModelOf(view)->SetRowCount(count);
}

int ResultListRowCount(Window* list) {
  QTreeView* view = ResultViewOf(list);
  return view ? view->model()->rowCount() : 0;
}

int ResultListSetSelection(Window* list, int row) {
  QTreeView* view = ResultViewOf(list);
  if (!view) return kListBoxError;
  if (row < 0 || row >= view->model()->rowCount()) {
    view->selectionModel()->clearSelection();
    return kListBoxError;
  }
  const QModelIndex index = view->model()->index(row, 0);
  view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view->scrollTo(index);
  return row;
}

int ResultListGetSelection(Window* list) {
  QTreeView* view = ResultViewOf(list);
  if (!view) return kListBoxError;
  const QModelIndexList rows = view->selectionModel()->selectedRows();
  return rows.isEmpty() ? kListBoxError : rows.first().row();
}

}  // namespace platform
