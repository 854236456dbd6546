// What the user does to the panes: keys, taps, the mouse wheel and the scroll bars.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

// 0 when the key was handled, 1 otherwise.
intptr_t OnKeyDown(platform::Window* mainWindow, uint32_t key);
// Scroll-bar input for one bar (code kSb..., signed thumb position); always 1.
intptr_t OnScrollBar(platform::Window* mainWindow, uint32_t code, int32_t position, platform::Window* scrollBar);
// A tap (left button down) at client x, y. fromMouse: a mouse click, which on a pane that
// is not the active one only makes it active; otherwise (and for a stylus) the tap rules of
// TapPane. A hidden lower pane takes no taps.
void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y, bool fromMouse = false);
// The wheel over client x, y: makes the pane under the pointer active and scrolls it by
// three rows a notch, as line steps of its scroll bar. Outside the panes (and over a hidden
// lower pane) nothing happens.
void OnMouseWheel(platform::Window* mainWindow, int32_t x, int32_t y, int32_t wheelDelta);
// Makes view active when x, y lies in it or within SurroundingGutter pixels of it, and with
// TapTurnsPages pages it back or forward by the tap zone (repaintNow: paint it at once).
// 1 when it paged, 0 otherwise.
int TapPane(PageView* view, int32_t x, int32_t y, bool repaintNow);
