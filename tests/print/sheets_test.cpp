#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "content/streams.h"
#include "print/sheets.h"

namespace {

constexpr uint8_t kPlain = 0x10;            // a right-to-left paragraph's row
constexpr uint8_t kGap = kPlain | kParaExtraRow;
constexpr uint8_t kHeading = kPlain | kParaBold;
constexpr uint8_t kSubtitle = kSubtitleFlags;

std::vector<LineRecord> Rows(std::initializer_list<std::pair<uint8_t, uint16_t>> rows) {
  std::vector<LineRecord> table;
  uint16_t offset = 2;
  for (const auto& [flags, height] : rows) {
    table.push_back(LineRecord{offset, 1, 0, 0, 10, height, flags});
    offset = uint16_t(offset + 3);
  }
  return table;
}

std::vector<LineRecord> Plain(int count, uint16_t height) {
  std::vector<LineRecord> table;
  for (int i = 0; i < count; ++i) table.push_back(LineRecord{uint16_t(2 + 3 * i), 1, 0, 0, 10, height, kPlain});
  return table;
}

SheetRows Of(const std::vector<LineRecord>& table) { return SheetRows{table.data(), uint16_t(table.size())}; }

// table, first entry, end entry, top row, y, height.
struct Expected {
  uint16_t table, first, end, topRow;
  int32_t y, height;
};

void ExpectPlan(const SheetPlan& plan, const std::vector<std::vector<Expected>>& expected) {
  ASSERT_EQ(plan.size(), expected.size());
  for (size_t s = 0; s < plan.size(); ++s) {
    ASSERT_EQ(plan[s].size(), expected[s].size()) << "sheet " << s;
    for (size_t p = 0; p < plan[s].size(); ++p) {
      const SheetPiece& a = plan[s][p];
      const Expected& e = expected[s][p];
      EXPECT_EQ(a.table, e.table) << "sheet " << s << " piece " << p;
      EXPECT_EQ(a.firstEntry, e.first) << "sheet " << s << " piece " << p;
      EXPECT_EQ(a.endEntry, e.end) << "sheet " << s << " piece " << p;
      EXPECT_EQ(a.topRow, e.topRow) << "sheet " << s << " piece " << p;
      EXPECT_EQ(a.y, e.y) << "sheet " << s << " piece " << p;
      EXPECT_EQ(a.height, e.height) << "sheet " << s << " piece " << p;
    }
  }
}

TEST(SheetBreaking, RowsThatFillTheBodyExactlyEndTheSheet) {
  const auto rows = Plain(12, 20);
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10),
             {{{0, 0, 5, 0, 0, 100}}, {{0, 5, 10, 5, 0, 100}}, {{0, 10, 12, 10, 0, 40}}});
}

TEST(SheetBreaking, ARowThatWouldCrossTheBottomGoesToTheNextSheet) {
  const auto rows = Plain(4, 30);
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10), {{{0, 0, 3, 0, 0, 90}}, {{0, 3, 4, 3, 0, 30}}});
}

TEST(SheetBreaking, AnExtraRowStaysWithItsParagraphOrEndsTheSheet) {
  // The first gap fits (rows 0-1 at 0 and 20, the empty row at 40); the second paragraph's
  // last row ends at 100, where its empty row no longer fits.
  const auto rows = Rows({{kPlain, 20}, {kGap, 20}, {kPlain, 20}, {kGap, 20}, {kPlain, 10}, {kPlain, 20}});
  const SheetRows tables[] = {Of(rows)};
  // Rows counted as the view counts them: each extra row is one more row.
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10), {{{0, 0, 4, 0, 0, 100}}, {{0, 4, 6, 6, 0, 30}}});
}

TEST(SheetBreaking, NoSheetBeginsWithAnEmptyRow) {
  // The empty row after the fifth row would be the next sheet's first.
  const auto rows = Rows({{kPlain, 20}, {kPlain, 20}, {kPlain, 20}, {kPlain, 20}, {kGap, 20}, {kPlain, 20}});
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10), {{{0, 0, 5, 0, 0, 100}}, {{0, 5, 6, 6, 0, 20}}});
}

TEST(SheetBreaking, AHeadingGoesToTheNextSheetWithItsFirstRow) {
  const auto rows = Rows({{kPlain, 20}, {kPlain, 20}, {kPlain, 20}, {kPlain, 20}, {kHeading, 20}, {kPlain, 20}});
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10), {{{0, 0, 4, 0, 0, 80}}, {{0, 4, 6, 4, 0, 40}}});
}

TEST(SheetBreaking, TitleSubtitleAndFirstRowStayTogether) {
  // A title and a subtitle (each with its extra row) keep with what follows: with their first
  // row they need 100, which does not fit below the 40 (and the gap) of the first table.
  const auto first = Plain(2, 20);
  const auto second = Rows({{0xDC, 20}, {kSubtitle, 20}, {kPlain, 20}, {kPlain, 20}});
  const SheetRows tables[] = {Of(first), Of(second)};
  ExpectPlan(BreakIntoSheets(tables, 2, 100, 10),
             {{{0, 0, 2, 0, 0, 40}}, {{1, 0, 3, 0, 0, 100}}, {{1, 3, 4, 5, 0, 20}}});
}

TEST(SheetBreaking, HeadingsTooLongToKeepTogetherStillFillSheets) {
  // Seven bold rows and a plain one (160) cannot share a sheet of 100: the first bold rows
  // are placed as plain rows, until the rest of the run (four of them and the plain row)
  // fits on a sheet of its own. No sheet is left empty.
  const auto rows = Rows({{kHeading, 20}, {kHeading, 20}, {kHeading, 20}, {kHeading, 20}, {kHeading, 20},
                          {kHeading, 20}, {kHeading, 20}, {kPlain, 20}});
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10), {{{0, 0, 3, 0, 0, 60}}, {{0, 3, 8, 3, 0, 100}}});
}

TEST(SheetBreaking, ARowHigherThanTheBodyGetsASheetOfItsOwn) {
  const auto rows = Rows({{kPlain, 20}, {kPlain, 150}, {kPlain, 20}});
  const SheetRows tables[] = {Of(rows)};
  ExpectPlan(BreakIntoSheets(tables, 1, 100, 10),
             {{{0, 0, 1, 0, 0, 20}}, {{0, 1, 2, 1, 0, 150}}, {{0, 2, 3, 2, 0, 20}}});
}

TEST(SheetBreaking, TablesFollowEachOtherWithAGapThatNeverOpensASheet) {
  const auto text = Plain(2, 20);
  const auto commentary = Plain(4, 20);
  const auto empty = std::vector<LineRecord>{};
  const SheetRows tables[] = {Of(text), Of(empty), Of(commentary)};
  // 40 of text, a gap of 10, two rows of commentary (to 90); the rest on the next sheet,
  // from its top.
  ExpectPlan(BreakIntoSheets(tables, 3, 100, 10), {{{0, 0, 2, 0, 0, 40}, {2, 0, 2, 0, 50, 40}}, {{2, 2, 4, 2, 0, 40}}});
}

TEST(SheetBreaking, NothingToPlaceGivesNoSheets) {
  const auto empty = std::vector<LineRecord>{};
  const SheetRows tables[] = {Of(empty), SheetRows{nullptr, 3}};
  EXPECT_TRUE(BreakIntoSheets(tables, 2, 100, 10).empty());
  EXPECT_TRUE(BreakIntoSheets(nullptr, 0, 100, 10).empty());
}

// Random tables of rows with random heights and flags, broken into sheets: every row lies
// on exactly one sheet, in order, wholly inside the body (unless it is higher than the body
// and alone), pieces follow one another down the sheet, and the top rows are the rows the
// page view counts.
TEST(SheetBreaking, RandomTablesKeepEveryRowWholeAndInOrder) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const int32_t body = 60 + int32_t(random() % 200);
    std::vector<std::vector<LineRecord>> tables(1 + random() % 3);
    for (auto& table : tables) {
      const int count = int(random() % 40);
      for (int i = 0; i < count; ++i) {
        static constexpr uint8_t kFlags[] = {kPlain, kGap, kHeading, kHeading | kParaExtraRow, kSubtitle, 0x57, 0xD7};
        const uint16_t height = uint16_t(10 + random() % 30 + (random() % 50 == 0 ? 300 : 0));
        table.push_back(LineRecord{uint16_t(2 + i), 1, 0, 0, 10, height, kFlags[random() % 7]});
      }
    }
    std::vector<SheetRows> rows;
    for (const auto& table : tables) rows.push_back(Of(table));
    const SheetPlan plan = BreakIntoSheets(rows.data(), rows.size(), body, 7);

    size_t table = 0;
    uint16_t entry = 0, row = 0;
    auto skipEnded = [&] {
      while (table < tables.size() && entry >= tables[table].size()) {
        ++table;
        entry = 0;
        row = 0;
      }
    };
    skipEnded();
    for (const auto& sheet : plan) {
      ASSERT_FALSE(sheet.empty()) << "round " << round;
      int32_t bottom = 0;
      for (const SheetPiece& piece : sheet) {
        ASSERT_EQ(piece.table, table) << "round " << round;
        ASSERT_EQ(piece.firstEntry, entry) << "round " << round;
        ASSERT_EQ(piece.topRow, row) << "round " << round;
        ASSERT_LT(piece.firstEntry, piece.endEntry);
        EXPECT_GE(piece.y, bottom) << "pieces overlap, round " << round;
        int32_t height = 0;
        for (uint16_t i = piece.firstEntry; i < piece.endEntry; ++i) {
          const LineRecord& r = tables[table][i];
          height += r.height;
          const bool extra = r.flags & kParaExtraRow;
          // An extra row counts where it fits; the last row's may be left out.
          if (extra && (i + 1 < piece.endEntry || piece.height > height)) height += r.height;
          row = uint16_t(row + (extra ? 2 : 1));
        }
        EXPECT_EQ(piece.height, height) << "round " << round;
        const bool alone = sheet.size() == 1 && piece.endEntry - piece.firstEntry == 1;
        if (!alone) {
          EXPECT_LE(piece.y + piece.height, body) << "a row crosses the sheet's bottom, round " << round;
        }
        bottom = piece.y + piece.height;
        entry = piece.endEntry;
        skipEnded();
      }
    }
    EXPECT_EQ(table, tables.size()) << "rows left unplaced, round " << round;
  }
}

}  // namespace
