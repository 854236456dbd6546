// Internal to the Qt backend: the colours the backend paints with itself (SetChromeColours),
// and the desktop's light or dark choice.
#pragma once

#include <QPalette>

#include "platform/platform.h"

namespace platform::qt {

// The colours given last; until the reader gives its own, the classic ones (black pictures
// on white, the tool pictures in dark blue and red, a white client ground).
const ChromeColours& ChromeColoursNow();
// The application palette made from colours: every role of every group set.
QPalette PaletteOf(const ChromeColours& colours);
// Whether a palette is a dark one: its window colour darker than its window text.
bool IsDarkPalette(const QPalette& palette);

}  // namespace platform::qt
