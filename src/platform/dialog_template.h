// Dialog templates as data: what a dialog looks like, by identifier.
//
// Both backends build their dialogs from these records (the Qt backend into widgets, the
// fake into inspectable controls), so a dialog's geometry is defined once. The data lives
// in resources/dialogs.cpp; nothing here depends on a toolkit.
//
// Positions and sizes are dialog units. A backend turns them into pixels with its dialog
// base units (platform::GetDialogBaseUnits): x * horizontal / 4 and y * vertical / 8,
// truncated, the same rule a dialog procedure uses to find a control's pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace platform {

enum class ControlKind : uint8_t {
  kStaticText,  // text, aligned by kSs...
  kPicture,     // a bitmap drawn at its own size in pixels; the template's size is not used
  kEdit,        // edit box, kEs... styles
  kButton,      // push, default push or radio button (kBs...)
  kListBox,     // list of strings, kLbs... styles
  kResultList,  // rows of columns drawn on demand (platform.h, ResultList...), kRls... styles
};

// Style bits. Window styles first (shared by the dialog and its controls).
constexpr uint32_t kWsTabStop = 0x00010000;   // the control takes the focus with Tab
constexpr uint32_t kWsVScroll = 0x00200000;   // dialog: its own vertical scroll bar at the right edge
constexpr uint32_t kWsBorder = 0x00800000;
// Static text alignment.
constexpr uint32_t kSsLeft = 0x0;
constexpr uint32_t kSsCenter = 0x1;
constexpr uint32_t kSsRight = 0x2;
// Edit boxes.
constexpr uint32_t kEsLeft = 0x0;
constexpr uint32_t kEsCenter = 0x1;
constexpr uint32_t kEsRight = 0x2;
constexpr uint32_t kEsMultiline = 0x4;
constexpr uint32_t kEsAutoHScroll = 0x80;
constexpr uint32_t kEsReadOnly = 0x800;
// The box shows its text as right-to-left reading: a backend with bidirectional text keeps
// the text in reading order for the user (typing, pasting, caret movement) and hands the
// seam's text and selection operations the visual order, left to right, that right-to-left
// text is stored in here (the reverse). A backend without bidi keeps visual order as is.
constexpr uint32_t kEsRightToLeftReading = 0x2000;
// The box shows its text strictly left to right in the order given, with no bidirectional
// reordering, as the panes draw display text (for a read-only box that shows letters).
constexpr uint32_t kEsVisualOrder = 0x4000;
// Buttons (the low four bits are the kind).
constexpr uint32_t kBsPushButton = 0x0;
constexpr uint32_t kBsDefPushButton = 0x1;
constexpr uint32_t kBsAutoRadioButton = 0x9;
constexpr uint32_t kBsOwnerDraw = 0xB;  // drawn by the dialog on kMsgDrawItem
constexpr uint32_t kBsKindMask = 0xF;
// A push button that sits beside the OK of a kDialogOkInCaption dialog, where the platform
// puts that OK (its template position is not used where the platform has such a place).
constexpr uint32_t kBsBesideOk = 0x100;
// List boxes.
constexpr uint32_t kLbsNotify = 0x1;  // selection changes by the user send a command
constexpr uint32_t kLbsSort = 0x2;    // strings added are kept sorted, ignoring case
// Result lists.
constexpr uint32_t kRlsRightToLeft = 0x1;  // columns run from the right, text reads right to left

// Dialog flags.
constexpr uint32_t kDialogOkInCaption = 0x1;  // an OK button beside the caption (command 1)

struct ControlTemplate {
  int id;                 // kNoControlId for a control the procedure never looks for
  ControlKind kind;
  int16_t x, y;           // dialog units, in the dialog's client area
  int16_t width, height;  // dialog units (a picture sizes itself to its bitmap)
  uint32_t style;         // kWs..., kSs..., kEs..., kBs..., kLbs...
  const char16_t* text;   // caption or first text; none = empty
  uint32_t pictureId;     // kPicture: the bitmap resource
};

struct DialogTemplate {
  uint32_t id;
  const char16_t* caption;
  int16_t width, height;    // client area, dialog units
  const char16_t* fontFace; // none: the platform's dialog font
  int16_t fontPoints;
  uint32_t style;           // kWsVScroll
  uint32_t flags;           // kDialog...
  const ControlTemplate* controls;
  size_t controlCount;
};

// The template with that identifier; none when the program has no such dialog.
const DialogTemplate* FindDialogTemplate(uint32_t id);

// Dialog units to pixels with base units as GetDialogBaseUnits answers them.
constexpr int32_t DialogUnitsToPixelsX(int32_t units, uint32_t baseUnits) {
  return units * int32_t(LowWord(baseUnits)) / 4;
}
constexpr int32_t DialogUnitsToPixelsY(int32_t units, uint32_t baseUnits) {
  return units * int32_t(HighWord(baseUnits)) / 8;
}

// A dialog of a right-to-left interface is the mirror image of its template: each control
// keeps the template's distance from the client area's right edge instead of its left one
// (its contents, pictures included, are not turned round). The left edge in pixels of a
// control at left, width pixels wide, in a client area clientWidth pixels wide. Applied
// twice it gives left back.
constexpr int32_t MirroredLeft(int32_t left, int32_t width, int32_t clientWidth) { return clientWidth - left - width; }

}  // namespace platform
