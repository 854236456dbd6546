#include "platform/fake/fake_print.h"

#include <algorithm>

namespace platform {

struct PrintJob {
  size_t record;  // index into the records
  Dc* dc;
  size_t sheetStart;  // DrawCalls() index where the current sheet began
  int sheetCalls;     // PrintJobNewSheet calls so far
  int progressCalls;
  int failSheet;
  int stopAtProgress;
};

}  // namespace platform

namespace fake {
namespace {

struct PrintState {
  std::vector<PrintRecord> records;
  std::vector<platform::PrintJob*> live;
  platform::PrintSheetGeometry geometry{5953, 8419, {0, 0, 5953, 8419}};
  bool scripted = false;
  bool accept = false;
  std::vector<platform::PrintPageRange> ranges;
  std::vector<std::u16string> failPaths;
  int failSheet = 0;
  int stopAtProgress = 0;
  int dialogsShown = 0;
};

PrintState& State() {
  static PrintState state;
  return state;
}

bool IsDrawing(DrawOp op) {
  return op == DrawOp::kText || op == DrawOp::kRectangle || op == DrawOp::kFill || op == DrawOp::kBitmapCell;
}

// The drawing calls made on the job's context since index from.
std::vector<DrawCall> CallsSince(const platform::PrintJob* job, size_t from) {
  std::vector<DrawCall> calls;
  const std::vector<DrawCall>& all = DrawCalls();
  for (size_t i = std::min(from, all.size()); i < all.size(); ++i)
    if (all[i].dc == job->dc && IsDrawing(all[i].op)) calls.push_back(all[i]);
  return calls;
}

void CloseSheet(platform::PrintJob* job) {
  PrintRecord& record = State().records[job->record];
  if (record.sheets.empty())
    record.drawsOutsideSheets = int(CallsSince(job, 0).size());
  else
    record.sheets.back() = CallsSince(job, job->sheetStart);
}

platform::PrintJob* NewJob(PrintRecord record) {
  PrintState& s = State();
  s.records.push_back(std::move(record));
  auto* job = new platform::PrintJob{s.records.size() - 1, CreateDc(), DrawCalls().size(), 0, 0, s.failSheet,
                                     s.stopAtProgress};
  s.failSheet = 0;
  s.stopAtProgress = 0;
  s.live.push_back(job);
  return job;
}

void Finish(platform::PrintJob* job, bool finished) {
  CloseSheet(job);
  PrintRecord& record = State().records[job->record];
  record.ended = true;
  record.finished = finished;
  DeleteDc(job->dc);
  std::erase(State().live, job);
  delete job;
}

}  // namespace

void ResetPrinting() {
  PrintState& s = State();
  for (platform::PrintJob* job : std::vector<platform::PrintJob*>(s.live)) Finish(job, false);
  s = PrintState{};
}

void SetPrintGeometry(const platform::PrintSheetGeometry& geometry) { State().geometry = geometry; }

void ScriptPrintDialog(bool accept, std::vector<platform::PrintPageRange> ranges) {
  State().scripted = true;
  State().accept = accept;
  State().ranges = std::move(ranges);
}

void FailPdfPath(const std::u16string& path) { State().failPaths.push_back(path); }
void FailPrintSheet(int nth) { State().failSheet = nth; }
void StopPrintAtProgress(int nth) { State().stopAtProgress = nth; }
const std::vector<PrintRecord>& PrintJobs() { return State().records; }
int LivePrintJobs() { return int(State().live.size()); }
int PrintDialogsShown() { return State().dialogsShown; }

}  // namespace fake

namespace platform {

PrintJob* BeginPdfJob(const char16_t* path, PaperSize paper) {
  if (!path || !*path) return nullptr;
  const std::u16string file(path);
  const auto& fails = fake::State().failPaths;
  if (std::find(fails.begin(), fails.end(), file) != fails.end()) return nullptr;
  fake::PrintRecord record{};
  record.path = file;
  record.paper = paper;
  return fake::NewJob(std::move(record));
}

PrintJob* BeginPrintJobWithDialog(Window*, uint16_t currentPage, uint16_t pageCount,
                                  std::vector<PrintPageRange>* ranges) {
  fake::PrintState& s = fake::State();
  ++s.dialogsShown;
  const bool accept = s.scripted && s.accept;
  s.scripted = false;
  if (!ranges || !accept) return nullptr;
  *ranges = s.ranges;
  fake::PrintRecord record{};
  record.fromDialog = true;
  record.currentPage = currentPage;
  record.pageCount = pageCount;
  return fake::NewJob(std::move(record));
}

bool PrintJobGeometry(PrintJob* job, PrintSheetGeometry* geometry) {
  if (!job || !geometry) return false;
  *geometry = fake::State().geometry;
  return true;
}

Dc* PrintJobDc(PrintJob* job) { return job ? job->dc : nullptr; }

bool PrintJobNewSheet(PrintJob* job) {
  if (!job) return false;
  fake::CloseSheet(job);
  ++job->sheetCalls;
  if (job->failSheet == job->sheetCalls) return false;
  fake::State().records[job->record].sheets.emplace_back();
  job->sheetStart = fake::DrawCalls().size();
  return true;
}

bool PrintJobProgress(PrintJob* job, const char16_t* text, int32_t done, int32_t total) {
  if (!job) return false;
  fake::PrintRecord& record = fake::State().records[job->record];
  record.progressTexts.emplace_back(text ? text : u"");
  record.progressSteps.emplace_back(done, total);
  ++job->progressCalls;
  return !(job->stopAtProgress > 0 && job->progressCalls >= job->stopAtProgress);
}

bool EndPrintJob(PrintJob* job, bool finished) {
  if (!job) return false;
  const bool printed = finished && !fake::State().records[job->record].sheets.empty();
  fake::Finish(job, finished);
  return printed;
}

}  // namespace platform
