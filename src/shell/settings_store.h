// The settings store: typed reads and writes of the current user's registry. Every
// operation opens its key, does its work and closes the key again. Blocks for the values
// read come from AllocOrAbort.
#pragma once

#include <cstdint>

// Per-product values: read at start-up, written at shutdown.
inline constexpr char16_t kSettingsKeyPath[] = u"Software\\Orvanel\\Solmar";
// Device-wide options: only ever read.
inline constexpr char16_t kDeviceOptionsKeyPath[] = u"software\\Orvanel";

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
