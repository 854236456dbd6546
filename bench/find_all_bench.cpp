// Find All over the compiled book: collecting every hit of a common word (over 40,000) and
// of the commonest letter, and opening the list window with those hits through the Qt
// backend, off screen, up to its first painted screen of rows. The rows are drawn on demand,
// so the window's cost hardly grows with the count.
//
// The pack is the one the build compiled (SOLMAR_BOOK_PACK_FILE).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "search/find_all.h"
#include "search/find_all_list.h"
#include "shell/reader_settings.h"

namespace {

std::vector<uint8_t> gPack;

std::vector<uint8_t> Pattern(const char16_t* readingOrder) {
  std::vector<uint8_t> stored(kSearchStringSize);
  if (StoredPatternFromReadingOrder(readingOrder, stored.data()) != PatternError::kNone) std::abort();
  return stored;
}

// Every hit collected into the list's rows: each article decompressed, matched and freed.
void CollectHits(benchmark::State& state, const char16_t* readingOrder) {
  const std::vector<uint8_t> pattern = Pattern(readingOrder);
  size_t hits = 0;
  for (auto _ : state) {
    std::vector<FoundHit> rows;
    CollectBookHits(pattern.data(), &rows);
    hits = rows.size();
    benchmark::DoNotOptimize(rows.data());
  }
  state.counters["hits"] = double(hits);
}
void BM_CollectHitsWord(benchmark::State& state) { CollectHits(state, u"זכר"); }
void BM_CollectHitsLetter(benchmark::State& state) { CollectHits(state, u"י"); }

QWidget* ListWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("SolmarDialog125") && w->isVisible()) return w;
  return nullptr;
}

// The Find All command's list: the hits collected, the window made with its columns and
// rows, shown and painted once; then closed again.
void OpenList(benchmark::State& state, const char16_t* readingOrder) {
  const std::vector<uint8_t> pattern = Pattern(readingOrder);
  std::memcpy(gReaderSettings.searchString, pattern.data(), kSearchStringSize);
  size_t hits = 0;
  for (auto _ : state) {
    if (OpenFindAllList(nullptr) != 1) {
      state.SkipWithError("the list did not open");
      break;
    }
    QWidget* window = ListWindow();
    if (window) window->repaint();
    hits = gFindAll.hits.size();
    state.PauseTiming();
    platform::DestroyWindow(gFindAll.dialog);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["hits"] = double(hits);
}
void BM_OpenListWord(benchmark::State& state) { OpenList(state, u"זכר"); }
void BM_OpenListLetter(benchmark::State& state) { OpenList(state, u"י"); }

BENCHMARK(BM_CollectHitsWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectHitsLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenListWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenListLetter)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  gPack.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (gPack.empty() || !platform::qt::UsePack(gPack.data(), gPack.size())) {
    std::fprintf(stderr, "find_all_bench: no book pack at %s\n", SOLMAR_BOOK_PACK_FILE);
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
