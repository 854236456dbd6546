// Page view: laying out an article for a 480-pixel-wide view and painting one screen of it,
// with the Qt backend's real font metrics (off screen).
//
//   view_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//
// Articles: the largest article of the compiled book (SOLMAR_BOOK_PACK_FILE) and a
// synthetic one of about 24 KB (a long commentary page: right-to-left paragraphs with lead
// words, continuations, styles and rules).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_platform.h"
#include "view/page_view.h"

namespace {

constexpr int32_t kWidth = 480;
constexpr int32_t kHeight = 640;

std::vector<uint8_t> gPack;

// Bytes of a stream up to and including its end byte.
uint32_t StreamLength(const uint8_t* stream) {
  uint32_t offset = 0;
  ParagraphRecord record;
  while (NextParagraph(stream, stream + 0x10000, &offset, &record)) {
  }
  return offset + 1;
}

// The largest article of the book, as a heap block the caller frees; none without a pack.
uint8_t* LargestArticle(int* number, uint32_t* length) {
  uint8_t* best = nullptr;
  *length = 0;
  for (int n = 1; n <= kArticleCount; ++n) {
    int reason = 0;
    uint8_t* article = LoadArticle(n, &reason);
    if (!article) continue;
    const uint32_t size = StreamLength(article);
    if (size > *length) {
      platform::Free(best);
      best = article;
      *length = size;
      *number = n;
    } else {
      platform::Free(article);
    }
  }
  return best;
}

uint8_t* SyntheticArticle(uint32_t* length) {
  std::string s;
  auto add = [&s](uint8_t flags, uint8_t param, const std::string& text) {
    s += char(flags);
    s += char(param);
    s += text;
    s += '\0';
  };
  add(0xDC, 0, "ab cdefg hijk");
  add(0xD1, 0, "lmnop");
  uint32_t seed = 12345;
  auto word = [&seed]() {
    seed = seed * 1103515245 + 12345;
    std::string w(2 + (seed >> 16) % 6, 'a');
    for (char& c : w) {
      seed = seed * 1103515245 + 12345;
      c = char(0x61 + (seed >> 16) % 27);
    }
    return w;
  };
  while (s.size() < 24000) {
    std::string text;
    const int words = 8 + int(s.size() % 23);
    for (int i = 0; i < words; ++i) {
      if (i) text.push_back(' ');
      text.append(word());
      if (i % 7 == 6) text.push_back('.');
    }
    const size_t kind = s.size() % 11;
    if (kind == 0) add(0xC7, 170, "");
    else if (kind == 3) add(0x31, 0x44, text.insert(0, 1, ' '));  // continuation
    else if (kind == 5) add(0x33, 0x40, text);         // small font
    else add(0x31 | ((kind & 1) ? 0x80 : 0), 0x40, text);
  }
  s += '\0';
  *length = uint32_t(s.size());
  auto* block = static_cast<uint8_t*>(platform::Alloc(s.size() + 1));
  std::memcpy(block, s.data(), s.size());
  block[s.size()] = 0;
  return block;
}

struct Fixture {
  QImage image{kWidth, kHeight, QImage::Format_RGB32};
  platform::Dc* dc = nullptr;
  PageView* view = nullptr;

  explicit Fixture(uint8_t* stream, uint32_t length) {
    image.fill(Qt::white);
    dc = platform::qt::CreateImageDc(&image);
    FontSpec fontSpec{};
    const std::u16string face = u"Frank Ruehl CLM";
    std::copy(face.begin(), face.end(), fontSpec.faceName);
    fontSpec.size = 18;
    fontSpec.fontAsciiBase = 1488;
    platform::Rect rect{0, 0, kWidth, kHeight};
    view = PageViewCreate(dc, &rect, fontSpec, 100);
    const int32_t result = PageViewLayOut(view, stream, length, true);
    if (result != kViewOk) std::fprintf(stderr, "view_bench: layout failed with %d\n", result);
  }
  ~Fixture() {
    PageViewDestroy(view, true);
    platform::qt::DeleteImageDc(dc);
  }
};

uint8_t* Article(bool synthetic, uint32_t* length, std::string* label) {
  if (!synthetic) {
    int number = 0;
    if (uint8_t* article = LargestArticle(&number, length)) {
      *label = "book article " + std::to_string(number) + ", " + std::to_string(*length) + " bytes";
      return article;
    }
  }
  uint8_t* article = SyntheticArticle(length);
  *label = "synthetic, " + std::to_string(*length) + " bytes";
  return article;
}

void BM_LayOut(benchmark::State& state) {
  uint32_t length = 0;
  std::string label;
  uint8_t* article = Article(state.range(0) != 0, &length, &label);
  Fixture f(article, length);
  for (auto _ : state) benchmark::DoNotOptimize(PageViewLayOut(f.view, f.view->text, f.view->textLength, false));
  state.SetLabel(label + ", " + std::to_string(f.view->totalRows) + " rows");
}

void BM_PaintOneScreen(benchmark::State& state) {
  uint32_t length = 0;
  std::string label;
  uint8_t* article = Article(state.range(0) != 0, &length, &label);
  Fixture f(article, length);
  f.view->topRow = uint16_t(f.view->maxTopRow / 2);
  for (auto _ : state) benchmark::DoNotOptimize(PageViewPaint(f.view, 1));
  state.SetLabel(label + ", " + std::to_string(f.view->rowsPainted) + " rows painted");
  // VIEW_BENCH_PNG=prefix keeps the painted screens for a look.
  if (!qEnvironmentVariableIsEmpty("VIEW_BENCH_PNG"))
    f.image.save(qEnvironmentVariable("VIEW_BENCH_PNG") + QString::number(state.range(0)) + QStringLiteral(".png"));
}

BENCHMARK(BM_LayOut)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOneScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  gPack.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (gPack.empty() || !platform::qt::UsePack(gPack.data(), gPack.size()))
    std::fprintf(stderr, "view_bench: no book pack at %s; using the synthetic article\n", SOLMAR_BOOK_PACK_FILE);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ResetConversionBuffer();
  return 0;
}
