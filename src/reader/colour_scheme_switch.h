// Switching the colour scheme while the reader runs: the menu's command and the desktop's
// colour changes.
#pragma once

#include "platform/platform.h"

// The menu command: the light scheme when the dark one shows, else the dark one, stored in
// the setting (written at shutdown); the window is repainted in it.
void ToggleColourScheme(platform::Window* mainWindow);
// The desktop's colours changed: with the system setting the reader follows when the
// scheme it shows changes; either way the platform's colours are given again so that its
// palette matches the desktop's new one.
void OnDesktopColoursChanged(platform::Window* mainWindow);
