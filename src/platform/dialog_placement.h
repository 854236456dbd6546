// Where a dialog goes on the desktop, written once for both backends: centred over its
// owner's window, as large as asked but at least its minimum, never larger than the screen
// and wholly on it. Qt-free.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/platform.h"

namespace platform {

// The dialog's rectangle (without its frame) for a size of width x height, at least
// minWidth x minHeight, over owner on screen. A screen with no area leaves the dialog
// centred over owner wherever that is.
inline Rect DialogRectOverOwner(const Rect& owner, int32_t width, int32_t height, int32_t minWidth,
                                int32_t minHeight, const Rect& screen) {
  width = std::max({width, minWidth, int32_t(1)});
  height = std::max({height, minHeight, int32_t(1)});
  const int32_t screenWidth = screen.right - screen.left, screenHeight = screen.bottom - screen.top;
  const bool onScreen = screenWidth > 0 && screenHeight > 0;
  if (onScreen) {
    width = std::min(width, screenWidth);
    height = std::min(height, screenHeight);
  }
  int32_t left = owner.left + (owner.right - owner.left - width) / 2;
  int32_t top = owner.top + (owner.bottom - owner.top - height) / 2;
  if (onScreen) {
    left = std::clamp(left, screen.left, screen.right - width);
    top = std::clamp(top, screen.top, screen.bottom - height);
  }
  return {left, top, left + width, top + height};
}

}  // namespace platform
