// The program's dialog templates. Text of the controls is exactly what the dialogs show.
#include "platform/dialog_template.h"
#include "platform/ui_text.h"

namespace platform {
namespace {

// 115: the search dialog. A one-line edit box for the pattern above the keyboard picture.
const ControlTemplate kSearchControls[] = {
    {kNoControlId, ControlKind::kStaticText, 7, 7, 112, 8, kSsCenter, SOLMAR_TEXT("Dialog", "Search"), 0},
    {1013, ControlKind::kEdit, 7, 21, 112, 43,
     kWsBorder | kWsTabStop | kEsRight | kEsAutoHScroll | kEsRightToLeftReading, nullptr, 0},
    {kNoControlId, ControlKind::kPicture, 7, 71, 0, 0, 0, nullptr, 119},
    {1014, ControlKind::kButton, 69, 117, 50, 12, kWsTabStop | kBsPushButton | kBsBesideOk, SOLMAR_TEXT("Dialog", "Find &All"), 0},
};

// 126: "Go to Verse". The reference is typed, pasted or tapped on the keyboard picture (as
// in the search dialog) in reading order; a reference that names no verse is answered on
// the lines under the box, above the keyboard.
const ControlTemplate kGoToVerseControls[] = {
    {kNoControlId, ControlKind::kStaticText, 7, 7, 146, 8, kSsLeft, SOLMAR_TEXT("Dialog", "&Verse (Genesis 1:3, בראשית א:ג-ה):"), 0},
    {1001, ControlKind::kEdit, 7, 18, 146, 12, kWsBorder | kWsTabStop | kEsAutoHScroll, nullptr, 0},
    {1002, ControlKind::kStaticText, 7, 34, 146, 26, kSsLeft, nullptr, 0},
    {kNoControlId, ControlKind::kPicture, 7, 64, 0, 0, 0, nullptr, 119},
};

// 125: every hit of the search pattern, a non-modal window. The list fills it; the caption
// is the pattern and the count.
const ControlTemplate kFindAllControls[] = {
    {1001, ControlKind::kResultList, 0, 0, 360, 180, kWsBorder | kWsTabStop | kRlsRightToLeft, nullptr, 0},
};

// 105: "Choose Font". The chooser lays the controls out again at every size change; these
// are their places at the template's size by the same rule (the first-start line shown).
// There is no button 1003 (letter base 97). A label's letter after '&' moves the focus to
// the control that follows it. The preview shows a verse above the letters exactly as the
// panes draw them. The OK beside the caption stands for the shell's Done button; Cancel
// sits beside it.
const ControlTemplate kFontControls[] = {
    {1007, ControlKind::kStaticText, 7, 7, 196, 16, kSsLeft,
     SOLMAR_TEXT("Dialog", "Choose the font for reading; you can change it later with Ctrl+F"), 0},
    {1010, ControlKind::kStaticText, 7, 27, 129, 10, kSsLeft, SOLMAR_TEXT("Dialog", "&Font"), 0},
    {1001, ControlKind::kListBox, 7, 37, 129, 80, kWsBorder | kWsTabStop | kLbsSort | kLbsNotify, nullptr, 0},
    {1011, ControlKind::kStaticText, 143, 27, 60, 10, kSsLeft, SOLMAR_TEXT("Dialog", "&Letter base"), 0},
    {1004, ControlKind::kButton, 143, 37, 60, 10, kWsTabStop | kBsAutoRadioButton, u"224", 0},
    {1005, ControlKind::kButton, 143, 47, 60, 10, kBsAutoRadioButton, u"5D0", 0},
    {1012, ControlKind::kStaticText, 143, 61, 60, 10, kSsLeft, SOLMAR_TEXT("Dialog", "&Size"), 0},
    {1006, ControlKind::kListBox, 143, 71, 60, 46, kWsBorder | kWsTabStop | kLbsNotify, nullptr, 0},
    {1009, ControlKind::kEdit, 7, 121, 196, 29, kEsRight | kEsReadOnly | kEsVisualOrder, nullptr, 0},
    {1002, ControlKind::kEdit, 7, 150, 196, 29, kEsRight | kEsReadOnly | kEsVisualOrder, nullptr, 0},
    {2, ControlKind::kButton, 0, 0, 40, 12, kWsTabStop | kBsPushButton | kBsBesideOk, SOLMAR_TEXT("Dialog", "Cancel"), 0},
};

// 103: the About box. Control 1025 is the maker's site, drawn by the box as a link in a
// heavy font: the box is wide enough for the default site in it.
const ControlTemplate kAboutControls[] = {
    {kNoControlId, ControlKind::kPicture, 7, 7, 0, 0, 0, nullptr, 113},
    {kNoControlId, ControlKind::kStaticText, 45, 9, 108, 10, kSsLeft, SOLMAR_TEXT("Dialog", "Solmar Hebrew Reader"), 0},
    {kNoControlId, ControlKind::kStaticText, 45, 21, 108, 8, kSsLeft, SOLMAR_TEXT("Dialog", "Version 1.84a"), 0},
    {kNoControlId, ControlKind::kStaticText, 7, 36, 146, 26, kSsLeft,
     SOLMAR_TEXT("Dialog", "Text: Westminster Leningrad Codex, public domain. Morphology: Open Scriptures Hebrew Bible, CC BY 4.0"), 0},
    {1025, ControlKind::kButton, 7, 66, 146, 12, kWsTabStop | kBsOwnerDraw, u"" SOLMAR_HOMEPAGE, 0},
};

// 131: the interface's language. The languages are named in their own language; the note
// says when the choice shows.
const ControlTemplate kLanguageControls[] = {
    {1301, ControlKind::kButton, 7, 7, 136, 10, kWsTabStop | kBsAutoRadioButton,
     SOLMAR_TEXT("Dialog", "The desktop's language"), 0},
    {1302, ControlKind::kButton, 7, 21, 136, 10, kBsAutoRadioButton, u"English", 0},
    {1303, ControlKind::kButton, 7, 35, 136, 10, kBsAutoRadioButton, u"\u05E2\u05D1\u05E8\u05D9\u05EA", 0},
    {kNoControlId, ControlKind::kStaticText, 7, 51, 136, 18, kSsLeft,
     SOLMAR_TEXT("Dialog", "The reader speaks the new language from its next start."), 0},
};

const DialogTemplate kTemplates[] = {
    {103, SOLMAR_TEXT("Dialog", "Solmar"), 160, 85, nullptr, 8, 0, kDialogOkInCaption, kAboutControls,
     sizeof kAboutControls / sizeof kAboutControls[0]},
    {105, SOLMAR_TEXT("Dialog", "Choose Font"), 210, 186, nullptr, 8, 0, kDialogOkInCaption, kFontControls,
     sizeof kFontControls / sizeof kFontControls[0]},
    {115, SOLMAR_TEXT("Dialog", "Solmar"), 126, 131, nullptr, 8, 0, kDialogOkInCaption, kSearchControls,
     sizeof kSearchControls / sizeof kSearchControls[0]},
    {126, SOLMAR_TEXT("Dialog", "Go to Verse"), 160, 124, nullptr, 8, 0, kDialogOkInCaption, kGoToVerseControls,
     sizeof kGoToVerseControls / sizeof kGoToVerseControls[0]},
    {125, SOLMAR_TEXT("Dialog", "Find All"), 360, 180, nullptr, 8, 0, 0, kFindAllControls,
     sizeof kFindAllControls / sizeof kFindAllControls[0]},
    {131, SOLMAR_TEXT("Dialog", "Language"), 150, 72, nullptr, 8, 0, kDialogOkInCaption, kLanguageControls,
     sizeof kLanguageControls / sizeof kLanguageControls[0]},
    // 118: "Choose Section". The tree is drawn by the dialog itself beside its own scroll bar.
    {118, SOLMAR_TEXT("Dialog", "Choose Section"), 160, 160, nullptr, 8, kWsVScroll, 0, nullptr, 0},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(uint32_t id) {
  for (const DialogTemplate& t : kTemplates)
    if (t.id == id) return &t;
  return nullptr;
}

}  // namespace platform
