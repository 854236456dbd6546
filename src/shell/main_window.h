// Start-up, the main window and its message loop: the seam where platform messages become
// calls into the panes and commands.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Class and title of the main window, and the name the single instance is held under.
inline constexpr char16_t kReaderClassName[] = u"Solmar";

// The program: device options, single instance, settings, the window and its message loop.
// Answers the loop's exit code, or 0 when start-up stopped early (a second start, or the
// window could not be made).
int ReaderMain(void* instance, int showState);
// Loads the settings and creates and shows the main window; none for a second start (the
// running reader is told instead, and no setting is read or written) or when the window
// cannot be made.
platform::Window* StartReader(int showState);
bool RegisterMainWindowClass(void* instance, const char16_t* className);
// The menu bar or command bar of the main window, with the six tool buttons.
void CreateBars();
intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Set-up every full-screen dialog runs when it opens (flags 30): sized to the screen, the
// Done button unless FullScreen is set, and in full-screen mode moved to the top.
void SetUpDialog(platform::Window* dialog, uint32_t flags);
// Another start of the reader: opens the index when the main window is in front, else
// brings the main window forward.
void OnSecondStart(platform::Window* mainWindow);

// The menu carrying the "Re&verse" and "&Bookmark" marks, and the one with the lower-pane
// sizes; none without a bar.
platform::Menu* ReaderMenu();
platform::Menu* LowerPaneSizeMenu();
