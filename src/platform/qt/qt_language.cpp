// The interface's language on Qt: the compiled-in translation, the layout direction, and
// the translation of what the reader hands the backend.
#include "platform/qt/qt_language.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <memory>

#include "platform/platform.h"

// The translations are linked from a static library: their resources register when asked.
static void InitTranslationResources() { Q_INIT_RESOURCE(solmar_translations); }

namespace platform::qt {
namespace {

std::unique_ptr<QTranslator>& Installed() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

QString QmPath(const QString& code) { return QStringLiteral(":/i18n/solmar_%1.qm").arg(code); }

void InitResources() {
  static const bool done = [] {
    InitTranslationResources();
    return true;
  }();
  (void)done;
}

// Texts Qt shows by itself in the reader's windows, so that lupdate keeps them in the
// translation: the buttons of message boxes, the edit boxes' context menus, and the layout
// direction Qt reads from a translation.
[[maybe_unused]] constexpr const char* kQtTexts[] = {
    QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Undo"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Redo"),
    QT_TRANSLATE_NOOP("QLineEdit", "Cu&t"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Copy"),
    QT_TRANSLATE_NOOP("QLineEdit", "&Paste"),
    QT_TRANSLATE_NOOP("QLineEdit", "Delete"),
    QT_TRANSLATE_NOOP("QLineEdit", "Select All"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "&Copy"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "Select All"),
};

}  // namespace

bool IsInterfaceLanguage(const QString& code) { return code == QLatin1String("en") || code == QLatin1String("he"); }

QString DesktopLanguage() {
  for (const QString& name : QLocale::system().uiLanguages()) {
    const QLocale locale(name);
    if (locale.language() == QLocale::Hebrew) return QStringLiteral("he");
    if (locale.language() == QLocale::English) return QStringLiteral("en");
  }
  return QStringLiteral("en");
}

QString ChooseLanguage(const QString& commandLine, const QString& stored) {
  if (IsInterfaceLanguage(commandLine)) return commandLine;
  if (IsInterfaceLanguage(stored)) return stored;
  return DesktopLanguage();
}

namespace {

// The layout direction belongs to a GUI application; a command-line run that only wants
// translated texts has a plain QCoreApplication and no layout.
void SetLayoutDirection(Qt::LayoutDirection direction) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::setLayoutDirection(direction);
}

}  // namespace

bool UseLanguage(const QString& code) {
  if (Installed()) {
    QCoreApplication::removeTranslator(Installed().get());
    Installed().reset();
  }
  SetLayoutDirection(Qt::LeftToRight);
  if (code == QLatin1String("en")) return true;
  if (!IsInterfaceLanguage(code)) return false;
  InitResources();
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QmPath(code)) || !QCoreApplication::installTranslator(translator.get())) return false;
  Installed() = std::move(translator);
  SetLayoutDirection(code == QLatin1String("he") ? Qt::RightToLeft : Qt::LeftToRight);
  return true;
}

QString Translated(const char* context, const char16_t* text) {
  if (!text) return QString();
  const QString source = QString::fromUtf16(text);
  if (source.isEmpty()) return source;
  return QCoreApplication::translate(context, source.toUtf8().constData());
}

QString TranslatedFor(const QString& code, const char* context, const char* text) {
  InitResources();
  QTranslator translator;
  if (code == QLatin1String("en") || !IsInterfaceLanguage(code) || !translator.load(QmPath(code)))
    return QString::fromUtf8(text);
  const QString translation = translator.translate(context, text);
  return translation.isEmpty() ? QString::fromUtf8(text) : translation;
}

}  // namespace platform::qt

namespace platform {

std::u16string TranslateText(const char* context, const char16_t* source) {
  return qt::Translated(context, source).toStdU16String();
}

bool IsLayoutRightToLeft() { return QGuiApplication::layoutDirection() == Qt::RightToLeft; }

}  // namespace platform
