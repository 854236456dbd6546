// The backend's own colours on Qt. The reader's scheme reaches the application palette
// (menus, dialogs, scroll bars, lists) only where the desktop's palette does not already
// match it: a light scheme on a light desktop keeps the desktop's look exactly, a dark one
// on a dark desktop too. The desktop's light or dark choice comes from Qt's colour-scheme
// hint where the Qt version has one, else from its palette; a change of either while the
// reader runs reaches the reader's windows as kMsgSysColourChange.
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>

#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_window_access.h"

namespace platform::qt {

void RefreshBarPictures();

namespace {

// Before the reader gives its colours: what the backend drew before it had schemes.
constexpr ChromeColours kClassicColours = {
    false,    0xFFFFFF, 0xEFEFEF, 0x000000, 0xFFFFFF, 0xF7F7F7, 0x000000, 0xEFEFEF, 0x000000, 0xB56D2F,
    0xFFFFFF, 0x7F7F7F, 0xFF0000, 0xDCFFFF, 0x000000, 0x000000, 0xFFFFFF, 0x8F3A1F, 0x1E1EC8, 0xFFEEDD,
    0x000000, 0x00FFFF,
};

class DesktopWatcher;

struct ColourState {
  ChromeColours colours = kClassicColours;
  bool overriding = false;   // the application palette is the reader's, not the desktop's
  bool applying = false;     // the palette changes now are the backend's own
  bool desktopDark = false;  // as last seen
  QPointer<DesktopWatcher> watcher;
};

ColourState& State() {
  static ColourState state;
  return state;
}

bool HintSaysDark(bool* dark) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
  const Qt::ColorScheme scheme = QGuiApplication::styleHints()->colorScheme();
  if (scheme == Qt::ColorScheme::Unknown) return false;
  *dark = scheme == Qt::ColorScheme::Dark;
  return true;
#else
  (void)dark;
  return false;
#endif
}

// The desktop's choice now. While the reader's palette stands in for the desktop's, the
// palette cannot tell, and the last choice seen stands.
bool ReadDesktopDark() {
  bool dark = false;
  if (HintSaysDark(&dark)) return dark;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || State().overriding) return State().desktopDark;
  return IsDarkPalette(QGuiApplication::palette());
}

// Tells the reader's windows, once the change that is under way has settled.
void NotifyDesktopChange() {
  const bool dark = ReadDesktopDark();
  if (dark == State().desktopDark) return;
  State().desktopDark = dark;
  QTimer::singleShot(0, [] {
    for (Window* window : TopLevelWindows())
      if (window->proc) SendMessage(window, kMsgSysColourChange, 0, 0);
  });
}

// Watches the application for the desktop's palette and colour-scheme changes.
class DesktopWatcher : public QObject {
 public:
  DesktopWatcher() : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    QObject::connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
                     [] { NotifyDesktopChange(); });
#endif
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange &&
        !State().applying && !State().overriding)
      NotifyDesktopChange();
    return QObject::eventFilter(watched, event);
  }
};

void WatchDesktop() {
  if (State().watcher || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  State().desktopDark = ReadDesktopDark();
  State().watcher = new DesktopWatcher;
}

void ApplyPalette(const ChromeColours& colours) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  State().applying = true;
  if (State().overriding) {
    // A palette that sets no role is the desktop's own again.
    QPalette desktop = QApplication::palette();
    desktop.setResolveMask(0);
    QApplication::setPalette(desktop);
    State().overriding = false;
  }
  State().desktopDark = ReadDesktopDark();
  if (State().desktopDark != colours.dark) {
    QApplication::setPalette(PaletteOf(colours));
    State().overriding = true;
  }
  State().applying = false;
}

}  // namespace

const ChromeColours& ChromeColoursNow() { return State().colours; }

bool IsDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Active, QPalette::Window).lightness() <
         palette.color(QPalette::Active, QPalette::WindowText).lightness();
}

QPalette PaletteOf(const ChromeColours& c) {
  // The button and window colours give the 3-D shades (light, midlight, mid, dark, shadow).
  QPalette palette(ToQColor(c.button), ToQColor(c.window));
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool disabled = group == QPalette::Disabled;
    palette.setColor(group, QPalette::Window, ToQColor(c.window));
    palette.setColor(group, QPalette::WindowText, ToQColor(disabled ? c.disabledText : c.windowText));
    palette.setColor(group, QPalette::Base, ToQColor(disabled ? c.window : c.base));
    palette.setColor(group, QPalette::AlternateBase, ToQColor(c.alternateBase));
    palette.setColor(group, QPalette::Text, ToQColor(disabled ? c.disabledText : c.text));
    palette.setColor(group, QPalette::Button, ToQColor(c.button));
    palette.setColor(group, QPalette::ButtonText, ToQColor(disabled ? c.disabledText : c.buttonText));
    palette.setColor(group, QPalette::Highlight, ToQColor(c.highlight));
    palette.setColor(group, QPalette::HighlightedText, ToQColor(c.highlightedText));
    palette.setColor(group, QPalette::Link, ToQColor(c.link));
    palette.setColor(group, QPalette::LinkVisited, ToQColor(c.link));
    palette.setColor(group, QPalette::ToolTipBase, ToQColor(c.toolTipBase));
    palette.setColor(group, QPalette::ToolTipText, ToQColor(c.toolTipText));
    palette.setColor(group, QPalette::PlaceholderText, ToQColor(c.disabledText));
    palette.setColor(group, QPalette::BrightText, ToQColor(c.highlightedText));
  }
  return palette;
}

}  // namespace platform::qt

namespace platform {

void SetChromeColours(const ChromeColours& colours) {
  qt::State().colours = colours;
  qt::WatchDesktop();
  qt::ApplyPalette(colours);
  qt::RefreshBarPictures();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->update();
}

bool DesktopPrefersDark() {
  qt::WatchDesktop();
  return qt::ReadDesktopDark();
}

}  // namespace platform
