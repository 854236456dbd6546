#include "shell/window/menu_tables.h"

namespace {

using platform::MenuItemTemplate;

// A 0x08 unit separates an item's text from the shortcut text shown at its right.
constexpr MenuItemTemplate kGoItems[] = {
    {kCmdAbout, u"&About"},
    {kCmdCheckForUpdates, u"Check For &Updates"},
    {0, nullptr},
    {kCmdFont, u"F&ont\bCtrl+F"},
    {kCmdReverse, u"Re&verse"},
    {0, nullptr},
    {kCmdIndex, u"&Index\bCtrl+D"},
    {kCmdBookmark, u"&Bookmark"},
    {0, nullptr},
    {kCmdPreviousArticle, u"&Previous Article"},
    {kCmdNextArticle, u"&Next Article"},
    {kCmdGoToVerse, u"Go to &Verse…\bCtrl+G"},
    {0, nullptr},
    {kCmdSearch, u"&Search\bAlt+F3"},
    {kCmdSearchAgain, u"Search A&gain\bF3"},
    {kCmdFindAll, u"Find &All\bShift+F3"},
    {0, nullptr},
    {kCmdCopy, u"&Copy\bCtrl+C"},
    {kCmdAppend, u"&Append to ClipBoard\bCtrl+E"},
    {0, nullptr},
    {kCmdExit, u"E&xit\bCtrl+Q"},
};

constexpr MenuItemTemplate kQuelmItems[] = {
    {kCmdLowerPaneQuarter, u"1/&4 Screen"},  {kCmdLowerPaneThird, u"1/&3 Screen"},
    {kCmdLowerPaneHalf, u"1/&2 Screen"},     {kCmdLowerPaneTwoThirds, u"2/3 Screen"},
    {kCmdLowerPaneThreeQuarters, u"3/4 Screen"}, {kCmdLowerPaneNone, u"&None"},
};

constexpr platform::PopupTemplate kPopups[] = {
    {u"&Go", kGoItems, sizeof kGoItems / sizeof kGoItems[0]},
    {u"&Quelm", kQuelmItems, sizeof kQuelmItems / sizeof kQuelmItems[0]},
};

}  // namespace

const platform::MenuTemplate kReaderMenu = {kPopups, 2};

// Captions are strings 302 "Go" and 304 "Quelm".
const platform::MenuBarButton kReaderMenuBarButtons[2] = {
    {kCmdMenuGo, u"Go", 0},
    {kCmdMenuQuelm, u"Quelm", 1},
};

const platform::ToolButton kReaderToolButtons[6] = {
    {0, kCmdPreviousArticle}, {1, kCmdIndex},  {2, kCmdNextArticle},
    {3, kCmdFont},            {4, kCmdSearch}, {5, kCmdSearchAgain},
};

const char16_t* const kReaderToolTips[7] = {
    u"", u"Previous Article", u"Choose Article", u"Next Article", u"Choose Font", u"Search", u"Search Again",
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
    {platform::kAccelControl, uint16_t(platform::kVkOemPlus), kCmdFontLarger},
    {platform::kAccelControl, uint16_t(platform::kVkAdd), kCmdFontLarger},
    {platform::kAccelControl, uint16_t(platform::kVkOemMinus), kCmdFontSmaller},
    {platform::kAccelControl, '0', kCmdFontChosenSize},
};
