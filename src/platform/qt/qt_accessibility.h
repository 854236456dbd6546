// Internal to the Qt backend: the documents of a client area (the reader's panes) for
// keyboard focus and assistive technology. The client area calls these from its events.
#pragma once

#include <QPoint>
#include <Qt>
#include <memory>

#include "platform/platform.h"

class QAccessibleTextSelectionEvent;
class QPainter;
class QWidget;

namespace platform::qt {

// Tab or Shift+Tab inside the client area: moves the focus to the next or previous
// document and answers true; false when the focus should leave the client area (it is on
// the last or first document, or there are none).
bool MoveDocumentFocus(Window* window, QWidget* client, bool next);
// The client area got the focus: Tab lands on the first document, Shift+Tab on the last,
// anything else keeps the one it had.
void EnterDocumentFocus(Window* window, QWidget* client, Qt::FocusReason reason);
// A click at point (client coordinates) moves the focus mark to the document there.
void FocusDocumentAt(Window* window, QWidget* client, QPoint point);
// Draws the focus mark around the focused document while the client area has the focus.
void PaintDocumentFocus(Window* window, QWidget* client, QPainter* painter);
// The event that tells assistive technology the selection of document index of window's
// client area: from the document's interface, with the selection's offsets into its whole
// text (-1 and -1 when nothing is selected). None when there is no such document.
std::unique_ptr<QAccessibleTextSelectionEvent> SelectionChangeEvent(Window* window, int index);

}  // namespace platform::qt
