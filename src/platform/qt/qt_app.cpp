// The application on Qt: the message loop and the quit request, full-screen and shell
// services, and system queries. The single instance is in qt_single_instance.cpp.
#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QSysInfo>
#include <QWidget>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "platform/qt/qt_window_access.h"

namespace platform::qt {
namespace {

struct AppState {
  bool quitRequested = false;
  int quitCode = 0;
};

AppState& State() {
  static AppState state;
  return state;
}

int QtKey(uint16_t key) {
  switch (key) {
    case kVkBack: return Qt::Key_Backspace;
    case kVkTab: return Qt::Key_Tab;
    case kVkReturn: return Qt::Key_Return;
    case kVkEscape: return Qt::Key_Escape;
    case kVkSpace: return Qt::Key_Space;
    case kVkPrior: return Qt::Key_PageUp;
    case kVkNext: return Qt::Key_PageDown;
    case kVkEnd: return Qt::Key_End;
    case kVkHome: return Qt::Key_Home;
    case kVkLeft: return Qt::Key_Left;
    case kVkUp: return Qt::Key_Up;
    case kVkRight: return Qt::Key_Right;
    case kVkDown: return Qt::Key_Down;
    case kVkInsert: return Qt::Key_Insert;
    case kVkDelete: return Qt::Key_Delete;
    case kVkAdd: return Qt::Key_Plus;
    case kVkOemPlus: return Qt::Key_Equal;
    case kVkSubtract:
    case kVkOemMinus: return Qt::Key_Minus;
    default: break;
  }
  if (key >= kVkF1 && key < kVkF1 + 12) return Qt::Key_F1 + (key - kVkF1);
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
  return 0;
}

}  // namespace

bool QuitRequested() { return State().quitRequested; }

}  // namespace platform::qt

namespace platform {

using qt::State;

int RunMessageLoop(Window* window, const Accelerator* accelerators, size_t count) {
  // The loop ends by the quit request only, not when the last window closes.
  QApplication::setQuitOnLastWindowClosed(false);
  std::vector<QPointer<QShortcut>> shortcuts;
  if (QWidget* frame = qt::WidgetOf(window)) {
    for (size_t i = 0; i < (accelerators ? count : 0); ++i) {
      const Accelerator& a = accelerators[i];
      const int key = qt::QtKey(a.key);
      if (!key) continue;
      Qt::KeyboardModifiers modifiers;
      if (a.modifiers & kAccelControl) modifiers |= Qt::ControlModifier;
      if (a.modifiers & kAccelAlt) modifiers |= Qt::AltModifier;
      if (a.modifiers & kAccelShift) modifiers |= Qt::ShiftModifier;
      auto* shortcut = new QShortcut(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))), frame);
      shortcut->setContext(Qt::WindowShortcut);
      const uint16_t command = a.command;
      QObject::connect(shortcut, &QShortcut::activated, shortcut,
                       [window, command] { SendMessage(window, kMsgCommand, uintptr_t(MakeLong(command, 1)), 0); });
      shortcuts.emplace_back(shortcut);
    }
  }
  const int code = State().quitRequested ? State().quitCode : QApplication::exec();
  for (QPointer<QShortcut>& shortcut : shortcuts) delete shortcut.data();
  return State().quitRequested ? State().quitCode : code;
}

void PostQuitMessage(int exitCode) {
  State().quitRequested = true;
  State().quitCode = exitCode;
  // Every running loop ends, a modal dialog's too, as the handheld's quit message does.
  if (QCoreApplication::instance()) QCoreApplication::exit(exitCode);
}

OsVersion GetOsVersion() {
  const QStringList parts = QSysInfo::kernelVersion().split(QLatin1Char('.'));
  OsVersion version{0, 0};
  if (!parts.isEmpty()) version.major = parts[0].toUInt();
  if (parts.size() > 1) {
    QString minor = parts[1];
    while (!minor.isEmpty() && !minor.back().isDigit()) minor.chop(1);
    version.minor = minor.toUInt();
  }
  return version;
}

void Yield() { QCoreApplication::processEvents(); }

bool SetFullScreenState(Window* window, uint32_t state) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  // Only the task bar has a desktop counterpart: the window covers the screen. The input
  // panel and the start icon do not exist here.
  if (state & kFullScreenHideTaskBar) {
    if (widget->isVisible())
      widget->showFullScreen();
    else
      widget->setWindowState(widget->windowState() | Qt::WindowFullScreen);
  }
  return true;
}

void HandleSettingChange(Window*, uintptr_t, intptr_t) {}

// The desktop has no input panel.
void ForceInputPanelDown(Window*) {}

bool ShellInitDialog(Window* dialog, uint32_t flags) {
  QWidget* widget = qt::WidgetOf(dialog);
  if (!widget) return false;
  // A dialog sized to the screen covers its owner's window on the desktop.
  if (flags & (kDialogSizeToScreen | kDialogSizeFullScreen)) {
    if (QWidget* owner = widget->parentWidget()) {
      widget->setMinimumSize(0, 0);
      widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      widget->setGeometry(owner->window()->geometry());
    }
  }
  return true;
}

}  // namespace platform
