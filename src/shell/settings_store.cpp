#include "shell/settings_store.h"

#include <cstring>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "shell/alloc_or_abort.h"

namespace {

struct KeyCloser {
  void operator()(platform::SettingsKey* key) const { platform::CloseSettingsKey(key); }
};
using OpenKey = std::unique_ptr<platform::SettingsKey, KeyCloser>;

// The data of a value known to be size bytes, in a new block from AllocOrAbort with two
// spare bytes after it for a terminator; none on any failure.
uint8_t* ReadIntoBlock(platform::SettingsKey* key, const char16_t* name, uint32_t size) {
  auto* block = static_cast<uint8_t*>(AllocOrAbort(size_t(size) + 2));
  if (!block) return nullptr;
  uint32_t type = 0;
  uint32_t read = size;
  if (!platform::ReadSetting(key, name, &type, block, &read)) {
    platform::Free(block);
    return nullptr;
  }
  return block;
}

// Reads a whole value from the per-product key into a new block; none when missing.
uint8_t* ReadValue(const char16_t* name, uint32_t* size) {
  *size = 0;
  OpenKey key(platform::OpenSettingsKey(kSettingsKeyPath, false));
  if (!key) return nullptr;
  uint32_t type = 0;
  uint32_t stored = 0;
  if (!platform::ReadSetting(key.get(), name, &type, nullptr, &stored)) return nullptr;
  uint8_t* block = ReadIntoBlock(key.get(), name, stored);
  if (block) *size = stored;
  return block;
}

int32_t ReadNumberFrom(const char16_t* keyPath, const char16_t* name, int32_t defaultValue) {
  OpenKey key(platform::OpenSettingsKey(keyPath, false));
  if (!key) return defaultValue;
  uint32_t type = 0;
  uint32_t size = 0;
  if (!platform::ReadSetting(key.get(), name, &type, nullptr, &size)) return defaultValue;
  if (type == platform::kSettingNumber) {
    uint32_t value = 0;
    uint32_t capacity = sizeof value;
    // A number value of another size than 4 bytes is no number the reader wrote.
    if (!platform::ReadSetting(key.get(), name, &type, &value, &capacity) || capacity != sizeof value)
      return defaultValue;
    return int32_t(value);
  }
  uint8_t* block = ReadIntoBlock(key.get(), name, size);
  if (!block) return defaultValue;
  const auto* text = reinterpret_cast<const char16_t*>(block);
  uint32_t value = 0;  // unsigned: the sum wraps at 32 bits instead of overflowing
  for (uint32_t i = 0; i < size / 2 && text[i] != 0; ++i) value = value * 10u + uint32_t(text[i]) - 0x30u;
  platform::Free(block);
  return int32_t(value);
}

bool Write(const char16_t* name, uint32_t type, const void* data, uint32_t size) {
  OpenKey key(platform::OpenSettingsKey(kSettingsKeyPath, true));
  return key && platform::WriteSetting(key.get(), name, type, data, size);
}

}  // namespace

int32_t ReadNumberSetting(const char16_t* name, int32_t defaultValue) {
  return ReadNumberFrom(kSettingsKeyPath, name, defaultValue);
}

int32_t ReadDeviceOption(const char16_t* name, int32_t defaultValue) {
  return ReadNumberFrom(kDeviceOptionsKeyPath, name, defaultValue);
}

char16_t* ReadStringSetting(const char16_t* name) {
  uint32_t size = 0;
  auto* text = reinterpret_cast<char16_t*>(ReadValue(name, &size));
  if (text) text[size / 2] = 0;
  return text;
}

uint8_t* ReadBytesSetting(const char16_t* name, uint32_t* length) {
  uint8_t* bytes = ReadValue(name, length);
  if (bytes && *length == 0) {
    platform::Free(bytes);
    bytes = nullptr;
  }
  return bytes;
}

void ReadByteStringSetting(const char16_t* name, uint8_t* buffer, uint32_t capacity) {
  uint32_t length = 0;
  uint8_t* bytes = ReadBytesSetting(name, &length);
  if (!bytes) return;
  if (bytes[0] != 0 && capacity > 0) {
    uint32_t n = 0;
    while (n + 1 < capacity && n < length && bytes[n] != 0) {
      buffer[n] = bytes[n];
      ++n;
    }
    buffer[n] = 0;
  }
  platform::Free(bytes);
}

bool WriteNumberSetting(const char16_t* name, int32_t value) {
  const uint32_t data = uint32_t(value);
  return Write(name, platform::kSettingNumber, &data, sizeof data);
}

bool WriteStringSetting(const char16_t* name, const char16_t* text) {
  const size_t length = std::char_traits<char16_t>::length(text);
  return Write(name, platform::kSettingString, text, uint32_t((length + 1) * 2));
}

bool WriteByteStringSetting(const char16_t* name, const uint8_t* text) {
  const size_t length = std::strlen(reinterpret_cast<const char*>(text));
  return Write(name, platform::kSettingBinary, text, uint32_t(length + 1));
}

bool WriteBytesSetting(const char16_t* name, const void* bytes, uint32_t length) {
  return Write(name, platform::kSettingBinary, bytes, length);
}
