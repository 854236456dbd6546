#include "search/hebrew_keyboard.h"

#include "content/letter_code.h"
#include "platform/dialog_template.h"

const char KeyboardLayout[28] = "abcdefghijlkmonqprsutwvxyz{";

int KeyboardKeyAt(int32_t x, int32_t y, int32_t left, int32_t top, uint32_t baseUnits) {
  const int32_t dx = x - platform::DialogUnitsToPixelsX(left, baseUnits);
  const int32_t dy = y - platform::DialogUnitsToPixelsY(top, baseUnits);
  if (dy < 0 || dx < 0 || dy >= kKeyboardHeight || dx >= kKeyboardWidth) return -1;
  const int32_t row = dy / kKeyHeight;
  // Nine keys of 17 pixels cover 153 of the picture's 154 columns: the last one belongs to
  // the ninth key.
  const int32_t column = dx / kKeyWidth > 8 ? 8 : dx / kKeyWidth;
  if (row < 3) return (row + 1) * 9 - column;
  // The space bar lies under the third to the seventh key from the left.
  return column < 2 || column >= 7 ? -1 : 0;
}

char16_t KeyboardUnicodeCharacter(int position) {
  if (position == 0) return u' ';
  if (position < 1 || position > 27) return 0;
  return LetterToDisplayUnit(uint8_t(KeyboardLayout[position - 1]), kUnicodeLetterBase);
}
