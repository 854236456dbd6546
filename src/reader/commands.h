// The reader's commands: menu items, tool buttons and accelerators, routed to the shell
// and to the subsystems that carry them out.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// 0 when id is a command of the reader (handled), 1 otherwise.
intptr_t DispatchCommand(platform::Window* mainWindow, uint32_t id);
