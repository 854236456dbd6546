// What the user does in the main window: commands, keys, taps, the mouse wheel and the
// scroll bars; moving between articles; the Reverse and Bookmark check marks.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

constexpr int kLastPage = 285;       // the last odd article: the last page of main text
constexpr int kLastArticle = 286;

enum class MenuCheckMode { kSet, kToggle };

// 0 when id is a command of the reader (handled), 1 otherwise.
intptr_t DispatchCommand(platform::Window* mainWindow, uint32_t id);
// 0 when the key was handled, 1 otherwise.
intptr_t OnKeyDown(platform::Window* mainWindow, uint32_t key);
// Scroll-bar input for one bar (code kSb..., signed thumb position); always 1.
intptr_t OnScrollBar(platform::Window* mainWindow, uint32_t code, int32_t position, platform::Window* scrollBar);
// A tap (left button down) at client x, y.
void OnTap(platform::Window* mainWindow, uint16_t x, uint16_t y);
// The wheel over client x, y: makes the pane under the pointer active and scrolls it by
// three rows a notch, as line steps of its scroll bar. Outside the panes nothing happens.
void OnMouseWheel(platform::Window* mainWindow, int32_t x, int32_t y, int32_t wheelDelta);
// Makes view active when x, y lies in it or within SurroundingGutter pixels of it, and with
// TapTurnsPages pages it back or forward by the tap zone (repaintNow: paint it at once).
// 1 when it paged, 0 otherwise.
int TapPane(PageView* view, int32_t x, int32_t y, bool repaintNow);

// Goes to article n: makes it current, loads it at its top with its commentary, repaints
// and refreshes the Bookmark mark. 1 (nothing changes) when the article cannot be loaded.
int GoToArticle(platform::Window* mainWindow, int n);
// Reloads the current article into the upper pane at its top; the lower pane is kept.
int ReloadCurrentArticle(platform::Window* mainWindow);
// Previous (-2) or next (+2) page, wrapping from 285 to 1 and from 1 to 285.
void StepArticle(platform::Window* mainWindow, int step);

// Sets or toggles an item's check mark; answers the item's new state.
bool SetMenuCheck(platform::Menu* menu, MenuCheckMode mode, uint16_t command, uint32_t value);
// The "&Bookmark" mark follows whether the current article is bookmarked.
void RefreshBookmarkCheck();
// Set: the "Re&verse" mark shows the Reverse flag. Toggle: the mark flips and the flag
// follows it.
void SyncReverseCheck(MenuCheckMode mode);
