// The Qt settings store against real QSettings files in a private XDG_CONFIG_HOME: where
// keys live, and that kinds and bytes survive the file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "support/qt_config_home.h"

namespace {

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtConfigHomeEnvironment<QCoreApplication>("qt_settings_tests"));
const QString& gConfigHome = test_support::ConfigHome();

struct Value {
  uint32_t type;
  std::vector<uint8_t> data;
  bool operator==(const Value&) const = default;
};

std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
  std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
  std::memcpy(bytes.data(), text.data(), text.size() * 2);
  return bytes;
}

std::vector<uint8_t> NumberBytes(uint32_t n) {
  std::vector<uint8_t> bytes(4);
  std::memcpy(bytes.data(), &n, 4);
  return bytes;
}

bool Write(const std::u16string& key, const std::u16string& name, const Value& value) {
  platform::SettingsKey* k = platform::OpenSettingsKey(key.c_str(), true);
  if (!k) return false;
  const bool ok = platform::WriteSetting(k, name.c_str(), value.type, value.data.data(), uint32_t(value.data.size()));
  platform::CloseSettingsKey(k);
  return ok;
}

// The value as a reader opening the key afresh sees it; type 0 when it cannot be read.
Value Read(const std::u16string& key, const std::u16string& name) {
  Value value{0, {}};
  platform::SettingsKey* k = platform::OpenSettingsKey(key.c_str(), false);
  if (!k) return value;
  uint32_t type = 0;
  uint32_t size = 0;
  if (platform::ReadSetting(k, name.c_str(), &type, nullptr, &size)) {
    value.data.resize(size);
    if (platform::ReadSetting(k, name.c_str(), &type, value.data.data(), &size)) value.type = type;
  }
  platform::CloseSettingsKey(k);
  return value;
}

QString FileOf(const QString& relative) { return gConfigHome + QLatin1Char('/') + relative; }

// A later run of the program: the file is copied under a name this process never opened,
// so QSettings parses it from disk instead of answering from its in-memory cache.
std::u16string Restarted(const QString& organisation, const QString& application) {
  static int runs = 0;
  const QString copy = QStringLiteral("Run%1").arg(++runs);
  QDir().mkpath(FileOf(copy));
  EXPECT_TRUE(QFile::copy(FileOf(organisation + QLatin1Char('/') + application + QStringLiteral(".conf")),
                          FileOf(copy + QLatin1Char('/') + application + QStringLiteral(".conf"))));
  return (QStringLiteral("Software\\") + copy + QLatin1Char('\\') + application).toStdU16String();
}

TEST(QtSettings, KeysAreTheOrganisationsAndTheProductsFiles) {
  ASSERT_TRUE(Write(u"Software\\Orvanel\\Solmar", u"Lesson", {platform::kSettingNumber, NumberBytes(41)}));
  ASSERT_TRUE(Write(u"software\\Orvanel", u"FullScreen", {platform::kSettingNumber, NumberBytes(1)}));
  EXPECT_TRUE(QFile::exists(FileOf(QStringLiteral("Orvanel/Solmar.conf"))));
  EXPECT_TRUE(QFile::exists(FileOf(QStringLiteral("Orvanel.conf"))));

  EXPECT_EQ(Read(u"SOFTWARE\\Orvanel", u"FullScreen").data, NumberBytes(1));
  EXPECT_EQ(Read(u"Software\\Orvanel\\Solmar", u"FullScreen").type, 0u) << "the product key must not fall back";
  EXPECT_EQ(Read(u"software\\Orvanel", u"Lesson").type, 0u);
}

TEST(QtSettings, KindsAndBytesSurviveARestart) {
  const std::u16string key = u"Software\\Kinds\\Solmar";
  const std::vector<std::pair<std::u16string, Value>> values = {
      {u"Flags", {platform::kSettingNumber, NumberBytes(0xD1140040)}},
      {u"Negative", {platform::kSettingNumber, NumberBytes(uint32_t(-2))}},
      {u"Program Path", {platform::kSettingString, Utf16Bytes(u"/opt/solmar, \"x\"; #1 @2 \\3")}},
      {u"FontName", {platform::kSettingString, Utf16Bytes(u"\u05E9\u05DC\u05D5\u05DD Frank ")}},
      {u"Empty", {platform::kSettingString, Utf16Bytes(u"")}},
      {u"Looks like a number", {platform::kSettingString, Utf16Bytes(u"dword:00000001")}},
      {u"Bookmarks", {platform::kSettingBinary, {0x1F, 0x00, 0x2C, 0x00, 0xFF, 0x0A, 0x00, 0x00}}},
      {u"NoBytes", {platform::kSettingBinary, {}}},
      {u"OddString", {platform::kSettingString, {'a', 0, 'b'}}},
      {u"ShortNumber", {platform::kSettingNumber, {1, 2}}},
      {u"LoneSurrogate", {platform::kSettingString, {0x00, 0xD8, 0x41, 0x00, 0x00, 0x00}}},
  };
  for (const auto& [name, value] : values) ASSERT_TRUE(Write(key, name, value)) << QString::fromStdU16String(name).toStdString();

  const std::u16string later = Restarted(QStringLiteral("Kinds"), QStringLiteral("Solmar"));
  for (const auto& [name, value] : values)
    EXPECT_EQ(Read(later, name), value) << QString::fromStdU16String(name).toStdString();

  QFile file(FileOf(QStringLiteral("Kinds/Solmar.conf")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("Flags=dword:d1140040")) << "numbers stay readable in the file";
}

TEST(QtSettings, AWriteKeepsEveryOtherValue) {
  const std::u16string key = u"Software\\Keep\\Solmar";
  ASSERT_TRUE(Write(key, u"A", {platform::kSettingNumber, NumberBytes(1)}));
  {
    QSettings other(QStringLiteral("Keep"), QStringLiteral("Solmar"));
    other.setValue(QStringLiteral("Foreign"), QStringLiteral("kept"));
  }
  ASSERT_TRUE(Write(key, u"B", {platform::kSettingNumber, NumberBytes(2)}));
  ASSERT_TRUE(Write(key, u"A", {platform::kSettingNumber, NumberBytes(3)}));

  const std::u16string later = Restarted(QStringLiteral("Keep"), QStringLiteral("Solmar"));
  EXPECT_EQ(Read(later, u"A").data, NumberBytes(3));
  EXPECT_EQ(Read(later, u"B").data, NumberBytes(2));
  EXPECT_EQ(Read(later, u"Foreign"), (Value{platform::kSettingString, Utf16Bytes(u"kept")}));
}

TEST(QtSettings, OpeningForReadingNeedsAnExistingKey) {
  EXPECT_EQ(platform::OpenSettingsKey(u"Software\\Absent\\Solmar", false), nullptr);
  platform::SettingsKey* created = platform::OpenSettingsKey(u"Software\\Absent\\Solmar", true);
  ASSERT_NE(created, nullptr);
  platform::CloseSettingsKey(created);

  EXPECT_EQ(platform::OpenSettingsKey(u"Hardware\\Orvanel", true), nullptr);
  EXPECT_EQ(platform::OpenSettingsKey(u"Software", true), nullptr);
  EXPECT_EQ(platform::OpenSettingsKey(u"Software\\\\Solmar", true), nullptr);
}

TEST(QtSettings, HandWrittenOptionsReadAsText) {
  QFile file(FileOf(QStringLiteral("Hand.conf")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[General]\nFullScreen=1\nGutter=1,2\n");
  file.close();

  EXPECT_EQ(Read(u"software\\Hand", u"FullScreen"), (Value{platform::kSettingString, Utf16Bytes(u"1")}));
  EXPECT_EQ(Read(u"software\\Hand", u"Gutter"), (Value{platform::kSettingString, Utf16Bytes(u"1,2")}));
}

// Values as a hand or a cut leaves them: prefixed data that does not decode cannot be read
// (the reader then takes its default); text without a prefix is a string.
TEST(QtSettings, ValuesThatDoNotDecodeCannotBeRead) {
  struct Case {
    const char* line;
    bool readable;
    Value value;
  } const cases[] = {
      {"A=dword:0000002a", true, {platform::kSettingNumber, NumberBytes(42)}},
      {"A=dword:0000002", false, {}},
      {"A=dword:0000002aa", false, {}},
      {"A=dword:0x00002a", false, {}},
      {"A=dword:+000002a", false, {}},
      {"A=dword:zz", false, {}},
      {"A=dword:", false, {}},
      {"A=hex:01,ff", true, {platform::kSettingBinary, {0x01, 0xFF}}},
      {"A=\"hex: 01 , ff \"", true, {platform::kSettingBinary, {0x01, 0xFF}}},
      {"A=hex:", true, {platform::kSettingBinary, {}}},
      {"A=hex:1", false, {}},
      {"A=hex:01,f", false, {}},
      {"A=hex:01,", false, {}},
      {"A=hex:0g", false, {}},
      {"A=hex(4):07,00,00,00", true, {platform::kSettingNumber, NumberBytes(7)}},
      {"A=hex(zz):07", false, {}},
      {"A=hex(4):07,0", false, {}},
      {"A=hex(4", false, {}},
      {"A=sz:", true, {platform::kSettingString, Utf16Bytes(u"")}},
      {"A=dwo", false, {}},
      {"A=", false, {}},
      {"A=12", true, {platform::kSettingString, Utf16Bytes(u"12")}},
      {"A=dword-ish", true, {platform::kSettingString, Utf16Bytes(u"dword-ish")}},
  };
  int run = 0;
  for (const Case& c : cases) {
    const QString organisation = QStringLiteral("Decode%1").arg(++run);
    QDir().mkpath(FileOf(organisation));
    QFile file(FileOf(organisation + QStringLiteral("/Solmar.conf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[General]\nOther=sz:x\n") + c.line + "\n");
    file.close();
    const std::u16string key = (QStringLiteral("Software\\") + organisation + QStringLiteral("\\Solmar")).toStdU16String();
    const Value got = Read(key, u"A");
    if (c.readable)
      EXPECT_EQ(got, c.value) << c.line;
    else
      EXPECT_EQ(got.type, 0u) << c.line << ": read as kind " << got.type;
  }
}

// The writes of a batch land in one write of the file, at its end; until then the file
// holds the values it had, while reads of the batch's key see the new ones.
TEST(QtSettings, ABatchWritesItsFileOnceAtItsEnd) {
  const std::u16string key = u"Software\\Batch\\Solmar";
  ASSERT_TRUE(Write(key, u"A", {platform::kSettingNumber, NumberBytes(1)}));
  const QString path = FileOf(QStringLiteral("Batch/Solmar.conf"));
  QFile before(path);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray old = before.readAll();
  before.close();

  platform::BeginSettingsBatch();
  ASSERT_TRUE(Write(key, u"A", {platform::kSettingNumber, NumberBytes(2)}));
  ASSERT_TRUE(Write(key, u"B", {platform::kSettingBinary, {9}}));
  EXPECT_EQ(Read(key, u"A").data, NumberBytes(2)) << "the batch's key sees its writes";
  QFile during(path);
  ASSERT_TRUE(during.open(QIODevice::ReadOnly));
  EXPECT_EQ(during.readAll(), old) << "nothing is written before the end";
  during.close();
  EXPECT_TRUE(platform::EndSettingsBatch());

  const std::u16string later = Restarted(QStringLiteral("Batch"), QStringLiteral("Solmar"));
  EXPECT_EQ(Read(later, u"A").data, NumberBytes(2));
  EXPECT_EQ(Read(later, u"B").data, std::vector<uint8_t>{9});
  // After the end, a write lands at once again.
  ASSERT_TRUE(Write(key, u"A", {platform::kSettingNumber, NumberBytes(3)}));
  EXPECT_EQ(Read(Restarted(QStringLiteral("Batch"), QStringLiteral("Solmar")), u"A").data, NumberBytes(3));
}

TEST(QtSettings, ABatchThatCannotBeWrittenSaysSo) {
  // A file where the organisation's folder would have to be.
  QFile blocker(FileOf(QStringLiteral("Blocked")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  platform::BeginSettingsBatch();
  platform::SettingsKey* k = platform::OpenSettingsKey(u"Software\\Blocked\\Solmar", true);
  if (k) {
    const uint32_t one = 1;
    platform::WriteSetting(k, u"A", platform::kSettingNumber, &one, 4);
    platform::CloseSettingsKey(k);
  }
  EXPECT_FALSE(platform::EndSettingsBatch());
}

TEST(QtSettings, ReadingIntoASmallBufferFailsAndTellsTheSize) {
  const std::u16string key = u"Software\\Small\\Solmar";
  ASSERT_TRUE(Write(key, u"S", {platform::kSettingBinary, {1, 2, 3, 4, 5}}));
  platform::SettingsKey* k = platform::OpenSettingsKey(key.c_str(), false);
  ASSERT_NE(k, nullptr);
  uint8_t buffer[4];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  EXPECT_FALSE(platform::ReadSetting(k, u"S", &type, buffer, &size));
  EXPECT_EQ(size, 5u);
  size = sizeof buffer;
  EXPECT_FALSE(platform::ReadSetting(k, u"Absent", &type, buffer, &size));
  EXPECT_FALSE(platform::WriteSetting(k, u"a/b", platform::kSettingBinary, buffer, 1)) << "a name is not a path";
  platform::CloseSettingsKey(k);
}

TEST(QtSettings, ProgramPathIsTheRunningFile) {
  char16_t buffer[4096];
  const uint32_t n = platform::GetProgramPath(buffer, 4096);
  const QString expected = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
  ASSERT_GT(n, 0u);
  EXPECT_EQ(QString::fromUtf16(buffer, n), expected);
  EXPECT_EQ(buffer[n], 0);
  EXPECT_EQ(platform::GetProgramPath(buffer, uint32_t(expected.size())), 0u) << "no room for the 0: not cut";
}

}  // namespace
