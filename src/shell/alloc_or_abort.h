// The allocation that gives up with a message when memory runs out.
#pragma once

#include <cstddef>

// What runs once the user has been told that memory ran out: the reader's start installs
// its shutdown (SaveSettingsAndQuit), so this allocator knows nothing of what sits above it.
using OutOfMemoryHandler = void (*)();

// Installs handler (none: nothing runs after the message); answers the one it replaces.
OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler);

// A block from the heap; when memory is short, tells the user "There is not enough
// memory, aborting", runs the out-of-memory handler and answers none (the caller abandons).
void* AllocOrAbort(size_t size);
