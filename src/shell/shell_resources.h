// The reader's resources that are not book data: command identifiers, menu 102 and its
// menu-bar buttons, the tool buttons with their tips, and the accelerator table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

// Resource identifiers.
constexpr uint32_t kIconReader = 101;
constexpr uint32_t kMenuReader = 102;
constexpr uint32_t kDialogAbout = 103;
constexpr uint32_t kDialogFontChooser = 105;
constexpr uint32_t kBitmapToolButtons = 114;
constexpr uint32_t kAcceleratorTable = 3;
constexpr int32_t kToolButtonImageSize = 16;

// Command identifiers: the menu and tool-button ids.
constexpr uint16_t kCmdIndexOld = 107;
constexpr uint16_t kCmdNextArticle = 109;
constexpr uint16_t kCmdPreviousArticle = 110;
constexpr uint16_t kCmdSearch = 116;
constexpr uint16_t kCmdSearchAgain = 117;
constexpr uint16_t kCmdIndex = 119;
constexpr uint16_t kCmdReverse = 122;
constexpr uint16_t kCmdBookmark = 123;
constexpr uint16_t kCmdCheckForUpdates = 129;
constexpr uint16_t kCmdLowerPaneBase = 400;  // + the lower-pane size code
constexpr uint16_t kCmdLowerPaneFirst = 401;
constexpr uint16_t kCmdLowerPaneLast = 434;
constexpr uint16_t kCmdMenuGo = 40001;       // menu-bar button of the "&Go" popup
constexpr uint16_t kCmdMenuQuelm = 40003;    // menu-bar button of the lower-pane sizes
constexpr uint16_t kCmdAbout = 40004;
constexpr uint16_t kCmdExit = 40005;
constexpr uint16_t kCmdFont = 40006;
constexpr uint16_t kCmdCopy = 40007;
constexpr uint16_t kCmdAppend = 40009;

extern const platform::MenuTemplate kReaderMenu;
extern const platform::MenuBarButton kReaderMenuBarButtons[2];
extern const platform::ToolButton kReaderToolButtons[6];
// Seven tips: an empty first entry, then one per tool button.
extern const char16_t* const kReaderToolTips[7];
extern const platform::Accelerator kReaderAccelerators[7];
