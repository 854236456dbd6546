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

const DialogTemplate kTemplates[] = {
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
