// The program's dialog templates. Text of the controls is exactly what the dialogs show.
#include "platform/dialog_template.h"

namespace platform {
namespace {

// 115: the search dialog. A one-line edit box for the pattern above the keyboard picture.
const ControlTemplate kSearchControls[] = {
    {kNoControlId, ControlKind::kStaticText, 7, 7, 112, 8, kSsCenter, u"Search", 0},
    {1013, ControlKind::kEdit, 7, 21, 112, 43,
     kWsBorder | kWsTabStop | kEsRight | kEsAutoHScroll | kEsRightToLeftReading, nullptr, 0},
    {kNoControlId, ControlKind::kPicture, 7, 71, 0, 0, 0, nullptr, 119},
    {1014, ControlKind::kButton, 69, 117, 50, 12, kWsTabStop | kBsPushButton | kBsBesideOk, u"Find &All", 0},
};

// 126: "Go to Verse". The reference is typed or pasted in reading order; a reference that
// names no verse is answered on the line under the box.
const ControlTemplate kGoToVerseControls[] = {
    {kNoControlId, ControlKind::kStaticText, 7, 7, 146, 8, kSsLeft, u"&Verse (Genesis 1:3, בראשית א:ג-ה):", 0},
    {1001, ControlKind::kEdit, 7, 18, 146, 12, kWsBorder | kWsTabStop | kEsAutoHScroll, nullptr, 0},
    {1002, ControlKind::kStaticText, 7, 34, 146, 26, kSsLeft, nullptr, 0},
};

// 125: every hit of the search pattern, a non-modal window. The list fills it; the caption
// is the pattern and the count.
const ControlTemplate kFindAllControls[] = {
    {1001, ControlKind::kResultList, 0, 0, 360, 180, kWsBorder | kWsTabStop | kRlsRightToLeft, nullptr, 0},
};

// 105: "Choose Font". The chooser lays the controls out again at every size change; these
// are their places at the template's size by the same rule. There is no button 1003
// (letter base 97). The preview shows its letters exactly as the panes draw them. The OK
// beside the caption stands for the shell's Done button.
const ControlTemplate kFontControls[] = {
    {1001, ControlKind::kListBox, 7, 7, 85, 95, kWsBorder | kWsTabStop | kLbsSort | kLbsNotify, nullptr, 0},
    {1004, ControlKind::kButton, 99, 24, 46, 10, kWsTabStop | kBsAutoRadioButton, u"224", 0},
    {1005, ControlKind::kButton, 99, 41, 46, 10, kBsAutoRadioButton, u"5D0", 0},
    {1006, ControlKind::kListBox, 99, 59, 46, 43, kWsBorder | kWsTabStop | kLbsNotify, nullptr, 0},
    {1002, ControlKind::kEdit, 7, 102, 138, 51, kWsBorder | kEsMultiline | kEsReadOnly | kEsVisualOrder, nullptr, 0},
};

// 103: the About box. Control 1025 is the maker's site, drawn by the box as a link in a
// heavy font: the box is wide enough for the default site in it.
const ControlTemplate kAboutControls[] = {
    {kNoControlId, ControlKind::kPicture, 7, 7, 0, 0, 0, nullptr, 113},
    {kNoControlId, ControlKind::kStaticText, 45, 9, 108, 10, kSsLeft, u"Solmar Hebrew Reader", 0},
    {kNoControlId, ControlKind::kStaticText, 45, 21, 108, 8, kSsLeft, u"Version 1.84a", 0},
    {kNoControlId, ControlKind::kStaticText, 7, 36, 146, 26, kSsLeft,
     u"Text: Westminster Leningrad Codex, public domain. Morphology: Open Scriptures Hebrew Bible, CC BY 4.0", 0},
    {1025, ControlKind::kButton, 7, 66, 146, 12, kWsTabStop | kBsOwnerDraw, u"" SOLMAR_HOMEPAGE, 0},
};

const DialogTemplate kTemplates[] = {
    {103, u"Solmar", 160, 85, nullptr, 8, 0, kDialogOkInCaption, kAboutControls,
     sizeof kAboutControls / sizeof kAboutControls[0]},
    {105, u"Choose Font", 152, 167, nullptr, 8, 0, kDialogOkInCaption, kFontControls,
     sizeof kFontControls / sizeof kFontControls[0]},
    {115, u"Solmar", 126, 131, nullptr, 8, 0, kDialogOkInCaption, kSearchControls,
     sizeof kSearchControls / sizeof kSearchControls[0]},
    {126, u"Go to Verse", 160, 64, nullptr, 8, 0, kDialogOkInCaption, kGoToVerseControls,
     sizeof kGoToVerseControls / sizeof kGoToVerseControls[0]},
    {125, u"Find All", 360, 180, nullptr, 8, 0, 0, kFindAllControls,
     sizeof kFindAllControls / sizeof kFindAllControls[0]},
    // 118: "Choose Section". The tree is drawn by the dialog itself beside its own scroll bar.
    {118, u"Choose Section", 160, 160, nullptr, 8, kWsVScroll, 0, nullptr, 0},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(uint32_t id) {
  for (const DialogTemplate& t : kTemplates)
    if (t.id == id) return &t;
  return nullptr;
}

}  // namespace platform
