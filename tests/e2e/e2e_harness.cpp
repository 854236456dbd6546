// End-to-end checks of the real program on Qt's off-screen platform, with a private
// settings directory and a private directory for the single-instance socket.
//
//   e2e_harness reader SOLMAR    the reader runs in this process (the program's own code);
//                                real key presses, a second start and `solmar --quit` from
//                                outside, then the settings file is read
//   e2e_harness firststart SOLMAR  a first start without settings: the font chooser, OK,
//                                the panes' font, F1 and the About box, the stored choice
//                                (SOLMAR_E2E_SHOTS=DIR saves pictures of what it shows)
//   e2e_harness session SOLMAR   the reader runs in this process and the desktop session
//                                ends: it saves and closes as Exit does
//   e2e_harness signal SOLMAR    `solmar` ends on SIGTERM and SIGHUP and saves as Exit does
//   e2e_harness instance SOLMAR  where the single instance lives, and starts that find its
//                                place taken by someone else
//   e2e_harness cli SOLMAR       --help, --version, bad and unknown arguments, --quit with
//                                no reader, --screenshot
//   e2e_harness search SOLMAR    Alt+F3, a word typed into the search dialog and Enter: the
//                                page with the word's first place shows it highlighted
//   e2e_harness desktop SOLMAR   `solmar` in a real X window driven by xdotool: a click that
//                                picks a pane, None then Up, Escape on the bookmark question,
//                                Ctrl+Plus, and the window's place and size after a restart
//   e2e_harness findall SOLMAR   a stored pattern, Shift+F3: the list of every hit, Enter,
//                                Down and Up walk through them, Escape closes the list, and
//                                after `solmar --quit` the stored Lesson is the first hit's page
//                                (SOLMAR_E2E_SHOTS=DIR saves find-all.png)
//   e2e_harness index SOLMAR     Ctrl+D opens "Choose Section" on the real book at the
//                                current page's branch, a click on a page goes there, a
//                                second start opens the index again; leaves index_dialog.png
//   e2e_harness indextree SOLMAR  the index with thirty bookmarks opens at the current
//                                page, selected; a scroll leaves no glyph behind; a folded
//                                group stays folded over a size change; leaves index_tree*.png
//   e2e_harness goto SOLMAR      the reader started at a verse (as `solmar --goto` starts it):
//                                the verse selected, Ctrl+C puts it with its reference on the
//                                clipboard; `solmar --goto` from outside moves the running
//                                reader and opens no second one; a bad reference is refused
//                                by the later start, which leaves the reader alone
//   e2e_harness killsave SOLMAR  `solmar`, its settings written slowly, is killed (SIGKILL)
//                                at random moments after SIGTERM has started its save, half
//                                of them inside the write: the settings file is then the old
//                                one or the new one, whole (SOLMAR_KILL_TRIES tries, 12 by
//                                default; SOLMAR_KILL_SEED)
// Exit code 0 when every check held; each failed check is printed.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMap>
#include <QMimeData>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/app.h"
#include "index/index_dialog.h"
#include "index/index_view.h"
#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "search/find_all.h"
#include "search/find_all_list.h"
#include "search/hebrew_keyboard.h"
#include "shell/command_ids.h"
#include "shell/panes.h"
#include "view/page_view.h"
#include "shell/reader_settings.h"
#include "shell/shell_state.h"
#include "reader/main_window.h"
#include "reader/startup.h"
#include "content/verse_map.h"
#include "view/page_view.h"
#include "e2e_checks.h"

namespace {

QString gSolmar;

QDialog* IndexDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->objectName() == "SolmarDialog118" && dialog->isVisible())
      return dialog;
  return nullptr;
}

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

// A value as an earlier run of the reader leaves it, through the settings store.
void StoreValue(const char16_t* name, uint32_t type, const void* data, uint32_t size) {
  platform::SettingsKey* key = platform::OpenSettingsKey(u"Software\\Orvanel\\Solmar", true);
  platform::WriteSetting(key, name, type, data, size);
  platform::CloseSettingsKey(key);
}

// A font chosen by an earlier run (the application's own face), so that the first start's
// font chooser stays away from the scenarios that test something else.
void StoreFontName(const std::u16string& face) {
  StoreValue(u"FontName", platform::kSettingString, face.c_str(), uint32_t((face.size() + 1) * 2));
}
void StoreFontChoice() { StoreFontName(QApplication::font().family().toStdU16String()); }

// Saves a picture of widget as NAME.png in $SOLMAR_E2E_SHOTS when that is set (to look at).
void Shot(QWidget* widget, const char* name) {
  const QString dir = qEnvironmentVariable("SOLMAR_E2E_SHOTS");
  if (!dir.isEmpty() && widget) widget->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

QWidget* VisibleTopLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
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

// A `solmar` started from here, with its stderr kept.
struct ReaderProcess {
  QProcess process;
  QByteArray err;
  QProcessEnvironment extra;  // added to this process's environment

  // Starts it and waits until it has painted its first frame: by then it serves requests
  // and signals from outside. False when that did not happen in time.
  bool Start(const QStringList& args = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SOLMAR_REPORT_FIRST_PAINT"), QStringLiteral("1"));
    for (const QString& name : extra.keys()) env.insert(name, extra.value(name));
    process.setProcessEnvironment(env);
    process.setReadChannel(QProcess::StandardError);
    process.start(gSolmar, args);
    if (!process.waitForStarted(10000)) return false;
    QElapsedTimer timer;
    timer.start();
    while (!err.contains("first frame painted") && timer.elapsed() < 20000) {
      if (process.state() != QProcess::Running) break;
      process.waitForReadyRead(100);
      err += process.readAllStandardError();
    }
    return err.contains("first frame painted");
  }
  // Sends signal to the reader's own process, and only while it runs: once it has ended, or
  // when it never started, processId() is 0, and kill(0, ...) would signal this harness's
  // whole process group (CTest and whatever started it). False when nothing was sent.
  bool Signal(int signal) {
    const qint64 pid = process.processId();
    if (process.state() != QProcess::Running || pid <= 0) return false;
    return ::kill(pid_t(pid), signal) == 0;
  }
  // The exit code once it has ended; -1 when it did not end in time or crashed (killed by
  // a signal).
  int Finish(int timeoutMs = 10000) {
    // An end that the event loop has already seen (QTest::qWait) makes waitForFinished false.
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs)) {
      process.kill();
      process.waitForFinished();
      return -1;
    }
    err += process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
};

// The sockets this process has open.
std::set<int> SocketFds() {
  std::set<int> fds;
  for (const QString& entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System)) {
    char target[64] = {};
    const QByteArray link = QByteArrayLiteral("/proc/self/fd/") + entry.toLatin1();
    if (::readlink(link.constData(), target, sizeof target - 1) > 0 && std::strncmp(target, "socket:", 7) == 0)
      fds.insert(entry.toInt());
  }
  return fds;
}

// Whether fd is a Unix socket without a name: one end of a socket pair (or of a client).
bool IsUnnamedUnixSocket(int fd) {
  sockaddr_un address{};
  socklen_t length = sizeof address;
  return ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 && address.sun_family == AF_UNIX &&
         (length <= sizeof(sa_family_t) || address.sun_path[0] == 0);
}

QStringList SolmarEntries(const QString& directory) {
  return QDir(directory).entryList({QStringLiteral("Solmar*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
}

int ReaderScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  const std::set<int> socketsBefore = SocketFds();

  QProcess* second = nullptr;
  QProcess* quit = nullptr;
  QString settingsDuringRun;
  bool secondStartOpenedIndex = false;

  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
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

    // The single instance lives in the user's runtime directory, not in the shared temp.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    Check(QFileInfo(runtime + QStringLiteral("/Solmar")).exists(), "the socket is in $XDG_RUNTIME_DIR");
    Check(QFileInfo(runtime + QStringLiteral("/Solmar.lock")).exists(), "the lock file is in $XDG_RUNTIME_DIR");
    Check(SolmarEntries(QDir::tempPath()).isEmpty(), "nothing of the single instance is in the temp directory");

    // Regression: the signal socket pair was inherited by programs the reader starts and
    // blocked in the signal handler when full.
    int opened = 0;
    for (const int fd : SocketFds()) {
      if (socketsBefore.count(fd)) continue;
      ++opened;
      Check((::fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0, "every socket the reader opens is closed on exec");
      if (IsUnnamedUnixSocket(fd))
        Check((::fcntl(fd, F_GETFL) & O_NONBLOCK) != 0, "the signal socket pair does not block");
    }
    Check(opened >= 3, "the reader holds its server and signal sockets");

    // A second start reaches this reader, which is in front and opens its index (closed
    // here with Escape); the second start then ends, without a window or settings.
    QTimer* watcher = new QTimer(&app);
    QObject::connect(watcher, &QTimer::timeout, [watcher, &secondStartOpenedIndex] {
      if (QDialog* dialog = IndexDialog()) {
        secondStartOpenedIndex = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
        watcher->stop();
      }
    });
    watcher->start(20);
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
  Check(secondStartOpenedIndex, "the second start opened the index of the reader in front");
  Check(StoredNumber(QStringLiteral("Lesson")) == 5, "the settings file holds Lesson 5");
  Check(StoredNumber(QStringLiteral("BottomSection")) == 12, "the settings file holds BottomSection 12");
  return gFailures ? 1 : 0;
}

// The desktop session ending (QGuiApplication::commitDataRequest) closes the reader as
// Exit does; before, only a signal did, and logging out lost the run's settings.
int SessionScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  QTimer::singleShot(0, [&] {
    QWidget* client = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("Solmar")) client = w->findChild<QWidget*>(QStringLiteral("SolmarClient"));
    Check(client != nullptr, "the main window exists");
    if (!client) return platform::PostQuitMessage(3);
    QTest::keyClick(client, Qt::Key_Right);
    Check(gReaderSettings.lesson == 3, "a Right key goes to article 3");
    auto* manager = app.findChild<QSessionManager*>();
    Check(manager != nullptr, "the application has a session manager");
    if (!manager) return platform::PostQuitMessage(3);
    Q_EMIT app.commitDataRequest(*manager);
    Check(platform::FindWindow(kReaderClassName, kReaderClassName) == nullptr, "the window is closed at once");
  });
  QTimer::singleShot(10000, [] {
    Check(false, "the reader ends when the session ends");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0 when the session ends");
  Check(StoredNumber(QStringLiteral("Lesson")) == 3, "the session's end saves the settings (Lesson 3)");
  return gFailures ? 1 : 0;
}

// A first start without settings shows the font chooser over the window; OK gives both panes
// the face and size chosen and the shutdown stores them. Then F1 opens the About box.
int FirstStartScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  // The chooser comes up once the window has painted its first frame: looked for until then.
  std::function<void()> scenario;
  int looks = 0;
  scenario = [&] {
    QWidget* chooser = VisibleTopLevel(QStringLiteral("SolmarDialog105"));
    if (!chooser && ++looks < 1000) return QTimer::singleShot(10, scenario);
    Check(chooser != nullptr, "the first start shows the font chooser");
    if (!chooser) return platform::PostQuitMessage(3);
    QListWidget* faces = nullptr;
    QListWidget* sizes = nullptr;
    for (QListWidget* list : chooser->findChildren<QListWidget*>())
      (list->count() > 14 || !list->findItems(QStringLiteral("David CLM"), Qt::MatchExactly).isEmpty() ? faces : sizes) = list;
    Check(faces && sizes, "the chooser has its two lists");
    if (!faces || !sizes) return platform::PostQuitMessage(3);
    const QList<QListWidgetItem*> david = faces->findItems(QStringLiteral("David CLM"), Qt::MatchExactly);
    Check(!david.isEmpty(), "the installed Culmus family David CLM is listed");
    const QList<QListWidgetItem*> size = sizes->findItems(QStringLiteral("28"), Qt::MatchExactly);
    Check(size.size() == 1 && sizes->count() == 14, "the fourteen sizes are listed");
    Shot(VisibleTopLevel(QStringLiteral("Solmar")), "before");
    const QImage before = VisibleTopLevel(QStringLiteral("Solmar"))->grab().toImage();
    if (david.isEmpty() || size.isEmpty()) return platform::PostQuitMessage(3);
    faces->setCurrentItem(david.first());
    sizes->setCurrentItem(size.first());
    QTest::qWait(50);
    Shot(chooser, "chooser");
    auto* ok = chooser->findChild<QPushButton*>(QStringLiteral("SolmarDialogOk"));
    Check(ok != nullptr, "the chooser has an OK button");
    if (!ok) return platform::PostQuitMessage(3);
    QTimer::singleShot(0, [&, before] {
      Check(VisibleTopLevel(QStringLiteral("SolmarDialog105")) == nullptr, "OK closes the chooser");
      const FontSpec& upper = gPaneState.upperView->fontSpec;
      Check(QString::fromUtf16(upper.faceName) == QStringLiteral("David CLM") && upper.size == 28,
            "the upper pane draws with the face and size chosen");
      Check(QString::fromUtf16(gPaneState.lowerView->fontSpec.faceName) == QStringLiteral("David CLM"),
            "the lower pane draws with the face chosen");
      QWidget* frame = VisibleTopLevel(QStringLiteral("Solmar"));
      QTest::qWait(50);
      Shot(frame, "after");
      Check(frame && frame->grab().toImage() != before, "the panes look different in the font chosen");
      QTimer::singleShot(0, [&] {
        QWidget* about = VisibleTopLevel(QStringLiteral("SolmarDialog103"));
        Check(about != nullptr, "F1 opens the About box");
        if (!about) return;
        QTest::qWait(50);
        Shot(about, "about");
        if (auto* close = about->findChild<QPushButton*>(QStringLiteral("SolmarDialogOk"))) close->click();
      });
      platform::Window* window = platform::FindWindow(kReaderClassName, kReaderClassName);
      if (QWidget* client = frame ? frame->findChild<QWidget*>(QStringLiteral("SolmarClient")) : nullptr)
        QTest::keyClick(client, Qt::Key_F1);
      Check(VisibleTopLevel(QStringLiteral("SolmarDialog103")) == nullptr, "OK closes the About box");
      platform::DestroyWindow(window);
    });
    ok->click();
  };
  QTimer::singleShot(0, scenario);
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0");
  Check(SettingsText().contains(QStringLiteral("FontName")), "the settings file holds FontName");
  Check(StoredNumber(QStringLiteral("FontSize")) == 28, "the settings file holds FontSize 28");
  return gFailures ? 1 : 0;
}

// True when inner lies inside outer, smaller, and their centres are at most a few pixels apart.
bool CentredInside(const QRect& inner, const QRect& outer) {
  const QPoint offset = inner.center() - outer.center();
  return inner.width() < outer.width() && inner.height() < outer.height() && std::abs(offset.x()) <= 2 &&
         std::abs(offset.y()) <= 2;
}

// The dialogs as a desktop user meets them, in a real X window: the first start's chooser
// smaller than the main window and centred over it, with its line, a reading face and a
// size chosen in advance and in view; Cancel keeps them; "Choose Section" is a dialog over
// the window, not a cover, and keeps the size the user gives it for the next run; "Go to
// Verse" is centred over the window with its keyboard whole.
int DialogsScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  // The chooser comes up once the window has painted its first frame: looked for until then.
  std::function<void()> scenario;
  int looks = 0;
  scenario = [&] {
    QWidget* main = VisibleTopLevel(QStringLiteral("Solmar"));
    QWidget* chooser = VisibleTopLevel(QStringLiteral("SolmarDialog105"));
    if ((!main || !chooser) && ++looks < 1000) return QTimer::singleShot(10, scenario);
    Check(main && chooser, "the first start shows the font chooser over the window");
    if (!main || !chooser) return platform::PostQuitMessage(3);
    QTest::qWait(100);
    Check(CentredInside(chooser->frameGeometry(), main->frameGeometry()),
          "the chooser is smaller than the main window and centred over it");
    bool line = false;
    for (QLabel* label : chooser->findChildren<QLabel*>())
      line |= label->isVisible() && label->text().startsWith(QStringLiteral("Choose the font for reading"));
    Check(line, "the first start's chooser says what it asks");
    QListWidget* faces = nullptr;
    for (QListWidget* list : chooser->findChildren<QListWidget*>())
      if (list->count() > 14) faces = list;
    Check(faces && faces->currentItem() && faces->currentItem()->text() == QStringLiteral("Frank Ruehl CLM") &&
              faces->viewport()->rect().contains(faces->visualItemRect(faces->currentItem()).center()),
          "Frank Ruehl CLM is chosen in advance and in view");
    Shot(chooser, "font-chooser");
    Shot(main, "font-chooser-main");
    QTimer::singleShot(0, [main] {
      Check(VisibleTopLevel(QStringLiteral("SolmarDialog105")) == nullptr, "Cancel closes the chooser");
      Check(QString::fromUtf16(gPaneState.upperView->fontSpec.faceName) == QStringLiteral("Frank Ruehl CLM") &&
                gPaneState.upperView->fontSpec.size > 0,
            "Cancel keeps the face and size chosen in advance");
      QTimer::singleShot(0, [main] {
        QDialog* index = IndexDialog();
        Check(index != nullptr, "Choose Section opens");
        if (!index) return;
        QTest::qWait(100);
        Check(CentredInside(index->frameGeometry(), main->frameGeometry()),
              "Choose Section is smaller than the main window and centred over it");
        Shot(index, "choose-section");
        index->resize(index->width() + 40, index->height() + 30);
        QTest::qWait(50);
        QTest::keyClick(index, Qt::Key_Escape);
      });
      platform::SendMessage(platform::FindWindow(kReaderClassName, kReaderClassName), platform::kMsgCommand, kCmdIndex, 0);
      Check(IndexDialog() == nullptr, "Escape closes Choose Section");
      QTimer::singleShot(0, [main] {
        QWidget* box = VisibleTopLevel(QStringLiteral("SolmarDialog126"));
        Check(box != nullptr, "Go to Verse opens");
        if (!box) return;
        QTest::qWait(100);
        Check(CentredInside(box->frameGeometry(), main->frameGeometry()),
              "Go to Verse is smaller than the main window and centred over it");
        // The keyboard lies whole inside the box, below its edit box and above its OK.
        QLabel* keyboard = nullptr;
        for (QLabel* label : box->findChildren<QLabel*>())
          if (!label->pixmap().isNull()) keyboard = label;
        QLineEdit* edit = box->findChild<QLineEdit*>();
        QPushButton* ok = box->findChild<QPushButton*>(QStringLiteral("SolmarDialogOk"));
        const auto inBox = [box](QWidget* w) { return QRect(w->mapTo(box, QPoint(0, 0)), w->size()); };
        Check(keyboard && edit && ok && box->rect().contains(inBox(keyboard)) &&
                  inBox(keyboard).top() > inBox(edit).bottom() && inBox(keyboard).bottom() < inBox(ok).top(),
              "Go to Verse shows its keyboard whole, between the edit box and OK");
        if (keyboard && edit) {
          // Clicks on the keys put their letters in reading order, the bar a space; typing goes on after them.
          for (char16_t letter : std::u16string(u"שמות כה")) {
            QPoint at(3 * 17 + 5, 3 * 25 + 5);
            if (letter != u' ') {
              const int position = int(std::strchr(KeyboardLayout, char(0x61 + (letter - 0x05D0))) - KeyboardLayout);
              at = QPoint((8 - position % 9) * 17 + 8, position / 9 * 25 + 12);
            }
            QTest::mouseClick(keyboard->parentWidget(), Qt::LeftButton, Qt::NoModifier, keyboard->pos() + at);
          }
          for (QChar c : QString::fromUtf16(u":ח"))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
          Check(edit->text() == QString::fromUtf16(u"שמות כה:ח"), "clicks on Go to Verse's keyboard write the reference");
        }
        Shot(box, "go-to-verse");
        QTest::keyClick(box, Qt::Key_Escape);
      });
      platform::SendMessage(platform::FindWindow(kReaderClassName, kReaderClassName), platform::kMsgCommand, kCmdGoToVerse, 0);
      Check(VisibleTopLevel(QStringLiteral("SolmarDialog126")) == nullptr, "Escape closes Go to Verse");
      platform::DestroyWindow(platform::FindWindow(kReaderClassName, kReaderClassName));
    });
    QTest::keyClick(chooser, Qt::Key_Escape);
  };
  QTimer::singleShot(0, scenario);
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0");
  Check(SettingsText().contains(QStringLiteral("FontName")), "the face chosen in advance is stored");
  Check(SettingsText().contains(QStringLiteral("ChooseSectionSize")), "Choose Section's size is stored");
  return gFailures ? 1 : 0;
}

int SignalScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Whatever this harness was started with, the readers start with the default action.
  std::signal(SIGHUP, SIG_DFL);
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts");
    Check(StoredNumber(QStringLiteral("Lesson")) == -1, "nothing is saved before the end");
    Check(reader.Signal(SIGTERM), "the running reader is sent SIGTERM");
    Check(reader.Finish() == 0, "solmar ends with 0 on SIGTERM");
    Check(StoredNumber(QStringLiteral("Lesson")) == 1, "SIGTERM saves the settings (Lesson 1)");
  }
  // Regression: closing the terminal (SIGHUP) killed the reader without saving.
  QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvanel/Solmar.conf"));
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts again");
    Check(StoredNumber(QStringLiteral("Lesson")) == -1, "nothing is saved before the end");
    Check(reader.Signal(SIGHUP), "the running reader is sent SIGHUP");
    Check(reader.Finish() == 0, "solmar ends with 0 on SIGHUP");
    Check(StoredNumber(QStringLiteral("Lesson")) == 1, "SIGHUP saves the settings (Lesson 1)");
  }
  // Started with SIGHUP ignored (nohup), the reader outlives its terminal.
  {
    ReaderProcess reader;
    std::signal(SIGHUP, SIG_IGN);  // inherited by the reader
    const bool started = reader.Start();
    std::signal(SIGHUP, SIG_DFL);
    Check(started, "solmar starts with SIGHUP ignored");
    Check(reader.Signal(SIGHUP), "the running reader is sent SIGHUP");
    Check(!reader.process.waitForFinished(500), "an ignored SIGHUP leaves the reader running");
    Check(reader.Signal(SIGTERM), "the running reader is sent SIGTERM");
    Check(reader.Finish() == 0, "SIGTERM still ends it with 0");
  }
  return gFailures ? 1 : 0;
}

// What a settings file holds now: its bytes, or nothing when it is missing.
QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The count of bytes the slow store has written since the log was emptied; 0 for none.
long SlowBytes(const QString& log) { return FileBytes(log).trimmed().toLong(); }

// The settings save is one change of the file: a reader killed at any moment after SIGTERM
// leaves the file of the last run or the file of this run's save, never some values of
// each, and never an empty or broken file. The old file holds every value as decimal text,
// the save writes each as dword:, so a mixture would show at once.
//
// The reader runs with the slow store preloaded (slow_write.c): its settings file goes out
// one byte at a time, which makes the write wide enough to kill it half done. Half of the
// kills come at a random moment of the whole shutdown (before, during and after the save),
// half at a random moment once the write has begun; the scenario fails unless kills did land
// inside the write, so it cannot pass without meeting the fault it exists for.
int KillSaveScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::signal(SIGHUP, SIG_DFL);
  const QString path = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvanel/Solmar.conf");
  const QString directory = QFileInfo(path).path();
  QDir().mkpath(directory);
  QTemporaryDir scratch;
  const QString log = scratch.path() + QStringLiteral("/slow-bytes");
  constexpr long kByteGapUs = 150;
  QProcessEnvironment slowStore;
  slowStore.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SOLMAR_SLOW_WRITE_LIBRARY));
  slowStore.insert(QStringLiteral("SOLMAR_SLOW_WRITE_DIR"), QDir(directory).canonicalPath());
  slowStore.insert(QStringLiteral("SOLMAR_SLOW_WRITE_LOG"), log);
  slowStore.insert(QStringLiteral("SOLMAR_SLOW_WRITE_US"), QString::number(kByteGapUs));
  // A sanitizer build's runtime wants to be loaded first; the preloaded store comes before it.
  const QString asan = qEnvironmentVariable("ASAN_OPTIONS");
  slowStore.insert(QStringLiteral("ASAN_OPTIONS"),
                   (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("verify_asan_link_order=0"));
  const QByteArray written =
      "[General]\nFontName=sz:DejaVu Sans\nFlags=3507748928\nLesson=41\nFontSize=20\nFontAsciiBase=1488\n"
      "BottomSection=13\nLastPosition=0\nBottomSectionLastPosition=0\nBookmarks=hex:29,00,00,00\n";
  auto putOld = [&](const QByteArray& bytes) {
    QFile::remove(path + QStringLiteral(".lock"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  };
  // Started, with the start's own write ("Program Path") done and the count emptied.
  auto start = [&](ReaderProcess& reader) {
    reader.extra = slowStore;
    const bool started = reader.Start();
    QFile::remove(log);
    return started;
  };

  // One run without a kill: the file as the start leaves it (with "Program Path") and as
  // the save leaves it, and how long the reader takes from SIGTERM to its end.
  putOld(written);
  QByteArray oldFile, newFile;
  qint64 endNs = 0;
  {
    ReaderProcess reader;
    Check(start(reader), "solmar starts");
    oldFile = FileBytes(path);
    QElapsedTimer timer;
    timer.start();
    Check(reader.Signal(SIGTERM), "solmar is sent SIGTERM");
    Check(reader.Finish() == 0, "solmar ends with 0 on SIGTERM");
    endNs = timer.nsecsElapsed();
    newFile = FileBytes(path);
  }
  Check(oldFile.contains("Lesson=41") && oldFile.contains("Program%20Path="), "the start writes only the program path");
  Check(newFile.contains("Lesson=dword:00000029") && newFile.contains("Flags=dword:d1140040") &&
            newFile.contains("BottomSection=dword:0000000d"),
        "the save writes every value as a number");
  Check(SlowBytes(log) == newFile.size(), "the save goes through the slow store, byte by byte");
  if (gFailures) return 1;

  const int tries = qEnvironmentVariableIsSet("SOLMAR_KILL_TRIES") ? qEnvironmentVariableIntValue("SOLMAR_KILL_TRIES") : 12;
  const unsigned seed = qEnvironmentVariableIsSet("SOLMAR_KILL_SEED") ? qEnvironmentVariableIntValue("SOLMAR_KILL_SEED") : 15;
  std::srand(seed);
  // The write of the whole file takes at least this long once its first byte is out.
  const qint64 writeUs = qint64(newFile.size() - 1) * kByteGapUs;
  int asOld = 0, asNew = 0, mixed = 0, inWrite = 0, aimed = 0;
  for (int i = 0; i < tries; ++i) {
    putOld(oldFile);
    ReaderProcess reader;
    if (!start(reader)) {
      Check(false, "solmar starts for a kill");
      continue;
    }
    const bool aim = i % 2 == 1;
    reader.Signal(SIGTERM);
    qint64 delayUs = 0;
    if (aim) {
      // Once the first byte is out, a moment in the first four fifths of the write.
      ++aimed;
      QElapsedTimer wait;
      wait.start();
      while (SlowBytes(log) == 0 && wait.elapsed() < 10000) ::usleep(200);
      delayUs = qint64(std::rand() % 1000) * writeUs * 4 / 5 / 1000;
    } else {
      // From the SIGTERM to a little past the measured end: before, during and after the save.
      delayUs = qint64(std::rand() % 1000) * (endNs / 1000) * 12 / 10 / 1000;
    }
    ::usleep(useconds_t(delayUs));
    reader.Signal(SIGKILL);
    reader.Finish();
    const QByteArray now = FileBytes(path);
    const long bytes = SlowBytes(log);
    if (bytes > 0 && bytes < newFile.size()) ++inWrite;
    // A lock or temporary file a kill left behind.
    const QStringList leftovers = QDir(directory).entryList({QStringLiteral("Solmar.conf?*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : leftovers) QFile::remove(directory + QLatin1Char('/') + name);
    if (now == oldFile) {
      ++asOld;
    } else if (now == newFile) {
      ++asNew;
    } else {
      ++mixed;
      std::fprintf(stderr, "kill after %lld us (%ld of %lld bytes written) left:\n%s\n", static_cast<long long>(delayUs),
                   bytes, static_cast<long long>(newFile.size()), now.constData());
    }
  }
  std::fprintf(stderr, "killsave: %d kills (seed %u, SIGTERM to end %lld us, write %lld us): %d old files, %d new, "
                       "%d otherwise; %d kills came inside the write (%d aimed at it)\n",
               tries, seed, static_cast<long long>(endNs / 1000), static_cast<long long>(writeUs), asOld, asNew, mixed,
               inWrite, aimed);
  Check(mixed == 0, "every killed save leaves the old file or the new one, whole");
  Check(inWrite * 2 >= aimed && inWrite > 0, "kills land inside the write: at least half as many as were aimed at it");
  // The reader still starts on what a kill left, and a lock left behind does not stop it.
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts after the kills");
    Check(reader.Signal(SIGTERM), "solmar is sent SIGTERM after the kills");
    Check(reader.Finish() == 0, "solmar ends with 0 after the kills");
    Check(FileBytes(path) == newFile, "its save writes the new file");
  }
  return gFailures ? 1 : 0;
}

// Starts that find the single instance's place taken must still give a reader.
int InstanceScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  StoreFontName(u"DejaVu Sans");
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  const QString fallback = QDir::tempPath() + QStringLiteral("/Solmar-") + QString::number(::geteuid());

  auto connectToReader = [&fallback](int waitSeconds) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(fallback + QStringLiteral("/Solmar"));
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    Check(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0, "a stranger connects");
    timeval wait{waitSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    return fd;
  };
  auto sendLine = [](int fd, const QByteArray& sent) {
    Check(::send(fd, sent.constData(), size_t(sent.size()), MSG_NOSIGNAL) == ssize_t(sent.size()), "and sends");
  };
  char answer[16];
  // Without a runtime directory: a private directory in the temp path, made by the reader.
  qunsetenv("XDG_RUNTIME_DIR");
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts without XDG_RUNTIME_DIR");
    struct stat info {};
    Check(::lstat(QFile::encodeName(fallback).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
              info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700,
          "the reader makes <temp>/Solmar-<uid> for itself, closed to others");
    Check(SolmarEntries(fallback).size() == 2, "the socket and the lock are in it");
    // What reaches the socket from elsewhere: a line that never ends is cut off, and lines
    // that are no request get no answer; the reader serves on.
    for (const QByteArray& sent : {QByteArray(8192, 'x'), QByteArray("second start please\nQUIT\n\n")}) {
      const int fd = connectToReader(5);
      sendLine(fd, sent);
      if (sent.size() < 100) ::shutdown(fd, SHUT_WR);
      Check(::recv(fd, answer, sizeof answer, 0) == 0, "the reader closes the connection without an answer");
      ::close(fd);
    }
    // The reader is in front, so a second start makes it open its index and waits for that;
    // the request to close ends both.
    QProcess second;
    second.start(gSolmar, {});
    Check(second.waitForStarted(5000), "a second start runs");
    second.waitForFinished(1500);
    Check(reader.process.state() == QProcess::Running, "the first reader still runs");
    Check(RunSolmar({QStringLiteral("--quit")}) == 0, "solmar --quit reaches it");
    Check(second.waitForFinished(10000) && second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0,
          "a second start reaches the first and ends with 0");
    Check(reader.Finish() == 0, "the reader ends with 0");
  }
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts again");
    // A request that opens the index holds its connection: a line sent on it while the index
    // is open waits for the index, and is not read and answered underneath it.
    const int held = connectToReader(2);
    sendLine(held, "second start\n");
    QThread::msleep(1000);
    sendLine(held, "second start\n");
    Check(::recv(held, answer, sizeof answer, 0) < 0, "nothing is answered while the index is open");
    Check(RunSolmar({QStringLiteral("--quit")}) == 0, "solmar --quit reaches it with the index open");
    Check(reader.Finish() == 0, "and it ends with 0");
    ::close(held);
  }

  // A directory of that name that others may enter is refused: the reader runs without
  // the single instance and says so.
  ::chmod(QFile::encodeName(fallback).constData(), 0777);
  {
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts when <temp>/Solmar-<uid> is open to others");
    Check(reader.err.contains("is not a private directory"), "it says why it runs without the single instance");
    Check(reader.Signal(SIGTERM), "the running reader is sent SIGTERM");
    Check(reader.Finish() == 0, "and ends with 0 on SIGTERM");
  }

  // Regression: a live process holding the lock without serving made every start end
  // silently with 0.
  qputenv("XDG_RUNTIME_DIR", runtime);
  {
    QLockFile lock(QFile::decodeName(runtime) + QStringLiteral("/Solmar.lock"));
    Check(lock.tryLock(0), "this harness holds the reader's lock");
    ReaderProcess reader;
    Check(reader.Start(), "solmar starts while the lock is held by a process that does not answer");
    Check(reader.err.contains("does not answer"), "it says why it runs without the single instance");
    Check(reader.Signal(SIGTERM), "the running reader is sent SIGTERM");
    Check(reader.Finish() == 0, "and ends with 0 on SIGTERM");
  }
  return gFailures ? 1 : 0;
}

int CliScenario(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QByteArray out, err;
  Check(RunSolmar({QStringLiteral("--version")}, &out) == 0 && out.startsWith("Solmar 1.84a"), "--version");
  Check(RunSolmar({QStringLiteral("--help")}, &out) == 0 && out.contains("--screenshot FILE"), "--help");
  Check(RunSolmar({QStringLiteral("--size"), QStringLiteral("300x400")}) == 2, "--size without --screenshot");
  Check(RunSolmar({QStringLiteral("--screenshot")}, &out, &err) == 2 && err.contains("needs a value"),
        "--screenshot without FILE");
  Check(RunSolmar({QStringLiteral("--screenshot"), QStringLiteral("x.png"), QStringLiteral("--size"),
                   QStringLiteral("99x400")}) == 2,
        "a --size out of range");
  Check(RunSolmar({QStringLiteral("--screenshot"), QStringLiteral("x.png"), QStringLiteral("--article"),
                   QStringLiteral("287")}) == 2,
        "an --article out of range");
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
  // An unknown argument is reported and the picture still made.
  Check(RunSolmar({QStringLiteral("--frobnicate"), QStringLiteral("--screenshot"), png}, &out, &err) == 0 &&
            err.contains("ignoring unknown argument \"--frobnicate\""),
        "an unknown argument is ignored with a warning");
  Check(SettingsText().isEmpty(), "--screenshot and --quit leave the settings alone");

  // Regression: the arguments a desktop session restores a program with (and any unknown
  // one) made the reader exit with 2 instead of starting.
  ReaderProcess reader;
  Check(reader.Start({QStringLiteral("-session"), QStringLiteral("10d3a6b5c7"), QStringLiteral("--frobnicate")}),
        "the reader starts with -session ID and an unknown argument");
  Check(reader.err.contains("ignoring unknown argument \"--frobnicate\""), "the unknown one is reported");
  Check(!reader.err.contains("-session") && !reader.err.contains("10d3a6b5c7"), "Qt's -session ID is not");
  Check(RunSolmar({QStringLiteral("--quit")}) == 0, "solmar --quit closes it");
  Check(reader.Finish() == 0, "the reader ends with 0");
  return gFailures ? 1 : 0;
}

// The visible lines of the open index from the first shown one: key and text box.
struct ShownLine {
  uint16_t key;
  QRect box;
};
std::vector<ShownLine> ShownLines() {
  std::vector<ShownLine> shown;
  const IndexView* view = gIndexDialog.view;
  if (!view || !view->lines) return shown;
  int passed = 0, y = view->y;
  for (const IndexLine* l = view->lines; !IndexLineIsEnd(*l); ++l) {
    if (!(l->flags & 0x80)) continue;
    if (passed++ < view->topRow) continue;
    if (y + l->height > view->y + view->height) break;
    shown.push_back({l->key, QRect(l->x, y, l->width, l->height)});
    y += l->height;
  }
  return shown;
}

int IndexScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  QProcess* second = nullptr;
  QProcess* quit = nullptr;
  bool secondStartOpenedIndex = false;

  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    if (!frame) return platform::PostQuitMessage(3);
    frame->resize(480, 640);
    Check(QTest::qWaitForWindowExposed(frame), "the main window is shown");
    QWidget* client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"));
    if (!client) return platform::PostQuitMessage(3);
    // Page 2 of the book is article 3, in the first portion of the first book.
    QTest::keyClick(client, Qt::Key_Right);
    Check(gReaderSettings.lesson == 3, "a Right key goes to article 3");

    bool looked = false;
    QTimer::singleShot(100, [&] {
      QDialog* dialog = IndexDialog();
      Check(dialog != nullptr, "Ctrl+D opens Choose Section");
      if (!dialog) return;
      Check(dialog->windowTitle() == QStringLiteral("Choose Section"), "the dialog's caption is Choose Section");
      Check(QTest::qWaitForWindowExposed(dialog), "the dialog is shown");
      QTest::qWait(50);
      looked = true;
      dialog->grab().toImage().save(QStringLiteral(SOLMAR_ARTIFACT_DIR "/index_dialog.png"));
      const std::vector<ShownLine> shown = ShownLines();
      int books = 0, pages = 0, portions = 0;
      for (const ShownLine& line : shown) {
        if (line.key & 0x8000)
          (line.box.x() + line.box.width() == gIndexDialog.view->x + gIndexDialog.view->width ? books : portions)++;
        else
          ++pages;
      }
      Check(books == 5 && portions == 1 && pages == 2, "the tree shows five books, one portion and two pages");
      Check(shown.size() > 3 && shown[2].key == (0x4000 | 3) && shown[3].key == (0x4000 | 5),
            "the current page and the next one are shown under their book and portion");
      // A click on the next page's entry closes the dialog there.
      QWidget* body = dialog->findChild<QWidget*>(QStringLiteral("SolmarClient"));
      Check(body != nullptr, "the dialog has its body");
      if (body && shown.size() > 3) QTest::mouseClick(body, Qt::LeftButton, {}, shown[3].box.center());
    });
    QTest::keyClick(client, Qt::Key_D, Qt::ControlModifier);
    Check(looked, "the index was looked at");
    Check(IndexDialog() == nullptr, "a click on a page closes the index");
    Check(gReaderSettings.lesson == 5, "the reader is on the page clicked");

    // A second start while the reader is in front opens its index; Escape closes it.
    QTimer* watcher = new QTimer(&app);
    QObject::connect(watcher, &QTimer::timeout, [&, watcher] {
      if (QDialog* dialog = IndexDialog()) {
        secondStartOpenedIndex = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
        watcher->stop();
      }
    });
    watcher->start(20);
    frame->activateWindow();
    second = new QProcess(&app);
    QObject::connect(second, &QProcess::finished, &app, [&](int code, QProcess::ExitStatus) {
      Check(code == 0, "the second start ends with 0");
      quit = new QProcess(&app);
      quit->start(gSolmar, {QStringLiteral("--quit")});
    });
    second->start(gSolmar, {});
  });
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });

  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0 after solmar --quit");
  Check(secondStartOpenedIndex, "a second start opened the index of the reader in front");
  if (quit) Check(quit->waitForFinished(10000), "solmar --quit ends");
  Check(StoredNumber(QStringLiteral("Lesson")) == 5, "the settings file holds Lesson 5");
  return gFailures ? 1 : 0;
}

// The search as a user does it: Alt+F3 opens the search dialog, a word typed on the real
// keyboard and Enter find its first place in the book; the page changes to it, the hit is
// highlighted, and the pattern is stored at the end. Runs on the platform it is given
// (under Xvfb in CI when xvfb-run is there).
QString XDoTool(const QStringList& args);

int SearchScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  const QString word = QStringLiteral("משכן");
  // Where the book has the word first, from the listing (not the dialog's way to it).
  uint8_t pattern[kSearchStringSize] = {};
  Check(StoredPatternFromReadingOrder(reinterpret_cast<const char16_t*>(word.utf16()), pattern) == PatternError::kNone,
        "the word is a valid pattern");
  uint16_t firstArticle = 0;
  FindAllInBook(pattern, [&](const BookHit& hit) {
    if (!firstArticle) firstArticle = hit.article;
  });
  Check(firstArticle > 2, "the word first occurs after the first page");
  bool typed = false;
  QTimer::singleShot(0, [&] {
    QWidget* client = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String("Solmar")) client = w->findChild<QWidget*>(QStringLiteral("SolmarClient"));
    Check(client != nullptr, "the main window exists");
    if (!client) return platform::PostQuitMessage(3);
    // The dialog is modal: type into it once it is up, from inside its loop. Armed only once
    // the window is active, so that a slow activation (a sanitizer build) cannot use up the
    // wait before Alt+F3 is pressed.
    auto typeIntoDialog = [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      Check(dialog != nullptr, "Alt+F3 opens a modal dialog");
      QLineEdit* edit = dialog ? dialog->findChild<QLineEdit*>() : nullptr;
      Check(edit != nullptr, "the dialog has its edit box");
      if (!edit) return platform::PostQuitMessage(3);
      edit->setFocus();
      // Key presses carrying Hebrew text, as a Hebrew keyboard layout sends them.
      for (QChar c : word) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
      Check(edit->text() == word, "the edit box shows the word as it reads");
      Shot(dialog, "search-dialog");
      typed = true;
      QTest::keyClick(edit, Qt::Key_Return);
    };
    // Through the window system, as a real key press arrives, so that the menu's shortcut
    // sees it.
    client->window()->activateWindow();
    Check(QTest::qWaitForWindowActive(client->window()), "the main window becomes active");
    QTimer::singleShot(300, typeIntoDialog);
    QTest::keyClick(client->window()->windowHandle(), Qt::Key_F3, Qt::AltModifier);
    Check(typed, "the word was typed into the dialog");
    Check(QApplication::activeModalWidget() == nullptr, "the dialog closes on a hit");
    const uint16_t page = firstArticle % 2 ? firstArticle : uint16_t(firstArticle - 1);
    Check(gReaderSettings.lesson == page, "the page of the word's first place is current");
    PageView* active = gPaneState.activeView ? gPaneState.activeView : gPaneState.upperView;
    Check((firstArticle % 2 == 0) == (active == gPaneState.lowerView), "the pane of the hit is active");
    Check(active && active->highlightEnd > active->highlightStart &&
              active->highlightEnd - active->highlightStart == int(word.size()),
          "the hit is highlighted over the word's letters");
    // The highlight shows: yellow (0x00FFFF, blue-green-red) among the window's pixels.
    const QImage shot = platform::qt::RenderWindow(platform::FindWindow(kReaderClassName, kReaderClassName));
    int yellow = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixel(x, y) == qRgb(255, 255, 0)) ++yellow;
    Check(yellow > 0, "the highlight is drawn");
    if (const char* path = std::getenv("SOLMAR_E2E_SHOT")) shot.save(QString::fromLocal8Bit(path));

    // Again, the word typed on the keys of the Latin layout (through the window system
    // under X, where xdotool is there), then pasted with its points over what was typed:
    // OK goes on to the word's next place.
    const uint16_t firstHitEnd = active ? active->highlightEnd : 0;
    const uint16_t firstLesson = gReaderSettings.lesson;
    bool retyped = false;
    QTimer::singleShot(300, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      QLineEdit* edit = dialog ? dialog->findChild<QLineEdit*>() : nullptr;
      Check(edit != nullptr, "the dialog opens again");
      if (!edit) return platform::PostQuitMessage(3);
      edit->setFocus();
      edit->clear();
      if (QGuiApplication::platformName() == QLatin1String("xcb") && !XDoTool({QStringLiteral("version")}).isEmpty()) {
        XDoTool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("nafi,.;/'")});
        QTest::qWait(800);
      } else {
        QTest::keyClicks(edit, QStringLiteral("nafi,.;/'"));
      }
      // The punctuation keys of the Latin layout give what the Israeli layout has there.
      Check(edit->text() == word + QStringLiteral("תץף.,"), "the Latin layout's keys type the word in Hebrew");
      edit->selectAll();
      QApplication::clipboard()->setText(QStringLiteral("מִשְׁכָּ֣ן"));
      edit->paste();
      retyped = true;
      QTest::keyClick(edit, Qt::Key_Return);
    });
    client->window()->activateWindow();
    Check(QTest::qWaitForWindowActive(client->window()), "the main window is active again");
    QTest::keyClick(client->window()->windowHandle(), Qt::Key_F3, Qt::AltModifier);
    Check(retyped, "the word was typed and pasted into the dialog again");
    Check(QApplication::activeModalWidget() == nullptr, "the dialog closes on the next hit");
    active = gPaneState.activeView ? gPaneState.activeView : gPaneState.upperView;
    Check(active && active->highlightEnd - active->highlightStart == int(word.size()) &&
              (gReaderSettings.lesson != firstLesson || active->highlightEnd != firstHitEnd),
          "the pointed paste goes on to the word's next place");
    // Closed as Exit closes it, which saves the settings.
    platform::DestroyWindow(platform::FindWindow(kReaderClassName, kReaderClassName));
  });
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  ReaderMain(nullptr, platform::kSwShowNormal);
  Check(SettingsText().contains(QStringLiteral("SearchString=")), "the pattern is stored at the end");
  return gFailures ? 1 : 0;
}

// Runs xdotool with args; its standard output, trimmed (empty when it failed).
QString XDoTool(const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral("xdotool"), args);
  if (!process.waitForFinished(15000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return QString();
  return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

// The X window of the top-level window titled title; empty when none shows in time.
QString XWindowTitled(const QString& title) {
  const QString found = XDoTool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')});
  return found.section(QLatin1Char('\n'), 0, 0);
}

// X, Y, WIDTH and HEIGHT of an X window, as xdotool reports them.
QMap<QString, int> XGeometry(const QString& window) {
  QMap<QString, int> geometry;
  const QString text = XDoTool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const QString name = line.section(QLatin1Char('='), 0, 0);
    if (name != QLatin1String("WINDOW")) geometry[name] = line.section(QLatin1Char('='), 1).toInt();
  }
  return geometry;
}

// A value the reader stored, read back through the settings store: text as UTF-16 units,
// raw bytes as they are.
QByteArray StoredValue(const char16_t* name) {
  platform::SettingsKey* key = platform::OpenSettingsKey(u"Software\\Orvanel\\Solmar", false);
  if (!key) return QByteArray();
  uint32_t type = 0, size = 0;
  QByteArray data;
  if (platform::ReadSetting(key, name, &type, nullptr, &size) || size > 0) {
    data.resize(qsizetype(size));
    if (!platform::ReadSetting(key, name, &type, data.data(), &size)) data.clear();
  }
  platform::CloseSettingsKey(key);
  return data;
}

void StoreNumber(const char16_t* name, uint32_t value) { StoreValue(name, platform::kSettingNumber, &value, 4); }

// The contents tree on the real book with thirty bookmarks in front of it: it opens with
// the current page's line in view and selected, a scroll leaves no fold glyph behind in
// the margin beside the scroll bar, and a folded bookmark group stays folded when the
// dialog changes size. Leaves index_tree.png and index_tree_scrolled.png.
int IndexTreeScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  StoreNumber(u"Lesson", 201);
  uint16_t storedBookmarks[31];
  for (int i = 0; i < 30; ++i) storedBookmarks[i] = uint16_t(1 + 2 * i);
  storedBookmarks[30] = 0;
  StoreValue(u"Bookmarks", platform::kSettingBinary, storedBookmarks, sizeof storedBookmarks);
  constexpr uint16_t kCurrentEntry = 0x4000 | 201;

  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    if (!frame) return platform::PostQuitMessage(3);
    frame->resize(480, 400);
    Check(QTest::qWaitForWindowExposed(frame), "the main window is shown");
    QWidget* client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"));
    if (!client) return platform::PostQuitMessage(3);
    bool looked = false;
    QTimer::singleShot(100, [&] {
      QDialog* dialog = IndexDialog();
      Check(dialog != nullptr, "Ctrl+D opens Choose Section");
      if (!dialog) return;
      Check(QTest::qWaitForWindowExposed(dialog), "the dialog is shown");
      QTest::qWait(50);
      looked = true;
      const IndexView* view = gIndexDialog.view;
      dialog->grab().toImage().save(QStringLiteral(SOLMAR_ARTIFACT_DIR "/index_tree.png"));
      bool currentShown = false;
      for (const ShownLine& line : ShownLines()) currentShown = currentShown || line.key == kCurrentEntry;
      Check(view->topRow > 0, "the tree opens scrolled down towards the current page");
      Check(currentShown, "the current page's line is in view");
      Check(view->selectedLine > 0 && view->lines[view->selectedLine - 1].key == kCurrentEntry &&
                view->lines[view->selectedLine - 1].offset >= gIndexDialog.groupBytes,
            "the table of contents' line of the current page is selected");

      // Scroll up line by line: the book headings, drawn with their glyph in the margin,
      // move down over rows of bookmarks.
      QWidget* body = dialog->findChild<QWidget*>(QStringLiteral("SolmarClient"));
      const uint16_t openedAt = view->topRow;
      for (int i = 0; i < 5; ++i) QTest::keyClick(body ? body : dialog, Qt::Key_Up);
      Check(view->topRow == openedAt - 5, "five Up keys scroll the tree by five lines");
      QTest::qWait(50);
      const QImage scrolled = dialog->grab().toImage();
      scrolled.save(QStringLiteral(SOLMAR_ARTIFACT_DIR "/index_tree_scrolled.png"));
      const double scale = scrolled.devicePixelRatio();
      const int marginLeft = view->x + view->width, marginRight = marginLeft + kIndexGlyphMargin;
      std::vector<bool> glyphRow(size_t(view->y + view->height), false);
      for (const ShownLine& line : ShownLines())
        if (line.box.right() + 1 == marginLeft)
          for (int y = line.box.top(); y <= line.box.bottom() && y < int(glyphRow.size()); ++y) glyphRow[size_t(y)] = true;
      int stray = 0;
      for (int y = view->y; y < view->y + view->height; ++y)
        for (int x = marginLeft; x < marginRight && !glyphRow[size_t(y)]; ++x)
          stray += qGray(scrolled.pixel(int(x * scale), int(y * scale))) < 128;
      Check(stray == 0, "no glyph is left in the margin beside rows without a book heading");

      // Fold the bookmark group, then change the dialog's size: it stays folded.
      const uint16_t before = gIndexDialog.view->visibleCount;
      IndexViewToggle(gIndexDialog.view, &gIndexDialog.view->lines[0]);
      Check(gIndexDialog.view->visibleCount == before - 30, "folding the group hides its thirty entries");
      dialog->resize(dialog->width() - 40, dialog->height() - 40);
      QTest::qWait(50);
      Check(!(gIndexDialog.view->lines[1].flags & 0x80) && gIndexDialog.view->visibleCount == before - 30,
            "the folded group stays folded after a size change");
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::keyClick(client, Qt::Key_D, Qt::ControlModifier);
    Check(looked, "the index was looked at");
    Check(IndexDialog() == nullptr, "Escape closes the index");
    frame->close();
  });
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0");
  return gFailures ? 1 : 0;
}

// The reader as a desktop user meets it, in a real X window under Xvfb driven by xdotool:
// a click on the inactive lower pane only picks it, "None" hides it and hands the keys to
// the upper pane, Escape on the removal question keeps the bookmark, Ctrl+Plus makes the
// text larger, and the window's size and place survive a restart.
int DesktopScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  StoreNumber(u"Lesson", 1);
  StoreNumber(u"LastPosition", 5);
  StoreNumber(u"FontSize", 16);
  StoreNumber(u"BottomSection", 12);
  const uint16_t storedBookmarks[] = {1, 0};
  StoreValue(u"Bookmarks", platform::kSettingBinary, storedBookmarks, sizeof storedBookmarks);
  const auto pause = [] { QTest::qWait(400); };
  const auto key = [&](const char* keys) {
    XDoTool({QStringLiteral("key"), QString::fromLatin1(keys)});
    pause();
  };

  ReaderProcess first;
  Check(first.Start(), "the reader starts and paints");
  const QString window = XWindowTitled(QStringLiteral("Solmar"));
  Check(!window.isEmpty(), "its window shows on the X display");
  if (window.isEmpty()) {
    first.process.kill();
    return 1;
  }
  XDoTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  pause();
  const QMap<QString, int> before = XGeometry(window);
  // Low in the lower pane, where a tap pages forward.
  XDoTool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("60"),
           QString::number(before.value(QStringLiteral("HEIGHT")) - 30)});
  XDoTool({QStringLiteral("click"), QStringLiteral("1")});
  pause();
  key("alt+q");  // the "&Quelm" menu
  key("n");      // "&None"
  key("Up");
  // The bookmark of page 1: the removal question, dismissed with Escape.
  key("alt+g");
  key("b");
  const QString question = XWindowTitled(QStringLiteral("Bookmark"));
  Check(!question.isEmpty(), "Bookmark asks before removing");
  if (!question.isEmpty()) {
    XDoTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), question});
    key("Escape");
    Check(XDoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                   QStringLiteral("^Bookmark$")})
              .isEmpty(),
          "Escape closes the question");
  }
  XDoTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  key("ctrl+plus");
  XDoTool({QStringLiteral("windowsize"), QStringLiteral("--sync"), window, QStringLiteral("610"), QStringLiteral("660")});
  XDoTool({QStringLiteral("windowmove"), QStringLiteral("--sync"), window, QStringLiteral("70"), QStringLiteral("50")});
  pause();
  const QMap<QString, int> moved = XGeometry(window);
  key("ctrl+q");
  const int firstCode = first.Finish();
  Check(firstCode == 0, "Ctrl+Q ends the reader with 0");
  if (firstCode != 0) std::fprintf(stderr, "desktop: exit %d, stderr:\n%s\n", firstCode, first.err.constData());

  Check(StoredNumber(QStringLiteral("BottomSection")) == 1, "the lower pane's size None is stored");
  Check(StoredNumber(QStringLiteral("BottomSectionLastPosition")) == 0,
        "the click that picked the lower pane did not page it, nor did Up scroll it");
  Check(StoredNumber(QStringLiteral("LastPosition")) == 4, "after None, Up scrolled the upper pane (5 to 4)");
  const QByteArray bookmarks = StoredValue(u"Bookmarks");
  Check(bookmarks.size() == 4 && bookmarks[0] == 1 && bookmarks[1] == 0, "Escape on the question kept the bookmark");
  Check(StoredNumber(QStringLiteral("FontSize")) == 18, "Ctrl+Plus stepped FontSize from 16 to 18");
  const QByteArray stored = StoredValue(u"WindowGeometry");
  const QString geometry =
      QString::fromUtf16(reinterpret_cast<const char16_t*>(stored.constData()), stored.size() / 2).remove(QChar(0));
  std::fprintf(stderr, "desktop: window %dx%d at %d,%d; stored WindowGeometry \"%s\"\n", moved.value("WIDTH"),
               moved.value("HEIGHT"), moved.value("X"), moved.value("Y"), qPrintable(geometry));
  Check(geometry == QStringLiteral("70,50,610,660,0"), "the window's place and size are stored");

  ReaderProcess second;
  Check(second.Start(), "the reader starts again");
  const QString again = XWindowTitled(QStringLiteral("Solmar"));
  const QMap<QString, int> restored = XGeometry(again);
  Check(restored.value(QStringLiteral("X")) == 70 && restored.value(QStringLiteral("Y")) == 50 &&
            restored.value(QStringLiteral("WIDTH")) == 610 && restored.value(QStringLiteral("HEIGHT")) == 660,
        "the second start opens at the stored place and size");
  XDoTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), again});
  key("ctrl+q");
  Check(second.Finish() == 0, "the second run ends with 0");
  return gFailures ? 1 : 0;
}
// Find All as a user does it: with a pattern stored by an earlier run, Shift+F3 opens the
// list of every hit over the reader, its first row selected and the keyboard on it; Enter
// shows that hit, Down and Enter the next, Up and Enter the first again; Escape closes the
// list; the reader, closed by `solmar --quit`, stores the first hit's page.
int FindAllScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  const QString word = QStringLiteral("משכן");
  uint8_t pattern[kSearchStringSize] = {};
  Check(StoredPatternFromReadingOrder(reinterpret_cast<const char16_t*>(word.utf16()), pattern) == PatternError::kNone,
        "the word is a valid pattern");
  StoreValue(u"SearchString", platform::kSettingBinary, pattern,
             uint32_t(std::strlen(reinterpret_cast<const char*>(pattern)) + 1));
  // The hits as `solmar --find` lists them.
  std::vector<BookHit> hits;
  FindAllInBook(pattern, [&](const BookHit& hit) { hits.push_back(hit); });
  Check(hits.size() >= 2, "the word occurs at least twice");
  if (hits.size() < 2) return 1;
  auto pageOf = [](uint16_t article) { return uint16_t(article % 2 ? article : article - 1); };
  auto showing = [&](const BookHit& hit) {
    PageView* active = gPaneState.activeView ? gPaneState.activeView : gPaneState.upperView;
    return gReaderSettings.lesson == pageOf(hit.article) && (hit.article % 2 == 0) == (active == gPaneState.lowerView) &&
           active && active->highlightEnd == hit.endOffset + 1 &&
           active->highlightStart == hit.endOffset + 1 - hit.length;
  };
  QProcess* quit = nullptr;
  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    if (!frame) return platform::PostQuitMessage(3);
    frame->activateWindow();
    Check(QTest::qWaitForWindowActive(frame), "the main window becomes active");
    QTest::keyClick(frame->windowHandle(), Qt::Key_F3, Qt::ShiftModifier);
    QWidget* list = VisibleTopLevel(QStringLiteral("SolmarDialog125"));
    Check(list != nullptr, "Shift+F3 opens the list");
    if (!list) return platform::PostQuitMessage(3);
    Check(QApplication::activeModalWidget() == nullptr, "the list is not modal");
    Check(QTest::qWaitForWindowActive(list), "the list becomes active");
    const QString caption = word + QStringLiteral(" \u2014 %1 hits").arg(hits.size());
    Check(list->windowTitle() == caption, "the caption holds the pattern and the count");
    auto* view = list->findChild<QTreeView*>();
    Check(view != nullptr && view->model()->rowCount() == int(hits.size()), "one row per hit");
    if (!view) return platform::PostQuitMessage(3);
    Check(QApplication::focusWidget() == view, "the list has the keyboard focus");
    Check(view->currentIndex().row() == 0, "the first row is selected");
    QTest::qWait(100);
    Shot(list, "find-all");

    QTest::keyClick(view, Qt::Key_Return);
    Check(showing(hits[0]), "Enter shows the first hit, highlighted in its pane");
    Check(list->isVisible() && QApplication::focusWidget() == view, "the list stays open with the focus");
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    Check(showing(hits[1]), "Down and Enter show the second hit");
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    Check(showing(hits[0]), "Up and Enter show the first hit again");
    Shot(frame, "find-all-hit");
    QTest::keyClick(view, Qt::Key_Escape);
    QTest::qWait(50);
    Check(VisibleTopLevel(QStringLiteral("SolmarDialog125")) == nullptr, "Escape closes the list");
    Check(gFindAll.dialog == nullptr, "the list window is gone");
    quit = new QProcess(&app);
    quit->start(gSolmar, {QStringLiteral("--quit")});
  });
  QTimer::singleShot(30000, [] {
    Check(false, "the scenario ends within 30 seconds");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0 after solmar --quit");
  if (quit) Check(quit->waitForFinished(10000), "solmar --quit ends");
  Check(StoredNumber(QStringLiteral("Lesson")) == pageOf(hits[0].article), "the stored Lesson is the first hit's page");
  return gFailures ? 1 : 0;
}

int GoToScenario(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreFontChoice();
  auto selected = [](VerseKey key) {
    const VersePlace* place = FindVerse(BookVerseMap(), key);
    PageView* upper = gPaneState.upperView;
    return place && upper && gReaderSettings.lesson == place->article &&
           (gPaneState.activeView == nullptr || gPaneState.activeView == upper) &&
           upper->selectionStart == place->firstRecord + 2 && upper->selectionEnd == place->endRecord - 1;
  };
  QTimer::singleShot(0, [&] {
    QWidget* frame = ReaderFrame();
    Check(frame != nullptr, "the main window exists");
    if (!frame) return platform::PostQuitMessage(3);
    frame->activateWindow();
    Check(QTest::qWaitForWindowActive(frame), "the main window becomes active");
    Check(selected(VerseKey{1, 25, 8}), "the reader starts at Exodus 25:8, selected");
    QTest::keyClick(frame->windowHandle(), Qt::Key_C, Qt::ControlModifier);
    QTest::qWait(100);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    Check(data && data->text() == QStringLiteral("ח ועשו לי מקדש ושכנתי בתוכם:\r\n(שמות כה:ח)\r\n"),
          "Ctrl+C puts the verse and its reference on the clipboard as text");
    Check(data && data->hasFormat(QStringLiteral("text/rtf")) &&
              data->data(QStringLiteral("text/rtf")).contains("\\rtlpar"),
          "and as right-to-left RTF beside it");
    Shot(frame, "goto-selected");
    // A later start with a reference: the running reader goes there, the later one ends.
    QProcess later;
    later.start(gSolmar, {QStringLiteral("--goto"), QStringLiteral("בראשית א:ג")});
    QElapsedTimer timer;
    timer.start();
    while (later.state() != QProcess::NotRunning && timer.elapsed() < 20000) QTest::qWait(20);
    Check(later.exitStatus() == QProcess::NormalExit && later.exitCode() == 0, "solmar --goto reaches the running reader");
    Check(selected(VerseKey{0, 1, 3}), "the running reader shows Genesis 1:3, selected");
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) windows += w->objectName() == QLatin1String("Solmar");
    Check(windows == 1, "no second reader window");
    // A bad reference is refused by the later start itself.
    QByteArray out, err;
    Check(RunSolmar({QStringLiteral("--goto"), QStringLiteral("Gen 51:1")}, &out, &err) == 2 &&
              err.contains("has no chapter 51"),
          "solmar --goto with a bad reference ends with 2 and says why");
    Check(selected(VerseKey{0, 1, 3}), "and the running reader stays where it was");
    platform::DestroyWindow(platform::FindWindow(kReaderClassName, kReaderClassName));
  });
  QTimer::singleShot(60000, [] {
    Check(false, "the scenario ends within 60 seconds");
    platform::PostQuitMessage(4);
  });
  ReaderMain(nullptr, platform::kSwShowNormal, u"Exod 25:8");
  return gFailures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_harness reader|firststart|session|signal|instance|cli|index|indextree|search|"
                         "desktop|findall|dialogs|goto|killsave SOLMAR\n");
    return 2;
  }
  const QByteArray mode = argv[1];
  gSolmar = QString::fromLocal8Bit(argv[2]);
  // Private settings, temp and runtime directories, inherited by every solmar started from
  // here.
  QTemporaryDir config, temp, runtime;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  qputenv("TMPDIR", QFile::encodeName(temp.path()));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  // The search, Find All and desktop scenarios run on the platform they are given (xcb
  // under Xvfb); the others off screen.
  const bool onGivenPlatform = mode == "search" || mode == "findall" || mode == "desktop" || mode == "dialogs" ||
                               mode == "goto";
  if (!onGivenPlatform || qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int code = 2;
  if (mode == "reader")
    code = ReaderScenario(argc, argv);
  else if (mode == "firststart")
    code = FirstStartScenario(argc, argv);
  else if (mode == "session")
    code = SessionScenario(argc, argv);
  else if (mode == "signal")
    code = SignalScenario(argc, argv);
  else if (mode == "instance")
    code = InstanceScenario(argc, argv);
  else if (mode == "cli")
    code = CliScenario(argc, argv);
  else if (mode == "index")
    code = IndexScenario(argc, argv);
  else if (mode == "indextree")
    code = IndexTreeScenario(argc, argv);
  else if (mode == "search")
    code = SearchScenario(argc, argv);
  else if (mode == "desktop")
    code = DesktopScenario(argc, argv);
  else if (mode == "findall")
    code = FindAllScenario(argc, argv);
  else if (mode == "dialogs")
    code = DialogsScenario(argc, argv);
  else if (mode == "goto")
    code = GoToScenario(argc, argv);
  else if (mode == "killsave")
    code = KillSaveScenario(argc, argv);
  std::fprintf(stderr, "%s: %d checks, %s\n", mode.constData(), gChecks, code == 0 ? "all held" : "FAILED");
  return code;
}
