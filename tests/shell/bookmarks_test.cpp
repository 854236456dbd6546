// Bookmarks: loading (malformed stored values included), saving, adding, removing and the
// toggle with its removal question.
#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_platform.h"
#include "shell/bookmarks.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"

#include "settings_fixture.h"

namespace {

using settings_test::Entries;

const std::u16string kProduct = kSettingsKeyPath;

class BookmarksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_test::ResetSettingsWorld();
  }
  void TearDown() override {
    FreeBookmarks();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "a block leaked";
  }

  // The list as the rest of the reader sees it: up to the terminator, which must sit at
  // count.
  static std::vector<uint16_t> List() {
    if (!gBookmarks.entries) return {};
    std::vector<uint16_t> list(gBookmarks.entries, gBookmarks.entries + gBookmarks.count);
    EXPECT_EQ(gBookmarks.entries[gBookmarks.count], 0) << "terminator missing";
    return list;
  }

  static void LoadFrom(std::vector<uint8_t> stored) {
    fake::PutBytesSetting(kProduct, u"Bookmarks", std::move(stored));
    LoadBookmarks();
  }

  static std::vector<uint8_t> Saved() {
    const fake::StoredSetting* v = fake::FindSetting(kProduct, u"Bookmarks");
    EXPECT_NE(v, nullptr);
    EXPECT_EQ(v ? v->type : 0, platform::kSettingBinary);
    return v ? v->data : std::vector<uint8_t>{};
  }

  static void Toggle(uint16_t article) {
    gReaderSettings.lesson = article;
    ToggleBookmark(IsBookmarked());
  }
};

TEST_F(BookmarksTest, LoadTakesTheStoredListInOrderAndReplacesAnEarlierOne) {
  LoadBookmarks();
  EXPECT_EQ(gBookmarks.entries, nullptr) << "no value, no list";
  gReaderSettings.lesson = 7;
  EXPECT_FALSE(IsBookmarked());

  LoadFrom(Entries({3, 0}));
  LoadFrom(Entries({31, 7, 101, 0}));
  EXPECT_EQ(List(), (std::vector<uint16_t>{31, 7, 101}));
  EXPECT_EQ(fake::LiveBlocks(), 1) << "the first list was freed";
  EXPECT_TRUE(IsBookmarked());
  gReaderSettings.lesson = 9;
  EXPECT_FALSE(IsBookmarked());
}

// Stored data is not trusted: whatever it holds, the terminator sits at count, so no
// scan or walk runs past the array.
TEST_F(BookmarksTest, MalformedStoredValuesStayInsideTheArray) {
  LoadFrom(Entries({5, 9}));  // no terminator: the last entry is taken as one
  EXPECT_EQ(List(), std::vector<uint16_t>{5});
  gReaderSettings.lesson = 9;
  EXPECT_FALSE(IsBookmarked());

  std::vector<uint8_t> odd = Entries({5, 9, 0});
  odd.push_back(0x33);  // the odd last byte is dropped
  LoadFrom(odd);
  EXPECT_EQ(List(), (std::vector<uint16_t>{5, 9}));

  LoadFrom(Entries({5, 0, 9, 0}));  // the list ends at its first 0
  EXPECT_EQ(List(), std::vector<uint16_t>{5});
  gReaderSettings.lesson = 9;
  AddCurrentBookmark();
  EXPECT_EQ(List(), (std::vector<uint16_t>{5, 9})) << "an added bookmark must be visible to the scan";
  EXPECT_TRUE(IsBookmarked());

  LoadFrom({});
  EXPECT_EQ(gBookmarks.entries, nullptr);
  LoadFrom({0x07});
  EXPECT_EQ(gBookmarks.entries, nullptr);
  gReaderSettings.lesson = 7;
  EXPECT_FALSE(IsBookmarked());
  RemoveCurrentBookmark();
  AddCurrentBookmark();
  EXPECT_EQ(List(), std::vector<uint16_t>{7});
}

TEST_F(BookmarksTest, SaveWritesTheListWithItsTerminatorOrOneZeroWithoutAList) {
  SaveBookmarks();
  EXPECT_EQ(Saved(), Entries({0}));
  LoadBookmarks();
  ASSERT_NE(gBookmarks.entries, nullptr);
  EXPECT_EQ(gBookmarks.count, 0);

  LoadFrom(Entries({31, 7, 0}));
  SaveBookmarks();
  EXPECT_EQ(Saved(), Entries({31, 7, 0}));
}

TEST_F(BookmarksTest, AddAppendsOnceAndAFailedAllocationChangesNothing) {
  Toggle(9);
  Toggle(3);
  gReaderSettings.lesson = 9;
  AddCurrentBookmark();
  EXPECT_EQ(List(), (std::vector<uint16_t>{9, 3}));

  gReaderSettings.lesson = 5;
  fake::FailAllocation(1);
  AddCurrentBookmark();
  EXPECT_EQ(List(), (std::vector<uint16_t>{9, 3}));
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_TRUE(fake::QuitRequests().empty());
}

TEST_F(BookmarksTest, RemoveTakesOutEveryCopyAndKeepsTheOrder) {
  LoadFrom(Entries({4, 8, 4, 6, 4, 0}));
  gReaderSettings.lesson = 4;
  RemoveCurrentBookmark();
  EXPECT_EQ(List(), (std::vector<uint16_t>{8, 6}));
  gReaderSettings.lesson = 6;
  RemoveCurrentBookmark();
  gReaderSettings.lesson = 8;
  RemoveCurrentBookmark();
  EXPECT_EQ(List(), std::vector<uint16_t>{});
  ASSERT_NE(gBookmarks.entries, nullptr);
}

TEST_F(BookmarksTest, ToggleAsksBeforeRemovingAndEachAnswerDoesItsPart) {
  gShellWindows.mainWindow = reinterpret_cast<platform::Window*>(0x1234);
  Toggle(11);
  Toggle(13);
  EXPECT_TRUE(fake::MessageBoxes().empty()) << "adding does not ask";

  fake::ScriptMessageBoxAnswers({platform::kIdNo, platform::kIdYes});
  Toggle(11);
  EXPECT_EQ(List(), (std::vector<uint16_t>{11, 13})) << "No keeps the bookmark";
  Toggle(11);
  EXPECT_EQ(List(), std::vector<uint16_t>{13}) << "Yes removes it";
  EXPECT_FALSE(gBookmarks.dontAskOnRemove);

  ASSERT_EQ(fake::MessageBoxes().size(), 2u);
  const fake::RecordedMessageBox& box = fake::MessageBoxes()[0];
  EXPECT_EQ(box.owner, gShellWindows.mainWindow);
  EXPECT_EQ(box.text, u"Remove Bookmark?\n\nCancel - Don't ask again");
  EXPECT_EQ(box.caption, u"Bookmark");
  EXPECT_EQ(box.buttons, platform::kMbYesNoCancel);
}

TEST_F(BookmarksTest, CancelRemovesAndStopsAskingForTheRunOnly) {
  Toggle(11);
  Toggle(13);
  fake::ScriptMessageBoxAnswers({platform::kIdCancel});
  Toggle(11);
  EXPECT_EQ(List(), std::vector<uint16_t>{13});
  EXPECT_TRUE(gBookmarks.dontAskOnRemove);
  Toggle(13);
  EXPECT_EQ(List(), std::vector<uint16_t>{});
  EXPECT_EQ(fake::MessageBoxes().size(), 1u) << "no second question";

  // The flag is not stored: the next run asks again.
  Toggle(17);
  SaveBookmarks();
  FreeBookmarks();
  ResetBookmarks();
  LoadBookmarks();
  fake::ScriptMessageBoxAnswers({platform::kIdNo});
  Toggle(17);
  EXPECT_EQ(fake::MessageBoxes().size(), 2u);
  EXPECT_EQ(List(), std::vector<uint16_t>{17});
}

TEST_F(BookmarksTest, ABookmarkAddedAndRemovedInOneRunLeavesNoTrace) {
  fake::PutBytesSetting(kProduct, u"Bookmarks", Entries({2, 0}));
  LoadSettings();
  Toggle(40);
  fake::ScriptMessageBoxAnswers({platform::kIdYes});
  Toggle(40);
  Toggle(60);
  SaveSettingsAndQuit();
  EXPECT_EQ(Saved(), Entries({2, 60, 0}));
}

}  // namespace
