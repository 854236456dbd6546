#include "shell/window/stand_in_commands.h"

void CopyArticle(PageView*, bool) {}
