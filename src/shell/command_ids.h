// Resource and command identifiers of the reader: the menu and tool-button ids that
// commands arrive with, and the resources the shell loads.
#pragma once

#include <cstdint>

// Resource identifiers.
constexpr uint32_t kIconReader = 101;
constexpr uint32_t kMenuReader = 102;
constexpr uint32_t kDialogAbout = 103;
constexpr uint32_t kDialogFontChooser = 105;
constexpr uint32_t kBitmapToolButtons = 114;
constexpr uint32_t kBitmapIndexFirst = 201;  // 201, 202, 203: the index tree's pictures
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
constexpr uint16_t kCmdLowerPaneNone = 401;
constexpr uint16_t kCmdLowerPaneHalf = 412;
constexpr uint16_t kCmdLowerPaneThird = 413;
constexpr uint16_t kCmdLowerPaneQuarter = 414;
constexpr uint16_t kCmdLowerPaneTwoThirds = 423;
constexpr uint16_t kCmdLowerPaneThreeQuarters = 434;
constexpr uint16_t kCmdLowerPaneFirst = kCmdLowerPaneNone;  // the radio group's range
constexpr uint16_t kCmdLowerPaneLast = kCmdLowerPaneThreeQuarters;
constexpr uint16_t kCmdMenuGo = 40001;       // menu-bar button of the "&Go" popup
constexpr uint16_t kCmdMenuQuelm = 40003;    // menu-bar button of the lower-pane sizes
constexpr uint16_t kCmdAbout = 40004;
constexpr uint16_t kCmdExit = 40005;
constexpr uint16_t kCmdFont = 40006;
constexpr uint16_t kCmdCopy = 40007;
constexpr uint16_t kCmdAppend = 40009;
// The reader's own commands, reached by shortcuts only: the display font's size one step
// larger, one smaller, and back to the chosen size.
constexpr uint16_t kCmdFontLarger = 40101;
constexpr uint16_t kCmdFontSmaller = 40102;
constexpr uint16_t kCmdFontChosenSize = 40103;
// Switches between the light and the dark colour scheme.
constexpr uint16_t kCmdDarkColours = 40104;
constexpr uint16_t kCmdFindAll = 40011;      // every hit of the search pattern in a list
constexpr uint16_t kCmdPrint = 40021;         // Go › Print: the print dialog
constexpr uint16_t kCmdLanguage = 40012;     // the interface's language
constexpr uint16_t kCmdGoToVerse = 40022;    // the "Go to Verse" box
