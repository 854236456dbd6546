// The reader's menu tables: menu 102 with its "&Go" and "&Quelm" popups, the menu-bar
// buttons, the tool buttons with their tips, and the accelerators.
#pragma once

#include <cstddef>

#include "platform/platform.h"
#include "shell/command_ids.h"

extern const platform::MenuTemplate kReaderMenu;
extern const platform::MenuBarButton kReaderMenuBarButtons[2];
extern const platform::ToolButton kReaderToolButtons[6];
// Seven tips: an empty first entry, then one per tool button.
extern const char16_t* const kReaderToolTips[7];
constexpr size_t kReaderAcceleratorCount = 15;
extern const platform::Accelerator kReaderAccelerators[kReaderAcceleratorCount];
