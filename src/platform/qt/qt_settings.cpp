// Settings store on QSettings, and the program path.
//
// Key paths map to QSettings files of the current user (native format, no fallbacks):
//   "Software\<Organisation>\<Application>[\<group>...]" -> QSettings(Organisation, Application)
//       e.g. "Software\Orvanel\Solmar" -> $XDG_CONFIG_HOME/Orvanel/Solmar.conf
//   "Software\<Organisation>"            -> QSettings(Organisation), the organisation's own file
//       e.g. "software\Orvanel"        -> $XDG_CONFIG_HOME/Orvanel.conf
// (on Windows these are HKCU\Software\Orvanel\Solmar and ...\Orvanel\OrganizationDefaults).
// A key exists for reading once it holds a value.
//
// INI files keep only text, so every value is stored as text that names its kind, in the
// spirit of .reg files:
//   number (4 bytes)       dword:0000003b
//   string (0-terminated)  sz:text
//   raw bytes              hex:01,00,ff        (hex: when empty)
//   anything else          hex(<kind>):...     (a string without its 0, a number not 4 bytes)
// Text without one of these prefixes (an option typed into the file by hand, FullScreen=1)
// reads as a string, which the reader parses as a decimal number where it wants one. A value
// with a prefix whose data does not decode (a number not of 8 hex digits, hex bytes not in
// pairs or with other characters), an empty value or a prefix cut short ("dwo"), as a file
// cut short or edited leaves them, cannot be read: the reader takes its default, as for a
// missing value.
// QSettings writes the whole file through a temporary file and a rename, so a write
// either lands with every other value kept or not at all. A batch keeps one QSettings per
// key open and writes its file once, at the end: all of the batch's values or none.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {
struct SettingsKey {
  std::unique_ptr<QSettings> owned;  // none for a key of the open batch
  QSettings* settings;
};
}  // namespace platform

namespace {

struct Decoded {
  uint32_t type;
  QByteArray bytes;
  bool readable = true;
};

const QString kNumberPrefix = QStringLiteral("dword:");
const QString kStringPrefix = QStringLiteral("sz:");
const QString kBytesPrefix = QStringLiteral("hex:");
const QString kKindPrefix = QStringLiteral("hex(");

// The settings object of a key path, positioned in its group; none for a path outside
// "Software\<Organisation>".
std::unique_ptr<QSettings> SettingsFor(const char16_t* path) {
  if (!path) return nullptr;
  const QStringList parts = QString::fromUtf16(path).split(QLatin1Char('\\'));
  if (parts.size() < 2 || parts[0].compare(QLatin1String("software"), Qt::CaseInsensitive) != 0) return nullptr;
  for (const QString& part : parts)
    if (part.isEmpty() || part.contains(QLatin1Char('/'))) return nullptr;
  const QString application = parts.size() > 2 ? parts[2] : QString();
  auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, parts[1], application);
  settings->setFallbacksEnabled(false);
  if (parts.size() > 3) settings->beginGroup(parts.mid(3).join(QLatin1Char('/')));
  return settings;
}

// Value names become QSettings keys; separators would make them groups.
bool NameFrom(const char16_t* name, QString* out) {
  if (!name || !*name) return false;
  *out = QString::fromUtf16(name);
  return !out->contains(QLatin1Char('/')) && !out->contains(QLatin1Char('\\'));
}

// A 0-terminated UTF-16 string with no other 0 and no broken surrogate pair survives
// the file as text; anything else is kept as hex.
bool IsPlainString(const uint8_t* data, uint32_t size) {
  if (size < 2 || size % 2 != 0) return false;
  const uint32_t units = size / 2;
  std::u16string text(units, u'\0');
  std::memcpy(text.data(), data, size);
  if (text[units - 1] != 0 || text.find(u'\0') != units - 1) return false;
  return QStringView(text.data(), qsizetype(units - 1)).isValidUtf16();
}

QString Encode(uint32_t type, const uint8_t* data, uint32_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (type == platform::kSettingNumber && size == 4) {
    uint32_t value = 0;
    std::memcpy(&value, data, 4);
    return kNumberPrefix + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0'));
  }
  if (type == platform::kSettingString && IsPlainString(data, size))
    return kStringPrefix + QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), size / 2 - 1);
  const QString hex = QString::fromLatin1(bytes.toHex(','));
  if (type == platform::kSettingBinary) return kBytesPrefix + hex;
  return kKindPrefix + QString::number(type, 16) + QStringLiteral("):") + hex;
}

bool IsHexDigits(QStringView text) {
  for (const QChar c : text)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) return false;
  return !text.isEmpty();
}

// Bytes written as hex:/hex(kind): data, "01,00,ff" (spaces allowed around the commas);
// false for anything else: a digit without its pair, a character that is no hex digit.
bool HexBytes(QStringView text, QByteArray* bytes) {
  bytes->clear();
  const QString trimmed = text.trimmed().toString();
  if (trimmed.isEmpty()) return true;
  for (const QString& part : trimmed.split(QLatin1Char(','))) {
    const QString digits = part.trimmed();
    if (digits.size() != 2 || !IsHexDigits(digits)) return false;
    bytes->append(char(digits.toUInt(nullptr, 16)));
  }
  return true;
}

QByteArray StringBytes(QStringView text) {
  QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  bytes.append(2, '\0');
  return bytes;
}

Decoded Decode(const QVariant& value) {
  const int id = value.metaType().id();
  if (id == QMetaType::QByteArray) return {platform::kSettingBinary, value.toByteArray()};
  if (id == QMetaType::Int || id == QMetaType::UInt || id == QMetaType::LongLong || id == QMetaType::ULongLong) {
    const uint32_t number = uint32_t(value.toLongLong());
    return {platform::kSettingNumber, QByteArray(reinterpret_cast<const char*>(&number), 4)};
  }
  // An unquoted comma in a hand-edited INI value splits it into a list.
  const QString text = id == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
  if (text.startsWith(kNumberPrefix)) {
    // Always written with 8 digits: fewer are a number cut short.
    const QString digits = text.mid(kNumberPrefix.size());
    if (digits.size() != 8 || !IsHexDigits(digits)) return {platform::kSettingNumber, {}, false};
    const uint32_t number = digits.toUInt(nullptr, 16);
    return {platform::kSettingNumber, QByteArray(reinterpret_cast<const char*>(&number), 4)};
  }
  if (text.startsWith(kStringPrefix))
    return {platform::kSettingString, StringBytes(QStringView(text).mid(kStringPrefix.size()))};
  QByteArray bytes;
  if (text.startsWith(kBytesPrefix)) {
    const bool ok = HexBytes(QStringView(text).mid(kBytesPrefix.size()), &bytes);
    return {platform::kSettingBinary, bytes, ok};
  }
  if (text.startsWith(kKindPrefix)) {
    const qsizetype close = text.indexOf(QStringLiteral("):"));
    bool ok = false;
    const uint32_t type = close > 0 ? text.mid(kKindPrefix.size(), close - kKindPrefix.size()).toUInt(&ok, 16) : 0;
    ok = ok && HexBytes(QStringView(text).mid(close + 2), &bytes);
    return {type, bytes, ok};
  }
  // Nothing, or a kind's prefix cut short ("dwo"): what a file cut there leaves.
  for (const QString& prefix : {kNumberPrefix, kStringPrefix, kBytesPrefix, kKindPrefix})
    if (prefix.startsWith(text)) return {platform::kSettingString, {}, false};
  return {platform::kSettingString, StringBytes(text)};
}

// The open batch: its keys' settings by path (the leading "Software" folded), synced and
// closed at its end.
struct SettingsBatch {
  bool open = false;
  std::map<QString, std::unique_ptr<QSettings>> keys;
};

SettingsBatch& Batch() {
  static SettingsBatch batch;
  return batch;
}

QString BatchName(const char16_t* path) {
  const QString text = QString::fromUtf16(path);
  return text.section(QLatin1Char('\\'), 0, 0).toLower() + QLatin1Char('\\') + text.section(QLatin1Char('\\'), 1);
}

}  // namespace

namespace platform {

SettingsKey* OpenSettingsKey(const char16_t* path, bool create) {
  SettingsBatch& batch = Batch();
  if (batch.open && path) {
    std::unique_ptr<QSettings>& held = batch.keys[BatchName(path)];
    if (!held) held = SettingsFor(path);
    if (held && held->status() == QSettings::NoError && (create || !held->allKeys().isEmpty()))
      return new SettingsKey{nullptr, held.get()};
    if (!held) batch.keys.erase(BatchName(path));
    return nullptr;
  }
  std::unique_ptr<QSettings> settings = SettingsFor(path);
  if (!settings || settings->status() != QSettings::NoError) return nullptr;
  if (!create && settings->allKeys().isEmpty()) return nullptr;
  QSettings* raw = settings.get();
  return new SettingsKey{std::move(settings), raw};
}

void CloseSettingsKey(SettingsKey* key) { delete key; }

void BeginSettingsBatch() { Batch().open = true; }

bool EndSettingsBatch() {
  SettingsBatch& batch = Batch();
  bool ok = true;
  for (auto& [name, settings] : batch.keys) {
    settings->sync();
    ok = ok && settings->status() == QSettings::NoError;
  }
  batch.keys.clear();
  batch.open = false;
  return ok;
}

bool ReadSetting(SettingsKey* key, const char16_t* name, uint32_t* type, void* data, uint32_t* size) {
  QString qname;
  if (!key || !size || !NameFrom(name, &qname)) return false;
  const QVariant value = key->settings->value(qname);
  if (!value.isValid()) return false;
  const Decoded decoded = Decode(value);
  if (!decoded.readable) return false;
  const uint32_t capacity = *size;
  *size = uint32_t(decoded.bytes.size());
  if (type) *type = decoded.type;
  if (!data) return true;
  if (*size > capacity) return false;
  if (*size) std::memcpy(data, decoded.bytes.constData(), *size);
  return true;
}

bool WriteSetting(SettingsKey* key, const char16_t* name, uint32_t type, const void* data, uint32_t size) {
  QString qname;
  if (!key || (!data && size) || !NameFrom(name, &qname)) return false;
  static const uint8_t kNoData = 0;
  key->settings->setValue(qname, Encode(type, data ? static_cast<const uint8_t*>(data) : &kNoData, size));
  // A key of the open batch is written when the batch ends.
  if (key->owned) key->settings->sync();
  return key->settings->status() == QSettings::NoError;
}

uint32_t GetProgramPath(char16_t* buffer, uint32_t capacity) {
  if (!buffer || !QCoreApplication::instance()) return 0;
  const QString path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
  if (path.isEmpty() || uint32_t(path.size()) + 1 > capacity) return 0;
  std::memcpy(buffer, path.utf16(), size_t(path.size()) * 2);
  buffer[path.size()] = 0;
  return uint32_t(path.size());
}

}  // namespace platform
