#include "shell/settings.h"

#include <cstring>
#include <memory>
#include <string>

#include "content/reader_settings.h"
#include "platform/platform.h"
#include "shell/bookmarks.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

namespace {

// Where the store is in the run. Values are written only in kLoaded: before and during
// the load memory does not hold the user's state yet, and after the first save the
// stored values are already the run's own.
enum class StoreState { kNotLoaded, kLoading, kLoaded, kShutDown };
StoreState gStoreState = StoreState::kNotLoaded;

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
    if (!platform::ReadSetting(key.get(), name, &type, &value, &capacity)) return defaultValue;
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

// Destroys a pane's view with its record and forgets it, also as the active view.
void DestroyPaneView(PageView*& view) {
  if (gPaneState.activeView == view) gPaneState.activeView = nullptr;
  PageViewDestroy(view, true);
  view = nullptr;
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

void LoadDeviceOptions() {
  gDeviceOptions.ignoreActivate = ReadDeviceOption(u"IgnoreActivate", 0);
  gDeviceOptions.fullScreen = ReadDeviceOption(u"FullScreen", 0);
  gDeviceOptions.allowSipInHebrewSearch = ReadDeviceOption(u"AllowSipInHebrewSearch", 1);
  gDeviceOptions.menuBarOnBottom = ReadDeviceOption(u"MenuBarOnBottom", 0);
  // The gutter is laid out as 2 * g and subtracted from the window's sides: a negative one
  // would push the panes out of the window, a huge one overflow. No screen needs more
  // than 0x3FFF pixels of margin.
  constexpr int32_t kMaxGutter = 0x3FFF;
  const int32_t gutter = ReadDeviceOption(u"SurroundingGutter", 0);
  gDeviceOptions.surroundingGutter = gutter < 0 ? 0 : gutter > kMaxGutter ? kMaxGutter : gutter;
}

void LoadSettings() {
  gStoreState = StoreState::kLoading;
  ReaderSettings& s = gReaderSettings;

  char16_t path[kProgramPathCapacity] = {};
  if (platform::GetProgramPath(path, kProgramPathCapacity) > 0 && path[0] != 0)
    WriteStringSetting(u"Program Path", path);

  if (char16_t* face = ReadStringSetting(u"FontName")) {
    if (face[0] != 0) {
      constexpr size_t kMaxFace = sizeof s.fontSpec.faceName / sizeof s.fontSpec.faceName[0] - 1;
      size_t n = 0;
      for (; n < kMaxFace && face[n] != 0; ++n) s.fontSpec.faceName[n] = face[n];
      s.fontSpec.faceName[n] = 0;
    }
    platform::Free(face);
  }
  ReadByteStringSetting(u"SearchString", s.searchString, kSearchStringSize);

  s.fontSpec.size = ReadNumberSetting(u"FontSize", 0);
  s.fontSpec.fontAsciiBase = ReadNumberSetting(u"FontAsciiBase", kDefaultFontAsciiBase);
  s.lastPosition = uint16_t(ReadNumberSetting(u"LastPosition", 0));
  s.flags = uint32_t(ReadNumberSetting(u"Flags", int32_t(kDefaultFlags)));
  s.lesson = uint16_t(ReadNumberSetting(u"Lesson", 0));

  for (int i = 0; i < 3; ++i) gIndexBitmaps.bitmaps[i] = platform::LoadBitmap(uint32_t(201 + i));

  s.bottomSection = ReadNumberSetting(u"BottomSection", kDefaultBottomSection);
  s.bottomSectionLastPosition = uint16_t(ReadNumberSetting(u"BottomSectionLastPosition", 0));

  LoadBookmarks();
  // An out-of-memory abort during the load has already shut the store down.
  if (gStoreState == StoreState::kLoading) gStoreState = StoreState::kLoaded;
}

void SelectArticle(uint16_t n) {
  uint16_t candidate = n;
  if (n == 0) {
    if (gReaderSettings.lesson != 0) return;
    candidate = 1;
  } else if (gReaderSettings.lesson == n) {
    return;
  }
  gReaderSettings.lesson = candidate;
  gReaderSettings.lastPosition = 0;
}

void SaveSettingsAndQuit() {
  const bool write = gStoreState == StoreState::kLoaded;
  gStoreState = StoreState::kShutDown;
  const ReaderSettings& s = gReaderSettings;

  for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
    if (bitmap) platform::DeleteBitmap(bitmap);
    bitmap = nullptr;
  }
  if (write) {
    if (s.searchString[0] != 0) WriteByteStringSetting(u"SearchString", s.searchString);
    if (s.fontSpec.faceName[0] != 0) WriteStringSetting(u"FontName", s.fontSpec.faceName);
    if (s.fontSpec.size != 0) WriteNumberSetting(u"FontSize", s.fontSpec.size);
    if (s.fontSpec.fontAsciiBase != 0) WriteNumberSetting(u"FontAsciiBase", s.fontSpec.fontAsciiBase);
    if (gPaneState.upperView) WriteNumberSetting(u"LastPosition", gPaneState.upperView->topRow);
    WriteNumberSetting(u"Flags", int32_t(s.flags));
    if (s.lesson != 0) WriteNumberSetting(u"Lesson", s.lesson);
  }
  if (gPaneState.upperView) DestroyPaneView(gPaneState.upperView);
  if (write) WriteNumberSetting(u"BottomSection", s.bottomSection);
  if (gPaneState.lowerView) {
    if (write) WriteNumberSetting(u"BottomSectionLastPosition", gPaneState.lowerView->topRow);
    DestroyPaneView(gPaneState.lowerView);
  }
  if (write) SaveBookmarks();
  FreeBookmarks();
  platform::PostQuitMessage(0);
}

void* AllocOrAbort(size_t size) {
  void* block = platform::Alloc(size);
  if (block) return block;
  platform::MessageBox(nullptr, u"There is not enough memory, aborting", u"Error",
                       platform::kMbOk | platform::kMbIconError);
  SaveSettingsAndQuit();
  return nullptr;
}

void ResetSettingsState() { gStoreState = StoreState::kNotLoaded; }
