#include "shell/window/stand_in_commands.h"

intptr_t OpenFontChooser(platform::Window*, FontSpec*) { return 0; }
void OpenAboutBox(platform::Window*) {}
void CheckForUpdates(platform::Window*) {}
