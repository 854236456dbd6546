// The shipped book's verse numbers: each is a right-to-left lead word, stored after its
// row's text. A search hit on one must be brought into view by PageViewScrollToOffset and
// highlighted over the place where paint drew the number.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/streams.h"
#include "support/book_pack.h"
#include "view_fixture.h"

namespace {

class BookLeadWordTest : public ViewTest {
 protected:
  static bool IsHighlight(const fake::DrawCall& c) {
    return c.backgroundMode == platform::kBkOpaque && c.textColour == kHighlightTextColour;
  }
  static bool SameRect(const platform::Rect& a, const platform::Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

TEST_F(BookLeadWordTest, EveryVerseNumberIsScrolledToAndHighlightedWhereItIsDrawn) {
  ASSERT_TRUE(fake::UsePack(test_support::ReadBookPack())) << SOLMAR_BOOK_PACK_FILE;
  // Letters read as themselves, and a Hebrew base with the drawing order turned around.
  const struct {
    int32_t base;
    bool reverse;
  } settings[] = {{97, false}, {1488, true}};
  for (const auto& setting : settings) {
    fontSpec_.fontAsciiBase = setting.base;
    MakeView(480, 400);
    view_->drawReversed = setting.reverse;
    size_t verses = 0;
    for (int article = 1; article <= kArticleCount; article += 2) {
      uint32_t length = 0;
      uint8_t* stream = LoadArticle(article, nullptr, &length);
      ASSERT_NE(stream, nullptr) << article;
      ASSERT_EQ(PageViewLayOut(view_, stream, length + 1, true), kViewOk) << article;
      const uint8_t* text = view_->text;
      uint32_t rowsBefore = 0;
      for (const LineRecord& row : Rows()) {
        const uint32_t rowIndex = rowsBefore;
        rowsBefore += (row.flags & kParaExtraRow) ? 2 : 1;
        if (!row.leadWidth || !(row.flags & kParaRightToLeft)) continue;
        ++verses;
        // The number from the stored text alone: the last word of the record's text.
        uint32_t end = row.offset;
        while (text[end]) ++end;
        while (end > row.offset && text[end - 1] == ' ') --end;
        uint32_t start = end;
        while (start > row.offset && text[start - 1] != ' ') --start;
        ASSERT_LT(start, end) << "article " << article << ", row at " << row.offset;
        const uint16_t top = uint16_t(std::min<uint32_t>(rowIndex, view_->maxTopRow));
        for (uint32_t offset = start; offset < end; ++offset) {
          view_->topRow = 0xFFFF;
          EXPECT_EQ(PageViewScrollToOffset(view_, uint16_t(offset)), 1) << "article " << article << ", offset " << offset;
          EXPECT_EQ(view_->topRow, top) << "article " << article << ", offset " << offset;
        }

        // The hit as the search shows it: scrolled to by its last byte, then highlighted.
        PageViewScrollToOffset(view_, uint16_t(end - 1));
        view_->highlightStart = uint16_t(start);
        view_->highlightEnd = uint16_t(end);
        fake::ClearDrawCalls();
        ASSERT_EQ(PageViewPaint(view_, 1), kViewOk);
        std::vector<fake::DrawCall> marks, drawn;
        for (const fake::DrawCall& c : Texts()) (IsHighlight(c) ? marks : drawn).push_back(c);
        ASSERT_EQ(marks.size(), 1u) << "article " << article << ", number at " << start;
        const bool drawnThere = std::any_of(drawn.begin(), drawn.end(), [&](const fake::DrawCall& c) {
          return c.text == marks[0].text && SameRect(c.rect, marks[0].rect);
        });
        EXPECT_TRUE(drawnThere) << "article " << article << ", number at " << start;
        if (setting.base == 97) {
          // Under this base a letter reads as itself: the highlight shows the number's first
          // characters, as many as its box holds.
          ASSERT_FALSE(marks[0].text.empty());
          EXPECT_EQ(Utf8(marks[0].text), std::string(text + start, text + start + marks[0].text.size()));
        }
        view_->highlightStart = view_->highlightEnd = 0;
        if (HasFailure()) return;
      }
    }
    EXPECT_EQ(verses, 5853u) << "every verse of the five books";
    PageViewDestroy(view_, true);
    view_ = nullptr;
  }
}

}  // namespace
