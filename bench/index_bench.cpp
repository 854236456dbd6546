// Opening "Choose Section" on the real table of contents, with the Qt backend's real font
// metrics (off screen): load and decode the table of contents, put a bookmark group of
// three entries in front, lay it out 480 pixels wide, open the branch of article 57 and
// paint the first screen.
//
//   index_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "index/index_dialog.h"
#include "index/index_view.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_platform.h"
#include "shell/bookmarks.h"
#include "shell/shell_state.h"

namespace {

constexpr int32_t kWidth = 480;
constexpr int32_t kHeight = 640;

std::vector<uint8_t> gPack;

void BM_OpenIndex(benchmark::State& state) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::Dc* dc = platform::qt::CreateImageDc(&image);
  FontSpec fontSpec{};
  const std::u16string face = u"Frank Ruehl CLM";
  std::copy(face.begin(), face.end(), fontSpec.faceName);
  fontSpec.size = 18;
  fontSpec.fontAsciiBase = 1488;
  uint16_t bookmarks[] = {9, 121, 57, 0};
  gBookmarks.entries = bookmarks;
  gBookmarks.count = 3;
  for (int i = 0; i < 3; ++i) gIndexBitmaps.bitmaps[i] = platform::LoadBitmap(201 + uint32_t(i));
  int32_t lines = 0, painted = 0;
  for (auto _ : state) {
    int reason = 0;
    uint32_t decoded = 0;
    uint8_t* toc = LoadArticle(kTableOfContentsArticle, &reason, &decoded);
    uint32_t length = 0;
    uint8_t* stream = AddBookmarkGroup(toc, toc ? decoded + 1 : 0, &length);
    IndexView* view = IndexViewCreate(dc, platform::Rect{0, 0, kWidth, kHeight}, fontSpec, kIndexInitialLines);
    if (IndexViewLayOut(view, stream, length, false) != kViewOk) platform::Free(stream);
    // The article is bookmarked, so its branch stays as the stream says; open another.
    IndexViewRevealArticle(view, 59);
    IndexViewPaint(view, true);
    lines = view->lineCount;
    painted = view->linesPainted;
    IndexViewDestroy(view, true);
  }
  state.SetLabel(std::to_string(lines) + " lines, " + std::to_string(painted) + " painted");
  for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
    platform::DeleteBitmap(bitmap);
    bitmap = nullptr;
  }
  gBookmarks = BookmarkList{};
  platform::qt::DeleteImageDc(dc);
  // INDEX_BENCH_PNG=file keeps the painted screen for a look.
  if (!qEnvironmentVariableIsEmpty("INDEX_BENCH_PNG")) image.save(qEnvironmentVariable("INDEX_BENCH_PNG"));
}

BENCHMARK(BM_OpenIndex)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  gPack.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (gPack.empty() || !platform::qt::UsePack(gPack.data(), gPack.size())) {
    std::fprintf(stderr, "index_bench: no book pack at %s\n", SOLMAR_BOOK_PACK_FILE);
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ResetConversionBuffer();
  return 0;
}
