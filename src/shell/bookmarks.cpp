#include "shell/bookmarks.h"

#include <cstring>

#include "shell/reader_settings.h"
#include "platform/platform.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "platform/ui_text.h"

BookmarkList gBookmarks{};

void LoadBookmarks() {
  uint32_t length = 0;
  auto* entries = reinterpret_cast<uint16_t*>(ReadBytesSetting(u"Bookmarks", &length));
  uint16_t count = 0;
  if (entries && length < 2) {
    // Not even a terminator: no list rather than an array a scan could run past.
    platform::Free(entries);
    entries = nullptr;
  } else if (entries) {
    count = uint16_t(length / 2);
    if (count > 0) --count;
    // Stored data is not trusted to hold the invariant: end the list at its first 0 and
    // make the last whole entry the terminator whatever it held.
    uint16_t n = 0;
    while (n < count && entries[n] != 0) ++n;
    count = n;
    entries[count] = 0;
  }
  platform::Free(gBookmarks.entries);
  gBookmarks.entries = entries;
  gBookmarks.count = count;
}

void SaveBookmarks() {
  static const uint16_t kEmptyList = 0;
  if (gBookmarks.entries)
    WriteBytesSetting(u"Bookmarks", gBookmarks.entries, (uint32_t(gBookmarks.count) + 1) * 2);
  else
    WriteBytesSetting(u"Bookmarks", &kEmptyList, sizeof kEmptyList);
}

bool IsBookmarked() {
  const uint16_t article = gReaderSettings.lesson;
  for (uint16_t i = 0; gBookmarks.entries && i < gBookmarks.count; ++i)
    if (gBookmarks.entries[i] == article) return true;
  return false;
}

void AddCurrentBookmark() {
  const uint16_t article = gReaderSettings.lesson;
  // 0 is the terminator, and a full 16-bit count cannot grow.
  if (article == 0 || IsBookmarked() || gBookmarks.count == UINT16_MAX) return;
  const uint16_t count = gBookmarks.count;
  auto* entries = static_cast<uint16_t*>(platform::Alloc((size_t(count) + 2) * sizeof(uint16_t)));
  if (!entries) return;
  if (count > 0) std::memcpy(entries, gBookmarks.entries, count * sizeof(uint16_t));
  platform::Free(gBookmarks.entries);
  entries[count] = article;
  entries[count + 1] = 0;
  gBookmarks.entries = entries;
  gBookmarks.count = uint16_t(count + 1);
}

void RemoveCurrentBookmark() {
  if (!gBookmarks.entries) return;
  const uint16_t article = gReaderSettings.lesson;
  uint16_t kept = 0;
  for (uint16_t i = 0; i < gBookmarks.count; ++i)
    if (gBookmarks.entries[i] != article) gBookmarks.entries[kept++] = gBookmarks.entries[i];
  gBookmarks.count = kept;
  gBookmarks.entries[kept] = 0;
}

void ToggleBookmark(bool bookmarked) {
  if (!bookmarked) {
    AddCurrentBookmark();
    return;
  }
  if (gBookmarks.dontAskOnRemove) {
    RemoveCurrentBookmark();
    return;
  }
  const int answer = platform::MessageBox(gShellWindows.mainWindow, SOLMAR_TEXT("MessageBox", "Remove Bookmark?\n\nCancel - Don't ask again"),
                                          SOLMAR_TEXT("MessageBox", "Bookmark"), platform::kMbYesNoCancel);
  if (answer == platform::kIdCancel) {
    gBookmarks.dontAskOnRemove = true;
    RemoveCurrentBookmark();
  } else if (answer == platform::kIdYes) {
    RemoveCurrentBookmark();
  }
}

void FreeBookmarks() {
  platform::Free(gBookmarks.entries);
  gBookmarks.entries = nullptr;
  gBookmarks.count = 0;
}

void ResetBookmarks() { gBookmarks = BookmarkList{}; }
