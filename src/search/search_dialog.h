// The search dialog (template 115): the pattern's edit box above a picture of a Hebrew
// keyboard. A tap on a key puts its letter in front of the caret, so the text grows to the
// left in visual order, the order the search string is stored in. Typed or pasted text is
// normalised as every search input is (points and marks dropped, characters the book cannot
// hold refused with a message); letters typed in the Latin keyboard layout become the
// Hebrew letters on the same keys. OK stores the text as the search string and runs Search
// Again; the dialog closes on a hit or an empty string.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "search/hebrew_keyboard.h"

constexpr uint32_t kSearchDialogTemplate = 115;
constexpr int kSearchEditId = 1013;
// The "Find All" button: stores the pattern as OK does and closes the dialog with this id,
// so that its opener lists every hit (an empty pattern keeps the dialog open and the stored
// string as it was).
constexpr int kSearchFindAllId = 1014;
// Units the edit box holds. The search string's limit of 33 characters applies to the text
// once normalised: a pointed word pasted from another edition is longer in the box.
constexpr uint32_t kSearchTextLimit = 255;
// The keyboard picture's place in the dialog (dialog units).
constexpr int32_t kKeyboardLeft = 7;
constexpr int32_t kKeyboardTop = 71;

// The dialog's process-wide state: the edit box's font (made at initialisation, deleted at
// destruction) and the base units read at initialisation.
struct SearchDialogState {
  platform::Font* searchFont;
  uint32_t baseUnitX;
  uint32_t baseUnitY;
};
extern SearchDialogState gSearchDialog;
void ResetSearchDialogState();

intptr_t SearchDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);
// A press at client pixels x, y of the dialog: inserts the key's letter and answers 0 when
// it hit a key or the space bar, 1 when it missed the keyboard.
int KeyboardTap(platform::Window* dialog, int32_t x, int32_t y);
// Puts the letter of key position 0..27 in place of the edit box's selection, with the caret
// left in front of it (to its left). Nothing for another position or without the box.
void InsertKeyboardLetter(platform::Window* dialog, int position);
// Runs the dialog modally over owner; answers how it ended: kIdOk, kIdCancel or
// kSearchFindAllId (-1 when it could not be made).
intptr_t OpenSearchDialog(platform::Window* owner);
