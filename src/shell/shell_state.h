// The shell's process-wide records, shared by start-up, panes, commands, settings and
// bookmarks. Each is zero at start; the Reset functions give tests a clean slate.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct PageView;

struct ShellWindows {
  void* instance;               // the program module (unused off the handheld platform)
  platform::Window* mainWindow; // none until the create message arrives
  platform::Window* bar;        // menu bar or command bar
  int32_t barHeight;
  platform::Window* taskBar;    // only looked up in full-screen mode
  bool taskBarWasVisible;
};

struct DeviceOptions {
  int32_t ignoreActivate;
  int32_t fullScreen;
  int32_t allowSipInHebrewSearch;
  int32_t menuBarOnBottom;
  int32_t surroundingGutter;
};

struct PaneRect {
  int32_t left, top, right, bottom;
};

struct PaneState {
  platform::Window* lowerScrollBar;   // created with the window name "Top"
  platform::Window* upperScrollBar;   // created with the window name "Bottom"
  platform::Window* activeScrollBar;
  PageView* lowerView;
  PageView* activeView;               // none stands for the upper pane
  PaneRect lowerRect;
  PageView* upperView;
  int32_t lastClientWidth;
  int32_t lastClientHeight;
};

// The three small bitmaps of the index tree, loaded with the settings and released at
// shutdown.
struct IndexBitmaps {
  platform::Bitmap* bitmaps[3];  // 201, 202, 203
};

extern ShellWindows gShellWindows;
extern DeviceOptions gDeviceOptions;
extern PaneState gPaneState;
extern IndexBitmaps gIndexBitmaps;

void ResetShellState();  // zeroes all four records (does not free anything)
