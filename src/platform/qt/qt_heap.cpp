#include <cstdlib>

#include "platform/platform.h"

namespace platform {

void* Alloc(size_t bytes) { return std::malloc(bytes ? bytes : 1); }
void Free(void* block) { std::free(block); }

}  // namespace platform
