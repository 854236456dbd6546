#include "reader/menu_tables.h"
#include "platform/ui_text.h"

namespace {

using platform::MenuItemTemplate;

// A 0x08 unit separates an item's text from the shortcut text shown at its right.
constexpr MenuItemTemplate kGoItems[] = {
    {kCmdAbout, SOLMAR_TEXT("Menu", "&About")},
    {kCmdCheckForUpdates, SOLMAR_TEXT("Menu", "Check For &Updates")},
    {0, nullptr},
    {kCmdFont, SOLMAR_TEXT("Menu", "F&ont\bCtrl+F")},
    {kCmdReverse, SOLMAR_TEXT("Menu", "Re&verse")},
    {kCmdLanguage, SOLMAR_TEXT("Menu", "&Language")},
    {kCmdDarkColours, SOLMAR_TEXT("Menu", "Dar&k Colours\bCtrl+Shift+N")},
    {0, nullptr},
    {kCmdIndex, SOLMAR_TEXT("Menu", "&Index\bCtrl+D")},
    {kCmdBookmark, SOLMAR_TEXT("Menu", "&Bookmark")},
    {0, nullptr},
    {kCmdPreviousArticle, SOLMAR_TEXT("Menu", "&Previous Article")},
    {kCmdNextArticle, SOLMAR_TEXT("Menu", "&Next Article")},
    {kCmdGoToVerse, SOLMAR_TEXT("Menu", "Go to &Verse…\bCtrl+G")},
    {0, nullptr},
    {kCmdSearch, SOLMAR_TEXT("Menu", "&Search\bAlt+F3")},
    {kCmdSearchAgain, SOLMAR_TEXT("Menu", "Search A&gain\bF3")},
    {kCmdFindAll, SOLMAR_TEXT("Menu", "Find &All\bShift+F3")},
    {0, nullptr},
    {kCmdCopy, SOLMAR_TEXT("Menu", "&Copy\bCtrl+C")},
    {kCmdAppend, SOLMAR_TEXT("Menu", "&Append to ClipBoard\bCtrl+E")},
    {0, nullptr},
    {kCmdPrint, SOLMAR_TEXT("Menu", "P&rint…\bCtrl+P")},
    {0, nullptr},
    {kCmdExit, SOLMAR_TEXT("Menu", "E&xit\bCtrl+Q")},
};

constexpr MenuItemTemplate kQuelmItems[] = {
    {kCmdLowerPaneQuarter, SOLMAR_TEXT("Menu", "1/&4 Screen")},  {kCmdLowerPaneThird, SOLMAR_TEXT("Menu", "1/&3 Screen")},
    {kCmdLowerPaneHalf, SOLMAR_TEXT("Menu", "1/&2 Screen")},     {kCmdLowerPaneTwoThirds, SOLMAR_TEXT("Menu", "2/3 Screen")},
    {kCmdLowerPaneThreeQuarters, SOLMAR_TEXT("Menu", "3/4 Screen")}, {kCmdLowerPaneNone, SOLMAR_TEXT("Menu", "&None")},
};

constexpr platform::PopupTemplate kPopups[] = {
    {SOLMAR_TEXT("Menu", "&Go"), kGoItems, sizeof kGoItems / sizeof kGoItems[0]},
    {SOLMAR_TEXT("Menu", "&Quelm"), kQuelmItems, sizeof kQuelmItems / sizeof kQuelmItems[0]},
};

}  // namespace

const platform::MenuTemplate kReaderMenu = {kPopups, 2};

// Captions are strings 302 "Go" and 304 "Quelm".
const platform::MenuBarButton kReaderMenuBarButtons[2] = {
    {kCmdMenuGo, SOLMAR_TEXT("Menu", "Go"), 0},
    {kCmdMenuQuelm, SOLMAR_TEXT("Menu", "Quelm"), 1},
};

const platform::ToolButton kReaderToolButtons[6] = {
    {0, kCmdPreviousArticle, true}, {1, kCmdIndex},  {2, kCmdNextArticle, true},
    {3, kCmdFont},            {4, kCmdSearch}, {5, kCmdSearchAgain},
};

const char16_t* const kReaderToolTips[7] = {
    u"",
    SOLMAR_TEXT("ToolBar", "Previous Article"),
    SOLMAR_TEXT("ToolBar", "Choose Article"),
    SOLMAR_TEXT("ToolBar", "Next Article"),
    SOLMAR_TEXT("ToolBar", "Choose Font"),
    SOLMAR_TEXT("ToolBar", "Search"),
    SOLMAR_TEXT("ToolBar", "Search Again"),
};

// The shortcuts the menu shows, then the font size's: Ctrl+Plus (on the = key or the
// keypad), Ctrl+Minus and Ctrl+0.
const platform::Accelerator kReaderAccelerators[kReaderAcceleratorCount] = {
    {platform::kAccelControl, 'F', kCmdFont},
    {platform::kAccelControl, 'D', kCmdIndex},
    {platform::kAccelControl, 'G', kCmdGoToVerse},
    {platform::kAccelAlt, uint16_t(platform::kVkF3), kCmdSearch},
    {0, uint16_t(platform::kVkF3), kCmdSearchAgain},
    {platform::kAccelShift, uint16_t(platform::kVkF3), kCmdFindAll},
    {platform::kAccelControl, 'C', kCmdCopy},
    {platform::kAccelControl, 'E', kCmdAppend},
    {platform::kAccelControl, 'Q', kCmdExit},
    {platform::kAccelControl, 'P', kCmdPrint},
    {platform::kAccelControl, uint16_t(platform::kVkOemPlus), kCmdFontLarger},
    {platform::kAccelControl, uint16_t(platform::kVkAdd), kCmdFontLarger},
    {platform::kAccelControl, uint16_t(platform::kVkOemMinus), kCmdFontSmaller},
    {platform::kAccelControl, '0', kCmdFontChosenSize},
    {platform::kAccelControl | platform::kAccelShift, 'N', kCmdDarkColours},
};
