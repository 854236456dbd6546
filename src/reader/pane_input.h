// What the user does to the panes: keys, taps, the mouse wheel and the scroll bars.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

// 0 when the key was handled, 1 otherwise. withShift: Shift was held (Shift+Up and
// Shift+Down extend the selection by a row; Escape clears it).
intptr_t OnKeyDown(platform::Window* mainWindow, uint32_t key, bool withShift = false);
// Scroll-bar input for one bar (code kSb..., signed thumb position); always 1.
intptr_t OnScrollBar(platform::Window* mainWindow, uint32_t code, int32_t position, platform::Window* scrollBar);
// A tap (left button down) at client x, y. A stylus or touch tap follows the tap rules of
// TapPane at once. fromMouse: a mouse press, which starts a selection: the tap rules wait
// for the release (a click), and a press on the pane that is not the active one only makes
// it active. With shift a mouse press extends the pane's selection to the character under
// it instead. A hidden lower pane takes no taps.
void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y, bool fromMouse = false, bool shift = false);
// The mouse moved with its button held: once it has gone a few pixels from the press it is
// a drag, which selects from the character under the press to the one under the pointer.
void OnMouseDrag(platform::Window* mainWindow, int32_t x, int32_t y);
// The button came up: a press that was no drag is a click, which clears every selection
// and (unless it only picked the pane) follows the tap rules.
void OnMouseRelease(platform::Window* mainWindow, int32_t x, int32_t y);
// A double click selects the word under it, a triple click the verse (on a page of the
// text) or the paragraph (in the commentary, and for a page's headings).
void OnMultipleClick(platform::Window* mainWindow, int32_t x, int32_t y, int count);
// Clears the selection of both panes, repainting those that had one. True when one had.
bool ClearSelections(platform::Window* mainWindow);
// The wheel over client x, y: makes the pane under the pointer active and scrolls it by
// three rows a notch, as line steps of its scroll bar. Outside the panes (and over a hidden
// lower pane) nothing happens.
void OnMouseWheel(platform::Window* mainWindow, int32_t x, int32_t y, int32_t wheelDelta);
// Makes view active when x, y lies in it or within SurroundingGutter pixels of it, and with
// TapTurnsPages pages it back or forward by the tap zone (repaintNow: paint it at once).
// 1 when it paged, 0 otherwise.
int TapPane(PageView* view, int32_t x, int32_t y, bool repaintNow);
