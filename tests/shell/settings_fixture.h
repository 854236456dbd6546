// Shared by the settings and bookmark tests: a clean slate and stored bookmark values.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/alloc_or_abort.h"
#include "shell/bookmarks.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"

namespace settings_test {

// Every record the settings store and the bookmark list touch, back to zero.
inline void ResetSettingsWorld() {
  fake::ResetAll();
  ResetReaderSettings();
  ResetShellState();
  ResetBookmarks();
  ResetSettingsState();
  // As the reader's start does: out of memory saves and quits.
  SetOutOfMemoryHandler(SaveSettingsAndQuit);
}

// A stored Bookmarks value: 16-bit little-endian article numbers, as given.
inline std::vector<uint8_t> Entries(std::initializer_list<uint16_t> values) {
  std::vector<uint8_t> bytes;
  for (uint16_t v : values) bytes.insert(bytes.end(), {uint8_t(v), uint8_t(v >> 8)});
  return bytes;
}

}  // namespace settings_test
