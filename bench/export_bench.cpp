// Copy of the book's longest article (article 60, the commentary of page 30) as RTF: the
// plain text written, the RTF body and document made and offered on the clipboard with
// the text beside it, through the Qt backend (off screen: the clipboard lives in this
// process). The text and the RTF body alone are measured beside it.
//
// The pack is the one the build compiled (SOLMAR_BOOK_PACK_FILE); set the environment
// variable SOLMAR_BOOK_PACK to measure another.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "export/export.h"
#include "platform/platform.h"
#include "platform/qt/qt_platform.h"

namespace {

constexpr int kLongestArticle = 60;

// The article's decoded stream, with the book made the program's resources once.
struct Article {
  uint8_t* stream = nullptr;
  uint32_t length = 0;
};
const Article& LongestArticle() {
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
  static const Article article = [] {
    Article a;
    a.stream = LoadArticle(kLongestArticle, nullptr, &a.length);
    if (!a.stream) std::exit(1);
    return a;
  }();
  return article;
}

char16_t* Text(const Article& a) { return ExportArticleText(a.stream, a.stream + a.length + 1, kUnicodeLetterBase, true); }

void BM_CopyAsRtf(benchmark::State& state) {
  const Article& a = LongestArticle();
  for (auto _ : state) {
    char16_t* text = Text(a);
    PutTextOnClipboard(text, false, kUnicodeLetterBase);
    platform::Free(text);
  }
  state.counters["letter_bytes"] = a.length;
}
BENCHMARK(BM_CopyAsRtf)->Unit(benchmark::kMicrosecond);

void BM_ArticleText(benchmark::State& state) {
  const Article& a = LongestArticle();
  for (auto _ : state) {
    char16_t* text = Text(a);
    benchmark::DoNotOptimize(text);
    platform::Free(text);
  }
}
BENCHMARK(BM_ArticleText)->Unit(benchmark::kMicrosecond);

void BM_RtfBody(benchmark::State& state) {
  char16_t* text = Text(LongestArticle());
  for (auto _ : state) {
    uint8_t* body = MakeRtfBody(text);
    benchmark::DoNotOptimize(body);
    platform::Free(body);
  }
  platform::Free(text);
}
BENCHMARK(BM_RtfBody)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
