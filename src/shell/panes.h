// The two panes of the main window: the current article above, its commentary below, each
// a PageView with a scroll bar at its right, a line between them and a ground of its own
// under the lower one, in the colours of the current scheme (view/colour_scheme.h). All pane state lives in gPaneState.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

// Repaint flags of PaintPanes and RepaintPanes; other bits have no effect.
constexpr uint32_t kRepaintUpper = 0x001;
constexpr uint32_t kRepaintLower = 0x002;      // background, separator, then its text
constexpr uint32_t kRepaintEraseUpper = 0x100; // fill the upper pane with its ground first
constexpr uint32_t kRepaintAll = 0x1FF;        // both panes, the upper one erased
constexpr uint32_t kRepaintAfterResize = 0x3FF;
// Fill the whole client area with the gutter's colour before painting: a layout change leaves nothing of the
// old one behind, in the gutter either.
constexpr uint32_t kRepaintEraseClient = 0x400;

// LayOutPanes size argument that stands for the last client size again.
constexpr uint32_t kLastClientSize = 0xBAADF00D;

constexpr int32_t kDefaultLowerPaneCode = 12;
constexpr int32_t kLowerPaneNoneCode = 1;

// Whether code is one of the lower-pane size codes 1, 12, 13, 14, 23 and 34.
bool IsLowerPaneCode(int32_t code);
// The lower pane's height for an available height: tens digit x available / units digit,
// truncated toward zero. A code that is not a size code counts as the default 12, so a
// stored value with no denominator cannot divide by zero.
int32_t LowerPaneHeight(int32_t code, int32_t available);

// The views the shell works on: the active pane's (the upper one when none is active).
PageView* ActiveView();
// Whether the lower pane shows: every size code but "none".
bool LowerPaneShown();
// Makes the upper pane the active one when the lower pane is hidden, so that keys, Copy
// and Append never act on a pane nobody sees.
void KeepActivePaneShown();
// Pixels between a pane's text and its sides: the platform's share of the upper view's text
// height (0 on platforms without a margin, or without a view).
int32_t PaneMargin();

// Creates both views and scroll bars and loads the current article and its commentary.
// 0; 1 when the upper view was not created; the message box's answer when the current
// article cannot be loaded.
intptr_t CreatePanes(platform::Window* mainWindow);
// Places the panes and scroll bars for a client size (width in the low 16 bits, height in
// the high 16 bits) or kLastClientSize. Each view keeps PaneMargin() pixels free at its left
// and right inside the pane; the upper scroll bar never reaches above the client area (or
// under a bar at its top). Paints nothing.
void LayOutPanes(platform::Window* mainWindow, uint32_t size);
// Loads article Lesson + 1 into the lower view at its top; on failure "Resource not found"
// and the lower pane keeps what it showed. Paints nothing. Always 0.
int32_t LoadCommentaryPane(platform::Window* mainWindow);
// Paints the panes named by flags into dc (none: the window's paint context).
void PaintPanes(platform::Dc* dc, platform::Window* window, uint32_t flags);
// Paints through the window's drawing context (none: the main window), then syncs the bars.
void RepaintPanes(platform::Window* window, uint32_t flags);
// Puts the radio mark of the lower-pane size menu on the item of the current size code.
void CheckLowerPaneSize();
// Makes both panes' views draw their text turned around, or not (the Reverse option).
void SetPanesReversed(bool reversed);
// Sets the bar's range to 0..maxTopRow, position to topRow and page to the rows shown of
// the active view, when a ScrollBarSync bit is set.
void SyncScrollBar(platform::Window* scrollBar);
// SyncScrollBar for each pane with its own view; the active pane is kept.
void SyncScrollBars();

// Loads article n for a pane and lays it out in view (releaseOld as for PageViewLayOut).
// None of the new text is kept when the view does not take it. False when the article
// could not be loaded (nothing changes).
bool LoadArticleIntoView(PageView* view, int article, bool releaseOld);
