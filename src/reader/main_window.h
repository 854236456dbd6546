// The main window: its class, its bars and its window procedure, the seam where platform
// messages become calls into the panes, the input handlers and the commands.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Class and title of the main window, and the name the single instance is held under.
inline constexpr char16_t kReaderClassName[] = u"Solmar";
// The full-screen state of the main window in full-screen mode (42).
inline constexpr uint32_t kFullScreenAll = platform::kFullScreenHideTaskBar |
                                           platform::kFullScreenHideInputPanelButton |
                                           platform::kFullScreenHideStartIcon;

bool RegisterMainWindowClass(void* instance, const char16_t* className);
// The menu bar or command bar of the main window, with the six tool buttons.
void CreateBars();
intptr_t MainWindowProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Another start of the reader: opens the index when the main window is in front, else
// brings the main window forward.
void OnSecondStart(platform::Window* mainWindow);
