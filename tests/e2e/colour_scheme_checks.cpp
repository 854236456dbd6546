// The reader with ColorScheme=dark stored, in a real X window under Xvfb (or off screen):
// the panes, the menus, the tool bar and the scroll bars, the search dialog with its
// keyboard, the font chooser and the About box are dark, with the scheme's colours where
// the reader paints; Ctrl+Shift+N brings the light scheme back and the choice is stored.
//   e2e_scheme SOLMAR   (SOLMAR_E2E_SHOTS=DIR saves what it shows as dark-*.png)
// Exit code 0 when every check held; each failed check is printed.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <functional>

#include "app/app.h"
#include "platform/platform.h"
#include "platform/qt/qt_app.h"
#include "shell/panes.h"
#include "shell/shell_state.h"
#include "reader/main_window.h"
#include "reader/startup.h"
#include "view/colour_scheme.h"
#include "view/page_view.h"
#include "e2e_checks.h"

namespace {

QRgb Rgb(uint32_t colour) { return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)); }

void Shot(QWidget* widget, const char* name) {
  const QString dir = qEnvironmentVariable("SOLMAR_E2E_SHOTS");
  if (!dir.isEmpty() && widget) widget->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

QWidget* VisibleTopLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
}

QString SettingsText() {
  QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Orvanel/Solmar.conf"));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void StoreString(const char16_t* name, const std::u16string& text) {
  platform::SettingsKey* key = platform::OpenSettingsKey(u"Software\\Orvanel\\Solmar", true);
  platform::WriteSetting(key, name, platform::kSettingString, text.c_str(), uint32_t((text.size() + 1) * 2));
  platform::CloseSettingsKey(key);
}

// The share of an image's pixels that are light (the glare a dark surface must not have).
double LightShare(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  long light = 0;
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) light += qGray(rgb.pixel(x, y)) > 160;
  return rgb.isNull() ? 1.0 : double(light) / (double(rgb.width()) * rgb.height());
}

bool IsDark(const QColor& colour) { return colour.lightness() < 80; }

// Runs check on the modal dialog named name once it shows (looking for it for up to ten
// seconds, as a loaded machine may take), then presses Escape on it.
void WhenDialogShows(const QString& name, const std::function<void(QWidget*)>& check, int looks = 0) {
  QTimer::singleShot(50, [name, check, looks] {
    QWidget* dialog = VisibleTopLevel(name);
    if (!dialog && looks < 200) return WhenDialogShows(name, check, looks + 1);
    Check(dialog != nullptr, "the dialog opens");
    if (!dialog) return;
    QTest::qWait(100);
    check(dialog);
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
}

void PressOnReader(QWidget* frame, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  frame->activateWindow();
  Check(QTest::qWaitForWindowActive(frame), "the main window becomes active");
  QTest::keyClick(frame->windowHandle(), key, modifiers);
}

int Run(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareReaderApplication();
  StoreString(u"FontName", u"DejaVu Sans");
  StoreString(u"ColorScheme", u"dark");
  const ColourScheme& dark = kDarkColourScheme;
  const ColourScheme& light = kLightColourScheme;

  QTimer::singleShot(0, [&] {
    QWidget* frame = VisibleTopLevel(QStringLiteral("Solmar"));
    Check(frame != nullptr, "the main window shows");
    if (!frame) return platform::PostQuitMessage(3);
    platform::Window* window = platform::FindWindow(kReaderClassName, kReaderClassName);
    platform::qt::SettleWindow(window, 5000);
    QTest::qWait(200);
    Shot(frame, "dark-reader");

    // The panes: the page's and the commentary's grounds, at a corner of each pane that
    // text does not reach (clear of the keyboard focus's frame).
    const QImage shot = platform::qt::RenderWindow(window);
    const QImage client = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"))->grab().toImage();
    const PageView* upper = gPaneState.upperView;
    const PaneRect& lower = gPaneState.lowerRect;
    const qreal ratio = client.devicePixelRatio();
    auto at = [&](int x, int y) { return client.pixel(int(x * ratio), int(y * ratio)); };
    Check(upper && at(upper->x + 6, upper->y + 6) == Rgb(dark.pageGround),
          "the page's ground is the dark scheme's");
    Check(at(lower.left + 6, lower.bottom - 6) == Rgb(dark.commentaryGround), "the commentary's ground is the dark scheme's");
    Check(at(0, 0) == Rgb(dark.gutter) || at(1, 1) == Rgb(dark.gutter) || upper->x == 0, "the gutter is dark");
    Check(LightShare(shot) < 0.05, "the whole window, menu and tool bar too, is dark");

    // What Qt paints: menus, tool bar, scroll bars take the dark palette.
    Check(IsDark(QApplication::palette().color(QPalette::Window)), "the application palette is dark");
    if (QMenuBar* bar = frame->findChild<QMenuBar*>()) {
      Check(IsDark(bar->palette().color(QPalette::Window)), "the menu bar is dark");
      const QList<QAction*> menus = bar->actions();
      if (!menus.isEmpty() && menus.first()->menu()) {
        QMenu* go = menus.first()->menu();
        Check(IsDark(go->palette().color(QPalette::Window)), "the Go menu is dark");
        bool marked = false;
        for (QAction* action : go->actions()) marked |= action->text().startsWith(QStringLiteral("Dar&k")) && action->isChecked();
        Check(marked, "Dark Colours is checked");
        go->popup(frame->mapToGlobal(QPoint(0, 0)));
        QTest::qWait(100);
        Shot(go, "dark-menu");
        Check(LightShare(go->grab().toImage()) < 0.1, "the open menu is dark");
        go->hide();
      }
    }
    for (QScrollBar* bar : frame->findChildren<QScrollBar*>())
      Check(IsDark(bar->palette().color(QPalette::Window)), "a scroll bar is dark");

    // The search dialog and its keyboard.
    WhenDialogShows(QStringLiteral("SolmarDialog115"), [&](QWidget* dialog) {
      Shot(dialog, "dark-search");
      Check(LightShare(dialog->grab().toImage()) < 0.1, "the search dialog is dark");
      bool keyboard = false;
      for (QLabel* label : dialog->findChildren<QLabel*>()) {
        const QPixmap pixmap = label->pixmap();
        if (pixmap.isNull() || pixmap.width() != 154) continue;
        keyboard = true;
        const QImage keys = pixmap.toImage();
        Check(keys.pixel(5, 5) == Rgb(dark.chrome.pictureGround), "the keyboard's keys are on the dark ground");
        Check(keys.pixel(0, 0) == Rgb(dark.chrome.pictureInk), "the keyboard's lines are in the light ink");
      }
      Check(keyboard, "the search dialog shows its keyboard");
    });
    PressOnReader(frame, Qt::Key_F3, Qt::AltModifier);

    // The font chooser's preview, on the dialog's dark ground.
    WhenDialogShows(QStringLiteral("SolmarDialog105"), [&](QWidget* dialog) {
      Shot(dialog, "dark-font");
      Check(LightShare(dialog->grab().toImage()) < 0.15, "the font chooser is dark");
    });
    PressOnReader(frame, Qt::Key_F, Qt::ControlModifier);

    // The About box and its link.
    WhenDialogShows(QStringLiteral("SolmarDialog103"), [&](QWidget* dialog) {
      Shot(dialog, "dark-about");
      const QImage image = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
      Check(LightShare(image) < 0.15, "the About box is dark");
      int link = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) link += image.pixel(x, y) == Rgb(dark.link);
      Check(link > 20, "the link is drawn in the dark scheme's link colour");
    });
    PressOnReader(frame, Qt::Key_F1, Qt::NoModifier);

    // Ctrl+Shift+N: the light scheme, exactly the classic colours.
    PressOnReader(frame, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::qWait(200);
    const QImage lit = frame->findChild<QWidget*>(QStringLiteral("SolmarClient"))->grab().toImage();
    auto litAt = [&](int x, int y) { return lit.pixel(int(x * ratio), int(y * ratio)); };
    Check(litAt(upper->x + 6, upper->y + 6) == Rgb(light.pageGround), "Ctrl+Shift+N: the page is white");
    Check(litAt(lower.left + 6, lower.bottom - 6) == Rgb(light.commentaryGround), "Ctrl+Shift+N: the commentary is pale");
    Check(!IsDark(QApplication::palette().color(QPalette::Window)), "Ctrl+Shift+N: the palette is light again");
    Shot(frame, "light-reader");
    platform::DestroyWindow(window);
  });
  QTimer::singleShot(60000, [] {
    Check(false, "the checks end within 60 seconds");
    platform::PostQuitMessage(4);
  });
  const int code = ReaderMain(nullptr, platform::kSwShowNormal);
  Check(code == 0, "the reader ends with 0");
  Check(SettingsText().contains(QStringLiteral("ColorScheme=sz:light")) ||
            SettingsText().contains(QStringLiteral("ColorScheme=light")),
        "the light choice is stored");
  return gFailures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_scheme SOLMAR\n");
    return 2;
  }
  QTemporaryDir config, temp, runtime;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  qputenv("TMPDIR", QFile::encodeName(temp.path()));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int code = Run(argc, argv);
  std::fprintf(stderr, "scheme: %d checks, %s\n", gChecks, code == 0 ? "all held" : "FAILED");
  return code;
}
