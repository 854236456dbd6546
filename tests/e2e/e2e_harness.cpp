// End-to-end checks of the real program on Qt's off-screen platform, with a private
// settings directory and a private directory for the single-instance socket.
//
//   e2e_harness reader SOLMAR   the reader runs in this process (the program's own code);
//                               real key presses, a second start and `solmar --quit` from
//                               outside, then the settings file is read
//   e2e_harness signal SOLMAR   `solmar` ends on SIGTERM and saves as Exit does
//   e2e_harness cli SOLMAR      --help, --version, bad arguments, --quit with no reader,
//                               --screenshot
// Exit code 0 when every check held; each failed check is printed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/app.h"
#include "content/reader_settings.h"
#include "platform/platform.h"
#include "shell/main_window.h"
#include "shell/panes.h"

namespace {

int gFailures = 0;
int gChecks = 0;

void Check(bool condition, const char* what) {
  ++gChecks;
  if (condition) return;
  ++gFailures;
  std::fprintf(stderr, "FAILED: %s\n", what);
}

QString gSolmar;

// What the reader stored: the text of its per-product settings file.
QString SettingsText() {
  QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvanel/Solmar.conf"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

// The number the settings file holds under name; -1 when there is none.
long StoredNumber(const QString& name) {
  const QRegularExpression line(QStringLiteral("^%1=dword:([0-9a-fA-F]{8})$").arg(name),
                                QRegularExpression::MultilineOption);
  const QRegularExpressionMatch match = line.match(SettingsText());
  return match.hasMatch() ? match.captured(1).toLong(nullptr, 16) : -1;
}

// Runs `solmar args` to its end; the exit code, or -1 when it did not end in time.
int RunSolmar(const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr, int timeoutMs = 20000) {
  QProcess process;
  process.start(gSolmar, args);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return -1;
  }
  if (out) *out = process.readAllStandardOutput();
  if (err) *err = process.readAllStandardError();
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int ReaderScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();

  QProcess* second = nullptr;
  QProcess* quit = nullptr;
  QString settingsDuringRun;

  QTimer::singleShot(0, [&] {
    QWidget* frame = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("Solmar")) frame = w;
    Check(frame != nullptr, "the main window exists");
    if (!frame) return platform::PostQuitMessage(3);
    Check(QTest::qWaitForWindowExposed(frame), "the main window is shown");
    QWidget* client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"));
    Check(client != nullptr, "the client area exists");
    if (!client) return platform::PostQuitMessage(3);

    // Real key events, delivered by Qt to the widget with the focus.
    Check(QApplication::focusWidget() == client, "the client area has the focus");
    QTest::keyClick(client, Qt::Key_Right);
    QTest::keyClick(client, Qt::Key_Right);
    Check(gReaderSettings.lesson == 5, "two Right keys go to article 5");
    Check(StoredNumber(QStringLiteral("Lesson")) == -1, "nothing but the program path is stored while running");
    settingsDuringRun = SettingsText();

    // A second start reaches this reader and ends at once, without a window or settings.
    second = new QProcess(&app);
    QObject::connect(second, &QProcess::finished, &app, [&](int code, QProcess::ExitStatus status) {
      Check(status == QProcess::NormalExit && code == 0, "the second start ends with 0");
      Check(SettingsText() == settingsDuringRun, "the second start leaves the settings alone");
      Check(platform::FindWindow(kReaderClassName, kReaderClassName) != nullptr, "the first reader still runs");
      // Then the reader is asked to close from outside.
      quit = new QProcess(&app);
      quit->start(gSolmar, {QStringLiteral("--quit")});
    });
    second->start(gSolmar, {});
  });
  // Nothing may hang the test.
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });

  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0 after solmar --quit");
  Check(quit != nullptr, "solmar --quit was run");
  if (quit) {
    Check(quit->waitForFinished(10000), "solmar --quit ends");
    Check(quit->exitStatus() == QProcess::NormalExit && quit->exitCode() == 0, "solmar --quit ends with 0");
  }
  Check(StoredNumber(QStringLiteral("Lesson")) == 5, "the settings file holds Lesson 5");
  Check(StoredNumber(QStringLiteral("BottomSection")) == 12, "the settings file holds BottomSection 12");
  return gFailures ? 1 : 0;
}

int SignalScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QProcess reader;
  reader.start(gSolmar, {});
  Check(reader.waitForStarted(10000), "solmar starts");
  // Running once it has written its program path at start-up.
  QElapsedTimer timer;
  timer.start();
  while (!SettingsText().contains(QLatin1String("Program")) && timer.elapsed() < 15000) QTest::qWait(20);
  QTest::qWait(200);
  Check(StoredNumber(QStringLiteral("Lesson")) == -1, "nothing is saved before the end");
  reader.terminate();  // SIGTERM
  Check(reader.waitForFinished(10000), "solmar ends on SIGTERM");
  Check(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0, "solmar ends with 0 on SIGTERM");
  Check(StoredNumber(QStringLiteral("Lesson")) == 1, "SIGTERM saves the settings (Lesson 1)");
  return gFailures ? 1 : 0;
}

int CliScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QByteArray out, err;
  Check(RunSolmar({QStringLiteral("--version")}, &out) == 0 && out.startsWith("Solmar 1.84a"), "--version");
  Check(RunSolmar({QStringLiteral("--help")}, &out) == 0 && out.contains("--screenshot FILE"), "--help");
  Check(RunSolmar({QStringLiteral("--frobnicate")}, &out, &err) == 2 && err.contains("unknown argument"),
        "an unknown argument is refused");
  Check(RunSolmar({QStringLiteral("--size"), QStringLiteral("300x400")}) == 2, "--size without --screenshot");
  Check(RunSolmar({QStringLiteral("--quit")}, &out, &err) == 1 && err.contains("no reader is running"),
        "--quit with no reader running");

  const QString png = QDir(qEnvironmentVariable("TMPDIR")).filePath(QStringLiteral("shot.png"));
  Check(RunSolmar({QStringLiteral("--screenshot"), png, QStringLiteral("--size"), QStringLiteral("320x480"),
                   QStringLiteral("--article"), QStringLiteral("3")}) == 0,
        "--screenshot ends with 0");
  const QImage image(png);
  Check(image.width() == 320 && image.height() == 480, "the screenshot has the size asked for");
  // The pale lower pane and the red line between the panes are in the picture.
  int pale = 0, red = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      pale += p == qRgb(0xEE, 0xFF, 0xFF);
      red += p == qRgb(0xFF, 0x00, 0x00);
    }
  Check(pale > 320 * 100, "the lower pane's pale background shows");
  Check(red >= 250, "the red separator shows");
  // Article 286 has no commentary: the message is reported, the picture still made.
  const QString last = QDir(qEnvironmentVariable("TMPDIR")).filePath(QStringLiteral("last.png"));
  Check(RunSolmar({QStringLiteral("--screenshot"), last, QStringLiteral("--article"), QStringLiteral("286")}, &out,
                  &err) == 0 &&
            err.contains("Resource not found") && QImage(last).width() == 540,
        "--screenshot of article 286 reports the missing commentary and still draws");
  Check(SettingsText().isEmpty(), "--screenshot and --quit leave the settings alone");
  return gFailures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_harness reader|signal|cli SOLMAR\n");
    return 2;
  }
  const QByteArray mode = argv[1];
  gSolmar = QString::fromLocal8Bit(argv[2]);
  // Private settings and socket directories, inherited by every solmar started from here.
  QTemporaryDir config, runtime;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  qputenv("TMPDIR", QFile::encodeName(runtime.path()));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int code = 2;
  if (mode == "reader")
    code = ReaderScenario(argc, argv);
  else if (mode == "signal")
    code = SignalScenario(argc, argv);
  else if (mode == "cli")
    code = CliScenario(argc, argv);
  std::fprintf(stderr, "%s: %d checks, %s\n", mode.constData(), gChecks, code == 0 ? "all held" : "FAILED");
  return code;
}
