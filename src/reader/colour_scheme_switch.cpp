#include "reader/colour_scheme_switch.h"

#include "shell/colour_scheme_choice.h"
#include "shell/panes.h"
#include "shell/reader_settings.h"

namespace {

void RepaintInScheme(platform::Window* mainWindow) {
  ApplyColourScheme();
  if (mainWindow) RepaintPanes(mainWindow, kRepaintAfterResize | kRepaintEraseClient);
}

}  // namespace

void ToggleColourScheme(platform::Window* mainWindow) {
  const bool dark = gColourScheme->kind == ColourSchemeKind::kDark;
  gReaderSettings.colourScheme = dark ? kColourSchemeLight : kColourSchemeDark;
  RepaintInScheme(mainWindow);
}

void OnDesktopColoursChanged(platform::Window* mainWindow) {
  if (ShownColourScheme(gReaderSettings.colourScheme) != gColourScheme->kind) {
    RepaintInScheme(mainWindow);
    return;
  }
  platform::SetChromeColours(gColourScheme->chrome);
}
