// The main window's place, size and maximised state between runs. Stored at shutdown with
// the other values as the string value "WindowGeometry", "x,y,width,height,maximised": the
// window without its frame, in screen pixels, as it is when not maximised; maximised 0 or 1.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The client area is never smaller than this, so that both panes with their scroll bars
// and a few rows of text always show.
constexpr int32_t kMinimumClientWidth = 240;
constexpr int32_t kMinimumClientHeight = 200;

struct WindowGeometry {
  int32_t x, y;
  int32_t width, height;
  bool maximized;
};

// Reads the stored form; false (nothing written) for anything else: missing or extra
// fields, signs on the size, a size of 0, numbers beyond 100000, a state other than 0 or 1.
bool ParseWindowGeometry(const char16_t* text, WindowGeometry* geometry);
std::u16string FormatWindowGeometry(const WindowGeometry& geometry);
// The geometry made fit for the screens' work areas (the primary first; count 0: kept as
// it is): at least the minimum size and at most the size of the screen it lands on; kept
// where it is while a piece of its top edge lies on a screen (the user can reach it), else
// moved wholly onto the screen it overlaps most, or the primary one.
WindowGeometry FitWindowGeometry(WindowGeometry geometry, const platform::Rect* screens, int count);

// Gives window the stored geometry, fitted to the screens now; nothing (the platform's
// default place and size) when none is stored or it is unusable. False then.
bool RestoreWindowGeometry(platform::Window* window);
// Stores window's geometry; nothing for none.
void SaveWindowGeometry(platform::Window* window);
