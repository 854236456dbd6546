// Shared set-up of the page view tests: a fake drawing context, a letter base under which
// letter-code text reads as itself, and streams built record by record.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/letter_code.h"
#include "platform/fake/fake_platform.h"
#include "view/page_view.h"

// Builds a ParagraphStream: records of flags, param and text, then the end byte.
class StreamBuilder {
 public:
  StreamBuilder& Add(uint8_t flags, uint8_t param, const std::string& text) {
    offsets_.push_back(uint16_t(bytes_.size() + 2));
    bytes_.push_back(flags);
    bytes_.push_back(param);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
    return *this;
  }
  // Offset of the text of record i.
  uint16_t TextOffset(size_t i) const { return offsets_.at(i); }
  // The stream as LoadArticle hands it over: a heap block of the bytes, the end byte and a
  // spare byte, which the view then owns.
  uint8_t* Build() const {
    auto* block = static_cast<uint8_t*>(platform::Alloc(bytes_.size() + 2));
    std::memcpy(block, bytes_.data(), bytes_.size());
    block[bytes_.size()] = 0;
    block[bytes_.size() + 1] = 0;
    return block;
  }
  size_t Size() const { return bytes_.size() + 1; }

 private:
  std::vector<uint8_t> bytes_;
  std::vector<uint16_t> offsets_;
};

// Fonts of size 20: text height 20 and every character 10 pixels wide on the fake.
class ViewTest : public ::testing::Test {
 protected:
  static constexpr int32_t kSize = 20;
  static constexpr int32_t kUnit = 10;

  void SetUp() override {
    fake::ResetAll();
    ResetConversionBuffer();
    dc_ = fake::CreateDc();
    fontSpec_ = FontSpec{};
    fontSpec_.size = kSize;
    fontSpec_.fontAsciiBase = 97;
  }
  void TearDown() override {
    PageViewDestroy(view_, true);
    view_ = nullptr;
    fake::DeleteDc(dc_);
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "heap blocks leaked";
    EXPECT_EQ(fake::LiveFonts(), 0) << "fonts leaked";
    EXPECT_EQ(fake::LivePens(), 0) << "pens leaked";
    EXPECT_EQ(fake::LiveBrushes(), 0) << "brushes leaked";
  }

  // A view at x, y of width x height with the usual capacity of 100.
  PageView* MakeView(int32_t width, int32_t height, int32_t x = 0, int32_t y = 0) {
    platform::Rect rect{x, y, x + width, y + height};
    view_ = PageViewCreate(dc_, &rect, fontSpec_, 100);
    return view_;
  }
  int32_t LayOut(const StreamBuilder& stream) { return PageViewLayOut(view_, stream.Build(), true); }

  std::vector<LineRecord> Rows() const {
    std::vector<LineRecord> rows;
    for (const LineRecord* e = view_->lines; !LineRecordIsEnd(*e); ++e) rows.push_back(*e);
    return rows;
  }
  // The stored characters of a row proper.
  std::string RowText(const LineRecord& row) const {
    return std::string(reinterpret_cast<const char*>(view_->text) + row.offset, row.length);
  }
  static std::string Utf8(const std::u16string& s) { return std::string(s.begin(), s.end()); }
  std::vector<fake::DrawCall> Texts() const { return fake::DrawCallsOf(fake::DrawOp::kText); }

  platform::Dc* dc_ = nullptr;
  FontSpec fontSpec_{};
  PageView* view_ = nullptr;
};
