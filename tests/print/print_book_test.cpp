// The book's pages drawn on sheets through the fake's print jobs, with the real book: what
// each sheet holds, the running header and sheet number, progress and stopping, failures,
// and Go › Print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/article.h"
#include "content/letter_code.h"
#include "content/streams.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_print.h"
#include "print/page_range.h"
#include "print/print_book.h"
#include "shell/command_ids.h"
#include "shell/reader_settings.h"
#include "reader/commands.h"
#include "reader/menu_tables.h"
#include "reader/print_command.h"
#include "view/page_view.h"

namespace {

std::vector<uint8_t> ReadPack() {
  std::ifstream in(SOLMAR_BOOK_PACK_FILE, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string Number(size_t n) {
  std::u16string text;
  for (char c : std::to_string(n)) text += char16_t(c);
  return text;
}

bool Inside(const platform::Rect& inner, const platform::Rect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

class PrintBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    ResetConversionBuffer();
    ASSERT_TRUE(fake::UsePack(ReadPack())) << SOLMAR_BOOK_PACK_FILE;
    fontSpec_ = FontSpec{};
    std::memcpy(fontSpec_.faceName, u"Frank Ruehl CLM", sizeof(u"Frank Ruehl CLM"));
    fontSpec_.size = 20;
    fontSpec_.fontAsciiBase = kUnicodeLetterBase;
  }
  void TearDown() override {
    fake::ResetPrinting();
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "heap blocks leaked";
    EXPECT_EQ(fake::LiveFonts(), 0) << "fonts leaked";
  }

  // Prints the ranges into a PDF job of the fake and ends it; answers the result.
  PrintResult Print(std::vector<platform::PrintPageRange> ranges, bool* written = nullptr) {
    platform::PrintJob* job = platform::BeginPdfJob(u"out.pdf", platform::PaperSize::kA4);
    EXPECT_NE(job, nullptr);
    const PrintResult result = PrintBookPages(job, ranges.data(), ranges.size(), fontSpec_, false);
    const bool ended = platform::EndPrintJob(job, result.outcome == PrintOutcome::kPrinted);
    if (written) *written = ended;
    return result;
  }

  SheetFrame Frame() const {
    return ComputeSheetFrame(platform::PrintSheetGeometry{5953, 8419, {0, 0, 5953, 8419}}, PrintTextHeight(20));
  }

  // The display text of a page's title as the header draws it (visual order).
  static std::u16string TitleOf(uint16_t page) {
    uint32_t length = 0;
    uint8_t* stream = LoadArticle(page * 2 - 1, nullptr, &length);
    BannerText title, subtitle;
    FindTitleRecords(stream, &title, &subtitle, stream + length + 1);
    std::u16string text(ToDisplayText(title.text, uint32_t(title.length), &gConversionBuffer, kUnicodeLetterBase, false),
                        size_t(title.length));
    platform::Free(stream);
    return text;
  }

  // Text draw calls the sheet's body should hold for a page: one per row proper with text
  // and one per lead word, counted from a layout of the same width on a context of its own.
  int ExpectedBodyTexts(uint16_t page) {
    const SheetFrame frame = Frame();
    FontSpec printSpec = fontSpec_;
    printSpec.size = PrintTextHeight(fontSpec_.size);
    platform::Dc* dc = fake::CreateDc();
    int texts = 0;
    for (int article : {page * 2 - 1, page * 2}) {
      PageView* view = PageViewCreate(dc, &frame.body, printSpec, 0);
      uint32_t length = 0;
      uint8_t* stream = LoadArticle(article, nullptr, &length);
      EXPECT_EQ(PageViewLayOut(view, stream, length + 1, true), kViewOk);
      for (const LineRecord* e = view->lines; !LineRecordIsEnd(*e); ++e)
        if (!IsRuleRecord(e->flags)) texts += (e->length > 0) + (e->leadWidth > 0);
      PageViewDestroy(view, true);
    }
    fake::DeleteDc(dc);
    return texts;
  }

  FontSpec fontSpec_{};
};

TEST(PrintSize, ScreenSizesPrintAtTheirSizeWithinBounds) {
  const struct {
    int32_t screen, printed;
  } cases[] = {{0, 150}, {-3, 150}, {20, 150}, {16, 120}, {12, 90}, {10, 90}, {32, 240}, {72, 240}};
  for (const auto& c : cases) EXPECT_EQ(PrintTextHeight(c.screen), c.printed) << c.screen;
}

TEST(PrintSize, TheFrameKeepsTheMarginsOrTheDevicesWiderOnes) {
  const SheetFrame a4 = ComputeSheetFrame(platform::PrintSheetGeometry{5953, 8419, {0, 0, 5953, 8419}}, 160);
  // 15 mm and 12 mm at 720 units an inch; bands of 1.5 small rows (3/4 of 160).
  EXPECT_EQ(a4.header.left, 425);
  EXPECT_EQ(a4.header.right, 5953 - 425);
  EXPECT_EQ(a4.header.top, 340);
  EXPECT_EQ(a4.body.top, 340 + 180);
  EXPECT_EQ(a4.body.bottom, 8419 - 340 - 180);
  EXPECT_EQ(a4.footer.bottom, 8419 - 340);
  EXPECT_EQ(a4.body.left, a4.header.left);
  const SheetFrame printer = ComputeSheetFrame(platform::PrintSheetGeometry{6120, 7920, {500, 100, 5600, 7500}}, 160);
  EXPECT_EQ(printer.body.left, 500);
  EXPECT_EQ(printer.body.right, 5600);
  EXPECT_EQ(printer.header.top, 340);
  EXPECT_EQ(printer.footer.bottom, 7500);
  // A sheet too large for the rows' 16-bit places is used in its top-left part only.
  const SheetFrame poster = ComputeSheetFrame(platform::PrintSheetGeometry{60000, 90000, {0, 0, 60000, 90000}}, 160);
  EXPECT_LE(poster.body.right, 32767);
  EXPECT_LE(poster.footer.bottom, 32767);
  EXPECT_GT(poster.body.bottom, poster.body.top);
}

TEST_F(PrintBookTest, APageIsItsTextThenItsCommentaryOnWholeRowsUnderItsHeader) {
  bool written = false;
  const PrintResult result = Print({{1, 1}}, &written);
  EXPECT_EQ(result.outcome, PrintOutcome::kPrinted);
  EXPECT_TRUE(written);
  ASSERT_EQ(fake::PrintJobs().size(), 1u);
  const fake::PrintRecord& job = fake::PrintJobs()[0];
  EXPECT_TRUE(job.ended && job.finished);
  EXPECT_EQ(job.drawsOutsideSheets, 0);
  ASSERT_EQ(int(job.sheets.size()), result.sheets);
  ASSERT_GE(job.sheets.size(), 2u) << "a page with its commentary fills more than one sheet";

  const SheetFrame frame = Frame();
  const std::u16string title = TitleOf(1);
  int bodyTexts = 0;
  int titlesInBody = 0;
  for (size_t s = 0; s < job.sheets.size(); ++s) {
    bool header = false, footer = false;
    int32_t lastTop = 0;
    for (const fake::DrawCall& call : job.sheets[s]) {
      if (call.op != fake::DrawOp::kText) continue;
      if (Inside(call.rect, frame.header) && call.text == title) {
        header = true;
        EXPECT_EQ(call.textColour, 0x000000u) << "the header is printed black, whatever the title's colour";
      }
      if (Inside(call.rect, frame.footer) && call.text == Number(s + 1)) footer = true;
      if (call.rect.top >= frame.body.top && call.rect.bottom <= frame.body.bottom) {
        ++bodyTexts;
        if (call.text == title) ++titlesInBody;
        EXPECT_GE(call.rect.top, lastTop) << "rows out of order on sheet " << s + 1;
        lastTop = call.rect.top;
      } else {
        EXPECT_TRUE(Inside(call.rect, frame.header) || Inside(call.rect, frame.footer))
            << "text crosses the body's edge on sheet " << s + 1 << " at " << call.rect.top << ".." << call.rect.bottom;
      }
    }
    EXPECT_TRUE(header) << "sheet " << s + 1 << " lacks its running header";
    EXPECT_TRUE(footer) << "sheet " << s + 1 << " lacks its number";
  }
  // Every row of the text and the commentary once: none lost or doubled at a sheet's end.
  EXPECT_EQ(bodyTexts, ExpectedBodyTexts(1));
  // The page opens with its title and the commentary opens with the same one.
  EXPECT_EQ(titlesInBody, 2);
  const auto& first = job.sheets[0];
  const auto firstBody = std::find_if(first.begin(), first.end(), [&](const fake::DrawCall& c) {
    return c.op == fake::DrawOp::kText && c.rect.top >= frame.body.top;
  });
  ASSERT_NE(firstBody, first.end());
  EXPECT_EQ(firstBody->text, title) << "the page does not start with its title";
}

TEST_F(PrintBookTest, RangesStartEachPageOnANewSheetAndNumberSheetsThroughTheJob) {
  EXPECT_EQ(Print({{2, 3}, {5, 5}}).outcome, PrintOutcome::kPrinted);
  const fake::PrintRecord& job = fake::PrintJobs().at(0);
  const SheetFrame frame = Frame();
  std::vector<std::u16string> headers, numbers;
  for (const auto& sheet : job.sheets) {
    for (const fake::DrawCall& call : sheet) {
      if (call.op != fake::DrawOp::kText) continue;
      if (Inside(call.rect, frame.header) && call.rect.right == frame.header.right) headers.push_back(call.text);
      if (Inside(call.rect, frame.footer)) numbers.push_back(call.text);
    }
  }
  ASSERT_EQ(headers.size(), job.sheets.size());
  ASSERT_EQ(numbers.size(), job.sheets.size());
  for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], Number(i + 1));
  // Headers follow the pages 2, 3, 5, each page from a sheet of its own.
  std::vector<std::u16string> pages;
  for (const auto& h : headers)
    if (pages.empty() || pages.back() != h) pages.push_back(h);
  EXPECT_EQ(pages, (std::vector<std::u16string>{TitleOf(2), TitleOf(3), TitleOf(5)}));

  std::vector<std::u16string> texts;
  for (const auto& t : job.progressTexts)
    if (!t.empty() && (texts.empty() || texts.back() != t)) texts.push_back(t);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Printing page 2\u2026", u"Printing page 3\u2026",
                                                 u"Printing page 5\u2026"}));
  for (const auto& [done, total] : job.progressSteps) {
    EXPECT_EQ(total, 3);
    EXPECT_LE(done, total);
  }
  EXPECT_EQ(job.progressSteps.back(), (std::pair<int32_t, int32_t>{3, 3}));
}

TEST_F(PrintBookTest, StoppingEndsTheJobAtOnceAndPrintsNothing) {
  fake::StopPrintAtProgress(3);  // page 1, its first sheet, then stop after the second
  bool written = true;
  const PrintResult result = Print({{1, 143}}, &written);
  EXPECT_EQ(result.outcome, PrintOutcome::kStopped);
  EXPECT_FALSE(written);
  const fake::PrintRecord& job = fake::PrintJobs().at(0);
  EXPECT_EQ(job.sheets.size(), 2u);
  EXPECT_EQ(result.sheets, 2);
  EXPECT_FALSE(job.finished);
}

TEST_F(PrintBookTest, ARefusedSheetFailsTheJob) {
  fake::FailPrintSheet(2);
  bool written = true;
  const PrintResult result = Print({{4, 6}}, &written);
  EXPECT_EQ(result.outcome, PrintOutcome::kFailed);
  EXPECT_EQ(result.failedPage, 4);
  EXPECT_EQ(result.sheets, 1);
  EXPECT_FALSE(written);
}

TEST_F(PrintBookTest, AnArticleThatCannotBeReadFailsTheJobAtItsPage) {
  fake::FailResourceLoad(ArticleResourceId(6));  // page 3's commentary
  const PrintResult result = Print({{2, 4}});
  EXPECT_EQ(result.outcome, PrintOutcome::kFailed);
  EXPECT_EQ(result.failedPage, 3);
  // Page 2 was printed whole before it.
  EXPECT_GE(result.sheets, 1);
}

TEST_F(PrintBookTest, RunningOutOfMemoryFailsTheJobWithoutLeaks) {
  // Each allocation in turn fails: the job fails or still prints, and nothing leaks
  // (the fixture's tear-down checks the heap and the fonts).
  for (int nth = 1; nth <= 12; ++nth) {
    fake::FailAllocation(nth);
    const PrintResult result = Print({{1, 1}});
    EXPECT_NE(result.outcome, PrintOutcome::kStopped) << nth;
    fake::FailAllocation(0);
    ResetConversionBuffer();
    EXPECT_EQ(fake::LiveBlocks(), 0) << "allocation " << nth;
  }
}

TEST_F(PrintBookTest, PaperWithNoRoomForRowsFailsWithoutSheets) {
  // Margins and bands take 1,016 units of the height at the default size (rows of 150): a
  // sheet must have 450 more for three rows.
  for (int32_t height : {1016 + 449, 1016, 900, 0}) {
    fake::SetPrintGeometry(platform::PrintSheetGeometry{5953, height, {0, 0, 5953, height}});
    const PrintResult result = Print({{1, 1}});
    EXPECT_EQ(result.outcome, PrintOutcome::kFailed) << height;
    EXPECT_EQ(result.sheets, 0) << height;
  }
  // 850 units of side margins and 8 rows' heights of width, less one.
  fake::SetPrintGeometry(platform::PrintSheetGeometry{850 + 1199, 8419, {0, 0, 850 + 1199, 8419}});
  EXPECT_EQ(Print({{1, 1}}).outcome, PrintOutcome::kFailed);
  const size_t refused = fake::PrintJobs().size();
  fake::SetPrintGeometry(platform::PrintSheetGeometry{850 + 1200, 1016 + 450, {0, 0, 850 + 1200, 1016 + 450}});
  EXPECT_EQ(Print({{1, 1}}).outcome, PrintOutcome::kPrinted) << "the smallest sheet that holds rows";
  ASSERT_EQ(fake::PrintJobs().size(), refused + 1);
  EXPECT_FALSE(fake::PrintJobs().back().sheets.empty());
}

TEST_F(PrintBookTest, TheWholeBookPrints) {
  const PrintResult result = Print({{1, kBookPageCount}});
  EXPECT_EQ(result.outcome, PrintOutcome::kPrinted);
  EXPECT_GE(result.sheets, int(kBookPageCount));
}

// Go › Print through the reader's command.
class PrintCommandTest : public PrintBookTest {
 protected:
  void SetUp() override {
    PrintBookTest::SetUp();
    ResetReaderSettings();
    gReaderSettings.fontSpec = fontSpec_;
    gReaderSettings.lesson = 5;
  }
};

TEST_F(PrintCommandTest, CtrlPAndTheGoMenuReachTheCommand) {
  const auto accelerator = std::find_if(kReaderAccelerators, kReaderAccelerators + kReaderAcceleratorCount,
                                        [](const platform::Accelerator& a) { return a.command == kCmdPrint; });
  ASSERT_NE(accelerator, kReaderAccelerators + kReaderAcceleratorCount);
  EXPECT_EQ(accelerator->modifiers, platform::kAccelControl);
  EXPECT_EQ(accelerator->key, 'P');
  const platform::PopupTemplate& go = kReaderMenu.popups[0];
  EXPECT_TRUE(std::any_of(go.items, go.items + go.count, [](const platform::MenuItemTemplate& item) {
    return item.command == kCmdPrint && std::u16string(item.text) == u"P&rint\u2026\bCtrl+P";
  }));
  EXPECT_EQ(DispatchCommand(nullptr, kCmdPrint), 0);
  EXPECT_EQ(fake::PrintDialogsShown(), 1);
}

TEST_F(PrintCommandTest, ACancelledDialogPrintsNothing) {
  fake::ScriptPrintDialog(false, {{1, 1}});
  PrintWithDialog(nullptr);
  PrintWithDialog(nullptr);  // without a script: cancelled too
  EXPECT_EQ(fake::PrintDialogsShown(), 2);
  EXPECT_TRUE(fake::PrintJobs().empty());
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(PrintCommandTest, TheChosenPagesPrintFromTheCurrentPage) {
  fake::ScriptPrintDialog(true, {{3, 3}});
  PrintWithDialog(nullptr);
  ASSERT_EQ(fake::PrintJobs().size(), 1u);
  const fake::PrintRecord& job = fake::PrintJobs()[0];
  EXPECT_EQ(job.currentPage, 3);  // article 5 is page 3
  EXPECT_EQ(job.pageCount, kBookPageCount);
  EXPECT_TRUE(job.ended && job.finished);
  EXPECT_FALSE(job.sheets.empty());
  EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(PrintCommandTest, AFailedJobIsReportedAndAStoppedOneIsNot) {
  fake::ScriptPrintDialog(true, {{1, 2}});
  fake::StopPrintAtProgress(2);
  PrintWithDialog(nullptr);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  EXPECT_FALSE(fake::PrintJobs().at(0).finished);

  fake::ScriptPrintDialog(true, {{1, 2}});
  fake::FailPrintSheet(1);
  PrintWithDialog(nullptr);
  ASSERT_EQ(fake::MessageBoxes().size(), 1u);
  EXPECT_EQ(fake::MessageBoxes()[0].text, u"The pages could not be printed.");
  EXPECT_EQ(fake::MessageBoxes()[0].caption, u"Print");
  EXPECT_EQ(fake::MessageBoxes()[0].icon, platform::kMbIconError);
  EXPECT_FALSE(fake::PrintJobs().at(1).finished);
}

}  // namespace
