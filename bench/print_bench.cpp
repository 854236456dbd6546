// Printing to PDF: the whole book (143 pages with their commentary) laid out with the page
// view's line layout at print resolution, broken into A4 sheets and written as a PDF file
// with its fonts embedded, through the Qt backend (off screen). Also one page alone.
//
//   QT_QPA_PLATFORM=offscreen print_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//
// Counters: sheets written and the file's size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "content/letter_code.h"
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "print/page_range.h"
#include "print/print_book.h"

namespace {

std::vector<uint8_t> gPack;
QTemporaryDir* gDir = nullptr;

void PrintToPdf(benchmark::State& state, platform::PrintPageRange range) {
  const QString file = gDir->filePath(QStringLiteral("book.pdf"));
  FontSpec fontSpec{};
  std::memcpy(fontSpec.faceName, u"Frank Ruehl CLM", sizeof(u"Frank Ruehl CLM"));
  fontSpec.fontAsciiBase = kUnicodeLetterBase;
  int32_t sheets = 0;
  for (auto _ : state) {
    platform::PrintJob* job =
        platform::BeginPdfJob(reinterpret_cast<const char16_t*>(file.utf16()), platform::PaperSize::kA4);
    if (!job) {
      state.SkipWithError("cannot write the PDF file");
      return;
    }
    const PrintResult result = PrintBookPages(job, &range, 1, fontSpec, false);
    if (!platform::EndPrintJob(job, result.outcome == PrintOutcome::kPrinted)) {
      state.SkipWithError("the PDF was not written");
      return;
    }
    sheets = result.sheets;
  }
  state.counters["sheets"] = sheets;
  state.counters["bytes"] = double(QFileInfo(file).size());
}

void BM_WholeBookToPdf(benchmark::State& state) { PrintToPdf(state, {1, kBookPageCount}); }
BENCHMARK(BM_WholeBookToPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_FirstPageToPdf(benchmark::State& state) { PrintToPdf(state, {1, 1}); }
BENCHMARK(BM_FirstPageToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  gPack.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (gPack.empty() || !platform::qt::UsePack(gPack.data(), gPack.size())) {
    std::fprintf(stderr, "cannot read the book pack %s\n", SOLMAR_BOOK_PACK_FILE);
    return 1;
  }
  QTemporaryDir dir;
  gDir = &dir;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
