// The on-screen Hebrew keyboard: a picture of 27 letter keys in three rows of nine and a
// space bar under them, shown under the edit box of the search dialog and of the "Go to
// Verse" box. Each dialog places the picture in its own template and decides what a tap
// puts in its box; where the keys lie in the picture is written once, here.
#pragma once

#include <cstdint>

// The picture's size in pixels and the size of one key.
constexpr int32_t kKeyboardWidth = 154;
constexpr int32_t kKeyboardHeight = 95;
constexpr int32_t kKeyWidth = 17;
constexpr int32_t kKeyHeight = 25;

// The letter code of each key: entry k - 1 belongs to key position k (1..27), counted from
// the right of the top row, row by row. Position 0 is the space bar.
extern const char KeyboardLayout[28];

// The key position (0 for the space bar, 1..27 for the letters) under client pixels x, y of
// a dialog whose template puts the picture at left, top (dialog units), turned into pixels
// with baseUnits as GetDialogBaseUnits answers them; -1 off the keys.
int KeyboardKeyAt(int32_t x, int32_t y, int32_t left, int32_t top, uint32_t baseUnits);

// The Unicode character of key position 0..27: the key's Hebrew letter (U+05D0..U+05EA), a
// space for the space bar; 0 for any other position.
char16_t KeyboardUnicodeCharacter(int position);
