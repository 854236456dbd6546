// Start-up of the reader: device options, single instance, settings, the main window and
// its message loop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The program. Answers the loop's exit code, or 0 when start-up stopped early (a second
// start, or the window could not be made). With a reference the reader opens at its
// verses, selected; a reader that runs already is asked to go there instead.
int ReaderMain(void* instance, int showState, const char16_t* reference = nullptr);
// Loads the settings, makes startArticle current (0: the stored one, or 1 on the first
// start) and creates and shows the main window; none for a second start (the running
// reader is told instead, and no setting is read or written) or when the window cannot be
// made.
platform::Window* StartReader(int showState, uint16_t startArticle, const char16_t* reference = nullptr);
