// The program: the Qt application around the reader.
#include <QApplication>
#include <QMainWindow>

#include "platform/qt/qt_platform.h"

extern "C" const unsigned char solmar_book_pack[];
extern "C" const unsigned char solmar_book_pack_end[];

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Solmar"));
  QApplication::setOrganizationName(QStringLiteral("Orvanel"));
  QApplication::setApplicationDisplayName(QStringLiteral("Solmar"));
  platform::qt::UsePack(solmar_book_pack, size_t(solmar_book_pack_end - solmar_book_pack));

  QMainWindow window;
  window.setObjectName(QStringLiteral("Solmar"));
  window.setWindowTitle(QStringLiteral("Solmar"));
  window.resize(480, 720);
  window.show();
  return app.exec();
}
