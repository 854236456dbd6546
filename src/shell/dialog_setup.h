// What every full-screen dialog of the reader runs when it opens.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Set-up with flags 30: sized to the screen, the Done button unless FullScreen is set,
// and in full-screen mode moved to the top.
void SetUpDialog(platform::Window* dialog, uint32_t flags);
