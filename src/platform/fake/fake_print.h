// Printing on the fake backend, for tests: jobs draw on a fake context of their own and
// record their sheets, the print dialog answers from a script, and sheets and progress can
// be made to fail or stop at a chosen step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/platform.h"

namespace fake {

// One job as it went: how it was begun, its sheets and its progress reports.
struct PrintRecord {
  bool fromDialog;
  std::u16string path;          // BeginPdfJob's file
  platform::PaperSize paper;    // BeginPdfJob's paper
  uint16_t currentPage;         // what the dialog was given
  uint16_t pageCount;
  // Each sheet's draw calls on the job's context (text, rectangles, fills), in order.
  std::vector<std::vector<DrawCall>> sheets;
  int drawsOutsideSheets;       // drawing calls made before the first sheet began
  std::vector<std::u16string> progressTexts;
  std::vector<std::pair<int32_t, int32_t>> progressSteps;  // done, total
  bool ended;
  bool finished;                // what EndPrintJob was told
};

// Forgets the jobs (ending live ones), the script and the failures. The sheet of new jobs
// becomes A4 in print units (5953 x 8419), printable all over.
void ResetPrinting();
void SetPrintGeometry(const platform::PrintSheetGeometry& geometry);
// The next print dialog's answer: accepted with these ranges, or cancelled. Without a
// script the dialog is cancelled.
void ScriptPrintDialog(bool accept, std::vector<platform::PrintPageRange> ranges = {});
// BeginPdfJob refuses this file from now on.
void FailPdfPath(const std::u16string& path);
// The nth PrintJobNewSheet of the next job (1 = its first) fails; 0 cancels.
void FailPrintSheet(int nth);
// PrintJobProgress answers "stop" from its nth call in the next job on; 0 cancels.
void StopPrintAtProgress(int nth);
// Every job begun since the reset, in order.
const std::vector<PrintRecord>& PrintJobs();
int LivePrintJobs();
// Print dialogs shown since the reset, cancelled ones included.
int PrintDialogsShown();

}  // namespace fake
