// Bookmarks: the articles the user marked, in the order they were added. Loaded from the
// registry value "Bookmarks" at start-up, changed in memory, saved and freed at shutdown.
#pragma once

#include <cstdint>

// The list: a heap array of count article numbers (never 0) followed by a 0. entries is
// none when no list was ever loaded or created. Whenever entries exists, entries[count]
// is 0 and no earlier entry is, so a scan to the terminator and a walk of count entries
// see the same list.
struct BookmarkList {
  uint16_t* entries;      // heap array of count + 1 article numbers, or none
  uint16_t count;         // entries before the terminator
  bool dontAskOnRemove;   // the user answered Cancel to the removal question; this run only
};

extern BookmarkList gBookmarks;

// Reads "Bookmarks" and replaces the list. The value's last whole 16-bit entry is taken as
// the terminator (an odd last byte is dropped); entries from the first 0 on are not part
// of the list. A value shorter than one entry gives no list.
void LoadBookmarks();
// Writes count + 1 entries (terminator included) to "Bookmarks", or a single 0 entry when
// there is no list.
void SaveBookmarks();
// True when the current article (gReaderSettings.lesson) is in the list.
bool IsBookmarked();
// Appends the current article unless it is there; a failed allocation changes nothing.
void AddCurrentBookmark();
// Removes every occurrence of the current article.
void RemoveCurrentBookmark();
// bookmarked: the caller's IsBookmarked(). Adds; or removes after asking "Remove
// Bookmark?" (Yes removes, No keeps, Cancel removes and stops asking for this run).
void ToggleBookmark(bool bookmarked);
// Releases the list at shutdown, after SaveBookmarks.
void FreeBookmarks();
// Zeroes the record without freeing anything (tests).
void ResetBookmarks();
