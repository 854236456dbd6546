// The search dialog as the shell sees it until the command dispatch links the search
// library: it opens nothing. It has a file of its own so that a program or test that links
// solmar_search gets the real one: the linker takes this object from the archive only while
// the name is still unresolved, and the search library comes first on the line.
#include "shell/later_commands.h"

void OpenSearchDialog(platform::Window*) {}
