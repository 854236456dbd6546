#include "print/print_book.h"

#include <algorithm>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "print/page_range.h"
#include "print/sheets.h"
#include "view/page_view.h"

namespace {

constexpr int32_t kMillimetresPer10Inches = 254;
constexpr int32_t kSideMargin = 15 * 10 * platform::kPrintUnitsPerInch / kMillimetresPer10Inches;
constexpr int32_t kEndMargin = 12 * 10 * platform::kPrintUnitsPerInch / kMillimetresPer10Inches;
constexpr int32_t kScreenPixelsPerInch = 96;
constexpr uint32_t kBlack = 0x000000;
// Rows keep their place in 16 bits (x signed), so sheets are used up to about 44 inches.
constexpr int32_t kLargestCoordinate = 32000;

std::u16string Decimal(uint32_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), char16_t(u'0' + value % 10));
    value /= 10;
  } while (value);
  return digits;
}

std::u16string ProgressText(uint16_t page) {
  std::u16string text = platform::TranslateText("Dialog", kPrintingPageText);
  const size_t at = text.find(u"%1");
  if (at != std::u16string::npos) text.replace(at, 2, Decimal(page));
  return text;
}

// A page's two articles, laid out for the body's width.
struct PageViews {
  PageView* text = nullptr;
  PageView* commentary = nullptr;
};

// Loads article into view and lays it out; false when it cannot be read or laid out.
bool LoadInto(PageView* view, int article) {
  uint32_t length = 0;
  uint8_t* stream = LoadArticle(article, nullptr, &length);
  if (!stream) return false;
  if (PageViewLayOut(view, stream, length + 1, true) != kViewOk) {
    platform::Free(stream);
    return false;
  }
  view->topRow = 0;
  return true;
}

SheetRows RowsOf(const PageView* view) { return SheetRows{view->lines, view->lineCount}; }

// The page's title at the header's right and its subtitle at the left, a rule below them.
void DrawHeader(PageView* view, const SheetFrame& frame) {
  platform::Dc* dc = view->dc;
  BannerText title, subtitle;
  FindTitleRecords(view->text, &title, &subtitle, view->text + view->textLength);
  platform::Font* oldFont = FontCacheSelect(view, kParaSmaller);
  const uint32_t oldColour = platform::SetTextColour(dc, kBlack);
  platform::TextMetrics metrics{};
  platform::GetTextMetrics(dc, &metrics);
  const int32_t width = frame.header.right - frame.header.left;
  const int32_t top = frame.header.top;
  const TextForm form = ViewTextForm(view);
  int32_t titleWidth = 0;
  if (title.text) {
    int32_t w = width * 2 / 3, count = title.length;
    MeasureFit(dc, title.text, form.fontAsciiBase, &w, &count);
    DrawTextBox(dc, title.text, count, form, frame.header.right - w, top, w, metrics.height);
    titleWidth = w;
  }
  if (subtitle.text) {
    // What room the title leaves, less the width of two letters between them.
    int32_t w = std::max(width - titleWidth - 2 * metrics.averageCharWidth, 0), count = subtitle.length;
    MeasureFit(dc, subtitle.text, form.fontAsciiBase, &w, &count);
    DrawTextBox(dc, subtitle.text, count, form, frame.header.left, top, w, metrics.height);
  }
  const int32_t ruleTop = top + metrics.height + metrics.height / 4;
  const int32_t thickness = std::max<int32_t>(platform::kPrintUnitsPerInch / 240, 1);
  platform::FillRect(dc, platform::Rect{frame.header.left, ruleTop, frame.header.right, ruleTop + thickness},
                     platform::StockBrush(platform::kStockBlackBrush));
  platform::SetTextColour(dc, oldColour);
  platform::SelectFont(dc, oldFont);
}

// The sheet number, centred in the footer (digits, never turned around).
void DrawFooter(PageView* view, const SheetFrame& frame, int32_t sheet) {
  platform::Dc* dc = view->dc;
  platform::Font* oldFont = FontCacheSelect(view, kParaSmaller);
  const uint32_t oldColour = platform::SetTextColour(dc, kBlack);
  const std::u16string number = Decimal(uint32_t(sheet));
  platform::DrawTextCentred(dc, number.data(), int32_t(number.size()), frame.footer);
  platform::SetTextColour(dc, oldColour);
  platform::SelectFont(dc, oldFont);
}

// Paints the rows of a piece at its place on the sheet.
void PaintPiece(PageView* view, const SheetFrame& frame, const SheetPiece& piece) {
  view->y = frame.body.top + piece.y;
  view->height = piece.height;
  view->topRow = piece.topRow;
  PageViewPaint(view, 0);
}

}  // namespace

int32_t PrintTextHeight(int32_t screenSize) {
  const int32_t pixels = screenSize <= 0 ? 20 : std::clamp(screenSize, 12, 32);
  return pixels * platform::kPrintUnitsPerInch / kScreenPixelsPerInch;
}

SheetFrame ComputeSheetFrame(const platform::PrintSheetGeometry& geometry, int32_t textHeight) {
  const platform::Rect& printable = geometry.printable;
  const int32_t left = std::max(kSideMargin, printable.left);
  const int32_t right = std::min({geometry.width - kSideMargin, printable.right, kLargestCoordinate});
  const int32_t top = std::max(kEndMargin, printable.top);
  const int32_t bottom = std::min({geometry.height - kEndMargin, printable.bottom, kLargestCoordinate});
  const int32_t band = textHeight * 3 / 4 * 3 / 2;
  SheetFrame frame;
  frame.header = platform::Rect{left, top, right, top + band};
  frame.footer = platform::Rect{left, bottom - band, right, bottom};
  frame.body = platform::Rect{left, top + band, right, bottom - band};
  return frame;
}

PrintResult PrintBookPages(platform::PrintJob* job, const platform::PrintPageRange* ranges, size_t count,
                           const FontSpec& fontSpec, bool reverse) {
  PrintResult result{PrintOutcome::kFailed, 0, 0};
  platform::Dc* dc = platform::PrintJobDc(job);
  platform::PrintSheetGeometry geometry{};
  if (!dc || !platform::PrintJobGeometry(job, &geometry)) return result;

  FontSpec printSpec = fontSpec;
  printSpec.size = PrintTextHeight(fontSpec.size);
  if (printSpec.fontAsciiBase == 0) printSpec.fontAsciiBase = kUnicodeLetterBase;
  const SheetFrame frame = ComputeSheetFrame(geometry, printSpec.size);
  const int32_t bodyHeight = frame.body.bottom - frame.body.top;
  // Paper with room for less than a few words a row or a few rows a sheet would spread a
  // page over thousands of sheets: it is refused.
  if (frame.body.right - frame.body.left < 8 * printSpec.size || bodyHeight < 3 * printSpec.size) return result;

  int32_t total = 0;
  for (size_t r = 0; r < count; ++r)
    if (ranges[r].first <= ranges[r].last) total += ranges[r].last - ranges[r].first + 1;

  PageViews views;
  views.text = PageViewCreate(dc, &frame.body, printSpec, 0);
  views.commentary = PageViewCreate(dc, &frame.body, printSpec, 0);
  const int oldMode = platform::SetBackgroundMode(dc, platform::kBkTransparent);
  result.outcome = PrintOutcome::kPrinted;
  int32_t done = 0;
  for (size_t r = 0; r < count && result.outcome == PrintOutcome::kPrinted; ++r) {
    const uint16_t last = std::min(ranges[r].last, kBookPageCount);
    for (uint32_t page = std::max<uint16_t>(ranges[r].first, 1); page <= last; ++page) {
      const std::u16string text = ProgressText(uint16_t(page));
      if (!platform::PrintJobProgress(job, text.c_str(), done, total)) {
        result.outcome = PrintOutcome::kStopped;
        break;
      }
      if (!views.text || !views.commentary || !LoadInto(views.text, int(page) * 2 - 1) ||
          !LoadInto(views.commentary, int(page) * 2)) {
        result = PrintResult{PrintOutcome::kFailed, result.sheets, uint16_t(page)};
        break;
      }
      views.text->drawReversed = views.commentary->drawReversed = reverse;
      const SheetRows tables[2] = {RowsOf(views.text), RowsOf(views.commentary)};
      const SheetPlan plan = BreakIntoSheets(tables, 2, bodyHeight, printSpec.size / 2);
      for (const std::vector<SheetPiece>& sheet : plan) {
        if (!platform::PrintJobNewSheet(job)) {
          result = PrintResult{PrintOutcome::kFailed, result.sheets, uint16_t(page)};
          break;
        }
        ++result.sheets;
        DrawHeader(views.text, frame);
        for (const SheetPiece& piece : sheet) PaintPiece(piece.table == 0 ? views.text : views.commentary, frame, piece);
        DrawFooter(views.text, frame, result.sheets);
        if (!platform::PrintJobProgress(job, text.c_str(), done, total)) {
          result.outcome = PrintOutcome::kStopped;
          break;
        }
      }
      if (result.outcome != PrintOutcome::kPrinted) break;
      ++done;
    }
  }
  if (result.outcome == PrintOutcome::kPrinted) platform::PrintJobProgress(job, u"", done, total);
  platform::SetBackgroundMode(dc, oldMode);
  PageViewDestroy(views.text, true);
  PageViewDestroy(views.commentary, true);
  return result;
}
