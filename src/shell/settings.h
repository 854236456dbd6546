// The settings' start-up load into ReaderSettings and DeviceOptions, the current-article
// rule and the shutdown save. Each setting is declared once, in one table (name, field,
// kind, default, when written) that both the load and the save walk.
//
// Persistent state is written only at shutdown (and "Program Path" at a start that finds
// another path stored, or none); every change during the run lives in memory.
#pragma once

#include <cstdint>

// --- Start-up, current article, shutdown ------------------------------------------------

// Fills gDeviceOptions from the device-wide key (defaults 0, 0, 1, 0, 0).
void LoadDeviceOptions();
// Writes "Program Path", fills gReaderSettings, loads bitmaps 201..203 into gIndexBitmaps
// and loads the bookmarks. False when memory ran out on the way (AllocOrAbort has told the
// user and shut the store down): start-up must stop.
bool LoadSettings();
// Makes article n current and its position 0. n = 0 keeps the current article, or picks
// 1 when there is none; n equal to the current article changes nothing.
void SelectArticle(uint16_t n);
// Releases the index bitmaps, writes the settings and both panes' top rows, destroys the
// views, saves and frees the bookmarks and asks the message loop to end with code 0. The
// settings and the bookmarks are written as one batch of the store: all or none of them.
// Values are written only by the first run after LoadSettings completed: an abort while
// loading (or before) must not overwrite the stored values with half-loaded ones, and a
// second run (the window destroyed after an out-of-memory abort) only releases what still
// exists, so it neither releases anything twice nor overwrites the first run's values.
void SaveSettingsAndQuit();
// Forgets whether the settings were loaded or saved (tests; the records have their own
// resets).
void ResetSettingsState();
