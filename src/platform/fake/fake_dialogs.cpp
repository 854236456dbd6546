// Modal dialogs and their controls in the fake backend: dialogs run from a script, controls
// made from the templates keep their state in plain fields, and every change is logged.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "platform/dialog_placement.h"
#include "platform/fake/fake_internal.h"

namespace fake {
namespace {

using platform::ControlKind;
using platform::Window;

struct DialogsState {
  std::map<uint32_t, std::vector<DialogStep>> scripts;
  std::map<uint32_t, ScriptEnd> scriptEnds;
  std::vector<RecordedDialog> dialogs;
  uint16_t baseX = 8, baseY = 16;
  std::vector<ControlCall> calls;
  Window* focus = nullptr;
  int rowCellRequests = 0;
};

DialogsState& State() {
  static DialogsState state;
  return state;
}

bool IsControl(Window* window) { return Known(window) && window->isControl && !window->info.destroyed; }
bool IsControlOf(Window* window, ControlKind kind) { return IsControl(window) && window->control.kind == kind; }

void Log(Window* window, ControlOp op, std::u16string text = {}, int64_t a = 0, int64_t b = 0) {
  const int id = Known(window) && window->isControl ? window->control.id : platform::kNoControlId;
  State().calls.push_back({window, id, op, std::move(text), a, b});
}

intptr_t Deliver(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  dialog->delivered.push_back({dialog, message, wParam, lParam});
  return dialog->proc(dialog, message, wParam, lParam);
}

std::u16string Text(const char16_t* text) { return text ? std::u16string(text) : std::u16string(); }

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool BeginsWith(const std::u16string& text, const std::u16string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Fold(text[i]) != Fold(prefix[i])) return false;
  return true;
}

bool SortsBefore(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
}

const char16_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStaticText:
    case ControlKind::kPicture: return u"STATIC";
    case ControlKind::kEdit: return u"EDIT";
    case ControlKind::kButton: return u"BUTTON";
    case ControlKind::kListBox: return u"LISTBOX";
    case ControlKind::kResultList: return u"RESULTLIST";
  }
  return u"";
}

int32_t ClientWidth(Window* dialog) { return dialog->info.rect.right - dialog->info.rect.left; }

void MakeControls(Window* dialog, const platform::DialogTemplate& t) {
  const uint32_t units = platform::GetDialogBaseUnits();
  for (size_t i = 0; i < t.controlCount; ++i) {
    const platform::ControlTemplate& c = t.controls[i];
    Window* w = NewWindow(ClassOf(c.kind), Text(c.text), dialog);
    w->isControl = true;
    w->info.style = c.style;
    w->info.visible = true;
    w->control = FakeControl{c.id, c.kind, c.style, Text(c.text), nullptr, true, 0, 0, 0, {}, false, false, 0, {}, -1, {}, 0, nullptr};
    const int32_t x = platform::DialogUnitsToPixelsX(c.x, units), y = platform::DialogUnitsToPixelsY(c.y, units);
    int32_t width = platform::DialogUnitsToPixelsX(c.width, units), height = platform::DialogUnitsToPixelsY(c.height, units);
    if (c.kind == ControlKind::kPicture) {
      width = height = 0;
      if (platform::Bitmap* bitmap = platform::LoadBitmap(c.pictureId)) {
        width = BitmapInfo(bitmap)->width;
        height = BitmapInfo(bitmap)->height;
        w->control.pictureId = c.pictureId;
        platform::DeleteBitmap(bitmap);
      }
    }
    const int32_t left = dialog->mirrored ? platform::MirroredLeft(x, width, ClientWidth(dialog)) : x;
    w->info.rect = {left, y, left + width, y + height};
    dialog->controls.push_back(w);
  }
}

void PlaceDialog(Window* dialog, Window* owner, const platform::DialogTemplate* t) {
  if (!t) {
    dialog->info.rect = {0, 26, DefaultWindowWidth(), DefaultWindowHeight()};
    return;
  }
  const uint32_t units = platform::GetDialogBaseUnits();
  const int32_t width = platform::DialogUnitsToPixelsX(t->width, units);
  const int32_t height = platform::DialogUnitsToPixelsY(t->height, units);
  platform::Rect over{0, 0, width, height};
  if (Known(owner)) over = owner->info.rect;
  const int32_t left = over.left + (over.right - over.left - width) / 2;
  const int32_t top = over.top + (over.bottom - over.top - height) / 2;
  dialog->info.rect = {left, top, left + width, top + height};
  dialog->info.style = t->style;
}

// What the platform does when the init-dialog message asks for the default focus.
void GiveDefaultFocus(Window* dialog) {
  for (Window* c : dialog->controls)
    if (c->control.style & platform::kWsTabStop && c->control.enabled) {
      State().focus = c;
      if (c->control.kind == ControlKind::kEdit) {
        c->control.selectionStart = 0;
        c->control.selectionEnd = uint32_t(c->control.text.size());
      }
      return;
    }
}

}  // namespace

void ResetDialogs() { State() = DialogsState{}; }

void TrimDialogRecords() {
  State().dialogs.clear();
  State().calls.clear();
  ForgetDestroyedFocus();
}

void ForgetDestroyedFocus() {
  if (State().focus && State().focus->info.destroyed) State().focus = nullptr;
}

void ScriptDialog(uint32_t templateId, std::vector<ScriptedMessage> messages) {
  std::vector<DialogStep> steps;
  for (const ScriptedMessage& m : messages) steps.push_back(SendToDialog(m.message, m.wParam, m.lParam));
  ScriptDialogSteps(templateId, std::move(steps));
}

void ScriptDialogSteps(uint32_t templateId, std::vector<DialogStep> steps, ScriptEnd end) {
  State().scripts[templateId] = std::move(steps);
  State().scriptEnds[templateId] = end;
}

DialogStep SendToDialog(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return {[=](Window* dialog) { Deliver(dialog, message, wParam, lParam); }};
}

std::vector<Window*> DialogControls(Window* dialog) {
  return Known(dialog) && dialog->isDialog ? dialog->controls : std::vector<Window*>();
}

DialogStep PressButton(int id) {
  return {[id](Window* dialog) {
    Window* control = platform::GetDialogItem(dialog, id);
    if (control && control->control.kind == ControlKind::kButton &&
        (control->control.style & platform::kBsKindMask) == platform::kBsAutoRadioButton) {
      for (Window* c : dialog->controls)
        if (c->control.kind == ControlKind::kButton &&
            (c->control.style & platform::kBsKindMask) == platform::kBsAutoRadioButton)
          c->control.checked = c == control;
    }
    Deliver(dialog, platform::kMsgCommand, uintptr_t(platform::MakeLong(uint32_t(id), platform::kBnClicked)),
            intptr_t(control));
  }};
}

DialogStep TypeText(int id, std::u16string text) {
  return {[id, text](Window* dialog) {
    Window* control = platform::GetDialogItem(dialog, id);
    if (!control || control->control.kind != ControlKind::kEdit) return;
    FakeControl& edit = control->control;
    edit.undoText = edit.text;
    edit.canUndo = true;
    edit.text = edit.limit && text.size() > edit.limit ? text.substr(0, edit.limit) : text;
    edit.selectionStart = edit.selectionEnd = uint32_t(edit.text.size());
    Deliver(dialog, platform::kMsgCommand, uintptr_t(platform::MakeLong(uint32_t(id), platform::kEnChange)),
            intptr_t(control));
  }};
}

DialogStep TypeKeys(int id, std::u16string keys) {
  return {[id, keys](Window* dialog) {
    for (char16_t key : keys) {
      Window* control = platform::GetDialogItem(dialog, id);
      if (!control || control->control.kind != ControlKind::kEdit) return;
      FakeControl& edit = control->control;
      const char16_t typed[2] = {edit.typedMap ? edit.typedMap(key) : key, 0};
      const size_t start = std::min<size_t>(edit.selectionStart, edit.text.size());
      const size_t end = std::min<size_t>(std::max(edit.selectionStart, edit.selectionEnd), edit.text.size());
      if (edit.limit && edit.text.size() - (end - start) >= edit.limit) continue;
      edit.undoText = edit.text;
      edit.canUndo = true;
      edit.text = edit.text.substr(0, start) + typed[0] + edit.text.substr(end);
      const bool inFront = edit.style & platform::kEsRightToLeftReading;
      edit.selectionStart = edit.selectionEnd = uint32_t(inFront ? start : start + 1);
      Deliver(dialog, platform::kMsgCommand, uintptr_t(platform::MakeLong(uint32_t(id), platform::kEnChange)),
              intptr_t(control));
    }
  }};
}

DialogStep TapDialog(int32_t x, int32_t y) {
  return SendToDialog(platform::kMsgLButtonDown, 1, platform::MakeLong(uint32_t(x), uint32_t(y)));
}

DialogStep SelectListItem(int id, int index) {
  return {[id, index](Window* dialog) {
    Window* control = platform::GetDialogItem(dialog, id);
    if (!control || control->control.kind != ControlKind::kListBox) return;
    if (index < 0 || size_t(index) >= control->control.items.size()) return;
    control->control.selection = index;
    if (control->control.style & platform::kLbsNotify)
      Deliver(dialog, platform::kMsgCommand, uintptr_t(platform::MakeLong(uint32_t(id), platform::kLbnSelChange)),
              intptr_t(control));
  }};
}

DialogStep Inspect(std::function<void(platform::Window* dialog)> check) { return {std::move(check)}; }

const std::vector<RecordedDialog>& Dialogs() { return State().dialogs; }

void SetDialogBaseUnits(uint16_t horizontal, uint16_t vertical) {
  State().baseX = horizontal;
  State().baseY = vertical;
}

const FakeControl* ControlInfo(platform::Window* control) {
  return Known(control) && control->isControl ? &control->control : nullptr;
}

platform::Window* FocusWindow() { return State().focus; }
const std::vector<ControlCall>& ControlCalls() { return State().calls; }

std::vector<platform::RowCell> ResultListRow(platform::Window* list, int row) {
  std::vector<platform::RowCell> cells;
  if (!IsControlOf(list, ControlKind::kResultList) || row < 0 || row >= list->control.rowCount) return cells;
  Window* dialog = list->info.parent;
  for (size_t column = 0; column < list->control.columns.size(); ++column) {
    platform::RowCell cell{list->control.id, row, int(column), {}, -1, 0};
    ++State().rowCellRequests;
    if (Known(dialog) && dialog->proc)
      Deliver(dialog, platform::kMsgGetRowCell, uintptr_t(list->control.id), intptr_t(&cell));
    cells.push_back(std::move(cell));
  }
  return cells;
}

int RowCellRequests() { return State().rowCellRequests; }

void ResultListKey(platform::Window* list, uint32_t key) {
  if (!IsControlOf(list, ControlKind::kResultList)) return;
  Window* dialog = list->info.parent;
  if (key == platform::kVkReturn || key == platform::kVkEscape) {
    if (Known(dialog) && dialog->proc)
      Deliver(dialog, platform::kMsgCommand, key == platform::kVkReturn ? platform::kIdOk : platform::kIdCancel, 0);
    return;
  }
  const int count = list->control.rowCount;
  if (count <= 0) return;
  int& selection = list->control.selection;
  int step = 0;
  switch (key) {
    case platform::kVkUp: step = -1; break;
    case platform::kVkDown: step = 1; break;
    case platform::kVkPrior: step = -10; break;
    case platform::kVkNext: step = 10; break;
    case platform::kVkHome: selection = 0; return;
    case platform::kVkEnd: selection = count - 1; return;
    default: return;
  }
  selection = selection < 0 ? 0 : std::clamp(selection + step, 0, count - 1);
}

void ResultListDoubleClick(platform::Window* list, int row) {
  if (!IsControlOf(list, ControlKind::kResultList) || row < 0 || row >= list->control.rowCount) return;
  list->control.selection = row;
  Window* dialog = list->info.parent;
  if (Known(dialog) && dialog->proc)
    Deliver(dialog, platform::kMsgCommand,
            uintptr_t(platform::MakeLong(uint32_t(list->control.id), platform::kLbnDblClk)), intptr_t(list));
}

}  // namespace fake

namespace platform {

using fake::IsControl;
using fake::IsControlOf;
using fake::Log;
using fake::ControlOp;

namespace {

// A shown dialog window made from template t (none: a bare window) with its controls.
Window* NewDialogWindow(const DialogTemplate* t, Window* owner, WindowProc proc) {
  Window* dialog = fake::NewWindow(u"#dialog", t ? fake::Text(t->caption) : std::u16string(), owner);
  dialog->proc = proc;
  dialog->isDialog = true;
  dialog->dialogTemplate = t;
  dialog->info.visible = true;
  // A dialog draws on its client area like a window: its own context, released at the reset.
  dialog->info.dc = fake::CreateDc();
  dialog->mirrored = t && platform::IsLayoutRightToLeft();
  fake::PlaceDialog(dialog, owner, t);
  if (t) fake::MakeControls(dialog, *t);
  return dialog;
}

}  // namespace

intptr_t DialogBox(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param) {
  auto script = fake::State().scripts.find(templateId);
  if (script == fake::State().scripts.end() || !proc) {
    fake::State().dialogs.push_back({templateId, owner, nullptr, -1, {}});
    return -1;
  }
  const std::vector<fake::DialogStep> steps = script->second;
  Window* dialog = NewDialogWindow(FindDialogTemplate(templateId), owner, proc);

  if (fake::Deliver(dialog, kMsgInitDialog, 0, param) != 0) fake::GiveDefaultFocus(dialog);
  if (!dialog->dialogEnded) fake::Deliver(dialog, kMsgActivate, kWaActive, 0);
  size_t run = 0;
  for (; run < steps.size() && !dialog->dialogEnded; ++run) steps[run].run(dialog);
  // A dialog that ended before its script did would leave the test's later steps, and the
  // checks among them, unrun while the test passes: that is the test's failure.
  if (run < steps.size() && fake::State().scriptEnds[templateId] == fake::ScriptEnd::kEveryStep) {
    std::fprintf(stderr, "fake dialog %u ended with %zu of its %zu scripted steps unrun\n", templateId,
                 steps.size() - run, steps.size());
    std::abort();
  }
  const intptr_t result = dialog->dialogEnded ? dialog->dialogResult : 0;
  fake::Deliver(dialog, kMsgDestroy, 0, 0);
  dialog->info.destroyed = true;
  dialog->info.visible = false;
  fake::DestroyChildren(dialog);
  fake::ForgetDestroyedFocus();
  fake::State().dialogs.push_back({templateId, owner, dialog, result, dialog->delivered});
  return result;
}

Window* CreateDialog(uint32_t templateId, Window* owner, WindowProc proc, intptr_t param) {
  const DialogTemplate* t = FindDialogTemplate(templateId);
  if (!t || !proc) return nullptr;
  Window* dialog = NewDialogWindow(t, owner, proc);
  if (fake::Deliver(dialog, kMsgInitDialog, 0, param) != 0) fake::GiveDefaultFocus(dialog);
  if (!dialog->info.destroyed) fake::Deliver(dialog, kMsgActivate, kWaActive, 0);
  return dialog;
}

bool EndDialog(Window* dialog, intptr_t result) {
  if (!fake::Known(dialog) || !dialog->isDialog || dialog->dialogEnded) return false;
  dialog->dialogEnded = true;
  dialog->dialogResult = result;
  return true;
}

bool PlaceDialog(Window* dialog, int32_t width, int32_t height, bool resizable) {
  if (!fake::Known(dialog) || !dialog->isDialog || dialog->info.destroyed) return false;
  Rect& r = dialog->info.rect;
  int32_t minWidth = r.right - r.left, minHeight = r.bottom - r.top;
  if (const DialogTemplate* t = dialog->dialogTemplate) {
    const uint32_t units = GetDialogBaseUnits();
    minWidth = DialogUnitsToPixelsX(t->width, units);
    minHeight = DialogUnitsToPixelsY(t->height, units);
  }
  if (width <= 0) width = minWidth;
  if (height <= 0) height = minHeight;
  Window* owner = dialog->info.parent;
  const Rect over = fake::Known(owner) ? owner->info.rect : r;
  // The owner's screen: the work area holding the centre of the owner's window.
  Rect screens[8];
  const int count = std::min(ScreenWorkAreas(screens, 8), 8);
  Rect screen{0, 0, 0, 0};
  const int32_t cx = (over.left + over.right) / 2, cy = (over.top + over.bottom) / 2;
  for (int i = count - 1; i >= 0; --i)
    if (i == 0 || (cx >= screens[i].left && cx < screens[i].right && cy >= screens[i].top && cy < screens[i].bottom))
      screen = screens[i];
  r = DialogRectOverOwner(over, width, height, minWidth, minHeight, screen);
  dialog->info.minimumWidth = resizable ? minWidth : r.right - r.left;
  dialog->info.minimumHeight = resizable ? minHeight : r.bottom - r.top;
  dialog->info.resizable = resizable;
  dialog->info.placements++;
  fake::Deliver(dialog, kMsgSize, 0, intptr_t(MakeLong(uint32_t(r.right - r.left), uint32_t(r.bottom - r.top))));
  return true;
}

bool GetDialogSize(Window* dialog, int32_t* width, int32_t* height) {
  const bool known = fake::Known(dialog) && dialog->isDialog && !dialog->info.destroyed;
  const Rect r = known ? dialog->info.rect : Rect{0, 0, 0, 0};
  if (width) *width = r.right - r.left;
  if (height) *height = r.bottom - r.top;
  return known;
}

uint32_t GetDialogBaseUnits() { return uint32_t(MakeLong(fake::State().baseX, fake::State().baseY)); }

Window* GetDialogItem(Window* dialog, int id) {
  if (!fake::Known(dialog) || !dialog->isDialog || id == kNoControlId) return nullptr;
  for (Window* c : dialog->controls)
    if (c->control.id == id && !c->info.destroyed) return c;
  return nullptr;
}

int GetDialogControlId(Window* control) { return IsControl(control) ? control->control.id : kNoControlId; }

bool SetWindowText(Window* window, const char16_t* text) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  Log(window, ControlOp::kSetText, fake::Text(text));
  if (window->isControl) {
    window->control.text = fake::Text(text);
    window->control.selectionStart = window->control.selectionEnd = 0;
    window->control.canUndo = false;
  } else {
    window->info.title = fake::Text(text);
  }
  return true;
}

uint32_t GetWindowText(Window* window, char16_t* buffer, uint32_t capacity) {
  if (!buffer || capacity == 0) return 0;
  buffer[0] = 0;
  if (!fake::Known(window) || window->info.destroyed) return 0;
  const std::u16string& text = window->isControl ? window->control.text : window->info.title;
  const uint32_t n = std::min<uint32_t>(uint32_t(text.size()), capacity - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = 0;
  return n;
}

void SetWindowFont(Window* control, Font* font, bool redraw) {
  if (!IsControl(control)) return;
  control->control.font = font;
  Log(control, ControlOp::kSetFont, {}, int64_t(intptr_t(font)), redraw);
}

bool EnableWindow(Window* window, bool enable) {
  if (!IsControl(window)) return false;
  const bool wasDisabled = !window->control.enabled;
  window->control.enabled = enable;
  Log(window, ControlOp::kEnable, {}, enable);
  return wasDisabled;
}

bool SetFocus(Window* window) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  fake::State().focus = window;
  Log(window, ControlOp::kFocus);
  return true;
}

void EditLimitText(Window* edit, uint32_t maxUnits) {
  if (!IsControlOf(edit, ControlKind::kEdit)) return;
  edit->control.limit = maxUnits;
  Log(edit, ControlOp::kLimitText, {}, maxUnits);
}

void EditMapTypedCharacters(Window* edit, platform::TypedCharacterMap map) {
  if (IsControlOf(edit, ControlKind::kEdit)) edit->control.typedMap = map;
}

void EditGetSelection(Window* edit, uint32_t* start, uint32_t* end) {
  const bool ok = IsControlOf(edit, ControlKind::kEdit);
  if (start) *start = ok ? edit->control.selectionStart : 0;
  if (end) *end = ok ? edit->control.selectionEnd : 0;
}

void EditSetSelection(Window* edit, int32_t start, int32_t end) {
  if (!IsControlOf(edit, ControlKind::kEdit)) return;
  Log(edit, ControlOp::kSetSelection, {}, start, end);
  fake::FakeControl& c = edit->control;
  const int32_t length = int32_t(c.text.size());
  if (start < 0) {
    c.selectionStart = c.selectionEnd;  // deselect; the caret stays
    return;
  }
  if (end < 0 || end > length) end = length;
  if (start > length) start = length;
  if (start > end) std::swap(start, end);
  c.selectionStart = uint32_t(start);
  c.selectionEnd = uint32_t(end);
}

void EditReplaceSelection(Window* edit, const char16_t* text, bool allowUndo) {
  if (!IsControlOf(edit, ControlKind::kEdit)) return;
  Log(edit, ControlOp::kReplaceSelection, fake::Text(text), allowUndo);
  fake::FakeControl& c = edit->control;
  const std::u16string old = c.text;
  const size_t start = std::min<size_t>(c.selectionStart, old.size());
  const size_t end = std::min<size_t>(std::max(c.selectionStart, c.selectionEnd), old.size());
  std::u16string insert = fake::Text(text);
  const size_t kept = old.size() - (end - start);
  if (c.limit) insert = insert.substr(0, kept >= c.limit ? 0 : c.limit - kept);
  c.text = old.substr(0, start) + insert + old.substr(end);
  c.selectionStart = c.selectionEnd = uint32_t(start + insert.size());
  c.canUndo = allowUndo;
  c.undoText = allowUndo ? old : std::u16string();
}

void CheckDialogButton(Window* dialog, int id, bool checked) {
  Window* button = GetDialogItem(dialog, id);
  if (!IsControlOf(button, ControlKind::kButton)) return;
  button->control.checked = checked;
  Log(button, ControlOp::kCheck, {}, checked);
}

bool IsDialogButtonChecked(Window* dialog, int id) {
  Window* button = GetDialogItem(dialog, id);
  return IsControlOf(button, ControlKind::kButton) && button->control.checked;
}

int ListBoxInsertString(Window* list, int index, const char16_t* text) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  auto& items = list->control.items;
  if (index < -1 || index > int(items.size())) return kListBoxError;
  if (index == -1) index = int(items.size());
  items.insert(items.begin() + index, {fake::Text(text), 0});
  if (list->control.selection >= index) list->control.selection++;
  Log(list, ControlOp::kListInsert, fake::Text(text), index);
  return index;
}

int ListBoxAddString(Window* list, const char16_t* text) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  const auto& items = list->control.items;
  int index = int(items.size());
  if (list->control.style & kLbsSort) {
    const std::u16string t = fake::Text(text);
    index = 0;
    while (index < int(items.size()) && !fake::SortsBefore(t, items[size_t(index)].text)) ++index;
  }
  Log(list, ControlOp::kListAdd, fake::Text(text), index);
  auto& mutableItems = list->control.items;
  mutableItems.insert(mutableItems.begin() + index, {fake::Text(text), 0});
  if (list->control.selection >= index) list->control.selection++;
  return index;
}

int ListBoxDeleteString(Window* list, int index) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  auto& items = list->control.items;
  if (index < 0 || index >= int(items.size())) return kListBoxError;
  Log(list, ControlOp::kListDelete, {}, index);
  items.erase(items.begin() + index);
  int& selection = list->control.selection;
  if (selection == index)
    selection = -1;
  else if (selection > index)
    selection--;
  return int(items.size());
}

void ListBoxReset(Window* list) {
  if (!IsControlOf(list, ControlKind::kListBox)) return;
  Log(list, ControlOp::kListReset);
  list->control.items.clear();
  list->control.selection = -1;
}

int ListBoxCount(Window* list) { return IsControlOf(list, ControlKind::kListBox) ? int(list->control.items.size()) : 0; }

int ListBoxGetText(Window* list, int index, char16_t* buffer, uint32_t capacity) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  const auto& items = list->control.items;
  if (index < 0 || index >= int(items.size())) return kListBoxError;
  if (!buffer || capacity == 0) return 0;
  const std::u16string& text = items[size_t(index)].text;
  const uint32_t n = std::min<uint32_t>(uint32_t(text.size()), capacity - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = 0;
  return int(n);
}

bool ListBoxSetItemData(Window* list, int index, intptr_t data) {
  if (!IsControlOf(list, ControlKind::kListBox)) return false;
  auto& items = list->control.items;
  if (index < 0 || index >= int(items.size())) return false;
  Log(list, ControlOp::kListSetData, {}, index, data);
  items[size_t(index)].data = data;
  return true;
}

intptr_t ListBoxGetItemData(Window* list, int index) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  const auto& items = list->control.items;
  if (index < 0 || index >= int(items.size())) return kListBoxError;
  return items[size_t(index)].data;
}

int ListBoxGetCurrentSelection(Window* list) {
  return IsControlOf(list, ControlKind::kListBox) ? list->control.selection : kListBoxError;
}

int ListBoxSetCurrentSelection(Window* list, int index) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  Log(list, ControlOp::kListSetSelection, {}, index);
  if (index < 0 || index >= int(list->control.items.size())) {
    list->control.selection = -1;
    return kListBoxError;
  }
  list->control.selection = index;
  return index;
}

int ListBoxFindPrefix(Window* list, int startAfter, const char16_t* prefix) {
  if (!IsControlOf(list, ControlKind::kListBox)) return kListBoxError;
  const auto& items = list->control.items;
  const int count = int(items.size());
  if (count == 0) return kListBoxError;
  const std::u16string p = fake::Text(prefix);
  const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
  for (int i = 0; i < count; ++i) {
    const int index = (first + i) % count;
    if (fake::BeginsWith(items[size_t(index)].text, p)) return index;
  }
  return kListBoxError;
}

int ListBoxSelectPrefix(Window* list, int startAfter, const char16_t* prefix) {
  const int index = ListBoxFindPrefix(list, startAfter, prefix);
  if (IsControlOf(list, ControlKind::kListBox)) Log(list, ControlOp::kListSelectPrefix, fake::Text(prefix), startAfter);
  if (index != kListBoxError) list->control.selection = index;
  return index;
}

}  // namespace platform

namespace platform {

void ResultListSetColumns(Window* list, const ResultColumn* columns, size_t count) {
  if (!IsControlOf(list, ControlKind::kResultList)) return;
  fake::FakeControl& c = list->control;
  c.columns.clear();
  for (size_t i = 0; i < count; ++i) c.columns.emplace_back(fake::Text(columns[i].title), columns[i].width);
  c.rowCount = 0;
  c.selection = -1;
  Log(list, ControlOp::kResultColumns, {}, int64_t(count));
}

void ResultListSetRowCount(Window* list, int count) {
  if (!IsControlOf(list, ControlKind::kResultList)) return;
  list->control.rowCount = std::max(count, 0);
  list->control.selection = -1;
  Log(list, ControlOp::kResultRowCount, {}, count);
}

int ResultListRowCount(Window* list) {
  return IsControlOf(list, ControlKind::kResultList) ? list->control.rowCount : 0;
}

int ResultListSetSelection(Window* list, int row) {
  if (!IsControlOf(list, ControlKind::kResultList)) return kListBoxError;
  Log(list, ControlOp::kResultSelect, {}, row);
  if (row < 0 || row >= list->control.rowCount) {
    list->control.selection = -1;
    return kListBoxError;
  }
  list->control.selection = row;
  return row;
}

int ResultListGetSelection(Window* list) {
  return IsControlOf(list, ControlKind::kResultList) ? list->control.selection : kListBoxError;
}

}  // namespace platform
