#include "search/search_dialog.h"

#include "content/letter_code.h"
#include "shell/reader_settings.h"
#include "search/search.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

const char KeyboardLayout[28] = "abcdefghijlkmonqprsutwvxyz{";

SearchDialogState gSearchDialog{};

void ResetSearchDialogState() { gSearchDialog = SearchDialogState{}; }

namespace {

// The stored string as the edit box shows it: one display unit per byte, in stored
// (visual) order. Unlike drawing, the Reverse option does not apply: the box holds what
// taps build and OK stores back, so confirming the dialog never turns the pattern round.
// A block of its own; none when memory runs out.
char16_t* SearchStringAsText() {
  auto* text = static_cast<char16_t*>(platform::Alloc(kSearchStringSize * sizeof(char16_t)));
  if (!text) return nullptr;
  const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
  int n = 0;
  for (; n < kSearchStringSize - 1 && gReaderSettings.searchString[n] != 0; ++n)
    text[n] = LetterToDisplayUnit(gReaderSettings.searchString[n], base);
  text[n] = 0;
  return text;
}

void OnInit(platform::Window* dialog) {
  const uint32_t units = platform::GetDialogBaseUnits();
  gSearchDialog.baseUnitX = platform::LowWord(units);
  gSearchDialog.baseUnitY = platform::HighWord(units);

  const FontSpec& spec = gPaneState.upperView ? gPaneState.upperView->fontSpec : gReaderSettings.fontSpec;
  platform::FontDescription description{};
  description.height = spec.size;
  for (int i = 0; i < 31 && spec.faceName[i]; ++i) description.face[i] = spec.faceName[i];
  gSearchDialog.searchFont = platform::CreateFont(description);

  platform::Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
  platform::SetWindowFont(edit, gSearchDialog.searchFont, true);
  platform::EditLimitText(edit, kSearchTextLimit);
  char16_t* text = SearchStringAsText();
  platform::SetWindowText(edit, text ? text : u"");
  platform::Free(text);
}

void OnActivate(uint32_t state) {
  if (state == platform::kWaInactive) return;
  if (gDeviceOptions.allowSipInHebrewSearch)
    platform::SetFullScreenState(gShellWindows.mainWindow, platform::kFullScreenShowInputPanelButton);
  if (state == platform::kWaActive && gShellWindows.taskBar) platform::ShowWindow(gShellWindows.taskBar, platform::kSwHide);
}

// Ends the dialog with id and puts the input panel away, whatever the options say.
void Close(platform::Window* dialog, int id) {
  platform::EndDialog(dialog, id);
  platform::ForceInputPanelDown(gShellWindows.mainWindow);
  platform::Yield();
  platform::SetFullScreenState(gShellWindows.mainWindow, platform::kFullScreenHideInputPanelButton);
}

// Stores the edit box's text as the search string.
void StoreSearchString(platform::Window* dialog) {
  platform::Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
  char16_t text[kSearchTextLimit + 1] = {};
  platform::GetWindowText(edit, text, kSearchTextLimit + 1);
  ToLetterCode(text, gReaderSettings.searchString, gReaderSettings.fontSpec.fontAsciiBase);
}

void OnOk(platform::Window* dialog) {
  platform::Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
  StoreSearchString(dialog);
  if (gReaderSettings.searchString[0] == 0 || SearchAgain(dialog) == 1) {
    Close(dialog, platform::kIdOk);
    return;
  }
  // Nothing found: the next key replaces the whole pattern.
  platform::EditSetSelection(edit, 0, -1);
}

}  // namespace

intptr_t SearchDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      OnInit(dialog);
      return 1;
    case platform::kMsgActivate:
      OnActivate(platform::LowWord(wParam));
      return 0;
    case platform::kMsgCommand:
      switch (platform::LowWord(wParam)) {
        case platform::kIdOk:
          OnOk(dialog);
          return 1;
        case platform::kIdCancel:
          Close(dialog, platform::kIdCancel);
          return 1;
        case kSearchFindAllId:
          StoreSearchString(dialog);
          if (gReaderSettings.searchString[0] != 0)
            Close(dialog, kSearchFindAllId);
          else
            platform::SetFocus(platform::GetDialogItem(dialog, kSearchEditId));
          return 1;
        default:
          return 0;
      }
    case platform::kMsgLButtonDown:
      return KeyboardTap(dialog, int16_t(platform::LowWord(uintptr_t(lParam))),
                         int16_t(platform::HighWord(uintptr_t(lParam))));
    case platform::kMsgDestroy:
      platform::DeleteFont(gSearchDialog.searchFont);
      gSearchDialog.searchFont = nullptr;
      return 1;
    default:
      return 0;
  }
}

int KeyboardTap(platform::Window* dialog, int32_t x, int32_t y) {
  // The platform's base units, as read at initialisation, place the picture.
  const int32_t x0 = kKeyboardLeft * int32_t(gSearchDialog.baseUnitX) / 4;
  const int32_t y0 = kKeyboardTop * int32_t(gSearchDialog.baseUnitY) / 8;
  const int32_t dx = x - x0, dy = y - y0;
  if (dy < 0 || dx < 0 || dy >= kKeyboardHeight || dx >= kKeyboardWidth) return 1;
  const int32_t row = dy / kKeyHeight;
  // Nine keys of 17 pixels cover 153 of the picture's 154 columns: the last one belongs to
  // the ninth key.
  int32_t column = dx / kKeyWidth;
  if (column > 8) column = 8;
  int position;
  if (row < 3) {
    position = (row + 1) * 9 - column;
  } else {
    if (column < 2 || column >= 7) return 1;
    position = 0;
  }
  InsertKeyboardLetter(dialog, position);
  return 0;
}

void InsertKeyboardLetter(platform::Window* dialog, int position) {
  platform::Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
  if (!edit || position < 0 || position > 27) return;
  const char16_t letter =
      position == 0 ? u' ' : LetterToDisplayUnit(uint8_t(KeyboardLayout[position - 1]), gReaderSettings.fontSpec.fontAsciiBase);
  const char16_t text[2] = {letter, 0};
  platform::EditReplaceSelection(edit, text, true);
  uint32_t start = 0, end = 0;
  platform::EditGetSelection(edit, &start, &end);
  platform::EditSetSelection(edit, int32_t(start) - 1, int32_t(start) - 1);
}

intptr_t OpenSearchDialog(platform::Window* owner) {
  return platform::DialogBox(kSearchDialogTemplate, owner, SearchDialogProc, 0);
}
