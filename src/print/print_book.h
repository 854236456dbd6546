// The book's pages on paper: each page as its title, its text, then its commentary, laid out
// by the page view's own line layout at the print job's resolution, broken into sheets with
// a running header (the page's title and subtitle) and a sheet number.
#pragma once

#include "platform/ui_text.h"
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "view/font_spec.h"

enum class PrintOutcome {
  kPrinted,  // every sheet drawn
  kStopped,  // the user stopped the job
  kFailed,   // an article could not be read or laid out, or the device refused a sheet
};

struct PrintResult {
  PrintOutcome outcome;
  int32_t sheets;      // sheets begun
  uint16_t failedPage; // the book page being printed when the job failed; 0 otherwise
};

// The parts of a sheet, in print units from the paper's corner: the running header, the
// body the rows go into, and the footer with the sheet number.
struct SheetFrame {
  platform::Rect header;
  platform::Rect body;
  platform::Rect footer;
};

// The printed text height (ascent + descent, print units) for the reader's font size in
// screen pixels: the same size as on a screen of 96 pixels an inch, kept between 12 and 32
// pixels so that very small or very large screen sizes still print readably (0: 20).
int32_t PrintTextHeight(int32_t screenSize);
// Margins of 15 mm at the sides and 12 mm above and below, or the device's own where they
// are wider, on no more of the sheet than about 44 inches each way; a header and a footer of one and a half small rows each (a small row is 3/4 of
// textHeight).
SheetFrame ComputeSheetFrame(const platform::PrintSheetGeometry& geometry, int32_t textHeight);

// Draws the pages of the ranges (in order; pages 1..kBookPageCount) on new sheets of job,
// each page starting a sheet of its own, in fontSpec's face and letter base at the printed
// size, text turned around when reverse is set (as the panes draw it). Reports progress to
// the job once per sheet and stops when it is told to. Fails without a sheet on paper whose
// body holds fewer than 3 rows or is narrower than 8 text heights. Leaves the job to the
// caller to end.
PrintResult PrintBookPages(platform::PrintJob* job, const platform::PrintPageRange* ranges, size_t count,
                           const FontSpec& fontSpec, bool reverse);

// The progress text: "Printing page N…".
constexpr const char16_t* kPrintingPageText = SOLMAR_TEXT("Dialog", "Printing page %1…");
