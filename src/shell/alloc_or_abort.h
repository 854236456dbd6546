// The allocation that gives up with a message when memory runs out.
#pragma once

#include <cstddef>

// A block from the heap; when memory is short, tells the user "There is not enough
// memory, aborting", runs SaveSettingsAndQuit and answers none (the caller abandons).
void* AllocOrAbort(size_t size);
