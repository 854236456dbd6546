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
};

// 105: "Choose Font". The chooser lays the controls out again at every size change; these
// are their places at the template's size. There is no button 1003 (letter base 97).
const ControlTemplate kFontControls[] = {
    {1001, ControlKind::kListBox, 7, 7, 94, 104, kWsBorder | kWsTabStop | kLbsSort | kLbsNotify, nullptr, 0},
    {1004, ControlKind::kButton, 108, 24, 37, 10, kWsTabStop | kBsAutoRadioButton, u"224", 0},
    {1005, ControlKind::kButton, 108, 41, 37, 10, kBsAutoRadioButton, u"5D0", 0},
    {1006, ControlKind::kListBox, 108, 59, 37, 52, kWsBorder | kWsTabStop | kLbsNotify, nullptr, 0},
    {1002, ControlKind::kEdit, 7, 111, 138, 49, kWsBorder | kEsMultiline | kEsRightToLeftReading, nullptr, 0},
};

const DialogTemplate kTemplates[] = {
    {105, u"Choose Font", 152, 167, nullptr, 8, 0, 0, kFontControls, sizeof kFontControls / sizeof kFontControls[0]},
    {115, u"Solmar", 126, 131, nullptr, 8, 0, kDialogOkInCaption, kSearchControls,
     sizeof kSearchControls / sizeof kSearchControls[0]},
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
