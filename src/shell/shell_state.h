// The shell's process-wide records, shared by start-up, panes, commands, settings and
// bookmarks, and by the dialogs and subsystems above the shell. Each is zero at start; the
// Reset function gives tests a clean slate.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

struct ShellWindows {
  void* instance;               // the program module (unused off the handheld platform)
  platform::Window* mainWindow; // none until the create message arrives
  platform::Window* bar;        // menu bar or command bar; none when it could not be made
  int32_t barHeight;            // pixels the bar takes from the client area
  platform::Window* taskBar;    // only looked up in full-screen mode
  bool taskBarWasVisible;       // the task bar is shown again at the end when it was
};

// Device-wide options, read at start-up from the device key and never written.
struct DeviceOptions {
  int32_t ignoreActivate;         // nonzero: the activate message gets default handling only
  int32_t fullScreen;             // nonzero: task bar hidden, dialogs without Done, bars at the top
  int32_t allowSipInHebrewSearch; // nonzero: the search dialog may raise the input panel
  int32_t menuBarOnBottom;        // nonzero: a shell menu bar at the bottom, else a command bar on top
  int32_t surroundingGutter;      // pixels of margin around the panes, 0..0x3FFF
};

// A pane's rectangle in client pixels, right and bottom exclusive.
struct PaneRect {
  int32_t left, top, right, bottom;
};

struct PaneState {
  platform::Window* lowerScrollBar;   // created with the window name "Top"
  platform::Window* upperScrollBar;   // created with the window name "Bottom"
  platform::Window* activeScrollBar;  // the bar of the pane keys and taps act on
  PageView* lowerView;                // the commentary of the current page
  PageView* activeView;               // none stands for the upper pane
  PaneRect lowerRect;                 // the lower pane with its background, client pixels
  PageView* upperView;                // the current article
  int32_t lastClientWidth;            // client size of the last size message, pixels
  int32_t lastClientHeight;           // the same, height
  int32_t wheelPending;               // wheel units x 3 not yet turned into whole rows
  platform::Window* wheelBar;         // the bar those units belong to
  int32_t margin;                     // pixels between a pane's text and its sides
  // The mouse: the pane its left button went down on (none while it is up), where, the
  // character under that point (0: none), whether the press only picked the pane, and
  // whether it has become a drag. A click that paged a pane is remembered with the top
  // row it had, so that a double click there puts the pane back before picking a word.
  PageView* pressView;
  int32_t pressX, pressY;
  uint16_t pressKey;
  bool pressPickedPane;
  bool dragging;
  PageView* clickView;
  uint16_t clickTopRow;
};

// The display font's size as the user chose it (stored, or picked in the font chooser),
// which stepping the size by keys or the wheel comes back to; and the Ctrl+wheel units not
// yet turned into a whole step.
struct FontSteps {
  int32_t chosenSize;
  int32_t wheelPending;
};

// The three small bitmaps of the index tree, loaded with the settings and released at
// shutdown.
struct IndexBitmaps {
  platform::Bitmap* bitmaps[3];  // 201, 202, 203
};

// Messages for the user that arrived while the main window was not on screen yet; they are
// shown over it once it is (ShowWaitingMessages).
struct WaitingMessage {
  const char16_t* text;     // static texts only
  const char16_t* caption;
  uint32_t type;
};
struct WaitingMessages {
  WaitingMessage messages[4];
  int count;
};

// The sizes the user gave the resizable dialogs (DialogSizeSlot in shell/dialog_setup.h):
// read from the store at start-up, taken again when a dialog closes, written at shutdown.
struct DialogSize {
  int32_t width, height;  // 0: none (the template's size)
};
struct DialogSizes {
  DialogSize sizes[3];
};

extern ShellWindows gShellWindows;
extern DeviceOptions gDeviceOptions;
extern PaneState gPaneState;
extern IndexBitmaps gIndexBitmaps;
extern FontSteps gFontSteps;
extern WaitingMessages gWaitingMessages;
extern DialogSizes gDialogSizes;

void ResetShellState();  // zeroes all seven records (does not free anything)
