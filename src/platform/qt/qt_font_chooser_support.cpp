// What the font chooser and the About box need of the Qt backend: the desktop's font
// families, a control's font, sizing a control in place and the desktop's URL handler.
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "platform/platform.h"
#include "platform/qt/qt_window_access.h"

namespace platform {

bool EnumerateFontFamilies(Dc*, FontFamilyProc proc, intptr_t param) {
  if (!proc) return true;
  const QStringList families = QFontDatabase::families();
  for (const QString& family : families) {
    // Families only the program itself registered are not the desktop's; a name that does
    // not fit the description would name another family once cut.
    if (QFontDatabase::isPrivateFamily(family) || family.size() > 31) continue;
    FontDescription description{};
    std::copy_n(reinterpret_cast<const char16_t*>(family.utf16()), family.size(), description.face);
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Hebrew)) description.charset = kHebrewCharset;
    if (!proc(description, param)) return false;
  }
  return true;
}

bool GetWindowFont(Window* control, FontDescription* description) {
  QWidget* widget = qt::WidgetOf(control);
  if (!widget || !description) return false;
  const QFont font = widget->font();
  const QFontMetrics metrics(font);
  *description = FontDescription{};
  const QString family = font.families().isEmpty() ? font.family() : font.families().first();
  const qsizetype n = std::min<qsizetype>(family.size(), 31);
  std::copy_n(reinterpret_cast<const char16_t*>(family.utf16()), n, description->face);
  description->height = metrics.ascent() + metrics.descent();
  description->weight = font.weight();
  description->underline = font.underline() ? 1 : 0;
  return true;
}

bool SizeWindow(Window* window, int32_t width, int32_t height) {
  QWidget* widget = qt::WidgetOf(window);
  if (!widget) return false;
  widget->resize(std::max(0, width), std::max(0, height));
  widget->show();
  return true;
}

bool OpenAddress(const char16_t* address) {
  if (!address) return false;
  return QDesktopServices::openUrl(QUrl(QString::fromUtf16(address), QUrl::StrictMode));
}

}  // namespace platform
