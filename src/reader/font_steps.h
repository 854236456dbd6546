// The display font's size at hand: Ctrl+Plus, Ctrl+Minus, Ctrl+0 and Ctrl+wheel step it
// through the font chooser's size list, and every font change re-lays both panes out.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The size direction > 0 or < 0 steps to from current: the next larger or smaller size of
// the chooser's list (current itself when there is none that way). A current size of 0 (the
// platform's default) counts as 12 pixels.
int32_t SteppedFontSize(int32_t current, int direction);
// Steps the FontSpec's size (direction 0: back to the chosen size, gFontSteps) and hands
// it to the panes; nothing happens when the size stays.
void StepFontSize(platform::Window* mainWindow, int direction);
// Ctrl+wheel: each notch away from the user one size larger, towards the user one smaller;
// parts of a notch add up.
void OnFontSizeWheel(platform::Window* mainWindow, int32_t wheelDelta);
// Hands the shared FontSpec to both panes: new fonts, their margin laid out again, each pane
// still starting with the line it started with, everything repainted.
void ApplyFontToPanes(platform::Window* mainWindow);
