// Stand-ins for the commands whose subsystem has not landed yet: the clipboard export.
// Each does nothing. When a
// subsystem lands, its functions move out of here into its own library, which this
// library then links; the file empties as they do.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct FontSpec;
struct PageView;

void CopyArticle(PageView* view, bool append);
