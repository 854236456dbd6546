// Clipboard of the Qt backend: the handheld's open / empty / hand over / close model on
// QClipboard. Everything handed over between EmptyClipboard and CloseClipboard goes into
// one QMimeData offer, set when the clipboard is closed.
//
// Unicode text is offered as text/plain (UTF-8; on X11 Qt also serves UTF8_STRING, STRING
// and TEXT). The registered "Rich Text Format" is offered under every name desktop
// applications read RTF under: text/rtf and text/richtext (the two LibreOffice offers and
// reads on X11) and application/rtf (GTK and AbiWord). Other registered names get a private
// MIME type of their own.
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <map>
#include <memory>

#include "platform/platform.h"

namespace {

constexpr char16_t kRichTextFormatName[] = u"Rich Text Format";

QStringList& RegisteredFormats() {
  static QStringList formats;
  return formats;
}

// The MIME types a format is offered under, the first one preferred when reading.
QStringList MimeTypesOf(uint32_t format) {
  if (format < 0xC000) return {};
  const QStringList& formats = RegisteredFormats();
  const qsizetype index = qsizetype(format - 0xC000);
  if (index >= formats.size()) return {};
  if (formats[index] == QString::fromUtf16(kRichTextFormatName))
    return {QStringLiteral("text/rtf"), QStringLiteral("text/richtext"), QStringLiteral("application/rtf")};
  return {QStringLiteral("application/x-solmar-format-") + QString::number(format)};
}

struct ClipboardAccess {
  bool open = false;
  bool emptied = false;
  std::unique_ptr<QMimeData> offer;
  std::map<uint32_t, QByteArray> reads;  // copies handed out until the clipboard is closed
};

ClipboardAccess& Access() {
  static ClipboardAccess access;
  return access;
}

// None without a GUI application (command-line modes have none).
QClipboard* Clipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

namespace platform {

// Registered formats are numbered from 0xC000 in the order first asked for, as on the
// handheld; a name asked for again gets its number again.
uint32_t RegisterClipboardFormat(const char16_t* name) {
  if (!name || !*name) return 0;
  QStringList& formats = RegisteredFormats();
  const QString text = QString::fromUtf16(name);
  qsizetype index = formats.indexOf(text);
  if (index < 0) {
    formats.append(text);
    index = formats.size() - 1;
  }
  return uint32_t(0xC000 + index);
}

bool OpenClipboard() {
  ClipboardAccess& a = Access();
  if (a.open || !Clipboard()) return false;
  a.open = true;
  a.emptied = false;
  a.offer.reset();
  a.reads.clear();
  return true;
}

bool EmptyClipboard() {
  ClipboardAccess& a = Access();
  if (!a.open) return false;
  a.emptied = true;
  a.offer = std::make_unique<QMimeData>();
  return true;
}

const uint8_t* GetClipboardData(uint32_t format, size_t* size) {
  *size = 0;
  ClipboardAccess& a = Access();
  if (!a.open || a.emptied) return nullptr;
  const QMimeData* data = Clipboard()->mimeData(QClipboard::Clipboard);
  if (!data) return nullptr;
  QByteArray bytes;
  if (format == kClipboardUnicodeText) {
    if (!data->hasText()) return nullptr;
    const QString text = data->text();
    bytes = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    bytes.append(2, '\0');
  } else {
    bool found = false;
    for (const QString& type : MimeTypesOf(format)) {
      if (data->hasFormat(type)) {
        bytes = data->data(type);
        found = true;
        break;
      }
    }
    if (!found) return nullptr;
  }
  QByteArray& kept = a.reads[format];
  kept = bytes;
  *size = size_t(kept.size());
  return reinterpret_cast<const uint8_t*>(kept.constData());
}

void* AllocClipboardBlock(size_t bytes) { return std::malloc(bytes ? bytes : 1); }

void FreeClipboardBlock(void* block) { std::free(block); }

bool SetClipboardData(uint32_t format, void* block, size_t bytes) {
  ClipboardAccess& a = Access();
  const QByteArray data(static_cast<const char*>(block), qsizetype(bytes));
  std::free(block);
  if (!a.open || !a.emptied) return false;
  if (format == kClipboardUnicodeText) {
    // The text ends at its first 0 unit.
    const auto* units = reinterpret_cast<const char16_t*>(data.constData());
    qsizetype length = 0;
    while (length < data.size() / 2 && units[length] != 0) ++length;
    a.offer->setText(QString::fromUtf16(units, length));
    return true;
  }
  const QStringList types = MimeTypesOf(format);
  if (types.isEmpty()) return false;
  // Other formats end at their first 0 byte, which desktop readers do not expect.
  const qsizetype end = data.indexOf('\0');
  const QByteArray offered = end < 0 ? data : data.left(end);
  for (const QString& type : types) a.offer->setData(type, offered);
  return true;
}

void CloseClipboard() {
  ClipboardAccess& a = Access();
  if (!a.open) return;
  if (a.emptied) {
    if (a.offer->formats().isEmpty())
      Clipboard()->clear(QClipboard::Clipboard);
    else
      Clipboard()->setMimeData(a.offer.release(), QClipboard::Clipboard);
  }
  a = ClipboardAccess{};
}

}  // namespace platform
