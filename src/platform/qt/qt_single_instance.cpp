// The single instance and the requests to close on Qt.
//
// Single instance: a lock on a file (flock, which the kernel lets go when its holder ends,
// however it ends) decides which process is the reader, and that process
// listens on a Unix socket; both live in a directory only this user can enter. A later
// start connects, sends one line ("second start", "quit" or "goto REF") and waits for the
// answer "done", which comes once the running reader's window procedure has handled the
// request. The socket is served with plain POSIX calls and a QSocketNotifier rather than
// QLocalServer: Qt's network library and the Kerberos and proxy libraries it brings cost
// every start more than a millisecond and a megabyte, for one local line.
// SIGTERM, SIGINT and SIGHUP (the terminal closing) reach the window as the private quit
// message, through a socket pair so nothing but a write happens in the signal handler;
// the desktop session ending does too.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_window_access.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::qt {
namespace {

struct InstanceState {
  bool singleInstance = true;
  int lockFd = -1;            // its lock held for the life of the process
  int serverFd = -1;          // the listening socket, while this process is the reader
  QByteArray serverPath;
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
// The longest request line a connection may send; a peer that sends more without ending
// its line is cut off, so nothing that reaches the socket can make the reader hold
// unbounded memory.
constexpr qsizetype kMaxRequestLine = 4096;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// The socket address of path; false when the path does not fit in one.
bool SocketAddress(const QByteArray& path, sockaddr_un* address) {
  *address = sockaddr_un{};
  address->sun_family = AF_UNIX;
  if (path.isEmpty() || size_t(path.size()) >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
  return true;
}

// A connected socket to the server at path, or -1 (nobody listens, or its queue is full).
int ConnectTo(const QString& path) {
  sockaddr_un address;
  if (!SocketAddress(QFile::encodeName(path), &address)) return -1;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) CloseFd(fd);
  return fd;
}

// Waits up to timeoutMs for fd to become ready for events; false on timeout or error.
bool WaitFor(int fd, short events, qint64 timeoutMs) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int ready = ::poll(&entry, 1, int(std::max<qint64>(0, timeoutMs)));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// Writes all of bytes to a non-blocking socket within timeoutMs; never raises SIGPIPE.
bool SendAll(int fd, const QByteArray& bytes, qint64 timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
    if (n > 0) {
      sent += n;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLOUT, timeoutMs - timer.elapsed())) return false;
    } else {
      return false;
    }
  }
  return true;
}

// One connection to the reader's socket: reads request lines as they come and answers
// each handled one with "done". Lines it does not know are skipped.
class Connection : public QObject {
 public:
  explicit Connection(int fd) : QObject(QCoreApplication::instance()), fd_(fd), notifier_(fd, QSocketNotifier::Read, this) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
  }
  ~Connection() override { CloseFd(fd_); }

 private:
  void OnReadable() {
    char bytes[1024];
    for (;;) {
      const ssize_t n = ::read(fd_, bytes, sizeof bytes);
      if (n > 0) {
        buffer_.append(bytes, qsizetype(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) ended_ = true;
      break;
    }
    // A request may open a modal dialog, whose event loop must not read this connection
    // again underneath it.
    notifier_.setEnabled(false);
    qsizetype end;
    while ((end = buffer_.indexOf('\n')) >= 0) {
      const QByteArray line = buffer_.left(end).trimmed();
      buffer_.remove(0, end + 1);
      if (Handle(line)) SendAll(fd_, kDoneLine, 1000);
    }
    if (ended_ || buffer_.size() > kMaxRequestLine) {
      CloseFd(fd_);
      deleteLater();
      return;
    }
    notifier_.setEnabled(true);
  }

  static bool Handle(const QByteArray& line) {
    Window* window = State().requestWindow;
    if (line == kSecondStartLine) {
      SendMessage(window, kMsgSecondStart, 0, 0);
    } else if (line == kQuitLine) {
      SendMessage(window, kMsgPrivateQuit, 0, 0);
    } else if (line.startsWith(kGoToPrefix)) {
      const QString text = QString::fromUtf8(line.mid(qsizetype(sizeof kGoToPrefix) - 1));
      SendMessage(window, kMsgGoToReference, 0, reinterpret_cast<intptr_t>(text.utf16()));
    } else {
      return false;
    }
    return true;
  }

  int fd_;
  QSocketNotifier notifier_;
  QByteArray buffer_;
  bool ended_ = false;
};

// Listens at path (a socket left there by a reader that did not end cleanly is replaced:
// the caller holds the lock) and serves what connects. False when it cannot listen.
bool Listen(const QString& path) {
  const QByteArray encoded = QFile::encodeName(path);
  sockaddr_un address;
  if (!SocketAddress(encoded, &address)) return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  ::unlink(encoded.constData());
  // Only this user may connect, whatever the directory allows.
  const mode_t oldMask = ::umask(077);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(oldMask);
  if (!bound || ::listen(fd, 16) != 0) {
    CloseFd(fd);
    return false;
  }
  State().serverFd = fd;
  State().serverPath = encoded;
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [fd] {
    for (;;) {
      const int peer = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (peer >= 0) {
        new Connection(peer);
        continue;
      }
      if (errno == EINTR) continue;
      break;
    }
  });
  return true;
}

void StopListening() {
  if (State().serverFd < 0) return;
  CloseFd(State().serverFd);
  ::unlink(State().serverPath.constData());
}

// Closes the reader as Exit does: its window procedure saves the settings and ends the loop.
void RequestClose() {
  if (!QuitRequested()) SendMessage(State().requestWindow, kMsgPrivateQuit, 0, 0);
}

// [0] is written by the signal handler, [1] read by the event loop. Both ends are
// non-blocking, so a burst of signals never blocks the handler, and closed on exec, so
// programs the reader starts (a browser) cannot hold or write them.
int gSignalPipe[2] = {-1, -1};

bool MakeSignalPipe() { return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPipe) == 0; }

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

// Whether a server listens under path, trying for a while: the holder of the lock may not
// be listening yet.
bool ServerAnswers(const QString& path) {
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    int fd = ConnectTo(path);
    if (fd >= 0) {
      CloseFd(fd);
      return true;
    }
    if (timer.elapsed() >= kServerProbeMs) return false;
    QThread::msleep(50);
  }
}

}  // namespace

void SetSingleInstanceEnabled(bool enabled) { State().singleInstance = enabled; }

QString InstanceServerName(const char16_t* name) {
  const QString base = QString::fromUtf16(name ? name : u"");
  const QString directory = InstanceDirectory(base);
  return directory.isEmpty() ? QString() : QDir(directory).filePath(base);
}

QString InstanceLockPath(const QString& serverName) {
  return serverName.isEmpty() ? QString() : serverName + QStringLiteral(".lock");
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
  // The lock decides who is first: taking it is atomic, and the lock of a reader that ended
  // however it ended is gone with its process. Listening alone cannot decide: a new server
  // replaces an existing socket of the same name. Nothing is written into the file, so
  // taking the lock costs the start no wait for the disk.
  const int lockFd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd < 0 || ::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = lockFd >= 0 && errno == EWOULDBLOCK;
    if (lockFd >= 0) ::close(lockFd);
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
  State().lockFd = lockFd;
  // Once the reader ends, later starts are readers of their own.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
    qt::StopListening();
    ::close(State().lockFd);
    State().lockFd = -1;
  });
  if (!qt::Listen(full))
    std::fprintf(stderr, "solmar: cannot listen on %s; running without the single instance\n", qPrintable(full));
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
  int fd = qt::ConnectTo(full);
  if (fd < 0) {
    // The running reader answered a moment ago; a second start must not end unexplained.
    if (request == InstanceRequest::kSecondStart)
      std::fprintf(stderr, "solmar: the running reader does not answer on %s\n", qPrintable(full));
    return false;
  }
  QByteArray line;
  if (request == InstanceRequest::kGoTo) {
    QString argument = QString::fromUtf16(text ? text : u"");
    argument.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    line = QByteArray(qt::kGoToPrefix) + argument.toUtf8().left(qt::kMaxRequestLine - 64) + '\n';
  } else {
    line = request == InstanceRequest::kSecondStart ? "second start\n" : "quit\n";
  }
  QByteArray answer;
  if (qt::SendAll(fd, line, 2000)) {
    QElapsedTimer timer;
    timer.start();
    char bytes[64];
    while (!answer.contains('\n') && answer.size() < 64 &&
           qt::WaitFor(fd, POLLIN, qt::kRequestTimeoutMs - timer.elapsed())) {
      const ssize_t n = ::read(fd, bytes, sizeof bytes);
      if (n > 0)
        answer.append(bytes, qsizetype(n));
      else if (n == 0 || (errno != EINTR && errno != EAGAIN))
        break;
    }
  }
  qt::CloseFd(fd);
  const qsizetype end = answer.indexOf('\n');
  return end >= 0 && answer.left(end).trimmed() == "done";
}

}  // namespace platform
