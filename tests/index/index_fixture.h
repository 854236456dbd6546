// Shared set-up of the index tests: IndexStreams built record by record (text given in
// reading order and stored reversed, as the book stores it), a fake drawing context and a
// font of size 20, so plain text is 20 pixels high and every character 10 pixels wide.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "index/index_view.h"
#include "platform/fake/fake_platform.h"
#include "shell/bookmarks.h"
#include "shell/shell_state.h"

class IndexStreamBuilder {
 public:
  IndexStreamBuilder& Add(uint16_t key, uint8_t flags, uint8_t param, const std::string& reading) {
    bytes_.push_back(uint8_t(key & 0xFF));
    bytes_.push_back(uint8_t(key >> 8));
    bytes_.push_back(flags);
    bytes_.push_back(param);
    bytes_.insert(bytes_.end(), reading.rbegin(), reading.rend());
    bytes_.push_back(0);
    return *this;
  }
  // The records and the five-byte end record.
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> all = bytes_;
    all.insert(all.end(), 5, 0);
    return all;
  }
  // A heap block of Bytes(), which a view or a join then owns.
  uint8_t* Build(uint32_t* length) const { return Block(Bytes(), length); }
  static uint8_t* Block(const std::vector<uint8_t>& bytes, uint32_t* length) {
    auto* block = static_cast<uint8_t*>(platform::Alloc(bytes.size()));
    std::memcpy(block, bytes.data(), bytes.size());
    *length = uint32_t(bytes.size());
    return block;
  }

 private:
  std::vector<uint8_t> bytes_;
};

inline std::vector<uint8_t> ReadBookPack() {
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class IndexTest : public ::testing::Test {
 protected:
  static constexpr int32_t kSize = 20;
  static constexpr int32_t kUnit = 10;

  void SetUp() override {
    fake::ResetAll();
    ResetConversionBuffer();
    ResetShellState();
    ResetBookmarks();
    dc_ = fake::CreateDc();
    fontSpec_ = FontSpec{};
    fontSpec_.size = kSize;
    fontSpec_.fontAsciiBase = 97;
    for (int i = 0; i < 3; ++i) gIndexBitmaps.bitmaps[i] = platform::LoadBitmap(201 + uint32_t(i));
  }
  void TearDown() override {
    IndexViewDestroy(view_, true);
    view_ = nullptr;
    FreeBookmarks();
    for (platform::Bitmap*& bitmap : gIndexBitmaps.bitmaps) {
      platform::DeleteBitmap(bitmap);
      bitmap = nullptr;
    }
    fake::DeleteDc(dc_);
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "heap blocks leaked";
    EXPECT_EQ(fake::LiveFonts(), 0) << "fonts leaked";
    EXPECT_EQ(fake::LiveLoadedBitmaps(), 0) << "bitmaps leaked";
  }

  IndexView* MakeView(int32_t width, int32_t height, int32_t x = 0, int32_t y = 0) {
    view_ = IndexViewCreate(dc_, platform::Rect{x, y, x + width, y + height}, fontSpec_, 100);
    return view_;
  }
  int32_t LayOut(const IndexStreamBuilder& stream) {
    uint32_t length = 0;
    uint8_t* block = stream.Build(&length);
    const int32_t result = IndexViewLayOut(view_, block, length, true);
    if (view_->text != block) platform::Free(block);
    return result;
  }
  std::vector<IndexLine> Lines() const {
    std::vector<IndexLine> lines;
    for (const IndexLine* l = view_->lines; !IndexLineIsEnd(*l); ++l) lines.push_back(*l);
    return lines;
  }
  // The stored bytes a line shows, in stored (left-to-right) order.
  std::string Stored(const IndexLine& line) const {
    return std::string(reinterpret_cast<const char*>(view_->text) + line.offset, line.length);
  }
  std::vector<bool> Visible() const {
    std::vector<bool> v;
    for (const IndexLine& l : Lines()) v.push_back(l.flags & 0x80);
    return v;
  }
  static std::string Utf8(const std::u16string& s) { return std::string(s.begin(), s.end()); }
  // Drawn text, as the display units read left to right.
  static std::vector<std::string> DrawnTexts() {
    std::vector<std::string> texts;
    for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText)) texts.push_back(Utf8(c.text));
    return texts;
  }
  // Sets the bookmark list (a heap block, freed by FreeBookmarks).
  static void SetBookmarks(const std::vector<uint16_t>& articles) {
    FreeBookmarks();
    auto* entries = static_cast<uint16_t*>(platform::Alloc((articles.size() + 1) * sizeof(uint16_t)));
    for (size_t i = 0; i < articles.size(); ++i) entries[i] = articles[i];
    entries[articles.size()] = 0;
    gBookmarks.entries = entries;
    gBookmarks.count = uint16_t(articles.size());
  }

  platform::Dc* dc_ = nullptr;
  FontSpec fontSpec_{};
  IndexView* view_ = nullptr;
};
