// The reader's start split into its stages, each run on its own with the Qt backend off
// screen and the book carried in the program:
//
//   startup_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
//   settings     the settings store read (a font stored, as on an ordinary start)
//   pack         the pack taken and the first page and its commentary decompressed
//   layout       both articles laid out for the panes of a 540 x 800 window
//   window       the main window made and shown: bars, panes, layout (StartReader)
//   first_paint  the same, up to the first frame painted
//
// The process start itself (the dynamic loader, QApplication, the platform plugin and the
// font database) is not in here: it is paid once per process, before any stage; it is what
// `startup_vs_floor.sh` sees in addition.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"
#include "content/article.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_platform.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "reader/startup.h"
#include "view/page_view.h"

extern "C" const unsigned char solmar_book_pack[];
extern "C" const unsigned char solmar_book_pack_end[];

namespace {

constexpr int kWidth = 540;
constexpr int kHeight = 800;

void Fail(benchmark::State& state, const char* what) {
  state.SkipWithError(what);
}

void BM_Settings(benchmark::State& state) {
  for (auto _ : state) {
    ResetShellState();
    ResetReaderSettings();
    LoadDeviceOptions();
    if (!LoadSettings()) return Fail(state, "the settings did not load");
  }
  if (std::u16string(gReaderSettings.fontSpec.faceName) != u"DejaVu Sans") Fail(state, "the stored font was not read");
}

void BM_Pack(benchmark::State& state) {
  for (auto _ : state) {
    if (!platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack)))
      return Fail(state, "the pack was refused");
    uint32_t length = 0;
    for (int article : {1, 2}) {
      uint8_t* text = LoadArticle(article, nullptr, &length);
      if (!text) return Fail(state, "an article did not load");
      benchmark::DoNotOptimize(text);
      platform::Free(text);
    }
  }
}

void BM_Layout(benchmark::State& state) {
  QImage image(kWidth, kHeight / 2, QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::Dc* dc = platform::qt::CreateImageDc(&image);
  FontSpec fontSpec{};
  const std::u16string face = u"DejaVu Sans";
  std::copy(face.begin(), face.end(), fontSpec.faceName);
  fontSpec.size = 18;
  fontSpec.fontAsciiBase = 1488;
  const platform::Rect rect{0, 0, kWidth, kHeight / 2};
  uint8_t* texts[2] = {};
  uint32_t lengths[2] = {};
  for (int i = 0; i < 2; ++i) texts[i] = LoadArticle(i + 1, nullptr, &lengths[i]);
  if (!texts[0] || !texts[1]) return Fail(state, "an article did not load");
  for (auto _ : state) {
    // A fresh view each time, as at start-up: its font cache starts empty.
    for (int i = 0; i < 2; ++i) {
      // The view takes the text it lays out and frees it with itself: a copy each time.
      state.PauseTiming();
      auto* copy = static_cast<uint8_t*>(platform::Alloc(lengths[i] + 1));
      std::memcpy(copy, texts[i], lengths[i] + 1);
      state.ResumeTiming();
      PageView* view = PageViewCreate(dc, &rect, fontSpec, 100);
      if (PageViewLayOut(view, copy, lengths[i] + 1, false) != kViewOk) return Fail(state, "layout failed");
      benchmark::DoNotOptimize(view->totalRows);
      PageViewDestroy(view, true);
    }
  }
  for (uint8_t* text : texts) platform::Free(text);
  platform::qt::DeleteImageDc(dc);
}

// StartReader and, with paint, the wait for the first frame; the window goes afterwards
// (outside the timing).
void StartAndClose(benchmark::State& state, bool paint) {
  for (auto _ : state) {
    ResetShellState();
    ResetReaderSettings();
    LoadDeviceOptions();
    platform::Window* window = StartReader(platform::kSwShowNormal, 0);
    if (!window) return Fail(state, "the window was not made");
    if (paint && !platform::qt::SettleWindow(window, 5000)) return Fail(state, "the window was never painted");
    state.PauseTiming();
    platform::DestroyWindow(window);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}

void BM_Window(benchmark::State& state) { StartAndClose(state, false); }
void BM_FirstPaint(benchmark::State& state) { StartAndClose(state, true); }

BENCHMARK(BM_Settings)->Name("settings")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pack)->Name("pack")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Layout)->Name("layout")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Window)->Name("window")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstPaint)->Name("first_paint")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // A settings store of its own with a font in it, so no font chooser comes up and the
  // user's settings are neither read nor written.
  QTemporaryDir config;
  if (!config.isValid() || !QDir(config.path()).mkpath(QStringLiteral("Orvanel"))) {
    std::fprintf(stderr, "startup_bench: cannot make a settings directory\n");
    return 1;
  }
  QFile conf(config.filePath(QStringLiteral("Orvanel/Solmar.conf")));
  if (!conf.open(QIODevice::WriteOnly) || conf.write("[General]\nFontName=DejaVu Sans\n") < 0) return 1;
  conf.close();
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  PrepareReaderApplication();
  platform::qt::SetSingleInstanceEnabled(false);
  platform::qt::SetWindowsOffscreen(true);
  platform::qt::SetDefaultWindowSize(kWidth, kHeight);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
