// The settings store on the fake registry: typed reads and their fallbacks, the start-up
// load, the shutdown save and its order, the current-article rule and the out-of-memory
// stop.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/alloc_or_abort.h"
#include "shell/bookmarks.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "view/page_view.h"

#include "settings_fixture.h"

namespace {

using settings_test::Entries;

const std::u16string kProduct = kSettingsKeyPath;
const std::u16string kDevice = kDeviceOptionsKeyPath;

std::vector<uint8_t> Utf16Bytes(const std::u16string& text, bool terminated) {
  std::vector<uint8_t> bytes(text.size() * 2);
  std::memcpy(bytes.data(), text.data(), bytes.size());
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_test::ResetSettingsWorld();
  }
  void TearDown() override {
    FreeBookmarks();
    for (PageView* view : {gPaneState.upperView, gPaneState.lowerView}) PageViewDestroy(view, true);
    if (dc_) fake::DeleteDc(dc_);
    EXPECT_EQ(fake::OpenSettingsKeys(), 0) << "a key was left open";
    EXPECT_EQ(fake::LiveBlocks(), 0) << "a block leaked";
  }

  // A number as the store holds it now; -1 when absent or not a number.
  static int64_t Stored(const std::u16string& name) {
    const fake::StoredSetting* v = fake::FindSetting(kProduct, name);
    if (!v || v->type != platform::kSettingNumber || v->data.size() != 4) return -1;
    uint32_t n;
    std::memcpy(&n, v->data.data(), 4);
    return n;
  }

  static std::vector<std::u16string> WrittenNames() {
    std::vector<std::u16string> names;
    for (const fake::SettingWrite& w : fake::SettingWrites()) names.push_back(w.name);
    return names;
  }

  PageView* MakeView(uint16_t topRow) {
    if (!dc_) dc_ = fake::CreateDc();
    PageView* view = PageViewCreate(dc_, nullptr, gReaderSettings.fontSpec, 100);
    view->topRow = topRow;
    return view;
  }

  platform::Dc* dc_ = nullptr;
};

// --- Start-up ---------------------------------------------------------------------------

TEST_F(SettingsTest, FirstStartGivesDefaultsAndWritesOnlyTheProgramPath) {
  fake::SetProgramPath(u"/opt/solmar/bin/solmar");
  LoadDeviceOptions();
  LoadSettings();
  SelectArticle(0);

  EXPECT_EQ(gDeviceOptions.ignoreActivate, 0);
  EXPECT_EQ(gDeviceOptions.fullScreen, 0);
  EXPECT_EQ(gDeviceOptions.allowSipInHebrewSearch, 1);
  EXPECT_EQ(gDeviceOptions.menuBarOnBottom, 0);
  EXPECT_EQ(gDeviceOptions.surroundingGutter, 0);

  const ReaderSettings& s = gReaderSettings;
  EXPECT_EQ(s.lesson, 1);
  EXPECT_EQ(s.lastPosition, 0);
  EXPECT_EQ(s.flags, 0xD1140040u);
  EXPECT_EQ(s.fontSpec.fontAsciiBase, 1488);
  EXPECT_EQ(s.fontSpec.size, 0);
  EXPECT_EQ(s.fontSpec.faceName[0], 0) << "an empty face name makes the start-up ask for a font";
  EXPECT_EQ(s.bottomSection, 12);
  EXPECT_EQ(s.bottomSectionLastPosition, 0);
  EXPECT_EQ(s.searchString[0], 0);
  EXPECT_EQ(gBookmarks.entries, nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(fake::BitmapInfo(gIndexBitmaps.bitmaps[i])->id, uint32_t(201 + i));

  ASSERT_EQ(fake::SettingWrites().size(), 1u);
  const fake::SettingWrite& w = fake::SettingWrites()[0];
  EXPECT_EQ(w.key, kProduct);
  EXPECT_EQ(w.name, u"Program Path");
  EXPECT_EQ(w.value.type, platform::kSettingString);
  EXPECT_EQ(w.value.data, Utf16Bytes(u"/opt/solmar/bin/solmar", true));
  EXPECT_FALSE(fake::HasSettingsKey(kDevice)) << "reading must not create the device key";
}

TEST_F(SettingsTest, ProgramPathIsWrittenOnlyWhenKnownAndNew) {
  fake::SetProgramPath(u"");
  LoadSettings();
  EXPECT_TRUE(fake::SettingWrites().empty());
  // The path stored last time: a start writes nothing.
  fake::SetProgramPath(u"/opt/solmar/bin/solmar");
  fake::PutStringSetting(kProduct, u"Program Path", u"/opt/solmar/bin/solmar");
  LoadSettings();
  EXPECT_TRUE(fake::SettingWrites().empty());
  // Another one, or one that only begins the same, is written.
  for (const char16_t* stored : {u"/usr/bin/solmar", u"/opt/solmar/bin/solmar-old", u"/opt/solmar"}) {
    fake::PutStringSetting(kProduct, u"Program Path", stored);
    const size_t before = fake::SettingWrites().size();
    LoadSettings();
    ASSERT_EQ(fake::SettingWrites().size(), before + 1) << std::u16string(stored).size();
    EXPECT_EQ(fake::FindSetting(kProduct, u"Program Path")->data, Utf16Bytes(u"/opt/solmar/bin/solmar", true));
  }
}

TEST_F(SettingsTest, StoredValuesAreLoadedAndSixteenBitFieldsTruncated) {
  fake::PutStringSetting(kProduct, u"FontName", u"Culmus Frank");
  fake::PutBytesSetting(kProduct, u"SearchString", {0x41, 0x42, 0x00});
  fake::PutNumberSetting(kProduct, u"FontSize", 18);
  fake::PutNumberSetting(kProduct, u"FontAsciiBase", 224);
  fake::PutNumberSetting(kProduct, u"LastPosition", 0x10005);
  fake::PutNumberSetting(kProduct, u"Flags", 0x12345678);
  fake::PutNumberSetting(kProduct, u"Lesson", 0x20007);
  fake::PutNumberSetting(kProduct, u"BottomSection", 23);
  fake::PutNumberSetting(kProduct, u"BottomSectionLastPosition", 0x3FFFF);
  fake::PutBytesSetting(kProduct, u"Bookmarks", Entries({31, 7, 0}));
  fake::PutNumberSetting(kDevice, u"FullScreen", 1);
  fake::PutNumberSetting(kDevice, u"SurroundingGutter", uint32_t(-4));
  fake::PutNumberSetting(kProduct, u"MenuBarOnBottom", 1);  // wrong key: not a device option

  LoadDeviceOptions();
  LoadSettings();

  const ReaderSettings& s = gReaderSettings;
  EXPECT_EQ(std::u16string(s.fontSpec.faceName), u"Culmus Frank");
  EXPECT_STREQ(reinterpret_cast<const char*>(s.searchString), "AB");
  EXPECT_EQ(s.fontSpec.size, 18);
  EXPECT_EQ(s.fontSpec.fontAsciiBase, 224);
  EXPECT_EQ(s.lastPosition, 5);
  EXPECT_EQ(s.flags, 0x12345678u);
  EXPECT_EQ(s.lesson, 7);
  EXPECT_EQ(s.bottomSection, 23);
  EXPECT_EQ(s.bottomSectionLastPosition, 0xFFFF);
  ASSERT_EQ(gBookmarks.count, 2);
  EXPECT_EQ(gBookmarks.entries[0], 31);
  EXPECT_EQ(gDeviceOptions.fullScreen, 1);
  EXPECT_EQ(gDeviceOptions.surroundingGutter, 0) << "a negative gutter counts as none";
  EXPECT_EQ(gDeviceOptions.menuBarOnBottom, 0);
}

// Regression: the gutter was used as read, so a negative one moved the panes out of the
// window and one of 2^30 or more overflowed 2 * gutter.
TEST_F(SettingsTest, SurroundingGutterIsKeptFromZeroTo3FFF) {
  const struct {
    uint32_t stored;
    int32_t loaded;
  } cases[] = {{0, 0}, {6, 6}, {0x3FFF, 0x3FFF}, {0x4000, 0x3FFF}, {0x40000000, 0x3FFF}, {0x7FFFFFFF, 0x3FFF},
               {uint32_t(-1), 0}, {0x80000000, 0}};
  for (const auto& c : cases) {
    fake::PutNumberSetting(kDevice, u"SurroundingGutter", c.stored);
    LoadDeviceOptions();
    EXPECT_EQ(gDeviceOptions.surroundingGutter, c.loaded) << "stored " << c.stored;
  }
  // The decimal-text form is limited the same way.
  fake::PutStringSetting(kDevice, u"SurroundingGutter", u"99999999");
  LoadDeviceOptions();
  EXPECT_EQ(gDeviceOptions.surroundingGutter, 0x3FFF);
}

TEST_F(SettingsTest, FontNameIsCutToThirtyOneUnitsAndAnEmptyOneIgnored) {
  const std::u16string longName(40, u'x');
  fake::PutStringSetting(kProduct, u"FontName", longName);
  LoadSettings();
  EXPECT_EQ(std::u16string(gReaderSettings.fontSpec.faceName), longName.substr(0, 31));

  fake::PutStringSetting(kProduct, u"FontName", u"");
  LoadSettings();
  EXPECT_EQ(std::u16string(gReaderSettings.fontSpec.faceName), longName.substr(0, 31));
}

// --- Reads ------------------------------------------------------------------------------

TEST_F(SettingsTest, NumbersAreAlsoReadFromDecimalText) {
  fake::PutStringSetting(kProduct, u"Twelve", u"12");
  fake::PutStringSetting(kProduct, u"OneA", u"1a");  // 1 * 10 + (0x61 - 0x30)
  fake::PutStringSetting(kProduct, u"Empty", u"");
  fake::PutSetting(kProduct, u"Unterminated", platform::kSettingString, Utf16Bytes(u"345", false));
  fake::PutSetting(kProduct, u"StopsAtZero", platform::kSettingString, Utf16Bytes(u"7\u00009", true));
  fake::PutBytesSetting(kProduct, u"BytesAsText", Utf16Bytes(u"21", true));
  fake::PutStringSetting(kProduct, u"Wraps", u"4294967297");  // 2^32 + 1 in 32-bit arithmetic
  fake::PutNumberSetting(kProduct, u"Negative", uint32_t(-3));

  EXPECT_EQ(ReadNumberSetting(u"Twelve", -1), 12);
  EXPECT_EQ(ReadNumberSetting(u"OneA", -1), 59);
  EXPECT_EQ(ReadNumberSetting(u"Empty", -1), 0);
  EXPECT_EQ(ReadNumberSetting(u"Unterminated", -1), 345);
  EXPECT_EQ(ReadNumberSetting(u"StopsAtZero", -1), 7);
  EXPECT_EQ(ReadNumberSetting(u"BytesAsText", -1), 21);
  EXPECT_EQ(ReadNumberSetting(u"Wraps", -1), 1);
  EXPECT_EQ(ReadNumberSetting(u"Negative", 0), -3);
  EXPECT_EQ(ReadNumberSetting(u"Absent", 77), 77);
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(SettingsTest, NumberReadsFallBackToTheDefault) {
  EXPECT_EQ(ReadNumberSetting(u"Flags", 5), 5) << "no key";
  EXPECT_EQ(ReadDeviceOption(u"FullScreen", 6), 6) << "no key";

  fake::PutStringSetting(kProduct, u"Text", u"12");
  fake::PutNumberSetting(kProduct, u"Number", 12);
  fake::FailSettingRead(u"Text");
  fake::FailSettingRead(u"Number");
  EXPECT_EQ(ReadNumberSetting(u"Text", 8), 8) << "the data read failed";
  EXPECT_EQ(ReadNumberSetting(u"Number", 9), 9) << "the data read failed";

  fake::PutNumberSetting(kProduct, u"Other", 12);
  fake::FailSettingsKeyOpen(kProduct);
  EXPECT_EQ(ReadNumberSetting(u"Other", 10), 10);
}

TEST_F(SettingsTest, StringAndBytesReadsTakeAnyKindAndEndAtTheData) {
  fake::PutSetting(kProduct, u"Unterminated", platform::kSettingString, Utf16Bytes(u"abc", false));
  std::vector<uint8_t> odd = Utf16Bytes(u"de", false);
  odd.push_back('f');
  fake::PutSetting(kProduct, u"Odd", platform::kSettingString, odd);
  fake::PutNumberSetting(kProduct, u"Number", 0x00420041);

  char16_t* text = ReadStringSetting(u"Unterminated");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text), u"abc");
  platform::Free(text);
  text = ReadStringSetting(u"Odd");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text), u"de") << "the odd last byte is dropped";
  platform::Free(text);
  text = ReadStringSetting(u"Number");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text), u"AB") << "any kind reads as text";
  platform::Free(text);
  EXPECT_EQ(ReadStringSetting(u"Absent"), nullptr);

  fake::PutBytesSetting(kProduct, u"Empty", {});
  uint32_t length = 99;
  uint8_t* bytes = ReadBytesSetting(u"Odd", &length);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + length), odd);
  platform::Free(bytes);
  EXPECT_EQ(ReadBytesSetting(u"Empty", &length), nullptr);
  EXPECT_EQ(length, 0u);
}

TEST_F(SettingsTest, SearchStringIsCutToTheBufferAndAZeroFirstByteLeavesItAlone) {
  std::vector<uint8_t> forty(40);
  for (size_t i = 0; i < forty.size(); ++i) forty[i] = uint8_t('a' + i % 26);
  fake::PutBytesSetting(kProduct, u"SearchString", forty);
  fake::PutBytesSetting(kProduct, u"ZeroFirst", {0, 'x', 'y', 0});
  fake::PutBytesSetting(kProduct, u"NoZero", {'p', 'q'});

  uint8_t buffer[kSearchStringSize];
  std::memset(buffer, 0xEE, sizeof buffer);
  ReadByteStringSetting(u"SearchString", buffer, kSearchStringSize);
  EXPECT_EQ(std::memcmp(buffer, forty.data(), 33), 0);
  EXPECT_EQ(buffer[33], 0);

  std::memcpy(buffer, "old", 4);
  ReadByteStringSetting(u"ZeroFirst", buffer, kSearchStringSize);
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "old");
  ReadByteStringSetting(u"Absent", buffer, kSearchStringSize);
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "old");
  ReadByteStringSetting(u"NoZero", buffer, kSearchStringSize);
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer), "pq");

  // The start-up load cuts it the same way, into the record's buffer and not past it.
  LoadSettings();
  const uint8_t* loaded = gReaderSettings.searchString;
  EXPECT_EQ(std::memcmp(loaded, forty.data(), 33), 0);
  EXPECT_EQ(loaded[33], 0);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(loaded)), 33u);
}

// --- Writes -----------------------------------------------------------------------------

TEST_F(SettingsTest, WritesStoreTheirKindAndExactLengthOrReportFailure) {
  EXPECT_TRUE(WriteNumberSetting(u"N", -2));
  EXPECT_TRUE(WriteStringSetting(u"S", u"ab"));
  const uint8_t text[] = {'x', 'y', 0, 'z'};
  EXPECT_TRUE(WriteByteStringSetting(u"B", text));
  EXPECT_TRUE(WriteBytesSetting(u"R", text, 4));

  const fake::StoredSetting* n = fake::FindSetting(kProduct, u"N");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->type, platform::kSettingNumber);
  EXPECT_EQ(n->data, (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(fake::FindSetting(kProduct, u"S")->type, platform::kSettingString);
  EXPECT_EQ(fake::FindSetting(kProduct, u"S")->data, Utf16Bytes(u"ab", true));
  EXPECT_EQ(fake::FindSetting(kProduct, u"B")->type, platform::kSettingBinary);
  EXPECT_EQ(fake::FindSetting(kProduct, u"B")->data, (std::vector<uint8_t>{'x', 'y', 0}));
  EXPECT_EQ(fake::FindSetting(kProduct, u"R")->data, (std::vector<uint8_t>{'x', 'y', 0, 'z'}));

  fake::FailSettingWrite(u"N");
  EXPECT_FALSE(WriteNumberSetting(u"N", 1));
  fake::FailSettingsKeyOpen(kProduct);
  EXPECT_FALSE(WriteNumberSetting(u"M", 2));
  EXPECT_EQ(Stored(u"N"), 0xFFFFFFFE) << "the failed write left the stored value";
}

// --- Current article --------------------------------------------------------------------

TEST_F(SettingsTest, SelectArticleResetsThePositionOnlyOnAChange) {
  fake::PutNumberSetting(kProduct, u"Lesson", 0);  // behaves as absent
  fake::PutNumberSetting(kProduct, u"LastPosition", 9);
  LoadSettings();
  SelectArticle(0);
  EXPECT_EQ(gReaderSettings.lesson, 1);
  EXPECT_EQ(gReaderSettings.lastPosition, 0);

  gReaderSettings.lesson = 5;
  gReaderSettings.lastPosition = 9;
  SelectArticle(0);
  EXPECT_EQ(gReaderSettings.lesson, 5);
  EXPECT_EQ(gReaderSettings.lastPosition, 9) << "0 keeps the current article";
  SelectArticle(5);
  EXPECT_EQ(gReaderSettings.lastPosition, 9) << "the current article keeps its position";
  SelectArticle(7);
  EXPECT_EQ(gReaderSettings.lesson, 7);
  EXPECT_EQ(gReaderSettings.lastPosition, 0);
}

// Regression: a stored Lesson naming no page (a commentary, a number past the last page,
// text read as a number) started the reader with "Resource not found" and an empty pane.
// It opens the page at or before it, the last page at most; the reader stores odd ones.
TEST_F(SettingsTest, AStoredLessonOpensThePageAtOrBeforeIt) {
  struct Case {
    const char* what;
    uint32_t type;
    std::vector<uint8_t> data;
    uint16_t lesson;          // after LoadSettings and SelectArticle(0)
    uint16_t lastPosition;    // the stored 4 is kept for the stored page only
  };
  auto number = [](uint32_t n) {
    return std::vector<uint8_t>{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  };
  const Case cases[] = {
      {"1", platform::kSettingNumber, number(1), 1, 4},
      {"2", platform::kSettingNumber, number(2), 1, 0},
      {"7", platform::kSettingNumber, number(7), 7, 4},
      {"284", platform::kSettingNumber, number(284), 283, 0},
      {"285", platform::kSettingNumber, number(285), 285, 4},
      {"286", platform::kSettingNumber, number(286), 285, 0},
      {"287", platform::kSettingNumber, number(287), 285, 0},
      {"-1", platform::kSettingNumber, number(0xFFFFFFFF), 285, 0},
      {"0x20007 (kept to 16 bits)", platform::kSettingNumber, number(0x20007), 7, 4},
      {"0 (as absent)", platform::kSettingNumber, number(0), 1, 0},
      {"text 12", platform::kSettingString, Utf16Bytes(u"12", true), 11, 0},
      {"text abc (5451)", platform::kSettingString, Utf16Bytes(u"abc", true), 285, 0},
  };
  for (const Case& c : cases) {
    settings_test::ResetSettingsWorld();
    fake::PutSetting(kProduct, u"Lesson", c.type, c.data);
    fake::PutNumberSetting(kProduct, u"LastPosition", 4);
    ASSERT_TRUE(LoadSettings());
    SelectArticle(0);
    EXPECT_EQ(gReaderSettings.lesson, c.lesson) << c.what;
    EXPECT_EQ(gReaderSettings.lastPosition, c.lastPosition) << c.what << ": a mended page opens at its top";
    SaveSettingsAndQuit();
    EXPECT_EQ(Stored(u"Lesson"), c.lesson) << c.what << ": the next save stores the page shown";
  }
}

// --- Shutdown ---------------------------------------------------------------------------

// A kill while the reader saves must leave the last run's settings or this run's, whole:
// every value of the save, bookmarks included, goes to the store in one batch.
TEST_F(SettingsTest, TheSaveIsOneBatchOfTheStore) {
  ASSERT_TRUE(LoadSettings());
  ASSERT_EQ(fake::SettingWrites().size(), 1u);
  EXPECT_EQ(fake::SettingWrites()[0].batch, 0) << "Program Path is written at once";
  gReaderSettings.lesson = 3;
  gReaderSettings.searchString[0] = 'a';
  SaveSettingsAndQuit();
  EXPECT_EQ(fake::SettingsBatchesBegun(), 1);
  EXPECT_EQ(fake::SettingsBatchesEnded(), 1);
  ASSERT_GT(fake::SettingWrites().size(), 5u);
  for (size_t i = 1; i < fake::SettingWrites().size(); ++i)
    EXPECT_EQ(fake::SettingWrites()[i].batch, 1) << std::string(fake::SettingWrites()[i].name.begin(),
                                                                 fake::SettingWrites()[i].name.end());
  EXPECT_EQ(fake::SettingWrites().back().name, u"Bookmarks");
  // The window destroyed after an abort saves again: nothing is written, no batch begun.
  const size_t writes = fake::SettingWrites().size();
  SaveSettingsAndQuit();
  EXPECT_EQ(fake::SettingWrites().size(), writes);
  EXPECT_EQ(fake::SettingsBatchesBegun(), 1);
  // The batch is over: a later write is one of its own.
  ASSERT_TRUE(WriteNumberSetting(u"Later", 1));
  EXPECT_EQ(fake::SettingWrites().back().batch, 0);
}

TEST_F(SettingsTest, ARunsChangesRoundTripInWriteOrder) {
  fake::PutStringSetting(kProduct, u"FontName", u"Old Face");
  fake::PutNumberSetting(kProduct, u"Flags", 0x6800F03Fu);  // bits the reader does not know
  fake::PutNumberSetting(kProduct, u"Lesson", 11);
  LoadSettings();
  SelectArticle(0);

  ReaderSettings& s = gReaderSettings;
  std::memcpy(s.fontSpec.faceName, u"New Face", sizeof u"New Face");
  s.fontSpec.size = 16;
  s.fontSpec.fontAsciiBase = 97;
  s.flags ^= kFlagReverse;
  SelectArticle(41);
  std::memcpy(s.searchString, "\x05\x06\x07", 4);
  s.bottomSection = 34;
  gPaneState.upperView = MakeView(12);
  gPaneState.lowerView = MakeView(3);
  gPaneState.activeView = gPaneState.lowerView;
  ToggleBookmark(IsBookmarked());

  SaveSettingsAndQuit();

  const std::vector<std::u16string> expected = {
      u"Program Path", u"SearchString", u"FontName", u"FontSize", u"FontAsciiBase", u"LastPosition",
      u"Flags", u"Lesson", u"BottomSection", u"BottomSectionLastPosition", u"Bookmarks"};
  EXPECT_EQ(WrittenNames(), expected);
  EXPECT_EQ(gPaneState.upperView, nullptr);
  EXPECT_EQ(gPaneState.lowerView, nullptr);
  EXPECT_EQ(gPaneState.activeView, nullptr);
  EXPECT_EQ(gBookmarks.entries, nullptr);
  EXPECT_EQ(fake::LiveLoadedBitmaps(), 0);
  EXPECT_EQ(gIndexBitmaps.bitmaps[0], nullptr);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
  EXPECT_EQ(fake::LiveBlocks(), 0);

  // The next start reads back what the run left, positions as the panes' top rows.
  ResetReaderSettings();
  ResetSettingsState();
  LoadSettings();
  SelectArticle(0);
  EXPECT_EQ(std::u16string(s.fontSpec.faceName), u"New Face");
  EXPECT_EQ(s.fontSpec.size, 16);
  EXPECT_EQ(s.fontSpec.fontAsciiBase, 97);
  EXPECT_EQ(s.flags, 0x6800F03Fu ^ kFlagReverse);
  EXPECT_EQ(s.lesson, 41);
  EXPECT_EQ(s.lastPosition, 12);
  EXPECT_STREQ(reinterpret_cast<const char*>(s.searchString), "\x05\x06\x07");
  EXPECT_EQ(s.bottomSection, 34);
  EXPECT_EQ(s.bottomSectionLastPosition, 3);
  ASSERT_EQ(gBookmarks.count, 1);
  EXPECT_EQ(gBookmarks.entries[0], 41);
}

TEST_F(SettingsTest, EmptyOrZeroValuesAreNotWrittenSoStoredOnesSurvive) {
  fake::PutStringSetting(kProduct, u"FontName", u"Kept");
  fake::PutNumberSetting(kProduct, u"FontSize", 14);
  fake::PutNumberSetting(kProduct, u"FontAsciiBase", 224);
  fake::PutNumberSetting(kProduct, u"Lesson", 9);
  fake::PutNumberSetting(kProduct, u"LastPosition", 6);
  fake::PutNumberSetting(kProduct, u"BottomSectionLastPosition", 4);
  fake::PutBytesSetting(kProduct, u"SearchString", {'s', 0});
  LoadSettings();
  std::memset(&gReaderSettings, 0, sizeof gReaderSettings);  // empty name, size 0, base 0, lesson 0

  SaveSettingsAndQuit();

  EXPECT_EQ(WrittenNames(), (std::vector<std::u16string>{u"Program Path", u"Flags", u"BottomSection", u"Bookmarks"}));
  EXPECT_EQ(fake::FindSetting(kProduct, u"FontName")->data, Utf16Bytes(u"Kept", true));
  EXPECT_EQ(Stored(u"FontSize"), 14);
  EXPECT_EQ(Stored(u"FontAsciiBase"), 224);
  EXPECT_EQ(Stored(u"Lesson"), 9);
  EXPECT_EQ(Stored(u"LastPosition"), 6) << "no upper view: its position is not written";
  EXPECT_EQ(Stored(u"BottomSectionLastPosition"), 4);
  EXPECT_EQ(fake::FindSetting(kProduct, u"SearchString")->data, (std::vector<uint8_t>{'s', 0}));
  EXPECT_EQ(Stored(u"Flags"), 0);
  EXPECT_EQ(Stored(u"BottomSection"), 0);
}

TEST_F(SettingsTest, AFailedWriteDoesNotStopTheOthers) {
  LoadSettings();
  gReaderSettings.lesson = 3;
  fake::FailSettingWrite(u"Flags");
  SaveSettingsAndQuit();
  EXPECT_EQ(Stored(u"Flags"), -1);
  EXPECT_EQ(Stored(u"Lesson"), 3);
  EXPECT_EQ(Stored(u"BottomSection"), 12);
  EXPECT_NE(fake::FindSetting(kProduct, u"Bookmarks"), nullptr);
}

// --- Out of memory ----------------------------------------------------------------------

// The allocator itself saves nothing: what follows the message is the installed handler's.
TEST_F(SettingsTest, AllocOrAbortWithoutAHandlerOnlyTellsTheUser) {
  LoadSettings();
  const size_t writes = fake::SettingWrites().size();
  EXPECT_EQ(SetOutOfMemoryHandler(nullptr), &SaveSettingsAndQuit);
  fake::FailAllocation(1);

  EXPECT_EQ(AllocOrAbort(100), nullptr);

  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::SettingWrites().size(), writes);
  EXPECT_TRUE(fake::QuitRequests().empty());
}

TEST_F(SettingsTest, AllocOrAbortTellsTheUserSavesOnceAndQuits) {
  fake::PutBytesSetting(kProduct, u"Bookmarks", Entries({5, 9, 0}));
  fake::FailBitmapLoad(202);  // a bitmap that did not load is not released
  LoadSettings();
  gReaderSettings.lesson = 17;
  gPaneState.upperView = MakeView(8);
  gPaneState.lowerView = MakeView(2);
  fake::FailAllocation(1);

  EXPECT_EQ(AllocOrAbort(100), nullptr);

  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  const fake::RecordedMessageBox& box = fake::MessageBoxes()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.text, u"There is not enough memory, aborting");
  EXPECT_EQ(box.caption, u"Error");
  EXPECT_EQ(box.icon, platform::kMbIconError);
  EXPECT_EQ(box.buttons, platform::kMbOk);
  EXPECT_EQ(Stored(u"Lesson"), 17);
  EXPECT_EQ(Stored(u"LastPosition"), 8);
  EXPECT_EQ(fake::LiveLoadedBitmaps(), 0);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});

  // The main window is destroyed before the loop ends: the save runs again. Nothing is
  // released twice (the fake heap and pictures abort on a double release) and the first
  // run's values stand, the bookmarks among them.
  const size_t writes = fake::SettingWrites().size();
  SaveSettingsAndQuit();
  EXPECT_EQ(fake::SettingWrites().size(), writes);
  EXPECT_EQ(Stored(u"LastPosition"), 8);
  EXPECT_EQ(fake::FindSetting(kProduct, u"Bookmarks")->data, Entries({5, 9, 0}));
  EXPECT_EQ(fake::QuitRequests(), (std::vector<int>{0, 0}));
}

TEST_F(SettingsTest, AnAbortWhileLoadingOverwritesNothing) {
  fake::PutStringSetting(kProduct, u"FontName", u"Face");
  fake::PutNumberSetting(kProduct, u"Flags", 0x40);
  fake::PutBytesSetting(kProduct, u"Bookmarks", Entries({5, 0}));
  fake::FailAllocation(1);  // the block for FontName

  LoadSettings();
  EXPECT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::QuitRequests(), std::vector<int>{0});
  SaveSettingsAndQuit();  // the window's destruction

  EXPECT_EQ(WrittenNames(), std::vector<std::u16string>{u"Program Path"});
  EXPECT_EQ(Stored(u"Flags"), 0x40);
  EXPECT_EQ(fake::FindSetting(kProduct, u"Bookmarks")->data, Entries({5, 0}));
}

TEST_F(SettingsTest, AnAbortBeforeLoadingOverwritesNothing) {
  fake::PutStringSetting(kDevice, u"FullScreen", u"1");
  fake::PutNumberSetting(kProduct, u"Flags", 0x40);
  fake::FailAllocation(1);  // reading the option's text
  LoadDeviceOptions();
  EXPECT_EQ(gDeviceOptions.fullScreen, 0);
  EXPECT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_TRUE(fake::SettingWrites().empty());
  EXPECT_EQ(Stored(u"Flags"), 0x40);
}

}  // namespace
