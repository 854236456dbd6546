// Message boxes on Qt: exact text and caption, the buttons and icon asked for.
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "platform/platform.h"
#include "platform/qt/qt_language.h"
#include "platform/qt/qt_window_access.h"

namespace platform {

int MessageBox(Window* owner, const char16_t* text, const char16_t* caption, uint32_t type) {
  QMessageBox box(qt::WidgetOf(owner));
  box.setText(qt::Translated("MessageBox", text));
  // Without a caption the platform's default is the application's display name.
  box.setWindowTitle(caption ? qt::Translated("MessageBox", caption) : QApplication::applicationDisplayName());
  switch (type & kMbIconMask) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  QMessageBox::StandardButtons buttons;
  switch (type & kMbButtonsMask) {
    case kMbOkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case kMbYesNoCancel: buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case kMbYesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    default: buttons = QMessageBox::Ok; break;
  }
  box.setStandardButtons(buttons);
  // Escape and the window's close button press the escape button: the harmless answer.
  switch (MessageBoxDismissAnswer(type)) {
    case kIdNo: box.setEscapeButton(QMessageBox::No); break;
    case kIdCancel: box.setEscapeButton(QMessageBox::Cancel); break;
    default: box.setEscapeButton(QMessageBox::Ok); break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    case QMessageBox::Cancel: return kIdCancel;
    default: return kIdOk;
  }
}

}  // namespace platform
