// The platform services of command-line programs (solmar-book, the benchmarks): the heap is
// malloc, a message box is a line on stderr, and the resources are those of a pack the
// program loaded. Only what the content store needs is implemented.
#pragma once

#include <vector>

#include "platform/pack.h"

namespace tool {

// Makes the entries the resources that FindResource sees. Their bytes must outlive the use.
void UseResources(std::vector<platform::PackEntry> entries);

}  // namespace tool
