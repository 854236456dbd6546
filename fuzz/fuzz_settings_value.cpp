// The settings store's value decoder on arbitrary settings files: the input is the text of
// a per-product settings file, as a hand edit, a cut-short write or a hostile file leaves
// it. Every value of it is read through the store as the reader reads it: the size first,
// then into a block of exactly that size (which must give the same kind and size), and into
// one byte less (which must fail). The values that read are written through the store into a
// new file, and a copy of that file must read back as the same kinds and bytes, so the
// encoder and the decoder agree on everything the decoder accepts.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

void Check(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_settings_value: the check at line %d failed\n", line);
  std::abort();
}
#define Require(condition) Check(condition, __LINE__)

QTemporaryDir* gHome = nullptr;

struct KeyCloser {
  void operator()(platform::SettingsKey* key) const { platform::CloseSettingsKey(key); }
};
using Key = std::unique_ptr<platform::SettingsKey, KeyCloser>;

struct Value {
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
};

// The value as the reader reads it; false when it cannot be read.
bool Read(platform::SettingsKey* key, const std::u16string& name, Value* value) {
  uint32_t size = 0;
  uint32_t type = 0;
  if (!platform::ReadSetting(key, name.c_str(), &type, nullptr, &size)) return false;
  Require(size < (1u << 24));
  value->type = 0;
  value->bytes.assign(size, 0);
  uint32_t capacity = size;
  Require(platform::ReadSetting(key, name.c_str(), &value->type, value->bytes.data(), &capacity));
  Require(capacity == size && value->type == type);
  if (size > 0) {
    // A block that is there (even for a capacity of 0: no block asks for the size).
    std::vector<uint8_t> small(size);
    capacity = size - 1;
    Require(!platform::ReadSetting(key, name.c_str(), nullptr, small.data(), &capacity));
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // QSettings takes the folder of the user's files once, at its first use. In memory where
  // there is such a file system: every save syncs its file to the disk.
  const QString shm = QStringLiteral("/dev/shm");
  gHome = QDir(shm).exists() ? new QTemporaryDir(shm + QStringLiteral("/fuzz_settings_value-XXXXXX")) : new QTemporaryDir;
  Require(gHome->isValid());
  qputenv("XDG_CONFIG_HOME", gHome->path().toUtf8());
  QDir(gHome->path()).mkpath(QStringLiteral("Orvanel"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  // A file of its own for every input: QSettings keeps files it has read, and a file with
  // the same name, size and time would not be read again.
  static unsigned serial = 0;
  ++serial;
  const QString name = QStringLiteral("In%1").arg(serial);
  const QString copyName = QStringLiteral("Out%1").arg(serial);
  const QString backName = QStringLiteral("Back%1").arg(serial);
  const QString folder = gHome->path() + QStringLiteral("/Orvanel/");
  {
    QFile file(folder + name + QStringLiteral(".conf"));
    Require(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  const std::u16string path = (QStringLiteral("Software\\Orvanel\\") + name).toStdU16String();
  const std::u16string copyPath = (QStringLiteral("Software\\Orvanel\\") + copyName).toStdU16String();
  const std::u16string backPath = (QStringLiteral("Software\\Orvanel\\") + backName).toStdU16String();
  QStringList names;
  {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvanel"), name);
    names = settings.childKeys();
  }
  std::vector<std::pair<std::u16string, Value>> readable;
  if (Key key{platform::OpenSettingsKey(path.c_str(), false)}) {
    for (const QString& valueName : names) {
      if (readable.size() >= 64) break;
      const std::u16string utf16 = valueName.toStdU16String();
      if (utf16.empty() || utf16.find(u'\0') != std::u16string::npos) continue;
      Value value;
      if (Read(key.get(), utf16, &value)) readable.emplace_back(utf16, std::move(value));
    }
  }
  if (!readable.empty()) {
    // Written through the store, then read from a copy of the file: QSettings keeps the
    // values it wrote, so only a file it has not seen yet is read from its text.
    // In one batch, as the reader saves: one write of the file for all the values.
    platform::BeginSettingsBatch();
    {
      Key copy{platform::OpenSettingsKey(copyPath.c_str(), true)};
      Require(copy != nullptr);
      for (const auto& [valueName, value] : readable)
        Require(platform::WriteSetting(copy.get(), valueName.c_str(), value.type, value.bytes.data(),
                                       uint32_t(value.bytes.size())));
    }
    Require(platform::EndSettingsBatch());
    Require(QFile::copy(folder + copyName + QStringLiteral(".conf"), folder + backName + QStringLiteral(".conf")));
    Key back{platform::OpenSettingsKey(backPath.c_str(), false)};
    Require(back != nullptr);
    for (const auto& [valueName, value] : readable) {
      Value again;
      Require(Read(back.get(), valueName, &again));
      Require(again.type == value.type && again.bytes == value.bytes);
    }
  }
  for (const QString& file : {name, copyName, backName}) QFile::remove(folder + file + QStringLiteral(".conf"));
  return 0;
}
