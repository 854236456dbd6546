// Stand-ins for the commands whose subsystem has not landed yet: the font chooser, the
// About box and the update check. Each does nothing (the font chooser is not confirmed). When a
// subsystem lands, its functions move out of here into its own library, which this
// library then links; the file empties as they do.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct FontSpec;

// The font chooser on fontSpec: 1 when the user confirmed a choice.
intptr_t OpenFontChooser(platform::Window* owner, FontSpec* fontSpec);
void OpenAboutBox(platform::Window* owner);
void CheckForUpdates(platform::Window* owner);
