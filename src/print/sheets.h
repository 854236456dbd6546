// Breaking laid-out rows into sheets of paper.
//
// The rows come from page views' line tables (one table per article: a page's text, then its
// commentary), one table after the other. A sheet takes whole rows only: a row never starts
// on one sheet and ends on the next. A paragraph's extra row follows it on the same sheet
// when it fits; when it does not, the sheet ends there and the next row starts a new one,
// so no sheet begins with an empty row. Headings (bold rows, the subtitle) stay with the
// row after them.
#pragma once

#include <cstdint>
#include <vector>

#include "view/page_view.h"

// A table's rows as a layout left them: lineCount entries.
struct SheetRows {
  const LineRecord* lines;
  uint16_t lineCount;
};

// The rows of one table on one sheet: entries firstEntry up to endEntry (excluded), which
// are rows topRow.. of the table (extra rows counted, as the page view counts them), drawn
// from y (from the body's top) over height.
struct SheetPiece {
  uint16_t table;
  uint16_t firstEntry;
  uint16_t endEntry;
  uint16_t topRow;
  int32_t y;
  int32_t height;
};

using SheetPlan = std::vector<std::vector<SheetPiece>>;

// Whether a row is kept on the same sheet as the row after it.
bool RowKeepsWithNext(const LineRecord& row);

// Breaks the rows of count tables into sheets whose body is bodyHeight high, with gap
// between the end of one table and the start of the next on the same sheet. A row higher
// than the body gets a sheet of its own. Tables without rows take no room. Every sheet of
// the answer holds at least one piece.
SheetPlan BreakIntoSheets(const SheetRows* tables, size_t count, int32_t bodyHeight, int32_t gap);
