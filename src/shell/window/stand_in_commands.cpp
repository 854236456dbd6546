#include "shell/window/stand_in_commands.h"

uint16_t OpenIndexDialog(platform::Window*, uint16_t, FontSpec*) { return 0; }
void CopyArticle(PageView*, bool) {}
