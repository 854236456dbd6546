// The single instance and the requests to close on Qt.
//
// Single instance: a lock file decides which process is the reader, and that process
// serves a QLocalServer; both live in a directory only this user can enter. A later start
// connects, sends one line ("second start" or "quit") and waits for the answer "done",
// which comes once the running reader's window procedure has handled the request.
// SIGTERM, SIGINT and SIGHUP (the terminal closing) reach the window as the private quit
// message, through a socket pair so nothing but a write happens in the signal handler;
// the desktop session ending does too.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_window_access.h"

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform::qt {
namespace {

struct InstanceState {
  bool singleInstance = true;
  QLockFile* lock = nullptr;  // held for the life of the process
  QPointer<QLocalServer> server;
  Window* requestWindow = nullptr;
  bool closeRequestsInstalled = false;
};

InstanceState& State() {
  static InstanceState state;
  return state;
}

constexpr char kSecondStartLine[] = "second start";
constexpr char kQuitLine[] = "quit";
constexpr char kGoToPrefix[] = "goto ";
constexpr char kDoneLine[] = "done\n";
// A second start waits this long for the running reader to handle its request (which may
// open a modal dialog there).
constexpr int kRequestTimeoutMs = 60000;
// How long a start that finds the lock held looks for the holder's server: the holder
// takes the lock a moment before it listens.
constexpr int kServerProbeMs = 1500;

void HandleConnection(QLocalSocket* socket) {
  QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  auto serve = [socket] {
    while (socket->canReadLine()) {
      const QByteArray line = socket->readLine().trimmed();
      Window* window = State().requestWindow;
      if (line == kSecondStartLine)
        SendMessage(window, kMsgSecondStart, 0, 0);
      else if (line == kQuitLine)
        SendMessage(window, kMsgPrivateQuit, 0, 0);
      else if (line.startsWith(kGoToPrefix)) {
        const QString text = QString::fromUtf8(line.mid(int(sizeof kGoToPrefix) - 1));
        SendMessage(window, kMsgGoToReference, 0, reinterpret_cast<intptr_t>(text.utf16()));
      } else
        continue;
      socket->write(kDoneLine);
      socket->flush();
      socket->waitForBytesWritten(1000);
    }
  };
  QObject::connect(socket, &QLocalSocket::readyRead, socket, serve);
  if (socket->bytesAvailable() > 0) serve();
}

// Closes the reader as Exit does: its window procedure saves the settings and ends the loop.
void RequestClose() {
  if (!QuitRequested()) SendMessage(State().requestWindow, kMsgPrivateQuit, 0, 0);
}

#if defined(Q_OS_UNIX)
// [0] is written by the signal handler, [1] read by the event loop. Both ends are
// non-blocking, so a burst of signals never blocks the handler, and closed on exec, so
// programs the reader starts (a browser) cannot hold or write them.
int gSignalPipe[2] = {-1, -1};

bool MakeSignalPipe() {
#if defined(SOCK_CLOEXEC) && defined(SOCK_NONBLOCK)
  return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPipe) == 0;
#else
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0) return false;
  for (const int fd : gSignalPipe) {
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  }
  return true;
#endif
}

extern "C" void OnTerminationSignal(int) {
  // The interrupted code may be about to look at errno.
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a request to close.
  [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
  errno = savedErrno;
}

void InstallTerminationSignals() {
  if (!MakeSignalPipe()) return;
  auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
    char bytes[64];
    bool any = false;
    while (::read(gSignalPipe[1], bytes, sizeof bytes) > 0) any = true;
    if (any) RequestClose();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  // SIGQUIT keeps its default (end with a core dump), the way out of a reader that hangs.
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction old {};
    // A signal the reader was started with ignored (nohup, a background job) stays ignored.
    if (::sigaction(signal, nullptr, &old) == 0 && !(old.sa_flags & SA_SIGINFO) && old.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}
#else
void InstallTerminationSignals() {}
#endif

// The platform's polite requests to close, each handled as Exit: termination signals and
// the desktop session ending (the session would otherwise end the reader unsaved).
void InstallCloseRequests() {
  if (State().closeRequestsInstalled) return;
  State().closeRequestsInstalled = true;
  InstallTerminationSignals();
#if QT_CONFIG(sessionmanager)
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    QObject::connect(app, &QGuiApplication::commitDataRequest, app, [](QSessionManager&) { RequestClose(); },
                     Qt::DirectConnection);
#endif
}

#if defined(Q_OS_UNIX)
// Whether path is a real directory (not a link) of this user that nobody else may enter.
bool IsPrivateDirectory(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The directory for the lock and the socket: the session's runtime directory, else
// <temp>/name-<uid>, made here. Anyone could make files under a shared name in /tmp and so
// keep the reader from starting; in a directory of ours only we can. Empty, with a note on
// stderr, when neither is ours.
QString InstanceDirectory(const QString& name) {
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && IsPrivateDirectory(runtime)) return runtime;
  }
  const QString fallback = QDir(QDir::tempPath()).filePath(name + QLatin1Char('-') + QString::number(::geteuid()));
  ::mkdir(QFile::encodeName(fallback).constData(), 0700);  // it may be there already
  if (IsPrivateDirectory(fallback)) return fallback;
  std::fprintf(stderr, "solmar: %s is not a private directory of this user; running without the single instance\n",
               qPrintable(fallback));
  return QString();
}
#endif

// Whether a server listens under fullName, trying for a while: the holder of the lock
// may not be listening yet.
bool ServerAnswers(const QString& fullName) {
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    QLocalSocket socket;
    socket.connectToServer(fullName);
    if (socket.waitForConnected(500)) return true;
    if (timer.elapsed() >= kServerProbeMs) return false;
    QThread::msleep(50);
  }
}

}  // namespace

void SetSingleInstanceEnabled(bool enabled) { State().singleInstance = enabled; }

QString InstanceServerName(const char16_t* name) {
  const QString base = QString::fromUtf16(name ? name : u"");
#if defined(Q_OS_UNIX)
  const QString directory = InstanceDirectory(base);
  return directory.isEmpty() ? QString() : QDir(directory).filePath(base);
#else
  // A pipe name, private to the user's session there.
  return base + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#endif
}

QString InstanceLockPath(const QString& serverName) {
#if defined(Q_OS_UNIX)
  return serverName.isEmpty() ? QString() : serverName + QStringLiteral(".lock");
#else
  return serverName.isEmpty() ? QString() : QDir(QDir::tempPath()).filePath(serverName + QStringLiteral(".lock"));
#endif
}

}  // namespace platform::qt

namespace platform {

using qt::State;

bool ClaimSingleInstance(const char16_t* name) {
  if (!State().singleInstance) return true;
  const QString full = qt::InstanceServerName(name);
  // Without a place for the lock and the server the reader still runs, only without the
  // single instance (the reason is on stderr).
  if (full.isEmpty()) return true;
  const QString lockPath = qt::InstanceLockPath(full);
  // The lock decides who is first: taking it is atomic, and a lock left by a reader that
  // ended without releasing it is taken over (its process no longer runs). Listening alone
  // cannot decide: a user-only server replaces an existing socket of the same name.
  auto* lock = new QLockFile(lockPath);
  lock->setStaleLockTime(0);  // only a dead owner makes a lock stale, never its age
  if (!lock->tryLock(0)) {
    const bool held = lock->error() == QLockFile::LockFailedError;
    delete lock;
    if (!held) {
      std::fprintf(stderr, "solmar: cannot use the lock file %s; running without the single instance\n",
                   qPrintable(lockPath));
      return true;
    }
    // Another reader runs only if it answers; a live process that holds the lock but serves
    // nothing must not keep this one from starting.
    if (qt::ServerAnswers(full)) return false;
    std::fprintf(stderr,
                 "solmar: the process holding %s does not answer on %s; running without the single instance\n",
                 qPrintable(lockPath), qPrintable(full));
    return true;
  }
  State().lock = lock;
  // Once the reader ends, later starts are readers of their own.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
    if (State().server) State().server->close();
    delete State().lock;
    State().lock = nullptr;
  });
  QLocalServer::removeServer(full);  // a socket left by a reader that did not end cleanly
  auto* server = new QLocalServer(QCoreApplication::instance());
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(full)) {
    delete server;
    return true;
  }
  State().server = server;
  QObject::connect(server, &QLocalServer::newConnection, server, [server] {
    while (QLocalSocket* socket = server->nextPendingConnection()) qt::HandleConnection(socket);
  });
  return true;
}

void ServeInstanceRequests(Window* window) {
  State().requestWindow = window;
  if (State().singleInstance) qt::InstallCloseRequests();
}

bool SendInstanceRequest(const char16_t* name, InstanceRequest request, const char16_t* text) {
  if (!State().singleInstance) return false;
  const QString full = qt::InstanceServerName(name);
  if (full.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(full);
  if (!socket.waitForConnected(2000)) {
    // The running reader answered a moment ago; a second start must not end unexplained.
    if (request == InstanceRequest::kSecondStart)
      std::fprintf(stderr, "solmar: the running reader does not answer on %s\n", qPrintable(full));
    return false;
  }
  QByteArray line;
  if (request == InstanceRequest::kGoTo) {
    QString argument = QString::fromUtf16(text ? text : u"");
    argument.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    line = QByteArray(qt::kGoToPrefix) + argument.toUtf8() + '\n';
  } else {
    line = request == InstanceRequest::kSecondStart ? "second start\n" : "quit\n";
  }
  socket.write(line);
  if (!socket.waitForBytesWritten(2000)) return false;
  QElapsedTimer timer;
  timer.start();
  while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState && timer.elapsed() < qt::kRequestTimeoutMs)
    socket.waitForReadyRead(int(qt::kRequestTimeoutMs - timer.elapsed()));
  return socket.canReadLine() && socket.readLine().trimmed() == "done";
}

}  // namespace platform
