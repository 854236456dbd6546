#include "print/sheets.h"

#include "content/streams.h"

namespace {


int32_t ExtraHeight(const LineRecord& row) { return (row.flags & kParaExtraRow) ? row.height : 0; }

// Height the rows from entry first on need to be placed together: the row itself, and while
// a row keeps with the next one, its extra row and that next row.
int32_t KeptHeight(const SheetRows& table, uint16_t first) {
  int32_t need = table.lines[first].height;
  for (uint16_t i = first; i + 1 < table.lineCount && RowKeepsWithNext(table.lines[i]); ++i)
    need += ExtraHeight(table.lines[i]) + table.lines[i + 1].height;
  return need;
}

struct Breaker {
  int32_t body;
  SheetPlan plan;
  int32_t y = 0;  // where the next row goes on the current sheet
  SheetPiece* piece = nullptr;

  void NewSheet() {
    plan.emplace_back();
    y = 0;
    piece = nullptr;
  }
  bool SheetEmpty() const { return plan.empty() || plan.back().empty(); }

  void Place(uint16_t table, uint16_t entry, uint16_t row, int32_t height) {
    if (plan.empty()) NewSheet();
    if (!piece || piece->table != table || piece->endEntry != entry) {
      plan.back().push_back(SheetPiece{table, entry, entry, row, y, 0});
      piece = &plan.back().back();
    }
    piece->endEntry = uint16_t(entry + 1);
    piece->height += height;
    y += height;
  }
};

}  // namespace

bool RowKeepsWithNext(const LineRecord& row) {
  if (IsRuleRecord(row.flags)) return false;
  return (row.flags & kParaBold) || (row.flags | kParaExtraRow) == kSubtitleFlags;
}

SheetPlan BreakIntoSheets(const SheetRows* tables, size_t count, int32_t bodyHeight, int32_t gap) {
  Breaker b{bodyHeight, {}};
  for (size_t t = 0; t < count; ++t) {
    const SheetRows& table = tables[t];
    if (!table.lines || table.lineCount == 0) continue;
    if (!b.SheetEmpty()) {
      b.y += gap;
      b.piece = nullptr;
    }
    uint16_t row = 0;
    for (uint16_t i = 0; i < table.lineCount; ++i) {
      const LineRecord& entry = table.lines[i];
      const int32_t needed = KeptHeight(table, i);
      // A heading goes to the next sheet with what it belongs to, unless even a whole sheet
      // could not hold them together; a plain row goes there when it does not fit.
      const bool keepFits = needed <= b.body;
      if (!b.SheetEmpty() && b.y + (keepFits ? needed : entry.height) > b.body) b.NewSheet();
      b.Place(uint16_t(t), i, row, entry.height);
      const int32_t extra = ExtraHeight(entry);
      if (extra > 0) {
        if (b.y + extra <= b.body) {
          b.piece->height += extra;
          b.y += extra;
        } else {
          b.y = b.body;  // the empty row does not fit: the sheet ends with its paragraph
        }
      }
      row = uint16_t(row + (extra > 0 ? 2 : 1));
    }
  }
  return b.plan;
}
