// The settings store: typed reads and writes of the current user's registry, the start-up
// load into ReaderSettings and DeviceOptions, the shutdown save, the current-article rule
// and the allocation that gives up with a message when memory runs out.
//
// Persistent state is written only at shutdown (and "Program Path" at every start); every
// change during the run lives in memory. Every registry operation opens its key, does its
// work and closes the key again.
#pragma once

#include <cstddef>
#include <cstdint>

// Per-product values: read at start-up, written at shutdown.
inline constexpr char16_t kSettingsKeyPath[] = u"Software\\Orvanel\\Solmar";
// Device-wide options: only ever read.
inline constexpr char16_t kDeviceOptionsKeyPath[] = u"software\\Orvanel";

inline constexpr int32_t kDefaultFontAsciiBase = 1488;
inline constexpr int32_t kDefaultBottomSection = 12;
inline constexpr uint32_t kProgramPathCapacity = 260;  // UTF-16 units with the 0

// --- Reads (per-product key unless said otherwise) --------------------------------------

// A number value, or defaultValue when the key or value is missing or unreadable. A value
// that is not a 32-bit number is read as decimal UTF-16 text: each unit up to the first 0
// (or the end of the data) makes value * 10 + (unit - '0'), no unit rejected ("1a" is 59).
int32_t ReadNumberSetting(const char16_t* name, int32_t defaultValue);
// The same from the device-wide key.
int32_t ReadDeviceOption(const char16_t* name, int32_t defaultValue);
// A new 0-terminated copy of the value, whatever its kind, owned by the caller (free with
// platform::Free); none when missing. Data without a 0 ends at its end; an odd last byte is
// dropped.
char16_t* ReadStringSetting(const char16_t* name);
// A new block with the value's bytes, whatever its kind, owned by the caller, and its
// length; none and length 0 when missing or empty.
uint8_t* ReadBytesSetting(const char16_t* name, uint32_t* length);
// Copies a stored 0-terminated byte string into buffer, at most capacity - 1 bytes and a 0.
// Leaves buffer untouched when the value is missing, empty or starts with a 0.
void ReadByteStringSetting(const char16_t* name, uint8_t* buffer, uint32_t capacity);

// --- Writes: true when written; a failure changes nothing else ---------------------------

bool WriteNumberSetting(const char16_t* name, int32_t value);
// Stores (length + 1) * 2 bytes as a string.
bool WriteStringSetting(const char16_t* name, const char16_t* text);
// Stores length + 1 bytes (the 0 included) as raw bytes.
bool WriteByteStringSetting(const char16_t* name, const uint8_t* text);
// Stores exactly length bytes as raw bytes.
bool WriteBytesSetting(const char16_t* name, const void* bytes, uint32_t length);

// --- Start-up, current article, shutdown ------------------------------------------------

// Fills gDeviceOptions from the device-wide key (defaults 0, 0, 1, 0, 0).
void LoadDeviceOptions();
// Writes "Program Path", fills gReaderSettings, loads bitmaps 201..203 into gIndexBitmaps
// and loads the bookmarks.
void LoadSettings();
// Makes article n current and its position 0. n = 0 keeps the current article, or picks
// 1 when there is none; n equal to the current article changes nothing.
void SelectArticle(uint16_t n);
// Releases the index bitmaps, writes the settings and both panes' top rows, destroys the
// views, saves and frees the bookmarks and asks the message loop to end with code 0.
// Values are written only by the first run after LoadSettings completed: an abort while
// loading (or before) must not overwrite the stored values with half-loaded ones, and a
// second run (the window destroyed after an out-of-memory abort) only releases what still
// exists, so it neither releases anything twice nor overwrites the first run's values.
void SaveSettingsAndQuit();
// A block from the heap; when memory is short, tells the user "There is not enough
// memory, aborting", runs SaveSettingsAndQuit and answers none (the caller abandons).
void* AllocOrAbort(size_t size);

// Forgets whether the settings were loaded or saved (tests; the records have their own
// resets).
void ResetSettingsState();
