// The reader's settings record: what the settings store loads at start-up and writes at
// shutdown, and what the shell and the subsystems above it read while the reader runs.
#pragma once

#include <cstdint>

#include "content/letter_code.h"
#include "view/font_spec.h"

// Flags bits the reader tests; every other bit is kept as read.
constexpr uint32_t kFlagScrollBarSync = 0x000000C0;    // either bit: the scroll bars follow the panes
constexpr uint32_t kFlagReverse = 0x00000800;          // drawn text is turned around (letter base not 97)
constexpr uint32_t kFlagKeyPageModeMask = 0x00700000;  // page mode of the keys: 2 and 4 step half the rows
constexpr int kFlagKeyPageModeShift = 20;
constexpr uint32_t kFlagTapPageModeMask = 0x07000000;  // page mode of a tap: 2 and 4 step half the rows
constexpr int kFlagTapPageModeShift = 24;
constexpr uint32_t kFlagTapZonesVertical = 0x10000000; // a tap pages by its half: top/bottom, not left/right
constexpr uint32_t kFlagTapTurnsPages = 0x80000000;    // a tap pages; clear: it only activates the pane
constexpr uint32_t kDefaultFlags = 0xD1140040;

struct ReaderSettings {
  FontSpec fontSpec;                        // the font both panes draw with
  uint16_t lastPosition;                    // upper pane's top row (rows) to restore at start-up
  uint32_t flags;                           // the kFlag... bits and the others, kept as read
  uint16_t lesson;                          // the current article, 1..286 (0: none yet); the upper pane shows it
  uint8_t searchString[kSearchStringSize];  // the last search pattern, letter code, 0-terminated
  int32_t bottomSection;                    // lower-pane size code: 1, 12, 13, 14, 23 or 34
  uint16_t bottomSectionLastPosition;       // lower pane's top row (rows) to restore at start-up
  int32_t colourScheme;                     // kColourScheme... (shell/colour_scheme_choice.h); 0: the desktop's
};

extern ReaderSettings gReaderSettings;

// Zeroes the record (the state before start-up fills it).
void ResetReaderSettings();
