// Commands carried out by dialogs and services that arrive with later work: the index,
// the search, the font chooser, the About box, the update check and the clipboard export.
// Each does nothing yet (the index chooses nothing, the font chooser is not confirmed).
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct FontSpec;
struct PageView;

// The "Choose Section" dialog: the article chosen, or 0.
uint16_t OpenIndexDialog(platform::Window* owner, uint16_t currentArticle, FontSpec* fontSpec);
void OpenSearchDialog(platform::Window* owner);
// Search Again (src/search); 1 when a hit was shown.
int SearchAgain(platform::Window* owner);
// The font chooser on fontSpec: 1 when the user confirmed a choice.
intptr_t OpenFontChooser(platform::Window* owner, FontSpec* fontSpec);
void OpenAboutBox(platform::Window* owner);
void CheckForUpdates(platform::Window* owner);
void CopyArticle(PageView* view, bool append);
