// Which colour scheme the reader shows: the `ColorScheme` setting (light, dark, or the
// desktop's choice), applied to everything that paints. The menu's switch and the
// desktop's changes are in reader/colour_scheme_switch.h.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/colour_scheme.h"

// Values of ReaderSettings::colourScheme.
constexpr int32_t kColourSchemeSystem = 0;  // the default: what the desktop asks for
constexpr int32_t kColourSchemeLight = 1;
constexpr int32_t kColourSchemeDark = 2;

// The setting a stored text names: "light", "dark" or "system" in any case, with spaces
// around allowed; anything else (none too) is the default, system.
int32_t ColourSchemeSettingFromText(const char16_t* text);
// The stored text of a setting: u"light", u"dark" or u"system" (for any other value).
const char16_t* ColourSchemeSettingText(int32_t setting);
// The scheme a setting shows: its own, or for system the desktop's (DesktopPrefersDark).
ColourSchemeKind ShownColourScheme(int32_t setting);

// Makes the setting's scheme the current one: the table painting reads, the platform's own
// colours, the index tree's pictures (reloaded when loaded), the panes' text ground and the
// menu's check mark. Paints nothing.
void ApplyColourScheme();
// The main window's part of the current scheme: the panes' text ground and the menu's check
// mark (for a window made after ApplyColourScheme).
void ShowColourSchemeInWindow();
