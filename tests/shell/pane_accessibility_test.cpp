// The panes as the platform sees them for assistive technology and keyboard focus, on the
// fake backend.
#include "shell/pane_accessibility.h"
#include "shell_fixture.h"
#include "view/page_text.h"

namespace {

using shell_test::ShellTest;
using PaneAccessibilityTest = ShellTest;

struct Described {
  std::u16string name;
  platform::Rect rect{};
};

Described Describe(platform::Window* window, int index) {
  Described d;
  const platform::AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window);
  EXPECT_TRUE(documents && documents->describe(window, index, &d.name, &d.rect)) << "document " << index;
  return d;
}

TEST_F(PaneAccessibilityTest, BothPanesAreDocumentsWithTheirViewsTextAndPlace) {
  ASSERT_NE(Start(), nullptr);
  const platform::AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window_);
  ASSERT_NE(documents, nullptr);
  ASSERT_EQ(documents->count(window_), 2);
  const Described page = Describe(window_, 0), commentary = Describe(window_, 1);
  EXPECT_EQ(page.name, u"Page");
  EXPECT_EQ(commentary.name, u"Commentary");
  EXPECT_EQ(page.rect.top, Upper()->y);
  EXPECT_EQ(page.rect.bottom, Upper()->y + Upper()->height);
  EXPECT_EQ(commentary.rect.top, Lower()->y);
  EXPECT_EQ(commentary.rect.right, Lower()->x + Lower()->width);
  EXPECT_FALSE(documents->describe(window_, 2, nullptr, nullptr));
  EXPECT_FALSE(documents->describe(window_, -1, nullptr, nullptr));

  EXPECT_EQ(documents->text(window_, 0, true), PageViewArticleText(Upper()));
  EXPECT_EQ(documents->text(window_, 1, false), PageViewVisibleText(Lower()));
  // The fake book's articles begin "n<number>"; the letter n reads as final mem.
  EXPECT_EQ(documents->text(window_, 0, true).substr(0, 3), u"\u05DD" u"1\n");
  EXPECT_EQ(documents->text(window_, 1, true).substr(0, 3), u"\u05DD" u"2\n");
  EXPECT_TRUE(documents->text(window_, 2, true).empty());
  // The shown rows follow the page: after Next the upper pane reads article 3.
  Key(platform::kVkRight);
  EXPECT_EQ(documents->text(window_, 0, false).substr(0, 3), u"\u05DD" u"3\n");
}

TEST_F(PaneAccessibilityTest, FocusOnAPaneMakesItTheOneKeysScroll) {
  ASSERT_NE(Start(), nullptr);
  const platform::AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window_);
  ASSERT_NE(documents, nullptr);
  documents->focus(window_, 1);
  EXPECT_EQ(ActiveView(), Lower());
  Key(platform::kVkDown);
  EXPECT_EQ(Lower()->topRow, 1);
  EXPECT_EQ(Upper()->topRow, 0);
  documents->focus(window_, 0);
  EXPECT_EQ(ActiveView(), Upper());
  Key(platform::kVkDown);
  EXPECT_EQ(Upper()->topRow, 1);
  documents->focus(window_, 5);  // no such pane: nothing changes
  EXPECT_EQ(ActiveView(), Upper());
}

TEST_F(PaneAccessibilityTest, HiddenLowerPaneIsNoDocument) {
  ASSERT_NE(Start(), nullptr);
  const platform::AccessibleDocuments* documents = fake::AccessibleDocumentsOf(window_);
  ASSERT_NE(documents, nullptr);
  Command(401);  // lower pane: none; its view keeps its size below the client area
  ASSERT_GT(Lower()->height, 0);
  EXPECT_EQ(documents->count(window_), 1);
  EXPECT_EQ(Describe(window_, 0).name, u"Page");
  EXPECT_FALSE(documents->describe(window_, 1, nullptr, nullptr));
  Command(412);
  EXPECT_EQ(documents->count(window_), 2);
}

}  // namespace
