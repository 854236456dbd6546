#include "reader/print_command.h"

#include <vector>

#include "print/page_range.h"
#include "print/print_book.h"
#include "shell/reader_settings.h"
#include "platform/ui_text.h"

namespace {

constexpr const char16_t* kPrintFailedText = SOLMAR_TEXT("MessageBox", "The pages could not be printed.");
constexpr const char16_t* kPrintCaption = SOLMAR_TEXT("MessageBox", "Print");

}  // namespace

void PrintWithDialog(platform::Window* mainWindow) {
  const uint16_t article = gReaderSettings.lesson ? gReaderSettings.lesson : 1;
  const uint16_t currentPage = uint16_t((article + 1) / 2);
  std::vector<platform::PrintPageRange> ranges;
  platform::PrintJob* job = platform::BeginPrintJobWithDialog(mainWindow, currentPage, kBookPageCount, &ranges);
  if (!job) return;
  // The panes' letter base and their Reverse option, so the sheets read as the panes do.
  const bool reverse = (gReaderSettings.flags & kFlagReverse) != 0;
  const PrintResult result = PrintBookPages(job, ranges.data(), ranges.size(), gReaderSettings.fontSpec, reverse);
  const bool printed = platform::EndPrintJob(job, result.outcome == PrintOutcome::kPrinted);
  if (result.outcome != PrintOutcome::kStopped && !printed)
    platform::MessageBox(mainWindow, kPrintFailedText, kPrintCaption, platform::kMbOk | platform::kMbIconError);
}
