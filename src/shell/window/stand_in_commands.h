// Stand-ins for the commands whose subsystem has not landed yet: the index and the
// clipboard export. Each does
// nothing (the index chooses nothing, the font chooser is not confirmed). When a
// subsystem lands, its functions move out of here into its own library, which this
// library then links; the file empties as they do.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct FontSpec;
struct PageView;

// The "Choose Section" dialog: the article chosen, or 0.
uint16_t OpenIndexDialog(platform::Window* owner, uint16_t currentArticle, FontSpec* fontSpec);
void CopyArticle(PageView* view, bool append);
