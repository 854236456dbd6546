#include "shell/window/stand_in_commands.h"

uint16_t OpenIndexDialog(platform::Window*, uint16_t, FontSpec*) { return 0; }
void OpenSearchDialog(platform::Window*) {}
intptr_t OpenFontChooser(platform::Window*, FontSpec*) { return 0; }
void OpenAboutBox(platform::Window*) {}
void CheckForUpdates(platform::Window*) {}
