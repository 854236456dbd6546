// Go › Print: the print dialog for the current page, a range of pages or the whole book,
// then the chosen pages printed with progress and a way to stop.
#pragma once

#include "platform/platform.h"

// Prints what the user chooses in the platform's print dialog, in the reader's font; tells
// the user when the pages could not be printed. Nothing happens when the dialog is cancelled.
void PrintWithDialog(platform::Window* mainWindow);
