// Shared set-up of the shell tests: a small fake book of 286 articles, a started reader on
// the fake backend, and ways to read what the panes show.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "platform/fake/fake_platform.h"
#include "shell/bookmarks.h"
#include "support/article_resource.h"
#include "shell/alloc_or_abort.h"
#include "shell/command_ids.h"
#include "shell/dialog_setup.h"
#include "shell/menu_marks.h"
#include "shell/navigation.h"
#include "shell/panes.h"
#include "shell/reader_menus.h"
#include "shell/reader_settings.h"
#include "shell/settings.h"
#include "shell/settings_store.h"
#include "shell/shell_state.h"
#include "reader/commands.h"
#include "reader/main_window.h"
#include "reader/menu_tables.h"
#include "reader/pane_input.h"
#include "reader/startup.h"
#include "view/page_view.h"

namespace shell_test {

// An article resource whose tokens are the stream itself, as literals.
inline std::vector<uint8_t> ArticleResource(const std::vector<uint8_t>& stream) {
  return test_support::ArticleResource(test_support::LiteralTokens(stream), uint16_t(stream.size()));
}

// Article n: a first paragraph "n<number>" and then one-word paragraphs, one row each.
inline void AddArticle(int n, int paragraphs) {
  std::vector<uint8_t> stream;
  for (int i = 0; i < paragraphs; ++i) {
    const std::string text = i == 0 ? "n" + std::to_string(n) : "w" + std::to_string(i);
    stream.push_back(0x01);
    stream.push_back(0x00);
    stream.insert(stream.end(), text.begin(), text.end());
    stream.push_back(0);
  }
  stream.push_back(0);
  fake::AddResource(kArticleResourceBase + uint32_t(n), platform::kResourceTypeRawData, ArticleResource(stream));
}

// The pane colours, written out so that a change of the program's constants fails: the
// lower pane's pale background and the red line above it.
constexpr uint32_t kPaleYellow = 0xFFFFEE;
constexpr uint32_t kRed = 0x0000FF;

// Pages have 40 rows, commentaries 20.
constexpr int kPageRows = 40;
constexpr int kCommentaryRows = 20;

inline void AddBook() {
  for (int n = 1; n <= kArticleCount; ++n) AddArticle(n, n % 2 ? kPageRows : kCommentaryRows);
}

// The article a view shows, by its first paragraph; 0 for none.
inline int ArticleIn(const PageView* view) {
  if (!view || !view->text || view->text[2] != 'n') return 0;
  return std::atoi(reinterpret_cast<const char*>(view->text) + 3);
}

inline std::vector<uint8_t> NumberBytes(uint32_t value) {
  std::vector<uint8_t> data(4);
  std::memcpy(data.data(), &value, 4);
  return data;
}

// With the client 240 x 350 and the menu bar (26 pixels) at the bottom, code 12 gives both
// panes 13 rows of 12 pixels: the upper view 227 x 160 at 0, 0, the lower 227 x 161 at
// 0, 163.
class ShellTest : public ::testing::Test {
 protected:
  static constexpr int32_t kClientWidth = 240;
  static constexpr int32_t kClientHeight = 350;
  static constexpr int32_t kRowHeight = 12;

  void SetUp() override {
    fake::ResetAll();
    ResetShellState();
    ResetReaderSettings();
    ResetBookmarks();
    ResetSettingsState();
    ResetConversionBuffer();
    // The reader's start installs its out-of-memory shutdown; tests that start it get it.
    SetOutOfMemoryHandler(nullptr);
    fake::SetDefaultWindowSize(kClientWidth, kClientHeight);
    AddBook();
  }

  void TearDown() override {
    if (window_ && !fake::WindowInfo(window_)->destroyed) platform::DestroyWindow(window_);
    FreeBookmarks();
    for (PageView* view : {gPaneState.upperView, gPaneState.lowerView}) PageViewDestroy(view, true);
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "heap blocks leaked";
    EXPECT_EQ(fake::LiveFonts(), 0) << "fonts leaked";
    EXPECT_EQ(fake::LivePens(), 0) << "pens leaked";
    EXPECT_EQ(fake::LiveBrushes(), 0) << "brushes leaked";
    EXPECT_EQ(fake::LiveLoadedBitmaps(), 0) << "bitmaps leaked";
  }

  void Put(const std::u16string& name, uint32_t value) { fake::PutNumberSetting(kSettingsKeyPath, name, value); }
  void PutDevice(const std::u16string& name, uint32_t value) {
    fake::PutNumberSetting(kDeviceOptionsKeyPath, name, value);
  }
  // A number as the store holds it now; -1 when absent.
  static int64_t Stored(const std::u16string& name) {
    const fake::StoredSetting* v = fake::FindSetting(kSettingsKeyPath, name);
    if (!v || v->data.size() != 4) return -1;
    uint32_t n;
    std::memcpy(&n, v->data.data(), 4);
    return n;
  }
  static int Writes(const std::u16string& name) {
    int count = 0;
    for (const fake::SettingWrite& w : fake::SettingWrites()) count += w.name == name;
    return count;
  }

  // Starts the reader as the program does (device options, settings, window), then gives
  // it the first size and paint messages. A stored FontName keeps the first-start chooser
  // away.
  platform::Window* Start(bool sizeAndPaint = true) {
    LoadDeviceOptions();
    window_ = StartReader(platform::kSwShowNormal, 0);
    if (window_ && sizeAndPaint) {
      Send(platform::kMsgSize, 0, platform::MakeLong(kClientWidth, kClientHeight));
      Send(platform::kMsgPaint, 0, 0);
    }
    return window_;
  }
  intptr_t Send(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return platform::SendMessage(window_, message, wParam, lParam);
  }
  intptr_t Command(uint16_t id) { return Send(platform::kMsgCommand, id, 0); }
  intptr_t Key(uint32_t key) { return Send(platform::kMsgKeyDown, key, 0); }
  void Tap(int32_t x, int32_t y) { Send(platform::kMsgLButtonDown, 0, platform::MakeLong(uint32_t(x), uint32_t(y))); }
  intptr_t Scroll(platform::Window* bar, uint32_t code, int32_t position = 0) {
    return Send(platform::kMsgVScroll, uintptr_t(platform::MakeLong(code, uint32_t(position))), intptr_t(bar));
  }

  PageView* Upper() const { return gPaneState.upperView; }
  PageView* Lower() const { return gPaneState.lowerView; }
  bool Checked(uint16_t command) const {
    for (const fake::FakeMenuItem& item : fake::MenuItems(ReaderMenu()))
      if (item.command == command) return item.mark.checked;
    return false;
  }
  // The lower-pane size item with the radio mark; 0 when none.
  // The one item of the lower-pane size menu with a radio mark; 0 when there is none, and
  // also when there are several.
  uint16_t RadioChecked() const {
    uint16_t found = 0;
    int marks = 0;
    for (const fake::FakeMenuItem& item : fake::MenuItems(LowerPaneSizeMenu())) {
      if (!item.mark.checked || item.command < kCmdLowerPaneFirst || item.command > kCmdLowerPaneLast) continue;
      ++marks;
      if (item.mark.radio) found = item.command;
    }
    return marks == 1 ? found : 0;
  }
  // White fills over the upper view's rectangle and pale rectangles (lower background) drawn
  // since the last ClearDrawCalls.
  int UpperErases() const {
    int count = 0;
    for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kFill))
      count += c.stockBrush == platform::kStockWhiteBrush && c.rect.left == Upper()->x && c.rect.top == Upper()->y &&
               c.rect.right == Upper()->x + Upper()->width;
    return count;
  }
  int LowerBackgrounds() const {
    int count = 0;
    for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kRectangle))
      count += c.hasBrush && c.brushColour == kPaleYellow && c.penColour == kPaleYellow;
    return count;
  }
  // Text rows drawn inside a view since the last ClearDrawCalls.
  int TextDrawnIn(const PageView* view) const {
    int count = 0;
    for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText))
      count += c.rect.top >= view->y && c.rect.top < view->y + view->height;
    return count;
  }

  platform::Window* window_ = nullptr;
};

}  // namespace shell_test
