#include "search/search_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "content/letter_code.h"
#include "content/search_input.h"
#include "content/visual_order.h"
#include "search/find_all.h"
#include "shell/reader_settings.h"
#include "search/search.h"
#include "shell/shell_state.h"
#include "view/page_view.h"
#include "platform/ui_text.h"

SearchDialogState gSearchDialog{};

void ResetSearchDialogState() { gSearchDialog = SearchDialogState{}; }

namespace {

constexpr char16_t kSearchCaption[] = u"Solmar";
// Told when the box holds a character the book cannot hold: %1 is the character, %2 its
// code point in hexadecimal.
constexpr const char16_t* kCannotHold = SOLMAR_TEXT("MessageBox", "The book's text cannot hold \"%1\" (U+%2), so the search cannot look for it.");
constexpr const char16_t* kTooLong = SOLMAR_TEXT("MessageBox", "The search text is longer than 33 characters.");

// The stored string as the edit box shows it. The seam hands the box's text over in
// visual order, the reverse of reading order; the stored string is the book's stored order
// (brackets mirrored, numbers in their own order), so it is first read back into reading
// order. Letters show at the font's letter base, as the keyboard's taps put them in. Unlike
// drawing, the Reverse option does not apply. A block of its own; none when memory runs
// out.
char16_t* SearchStringAsText() {
  auto* text = static_cast<char16_t*>(platform::Alloc(kSearchStringSize * sizeof(char16_t)));
  if (!text) return nullptr;
  uint8_t reading[kSearchStringSize] = {};
  const size_t n = strnlen(reinterpret_cast<const char*>(gReaderSettings.searchString), kSearchStringSize - 1);
  std::memcpy(reading, gReaderSettings.searchString, n);
  SwapVisualOrder(reading, n);
  const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
  for (size_t i = 0; i < n; ++i) text[n - 1 - i] = LetterToDisplayUnit(reading[i], base);
  text[n] = 0;
  return text;
}

// The box's text in reading order, with the letters the font's letter base shows turned
// into Unicode Hebrew letters, so typed and pasted Hebrew count whatever the base.
std::u16string EditTextInReadingOrder(platform::Window* dialog) {
  char16_t text[kSearchTextLimit + 1] = {};
  const uint32_t n = platform::GetWindowText(platform::GetDialogItem(dialog, kSearchEditId), text, kSearchTextLimit + 1);
  std::u16string reading(text, n);
  std::reverse(reading.begin(), reading.end());
  const int32_t base = gReaderSettings.fontSpec.fontAsciiBase;
  for (char16_t& unit : reading)
    if (int32_t(unit) >= base && int32_t(unit) < base + kLetterCount)
      unit = char16_t(kUnicodeLetterBase + (unit - base));
  return reading;
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
  platform::EditMapTypedCharacters(edit, HebrewOnLatinKey);
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

// What the box's text came to.
enum class BoxText { kPattern, kEmpty, kRefused };

// Turns the box's text into a pattern in pattern (kSearchStringSize bytes). kEmpty when
// nothing is left to look for; kRefused when the text cannot be searched for, after
// telling the user why in a box owned by the dialog.
BoxText PatternFromBox(platform::Window* dialog, uint8_t* pattern) {
  char32_t refused = 0;
  switch (StoredPatternFromReadingOrder(EditTextInReadingOrder(dialog), pattern, &refused)) {
    case PatternError::kNone:
      return BoxText::kPattern;
    case PatternError::kEmpty:
      return BoxText::kEmpty;
    case PatternError::kTooLong:
      platform::MessageBox(dialog, kTooLong, kSearchCaption, platform::kMbOk);
      return BoxText::kRefused;
    case PatternError::kNotInLetterCode:
      break;
  }
  std::u16string character;
  if (refused > 0xFFFF) {
    character.push_back(char16_t(0xD800 + ((refused - 0x10000) >> 10)));
    character.push_back(char16_t(0xDC00 + ((refused - 0x10000) & 0x3FF)));
  } else if (refused >= 0x20 && refused != 0x7F && !(refused >= 0x80 && refused < 0xA0)) {
    character.push_back(char16_t(refused));
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", unsigned(refused));
  std::u16string message = platform::TranslateText("MessageBox", kCannotHold);
  if (const size_t at = message.find(u"%1"); at != std::u16string::npos) message.replace(at, 2, character);
  if (const size_t at = message.find(u"%2"); at != std::u16string::npos)
    message.replace(at, 2, std::u16string(hex, hex + std::strlen(hex)));
  platform::MessageBox(dialog, message.c_str(), kSearchCaption, platform::kMbOk);
  return BoxText::kRefused;
}

void FocusBox(platform::Window* dialog) { platform::SetFocus(platform::GetDialogItem(dialog, kSearchEditId)); }

void OnOk(platform::Window* dialog) {
  platform::Window* edit = platform::GetDialogItem(dialog, kSearchEditId);
  uint8_t pattern[kSearchStringSize] = {};
  switch (PatternFromBox(dialog, pattern)) {
    case BoxText::kRefused:
      // The text stays as it is, for the user to mend.
      FocusBox(dialog);
      return;
    case BoxText::kEmpty:
      gReaderSettings.searchString[0] = 0;
      Close(dialog, platform::kIdOk);
      return;
    case BoxText::kPattern:
      break;
  }
  std::memcpy(gReaderSettings.searchString, pattern, kSearchStringSize);
  if (SearchAgain(dialog) == 1) {
    Close(dialog, platform::kIdOk);
    return;
  }
  // Nothing found: the next key replaces the whole pattern.
  platform::EditSetSelection(edit, 0, -1);
}

// Find All stores the pattern as OK does and leaves the listing to the opener. With
// nothing to look for, the stored string stays as it was and the box keeps the focus.
void OnFindAll(platform::Window* dialog) {
  uint8_t pattern[kSearchStringSize] = {};
  if (PatternFromBox(dialog, pattern) != BoxText::kPattern) {
    FocusBox(dialog);
    return;
  }
  std::memcpy(gReaderSettings.searchString, pattern, kSearchStringSize);
  Close(dialog, kSearchFindAllId);
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
          OnFindAll(dialog);
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
  const int position = KeyboardKeyAt(x, y, kKeyboardLeft, kKeyboardTop,
                                     uint32_t(platform::MakeLong(gSearchDialog.baseUnitX, gSearchDialog.baseUnitY)));
  if (position < 0) return 1;
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
