// The reader's settings load and save on the Qt store, over settings files that no run of
// the reader wrote: empty, cut short anywhere, binary garbage, values of the wrong kind,
// huge values, duplicate and unknown keys. The reader must start with the documented
// defaults for what it cannot read, keep what it does not know, and write a whole file.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/qt_config_home.h"
#include "shell/bookmarks.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace {

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtConfigHomeEnvironment<QGuiApplication>("qt_settings_file_tests"));
const QString& gConfigHome = test_support::ConfigHome();

QString ProductFile() { return gConfigHome + QStringLiteral("/Orvanel/Solmar.conf"); }
QString DeviceFile() { return gConfigHome + QStringLiteral("/Orvanel.conf"); }

// Puts bytes in place of a settings file. Each file gets a modification time of its own, so
// QSettings reads it again instead of answering from what it parsed before.
void PutFile(const QString& path, const QByteArray& bytes) {
  static int serial = 0;
  QDir().mkpath(QFileInfo(path).path());
  QFile::remove(path + QStringLiteral(".lock"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)).addSecs(++serial),
                               QFileDevice::FileModificationTime));
  file.close();
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the reader holds after its start-up load.
struct Loaded {
  bool loaded;
  std::u16string face;
  int32_t size;
  int32_t base;
  uint16_t lastPosition;
  uint32_t flags;
  uint16_t lesson;
  std::string search;
  int32_t bottomSection;
  uint16_t bottomSectionLastPosition;
  std::vector<uint16_t> bookmarks;
  int32_t fullScreen;
  int32_t gutter;
};

Loaded StartUp() {
  ResetReaderSettings();
  ResetShellState();
  ResetBookmarks();
  ResetSettingsState();
  LoadDeviceOptions();
  Loaded l{};
  l.loaded = LoadSettings();
  SelectArticle(0);
  const ReaderSettings& s = gReaderSettings;
  l.face = s.fontSpec.faceName;
  l.size = s.fontSpec.size;
  l.base = s.fontSpec.fontAsciiBase;
  l.lastPosition = s.lastPosition;
  l.flags = s.flags;
  l.lesson = s.lesson;
  l.search = reinterpret_cast<const char*>(s.searchString);
  l.bottomSection = s.bottomSection;
  l.bottomSectionLastPosition = s.bottomSectionLastPosition;
  for (uint16_t i = 0; gBookmarks.entries && i < gBookmarks.count; ++i) l.bookmarks.push_back(gBookmarks.entries[i]);
  l.fullScreen = gDeviceOptions.fullScreen;
  l.gutter = gDeviceOptions.surroundingGutter;
  return l;
}

// The state of a first start: what every value falls back to.
Loaded Defaults() {
  Loaded d{};
  d.loaded = true;
  d.base = 1488;
  d.flags = kDefaultFlags;
  d.lesson = 1;
  d.bottomSection = 12;
  return d;
}

void ExpectLoaded(const Loaded& got, const Loaded& want, const std::string& what) {
  EXPECT_EQ(got.loaded, want.loaded) << what;
  EXPECT_TRUE(got.face == want.face) << what << ": face";
  EXPECT_EQ(got.size, want.size) << what << ": size";
  EXPECT_EQ(got.base, want.base) << what << ": letter base";
  EXPECT_EQ(got.lastPosition, want.lastPosition) << what << ": LastPosition";
  EXPECT_EQ(got.flags, want.flags) << what << ": Flags";
  EXPECT_EQ(got.lesson, want.lesson) << what << ": Lesson";
  EXPECT_EQ(got.search, want.search) << what << ": SearchString";
  EXPECT_EQ(got.bottomSection, want.bottomSection) << what << ": BottomSection";
  EXPECT_EQ(got.bottomSectionLastPosition, want.bottomSectionLastPosition) << what << ": BottomSectionLastPosition";
  EXPECT_EQ(got.bookmarks, want.bookmarks) << what << ": Bookmarks";
  EXPECT_EQ(got.fullScreen, want.fullScreen) << what << ": FullScreen";
  EXPECT_EQ(got.gutter, want.gutter) << what << ": SurroundingGutter";
}

class QtSettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(ProductFile());
    QFile::remove(DeviceFile());
  }
  void TearDown() override {
    // Releases the index pictures and the bookmark list; writes the file.
    SaveSettingsAndQuit();
  }
};

TEST_F(QtSettingsFileTest, FilesTheReaderCannotReadGiveTheDefaults) {
  struct Case {
    const char* what;
    QByteArray product;
    QByteArray device;
    std::function<void(Loaded&)> expect;  // changes to the defaults
  };
  const Case cases[] = {
      {"empty files", "", "", [](Loaded&) {}},
      {"a section and nothing else", "[General]\n", "[General]", [](Loaded&) {}},
      {"binary garbage",
       QByteArray("\x00\xff\xfe[\x01=\x02\n\x80\x81=\xc3(\n[[[\n==\n\\\\\\\n\"\"\"=\"\n\xef\xbb\xbf", 34),
       QByteArray("\x00\x00\x00\x00\xde\xad\xbe\xef", 8), [](Loaded&) {}},
      {"numbers cut short",
       "[General]\nFlags=dword:d114\nLesson=dword:\nBottomSection=dword:0000000\nFontSize=dword", "FullScreen=dword:1",
       [](Loaded&) {}},
      {"numbers with other characters",
       "Flags=dword:0x000001\nLesson=dword:-0000007\nFontAsciiBase=dword:0000006g\nBottomSection=dword: 0000017",
       "SurroundingGutter=dword:+0000001", [](Loaded&) {}},
      {"a number of five bytes or of two", "Flags=hex(4):01,02,03,04,05\nLesson=hex(4):07,00", "", [](Loaded&) {}},
      {"hex with odd digits or other characters",
       "Bookmarks=hex:0,05,00\nSearchString=hex:4g,00\nFontName=hex(1):41,00,4\nLesson=hex(zz):07,00,00,00",
       "", [](Loaded&) {}},
      {"hex cut after a comma", "Bookmarks=hex:05,00,07,00,\nSearchString=hex:41,42,", "", [](Loaded&) {}},
      {"a string where a number is expected: decimal text, no unit rejected",
       "Flags=sz:12\nFontSize=sz:1a\nBottomSection=sz:\nLesson=sz:abc", "FullScreen=sz:yes",
       [](Loaded& d) {
         d.flags = 12;
         d.size = 59;
         d.bottomSection = 0;
         d.lesson = 285;  // 5451 names no page
         d.fullScreen = ('y' - '0') * 100 + ('e' - '0') * 10 + ('s' - '0');
       }},
      {"a number where a string is expected",
       "FontName=dword:00410041\nSearchString=dword:00004241", "", [](Loaded& d) {
         d.face = u"AA";
         d.search = "AB";
       }},
      {"duplicate keys: one of them", "Lesson=dword:00000005\nLesson=dword:00000007\n[General]\nLesson=dword:00000007",
       "", [](Loaded& d) { d.lesson = 7; }},
      {"keys with no value", "Lesson\nFlags=\nFontSize=\"\"", "FullScreen=", [](Loaded&) {}},
      {"a kind cut short", "Flags=dwo\nFontSize=dword\nLesson=s\nBookmarks=hex(", "FullScreen=he", [](Loaded&) {}},
  };
  for (const Case& c : cases) {
    PutFile(ProductFile(), c.product);
    PutFile(DeviceFile(), c.device);
    const Loaded got = StartUp();
    Loaded want = Defaults();
    c.expect(want);
    ExpectLoaded(got, want, c.what);
    SaveSettingsAndQuit();
  }
}

// Huge values: a 1 MB face name, search string, number text and bookmark list. (Apart from
// the other files because the sanitizer run leaves it out: under AddressSanitizer, QSettings
// writing back a file of megabytes takes many minutes.)
TEST_F(QtSettingsFileTest, HugeValuesAreCutToTheirFields) {
  const QByteArray megabyte(1 << 20, 'x');
  PutFile(ProductFile(), "FontName=sz:" + megabyte + "\nSearchString=hex:" + QByteArray("41,").repeated(1 << 18) +
                             "00\nLesson=" + QByteArray(1 << 20, '9') + "\nBookmarks=hex:" +
                             QByteArray("07,00,").repeated(1 << 18) + "00,00");
  PutFile(DeviceFile(), "");
  const Loaded got = StartUp();
  Loaded want = Defaults();
  want.face = std::u16string(31, u'x');
  want.search = std::string(33, 'A');
  // 2^18 + 1 entries: the count wraps at 16 bits to 1, the terminator's: no entry.
  want.bookmarks = {};
  // 1 MB of '9': value * 10 + 9 wrapping at 32 bits, kept to 16, then the page rule.
  uint32_t v = 0;
  for (int i = 0; i < (1 << 20); ++i) v = v * 10u + 9u;
  const uint16_t n = uint16_t(v);
  want.lesson = n == 0 ? 1 : n > 285 ? 285 : n % 2 ? n : uint16_t(n - 1);
  ExpectLoaded(got, want, "huge values");
}

// A file cut short at any byte: each value is what the whole file holds or its default
// (or, for text, a beginning of it), never a mixture that names something else; and the
// next save writes a whole file again.
TEST_F(QtSettingsFileTest, AFileCutAnywhereLoadsWholeValuesOrDefaults) {
  PutFile(ProductFile(), "");
  (void)StartUp();
  std::memcpy(gReaderSettings.fontSpec.faceName, u"Frank Ruehl CLM", sizeof(u"Frank Ruehl CLM"));
  gReaderSettings.fontSpec.size = 27;
  gReaderSettings.fontSpec.fontAsciiBase = 224;
  gReaderSettings.flags = 0x82400080;
  gReaderSettings.lesson = 41;
  std::strcpy(reinterpret_cast<char*>(gReaderSettings.searchString), "abc*d");
  gReaderSettings.bottomSection = 23;
  ToggleBookmark(false);
  gReaderSettings.lesson = 43;
  ToggleBookmark(false);
  SaveSettingsAndQuit();
  const QByteArray whole = FileBytes(ProductFile());
  ASSERT_TRUE(whole.contains("Lesson=dword:0000002b")) << whole.constData();
  const Loaded full = StartUp();
  SaveSettingsAndQuit();
  ASSERT_EQ(full.lesson, 43);
  ASSERT_EQ(full.bookmarks, (std::vector<uint16_t>{41, 43}));

  const Loaded defaults = Defaults();
  auto isPrefix = [](const auto& part, const auto& all) {
    return part.size() <= all.size() && std::equal(part.begin(), part.end(), all.begin());
  };
  // Every other byte (each write of the store waits for the disk); every tenth cut is also
  // saved and loaded again.
  for (qsizetype cut = 0; cut < whole.size(); cut += 2) {
    const std::string at = "cut at " + std::to_string(cut);
    PutFile(ProductFile(), whole.left(cut));
    const Loaded got = StartUp();
    EXPECT_TRUE(got.loaded) << at;
    EXPECT_TRUE(got.flags == full.flags || got.flags == defaults.flags) << at;
    EXPECT_TRUE(got.size == full.size || got.size == defaults.size) << at;
    EXPECT_TRUE(got.base == full.base || got.base == defaults.base) << at;
    EXPECT_TRUE(got.lesson == full.lesson || got.lesson == defaults.lesson) << at;
    EXPECT_TRUE(got.bottomSection == full.bottomSection || got.bottomSection == defaults.bottomSection) << at;
    EXPECT_TRUE(isPrefix(got.face, full.face)) << at;
    EXPECT_TRUE(isPrefix(got.search, full.search)) << at;
    EXPECT_TRUE(isPrefix(got.bookmarks, full.bookmarks)) << at;
    if (cut % 20 != 0) {
      // Releases what the load holds without writing: the file stays as cut.
      ResetSettingsState();
      SaveSettingsAndQuit();
      continue;
    }
    SaveSettingsAndQuit();
    // What that save wrote is whole: it loads back as it was loaded.
    const Loaded again = StartUp();
    SaveSettingsAndQuit();
    EXPECT_EQ(again.flags, got.flags) << at;
    EXPECT_EQ(again.lesson, got.lesson) << at;
    EXPECT_EQ(again.bookmarks, got.bookmarks) << at;
  }
}

// A line the INI reader rejects (a section header cut short) must not stop the run's save:
// a reader that could no longer write would lose every later run's changes.
TEST_F(QtSettingsFileTest, ABrokenLineDoesNotStopTheSave) {
  for (const char* broken : {"[Gen", "[General\nLesson=dword:00000007", "Lesson=dword:00000007\n[", "]\n[[\n=\x01"}) {
    PutFile(ProductFile(), QByteArray(broken));
    (void)StartUp();
    gReaderSettings.lesson = 9;
    gReaderSettings.bottomSection = 23;
    SaveSettingsAndQuit();
    const Loaded again = StartUp();
    SaveSettingsAndQuit();
    EXPECT_EQ(again.lesson, 9) << broken;
    EXPECT_EQ(again.bottomSection, 23) << broken;
  }
}

TEST_F(QtSettingsFileTest, UnknownKeysAndGroupsSurviveTheSave) {
  PutFile(ProductFile(),
          "[General]\nLesson=dword:00000009\nColour=sz:blue\nWindow=hex:01,02\n"
          "[Plugins]\nSpell=dword:00000001\n");
  const Loaded got = StartUp();
  EXPECT_EQ(got.lesson, 9);
  gReaderSettings.lesson = 11;
  SaveSettingsAndQuit();
  QSettings stored(ProductFile(), QSettings::IniFormat);
  EXPECT_EQ(stored.value(QStringLiteral("Lesson")).toString(), QStringLiteral("dword:0000000b"));
  EXPECT_EQ(stored.value(QStringLiteral("Colour")).toString(), QStringLiteral("sz:blue"));
  EXPECT_EQ(stored.value(QStringLiteral("Window")).toStringList().join(QLatin1Char(',')), QStringLiteral("hex:01,02"));
  EXPECT_EQ(stored.value(QStringLiteral("Plugins/Spell")).toString(), QStringLiteral("dword:00000001"));
}

// Random bytes as both files, many times: the load never fails or crashes, and the next
// save leaves files that load back to the same values.
TEST_F(QtSettingsFileTest, RandomFilesLoadAndSaveBackWhole) {
  std::mt19937 rng(15);
  static const char* const kPieces[] = {"[General]\n", "Lesson=", "Flags=", "Bookmarks=", "FontName=", "SearchString=",
                                        "dword:", "hex:", "sz:", "hex(4):", ",", "00", "ff", "\n", "=", "\"", "\\",
                                        "[", "]", ";", "#", "BottomSection=", "FullScreen=", "SurroundingGutter="};
  for (int round = 0; round < 100; ++round) {
    QByteArray files[2];
    for (QByteArray& bytes : files) {
      const int n = int(rng() % 40);
      for (int i = 0; i < n; ++i) {
        if (rng() % 3 == 0)
          bytes.append(char(rng()));
        else
          bytes.append(kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])]);
      }
    }
    PutFile(ProductFile(), files[0]);
    PutFile(DeviceFile(), files[1]);
    const Loaded got = StartUp();
    const std::string at = "round " + std::to_string(round);
    EXPECT_TRUE(got.loaded) << at;
    EXPECT_TRUE(got.lesson >= 1 && got.lesson <= 285 && got.lesson % 2 == 1) << at;
    EXPECT_TRUE(got.gutter >= 0 && got.gutter <= 0x3FFF) << at;
    SaveSettingsAndQuit();
    const Loaded again = StartUp();
    SaveSettingsAndQuit();
    EXPECT_EQ(again.lesson, got.lesson) << at;
    EXPECT_EQ(again.flags, got.flags) << at;
    EXPECT_EQ(again.bookmarks, got.bookmarks) << at;
    EXPECT_EQ(again.search, got.search) << at;
  }
  PutFile(ProductFile(), "");
  PutFile(DeviceFile(), "");
}

}  // namespace
