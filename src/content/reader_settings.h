// The reader's shared settings record and font description.
//
// One process-wide record. The shell's settings store fills it at start-up and writes it
// at shutdown; the letter-code conversion reads the letter base and the Reverse bit from
// it, and the views copy its FontSpec. It lives here, at the bottom of the dependency
// chain, because the content store is the first reader of it.
#pragma once

#include <cstdint>

struct FontSpec {
  char16_t faceName[32];   // 0-terminated; empty = not chosen yet
  int32_t size;            // pixels; 0 = not set (the platform's default)
  int32_t fontAsciiBase;   // code point of the first letter in the font: 97, 224 or 1488
};

// Flags bits the reader tests; every other bit is kept as read.
constexpr uint32_t kFlagScrollBarSync = 0x000000C0;
constexpr uint32_t kFlagReverse = 0x00000800;
constexpr uint32_t kFlagKeyPageModeMask = 0x00700000;
constexpr int kFlagKeyPageModeShift = 20;
constexpr uint32_t kFlagTapPageModeMask = 0x07000000;
constexpr int kFlagTapPageModeShift = 24;
constexpr uint32_t kFlagTapZonesVertical = 0x10000000;
constexpr uint32_t kFlagTapTurnsPages = 0x80000000;
constexpr uint32_t kDefaultFlags = 0xD1140040;

constexpr int kSearchStringSize = 34;  // 33 letter-code characters and the 0

struct ReaderSettings {
  FontSpec fontSpec;
  uint16_t lastPosition;
  uint32_t flags;
  uint16_t lesson;
  uint8_t searchString[kSearchStringSize];
  int32_t bottomSection;
  uint16_t bottomSectionLastPosition;
};

extern ReaderSettings gReaderSettings;

// Zeroes the record (the state before start-up fills it).
void ResetReaderSettings();
