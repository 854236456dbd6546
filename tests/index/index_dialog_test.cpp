// The "Choose Section" dialog on the fake backend, run from scripts over a started reader,
// and the bookmark group it puts in front of the table of contents.
#include <climits>

#include "index/index_dialog.h"
#include "index/index_view.h"
#include "index_fixture.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

constexpr uint16_t H = 0x8000;
constexpr uint16_t E = 0x4000;

// A small table of contents: one book, open, whose two portions and four pages are hidden.
IndexStreamBuilder SmallToc() {
  return IndexStreamBuilder()
      .Add(H | 1, 0xC1, 0, "book")
      .Add(H | 2, 0x01, 1, "portion")
      .Add(E | 1, 0x01, 2, "page1")
      .Add(E | 3, 0x01, 2, "page3")
      .Add(H | 3, 0x01, 1, "portion two")
      .Add(E | 5, 0x01, 2, "page5")
      .Add(E | 7, 0x01, 2, "page7");
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The dialog is 320 x 320 on the fake (base units 8 x 16); beside the 13-pixel scroll bar a
// margin of 13 pixels keeps the top level's glyphs, so the tree is 294 pixels wide. Text of
// size 20: lines of 20 pixels, 10 per character.
class IndexDialogTest : public ShellTest {
 protected:
  static constexpr int32_t kTreeWidth = 320 - 13 - 13;

  void SetUp() override {
    ShellTest::SetUp();
    ResetIndexDialogState();
    const std::vector<uint8_t> toc = SmallToc().Bytes();
    fake::AddResource(32767, platform::kResourceTypeRawData, ArticleResource(toc));
    ASSERT_NE(Start(), nullptr);
    gReaderSettings.fontSpec.size = 20;
    gReaderSettings.fontSpec.fontAsciiBase = 97;
  }
  // Runs the dialog through the Index command with these steps (a size message first, as
  // the platform sends after the set-up); answers the dialog's result.
  intptr_t RunCommand(std::vector<fake::DialogStep> steps) {
    steps.insert(steps.begin(), SizeTo(320, 320));
    fake::ScriptDialogSteps(kIndexDialogTemplate, std::move(steps));
    const size_t before = fake::Dialogs().size();
    Command(kCmdIndex);
    EXPECT_EQ(fake::Dialogs().size(), before + 1);
    return fake::Dialogs().back().result;
  }
  static fake::DialogStep SizeTo(int32_t width, int32_t height) {
    return fake::Inspect([width, height](Window* dialog) {
      platform::Rect r{0, 0, 0, 0};
      platform::GetWindowRect(dialog, &r);
      platform::MoveWindow(dialog, r.left, r.top, width, height, false);
      platform::SendMessage(dialog, platform::kMsgSize, 0, platform::MakeLong(uint32_t(width), uint32_t(height)));
    });
  }
  // The texts of the visible lines, in reading order, top to bottom.
  static std::vector<std::string> VisibleLines() {
    std::vector<std::string> texts;
    const IndexView* view = gIndexDialog.view;
    for (const IndexLine* l = view->lines; !IndexLineIsEnd(*l); ++l) {
      if (!(l->flags & 0x80)) continue;
      const std::string stored(reinterpret_cast<const char*>(view->text) + l->offset, l->length);
      texts.emplace_back(stored.rbegin(), stored.rend());
    }
    return texts;
  }
  // A tap on the middle of visible line i's text (lines are 20 pixels high).
  static fake::DialogStep TapLine(int i, int32_t fromRight) { return fake::TapDialog(kTreeWidth - fromRight, 20 * i + 10); }
};

TEST_F(IndexDialogTest, OpensOnTheCurrentPagesBranchAndATapGoesThere) {
  GoToArticle(window_, 5);
  const int dcsOut = fake::WindowDcsOut();  // the panes keep the main window's
  const intptr_t result = RunCommand({fake::Inspect([](Window*) {
                                        EXPECT_EQ(VisibleLines(), (std::vector<std::string>{
                                                                      "book", "portion two", "page5", "page7"}));
                                      }),
                                      TapLine(3, 26 + 25)});  // "page7": indent 26, 50 pixels wide
  EXPECT_EQ(result, platform::kIdOk);
  EXPECT_EQ(gReaderSettings.lesson, 7);
  EXPECT_EQ(ArticleIn(Upper()), 7);
  // Everything of the dialog is given back: the context and (checked at tear-down) memory.
  EXPECT_EQ(fake::WindowDcsOut(), dcsOut);
  EXPECT_EQ(gIndexDialog.view, nullptr);
  const auto& messages = fake::Dialogs().back().messages;
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, platform::kMsgDestroy);
}

// The tree keeps clear of the dialog's scroll bar: at its right, or at its left in a
// right-to-left interface.
TEST_F(IndexDialogTest, TheTreeStandsBesideTheScrollBarOnEitherSide) {
  for (const bool rightToLeft : {false, true}) {
    fake::SetLayoutRightToLeft(rightToLeft);
    const int32_t bar = platform::SystemMetric(platform::kSystemMetricScrollBarWidth);
    RunCommand({fake::Inspect([&](Window* dialog) {
                  platform::Rect client{0, 0, 0, 0};
                  platform::GetClientRect(dialog, &client);
                  EXPECT_EQ(gIndexDialog.box.left, rightToLeft ? client.left + bar : client.left) << rightToLeft;
                  EXPECT_EQ(gIndexDialog.box.right, rightToLeft ? client.right : client.right - bar) << rightToLeft;
                  EXPECT_EQ(gIndexDialog.view->x, gIndexDialog.box.left) << rightToLeft;
                }),
                fake::PressButton(platform::kIdCancel)});
  }
  fake::SetLayoutRightToLeft(false);
}

TEST_F(IndexDialogTest, OkAndDoneKeepTheArticleAndCancelAnswersZero) {
  GoToArticle(window_, 3);
  const struct {
    int button;
    intptr_t result;
    uint16_t answer;
  } cases[] = {{platform::kIdOk, platform::kIdOk, 3}, {platform::kIdCancel, platform::kIdCancel, 0}};
  for (const auto& c : cases) {
    fake::ScriptDialogSteps(kIndexDialogTemplate, {fake::PressButton(c.button)});
    EXPECT_EQ(OpenIndexDialog(window_, 3, &gReaderSettings.fontSpec), c.answer);
    EXPECT_EQ(fake::Dialogs().back().result, c.result);
    EXPECT_EQ(RunCommand({fake::PressButton(c.button)}), c.result);
    EXPECT_EQ(gReaderSettings.lesson, 3);
  }
  // Set up as every full-screen dialog, with the Done button.
  const auto& inits = fake::ShellDialogInits();
  ASSERT_FALSE(inits.empty());
  EXPECT_EQ(inits.back().second, 30u | platform::kDialogDoneButton);
}

TEST_F(IndexDialogTest, HeadingTapsFoldAndUpdateTheScrollBar) {
  GoToArticle(window_, 1);
  RunCommand({SizeTo(320, 53), fake::Inspect([](Window* dialog) {
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"book", "portion", "page1", "page3"}));
                EXPECT_EQ(fake::WindowInfo(dialog)->scrollMaximum, 2);
              }),
              TapLine(0, 20), fake::Inspect([](Window* dialog) {
                EXPECT_EQ(VisibleLines(), std::vector<std::string>{"book"});
                EXPECT_EQ(fake::WindowInfo(dialog)->scrollMaximum, 0);
              }),
              fake::TapDialog(100, 30),  // below the last line: the dialog stays
              // The book's glyph in the margin beside the scroll bar.
              fake::TapDialog(kTreeWidth + 8, 10), fake::Inspect([](Window* dialog) {
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"book", "portion", "portion two"}));
                EXPECT_EQ(fake::WindowInfo(dialog)->scrollMaximum, 1);
              }),
              fake::PressButton(platform::kIdCancel)});
  EXPECT_EQ(gReaderSettings.lesson, 1);
}

TEST_F(IndexDialogTest, KeysAndTheScrollBarMoveByLines) {
  GoToArticle(window_, 1);
  auto top = [] { return gIndexDialog.view->topRow; };
  auto key = [](uint32_t k, intptr_t answer) {
    return fake::Inspect([k, answer](Window* dialog) {
      EXPECT_EQ(platform::SendMessage(dialog, platform::kMsgKeyDown, k, 0), answer) << k;
    });
  };
  auto bar = [](uint32_t code, int32_t position) {
    return fake::Inspect([code, position](Window* dialog) {
      EXPECT_EQ(platform::SendMessage(dialog, platform::kMsgVScroll, uintptr_t(platform::MakeLong(code, uint32_t(position))), 0), 1);
    });
  };
  auto expectTop = [&](uint16_t row) {
    return fake::Inspect([&, row](Window* dialog) {
      EXPECT_EQ(top(), row);
      EXPECT_EQ(fake::WindowInfo(dialog)->scrollPosition, row);
    });
  };
  // Four visible lines, two fit: maxTopRow 2; a page is the two lines painted.
  RunCommand({SizeTo(320, 53), key(platform::kVkDown, 0), expectTop(1), key(platform::kVkNext, 0), expectTop(2),
              key(platform::kVkNext, 0), expectTop(2), key(platform::kVkPrior, 0), expectTop(1),
              key(platform::kVkUp, 0), expectTop(0), key(platform::kVkHome, 1), expectTop(0),
              bar(platform::kSbPageDown, 0), expectTop(2), bar(platform::kSbPageUp, 0), expectTop(0),
              bar(platform::kSbThumbTrack, 2), expectTop(2), bar(platform::kSbTop, 0), expectTop(0),
              // The bar's own Bottom goes to the end, not one line on; the thumb is the two
              // lines in view.
              bar(platform::kSbBottom, 0), expectTop(2),
              fake::Inspect([](Window* dialog) { EXPECT_EQ(fake::WindowInfo(dialog)->scrollPage, 2); }),
              bar(platform::kSbLineUp, 0), expectTop(1), bar(platform::kSbEndScroll, 0), expectTop(1),
              // A notch down moves three lines (held at the end); fine wheel steps add up.
              fake::SendToDialog(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(0, uint32_t(-120))), 0),
              expectTop(2), fake::SendToDialog(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(0, 20)), 0),
              expectTop(2), fake::SendToDialog(platform::kMsgMouseWheel, uintptr_t(platform::MakeLong(0, 20)), 0),
              expectTop(1),
              // A size change keeps the place while there is something to scroll; grown so
              // that everything fits, the tree goes back to its top.
              SizeTo(320, 54), expectTop(1), SizeTo(320, 320), expectTop(0), fake::PressButton(platform::kIdCancel)});
  // Every scroll-bar message also went to the default handling.
  int defaults = 0;
  for (const fake::MessageCall& m : fake::DefaultProcessing()) defaults += m.message == platform::kMsgVScroll;
  EXPECT_EQ(defaults, 7);
}

TEST_F(IndexDialogTest, ASizeChangeKeepsFoldsAndTheRevealedBranch) {
  GoToArticle(window_, 5);
  // "portion two" was shown folded by the reveal: the first tap unfolds it (its pages are
  // shown already), the second folds it.
  RunCommand({TapLine(1, 13 + 55), TapLine(1, 13 + 55),
              fake::Inspect([](Window*) { EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"book", "portion two"})); }),
              SizeTo(200, 300), fake::Inspect([](Window*) {
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"book", "portion two"}));
                EXPECT_EQ(gIndexDialog.view->width, 200 - 26);
                EXPECT_EQ(gIndexDialog.box.right, 200 - 13);
              }),
              fake::PressButton(platform::kIdCancel)});
}

TEST_F(IndexDialogTest, BookmarkGroupComesFirstAndItsEntriesOpenTheirArticle) {
  GoToArticle(window_, 1);
  AddCurrentBookmark();
  GoToArticle(window_, 7);
  AddCurrentBookmark();
  GoToArticle(window_, 3);
  RunCommand({fake::Inspect([](Window*) {
                // The group's title reads as samekh, yod, mem, final nun. Article 3 is opened
                // with the line after it.
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"rjop", "page1", "page7", "book", "portion", "page3",
                                                                    "portion two"}));
              }),
              TapLine(2, 26 + 25)});
  EXPECT_EQ(gReaderSettings.lesson, 7);
}

// Regression: a bookmarked current page was found in the group, which is always shown, so
// its branch of the table of contents stayed closed.
TEST_F(IndexDialogTest, CurrentArticleBookmarkedOpensItsBranchToo) {
  GoToArticle(window_, 5);
  AddCurrentBookmark();
  RunCommand({fake::Inspect([](Window*) {
                EXPECT_EQ(VisibleLines(),
                          (std::vector<std::string>{"rjop", "page5", "book", "portion two", "page5", "page7"}));
                // The table of contents' line is the one selected.
                const IndexView* view = gIndexDialog.view;
                ASSERT_GT(view->selectedLine, 2);
                EXPECT_GE(view->lines[view->selectedLine - 1].offset, gIndexDialog.groupBytes);
                EXPECT_EQ(view->lines[view->selectedLine - 1].key, E | 5);
              }),
              TapLine(0, 30),  // the group heading folds its entries
              fake::Inspect([](Window*) {
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"rjop", "book", "portion two", "page5", "page7"}));
              }),
              fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(gReaderSettings.lesson, 5);
}

// Regression: the branch was opened but the tree stayed at its top, below a long group.
TEST_F(IndexDialogTest, OpensScrolledToTheCurrentPageBelowThirtyBookmarks) {
  // Thirty bookmarks: the table of contents lists 1, 3 and 5 (7 is the current page).
  FreeBookmarks();
  auto* marks = static_cast<uint16_t*>(platform::Alloc(31 * sizeof(uint16_t)));
  for (int i = 0; i < 30; ++i) marks[i] = uint16_t(1 + 2 * (i % 3));
  marks[30] = 0;
  gBookmarks.entries = marks;
  gBookmarks.count = 30;
  GoToArticle(window_, 3);
  RunCommand({fake::Inspect([](Window*) {
                const IndexView* view = gIndexDialog.view;
                ASSERT_GT(view->selectedLine, 0);
                const IndexLine* selected = &view->lines[view->selectedLine - 1];
                EXPECT_EQ(selected->key, E | 3);
                EXPECT_GE(selected->offset, gIndexDialog.groupBytes);
                // The group's 31 lines, then book, portion, page3 and portion two: page3 is
                // visible row 33 of 35. 16 lines of 20 pixels fit; the middle would put it
                // at row 7 of the view, but the tree ends first: the last 16 lines are shown.
                int row = 0;
                for (const IndexLine* l = view->lines; l < selected; ++l) row += (l->flags & 0x80) != 0;
                EXPECT_EQ(row, 33);
                EXPECT_EQ(view->maxTopRow, 35 - 16);
                EXPECT_EQ(view->topRow, view->maxTopRow);
                // Painted in the selection's colours, and only that line.
                fake::ClearDrawCalls();
                IndexViewPaint(gIndexDialog.view, true);
                int highlighted = 0;
                for (const fake::DrawCall& c : fake::DrawCallsOf(fake::DrawOp::kText))
                  if (c.textColour == kHighlightTextColour && c.backgroundColour == kHighlightBackColour &&
                      c.backgroundMode == platform::kBkOpaque)
                    highlighted += c.text == u"3egap" ? 1 : 100;
                EXPECT_EQ(highlighted, 1);
              }),
              // A later size change keeps the place the user scrolled to.
              fake::SendToDialog(platform::kMsgVScroll, uintptr_t(platform::MakeLong(platform::kSbTop, 0)), 0),
              SizeTo(320, 300),
              fake::Inspect([](Window*) {
                EXPECT_EQ(gIndexDialog.view->topRow, 0);
                EXPECT_EQ(gIndexDialog.view->lines[gIndexDialog.view->selectedLine - 1].key, E | 3);
              }),
              fake::PressButton(platform::kIdCancel)});
}

// Regression: a new size laid the tree out from the stream's flags and the restore only
// added bits, so the group the user had folded opened again.
TEST_F(IndexDialogTest, FoldedHeadingsStayFoldedAcrossASizeChange) {
  GoToArticle(window_, 1);
  AddCurrentBookmark();
  GoToArticle(window_, 5);
  RunCommand({TapLine(0, 30),  // fold the group
              TapLine(1, 20),  // fold the book
              fake::Inspect([](Window*) { EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"rjop", "book"})); }),
              SizeTo(250, 300),
              fake::Inspect([](Window*) {
                EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"rjop", "book"}));
                EXPECT_EQ(gIndexDialog.view->visibleCount, 2);
                EXPECT_FALSE(gIndexDialog.view->lines[0].flags & 0x40);
              }),
              fake::TapDialog(250 - 26 - 30, 10),  // the group opens again on a tap
              fake::Inspect([](Window*) { EXPECT_EQ(VisibleLines(), (std::vector<std::string>{"rjop", "page1", "book"})); }),
              fake::PressButton(platform::kIdCancel)});
}

// Regression: book headings draw their glyph in the margin right of the tree, which the
// erasing paint left alone; after a scroll the old glyph stayed beside another row.
TEST_F(IndexDialogTest, ScrollingLeavesNoGlyphBehindInTheMargin) {
  GoToArticle(window_, 1);
  fake::ClearDrawCalls();
  RunCommand({SizeTo(320, 53), fake::SendToDialog(platform::kMsgKeyDown, platform::kVkDown, 0),
              fake::Inspect([](Window* dialog) {
                // Replay the fills and glyphs drawn in the dialog, over a grid of its client area: the margin column holds no glyph once the book,
                // the only top-level line, has scrolled out of view.
                const int32_t width = 320, height = 53;
                std::vector<int> grid(size_t(width * height), 0);
                for (const fake::DrawCall& c : fake::DrawCalls()) {
                  if (c.dc != fake::WindowInfo(dialog)->dc && c.dc != gIndexDialog.dc) continue;
                  const int value = c.op == fake::DrawOp::kFill ? 0 : c.op == fake::DrawOp::kBitmapCell ? 1 : -1;
                  if (value < 0) continue;
                  for (int32_t y = std::max(c.rect.top, 0); y < std::min(c.rect.bottom, height); ++y)
                    for (int32_t x = std::max(c.rect.left, 0); x < std::min(c.rect.right, width); ++x)
                      grid[size_t(y * width + x)] = value;
                }
                EXPECT_EQ(gIndexDialog.view->topRow, 1);
                int glyphPixels = 0;
                for (int32_t y = 0; y < height; ++y)
                  for (int32_t x = kTreeWidth; x < kTreeWidth + 13; ++x) glyphPixels += grid[size_t(y * width + x)];
                EXPECT_EQ(glyphPixels, 0);
              }),
              fake::PressButton(platform::kIdCancel)});
}

TEST_F(IndexDialogTest, WithoutTableOfContentsOnlyTheGroupShows) {
  fake::FailResourceLoad(32767);
  GoToArticle(window_, 5);
  RunCommand({fake::Inspect([](Window*) { EXPECT_EQ(gIndexDialog.view->text, nullptr); }),
              fake::TapDialog(300, 10), fake::PressButton(platform::kIdOk)});
  fake::ResetMessageBoxes();
  AddCurrentBookmark();
  RunCommand({fake::Inspect([](Window*) { EXPECT_EQ(VisibleLines(), std::vector<std::string>{"rjop"}); }),
              fake::PressButton(platform::kIdOk)});
  EXPECT_EQ(gReaderSettings.lesson, 5);
}

TEST_F(IndexDialogTest, RealTableOfContentsOnArticle57) {
  ASSERT_TRUE(fake::UsePack(ReadBookPack()));
  GoToArticle(window_, 57);
  RunCommand({fake::Inspect([](Window*) {
                const IndexView* view = gIndexDialog.view;
                ASSERT_NE(view, nullptr);
                int books = 0, portions = 0, pages = 0;
                bool page57 = false;
                for (const IndexLine* l = view->lines; !IndexLineIsEnd(*l); ++l) {
                  if (!(l->flags & 0x80)) continue;
                  page57 = page57 || l->key == (E | 57);
                  if (l->key & H)
                    (IndexLineIndent(view, l) == 0 ? books : portions)++;
                  else
                    ++pages;
                }
                EXPECT_EQ(books, 5);
                EXPECT_EQ(portions, 1);
                EXPECT_TRUE(page57);
                EXPECT_EQ(pages, 2);  // page 57 and the one after it
              }),
              fake::PressButton(platform::kIdCancel)});
}

class BookmarkGroupTest : public IndexTest {};

TEST_F(BookmarkGroupTest, GroupBytes) {
  const std::vector<uint8_t> toc = SmallToc().Bytes();
  const std::vector<uint8_t> heading = {0x77, 0x88, 0xC1, 1, 'p', 'o', 'j', 'r', 0};
  const std::vector<uint8_t> end(5, 0);
  const struct {
    std::vector<uint16_t> bookmarks;
    std::vector<uint8_t> entries;
  } cases[] = {
      {{}, {}},
      {{5}, {5, 0x40, 0x81, 2, '5', 'e', 'g', 'a', 'p', 0}},
      // 9 is not listed, 2 is a portion's group number, not an entry: both left out.
      {{9, 3, 2, 1}, {3, 0x40, 0x81, 2, '3', 'e', 'g', 'a', 'p', 0, 1, 0x40, 0x81, 2, '1', 'e', 'g', 'a', 'p', 0}},
  };
  for (const auto& c : cases) {
    SetBookmarks(c.bookmarks);
    uint32_t length = 0;
    uint8_t* group = BuildBookmarkGroup(toc.data(), uint32_t(toc.size()), &length);
    ASSERT_NE(group, nullptr);
    const std::vector<uint8_t> expected = Concat(Concat(heading, c.entries), end);
    EXPECT_EQ(std::vector<uint8_t>(group, group + length), expected) << c.bookmarks.size();
    platform::Free(group);
  }
  // Without a table of contents the group is its heading alone.
  SetBookmarks({5});
  uint32_t length = 0;
  uint8_t* group = BuildBookmarkGroup(nullptr, 0, &length);
  EXPECT_EQ(std::vector<uint8_t>(group, group + length), Concat(heading, end));
  platform::Free(group);
}

TEST_F(BookmarkGroupTest, AddBookmarkGroupJoinsOnlyWithBookmarks) {
  uint32_t tocLength = 0;
  uint8_t* toc = SmallToc().Build(&tocLength);
  uint32_t length = 0;
  EXPECT_EQ(AddBookmarkGroup(toc, tocLength, &length), toc);
  EXPECT_EQ(length, tocLength);
  SetBookmarks({7});
  uint8_t* joined = AddBookmarkGroup(toc, tocLength, &length);
  ASSERT_NE(joined, toc);
  const std::vector<uint8_t> tocBytes = SmallToc().Bytes();
  const std::vector<uint8_t> expected =
      Concat(Concat({0x77, 0x88, 0xC1, 1, 'p', 'o', 'j', 'r', 0, 7, 0x40, 0x81, 2, '7', 'e', 'g', 'a', 'p', 0},
                    std::vector<uint8_t>(tocBytes.begin(), tocBytes.end() - 5)),
             std::vector<uint8_t>(5, 0));
  EXPECT_EQ(std::vector<uint8_t>(joined, joined + length), expected);
  platform::Free(joined);
  // The group's bytes are told: the table of contents starts after them.
  toc = SmallToc().Build(&tocLength);
  uint32_t groupBytes = 99;
  joined = AddBookmarkGroup(toc, tocLength, &length, &groupBytes);
  EXPECT_EQ(groupBytes, 19u);
  EXPECT_EQ(joined[groupBytes], 1);
  EXPECT_EQ(joined[groupBytes + 1], 0x80);
  platform::Free(joined);
  // Memory short for the group: the table of contents alone, without a message.
  toc = SmallToc().Build(&tocLength);
  fake::FailAllocation(1);
  EXPECT_EQ(AddBookmarkGroup(toc, tocLength, &length, &groupBytes), toc);
  EXPECT_EQ(groupBytes, 0u);
  EXPECT_TRUE(fake::MessageBoxes().empty());
  platform::Free(toc);
}

TEST_F(BookmarkGroupTest, JoinTakesEitherSideAloneAndDropsTheFirstWhenMemoryIsShort) {
  uint32_t pLength = 0, qLength = 0, length = 0;
  uint8_t* p = IndexStreamBuilder().Add(E | 1, 0x81, 0, "a").Build(&pLength);
  EXPECT_EQ(JoinIndexStreams(p, pLength, nullptr, 0, &length), p);
  EXPECT_EQ(length, pLength);
  EXPECT_EQ(JoinIndexStreams(nullptr, 0, p, pLength, &length), p);
  EXPECT_EQ(JoinIndexStreams(nullptr, 0, nullptr, 0, &length), nullptr);
  EXPECT_EQ(length, 0u);
  // A stream without its end record joins up to its last whole record.
  std::vector<uint8_t> cut = IndexStreamBuilder().Add(E | 2, 0x81, 0, "b").Add(E | 3, 0x81, 0, "c").Bytes();
  cut.resize(cut.size() - 5 - 1);
  uint8_t* q = IndexStreamBuilder::Block(cut, &qLength);
  uint8_t* joined = JoinIndexStreams(p, pLength, q, qLength, &length);
  const std::vector<uint8_t> expected = {1, 0x40, 0x81, 0, 'a', 0, 2, 0x40, 0x81, 0, 'b', 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(joined, joined + length), expected);
  platform::Free(joined);

  p = IndexStreamBuilder().Add(E | 1, 0x81, 0, "a").Build(&pLength);
  q = IndexStreamBuilder().Add(E | 2, 0x81, 0, "b").Build(&qLength);
  fake::FailAllocation(1);
  EXPECT_EQ(JoinIndexStreams(p, pLength, q, qLength, &length), q);
  EXPECT_EQ(length, qLength);
  platform::Free(q);
}

}  // namespace
}  // namespace shell_test
