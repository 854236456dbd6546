// Search over the compiled book. Search Again for a pattern that occurs nowhere walks the
// whole book: every article decompressed, its record list built, searched and freed, with
// nothing kept between searches; and solmar --find lists every hit of a common short
// pattern. Decoding alone is measured beside them, for scale.
//
// The pack is the one the build compiled (SOLMAR_BOOK_PACK_FILE); set the environment
// variable SOLMAR_BOOK_PACK to measure another.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "shell/reader_settings.h"
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "search/find_all.h"
#include "search/search.h"

namespace {

// The book's pack, made the program's resources once.
void UseBook() {
  static const std::vector<uint8_t> pack = [] {
    const char* path = std::getenv("SOLMAR_BOOK_PACK");
    if (!path) path = SOLMAR_BOOK_PACK_FILE;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!platform::qt::UsePack(bytes.data(), bytes.size())) {
      std::fprintf(stderr, "%s: not a book pack\n", path);
      std::exit(1);
    }
    return bytes;
  }();
}

std::vector<uint8_t> Pattern(const char16_t* readingOrder) {
  std::vector<uint8_t> stored(kSearchStringSize);
  if (StoredPatternFromReadingOrder(readingOrder, stored.data()) != PatternError::kNone) std::abort();
  return stored;
}

// Search Again's walk: each article loaded, searched from its start and freed.
void WalkBook(benchmark::State& state, const char16_t* readingOrder) {
  UseBook();
  const std::vector<uint8_t> pattern = Pattern(readingOrder);
  size_t bytes = 0;
  for (auto _ : state) {
    int found = 0;
    bytes = 0;
    for (int n = 1; n <= kArticleCount; ++n) {
      uint32_t length = 0;
      uint8_t* copy = LoadArticle(n, nullptr, &length);
      if (!copy) continue;
      bytes += length;
      uint16_t matchLength = 0;
      found += SearchArticle(copy, length + 1, 0, pattern.data(), &matchLength) != 0;
      platform::Free(copy);
    }
    if (found != 0) state.SkipWithError("the pattern occurs in the book");
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
  state.counters["articles"] = kArticleCount;
}

// A word that is nowhere in the book, and a wildcard pattern that is nowhere either.
void BM_WholeBookNotFound(benchmark::State& state) { WalkBook(state, u"קקקקק"); }
void BM_WholeBookNotFoundWildcards(benchmark::State& state) { WalkBook(state, u"ץ*ק?ק*ץ"); }
// A word starting with mem, whose final form is looked for too (the first letter read is the
// pattern's last stored byte, the one the scan looks for), and a word starting with "?",
// which makes every byte a candidate: the costliest patterns a user types.
void BM_WholeBookNotFoundPlainWithFinal(benchmark::State& state) { WalkBook(state, u"מקקקק"); }
void BM_WholeBookNotFoundLeadingQuestion(benchmark::State& state) { WalkBook(state, u"?קקקק"); }

// The same walk without the search: what decoding alone costs.
void BM_WholeBookDecodeOnly(benchmark::State& state) {
  UseBook();
  for (auto _ : state) {
    for (int n = 1; n <= kArticleCount; ++n) {
      uint32_t length = 0;
      uint8_t* copy = LoadArticle(n, nullptr, &length);
      benchmark::DoNotOptimize(copy);
      platform::Free(copy);
    }
  }
}

// solmar --find "את": every hit of the book listed with its text in reading order.
void BM_FindAllCommonPattern(benchmark::State& state) {
  UseBook();
  const std::vector<uint8_t> pattern = Pattern(u"את");
  long hits = 0;
  for (auto _ : state) {
    size_t textUnits = 0;
    hits = FindAllInBook(pattern.data(), [&](const BookHit& hit) { textUnits += hit.readingText.size(); }).hits;
    benchmark::DoNotOptimize(textUnits);
  }
  state.counters["hits"] = double(hits);
}

BENCHMARK(BM_WholeBookNotFound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBookNotFoundWildcards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBookNotFoundPlainWithFinal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBookNotFoundLeadingQuestion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeBookDecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllCommonPattern)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
