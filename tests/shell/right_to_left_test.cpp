// The reader in a right-to-left interface on the fake backend: the scroll bars stand at the
// panes' left and the panes draw exactly what they draw in a left-to-right one, moved over
// by the bar; dialogs are the mirror images of their templates; the scroll bars carry names
// for screen readers; pieces the reader puts together are translated.
#include <map>
#include <vector>

#include "platform/dialog_template.h"
#include "search/find_all.h"
#include "search/find_all_list.h"
#include "search/search.h"
#include "shell_fixture.h"

namespace shell_test {
namespace {

class RightToLeftTest : public ShellTest {
 protected:
  void Resize(int32_t width, int32_t height) {
    Send(platform::kMsgSize, 0, platform::MakeLong(uint32_t(width), uint32_t(height)));
  }
  // Everything of the last start taken down, as between two tests.
  void Restart() {
    TearDown();
    window_ = nullptr;
    SetUp();
  }
  const platform::Rect& BarRect(platform::Window* bar) const { return fake::WindowInfo(bar)->rect; }
  // What a full repaint of both panes draws.
  std::vector<fake::DrawCall> Repaint() {
    fake::ClearDrawCalls();
    RepaintPanes(window_, kRepaintAll);
    return fake::DrawCalls();
  }
};

TEST_F(RightToLeftTest, ScrollBarsStandAtThePanesLeft) {
  struct Case {
    int32_t gutter;
    int32_t barLeft, paneLeft, paneRight;  // the upper bar, lowerRect
  };
  // A 200 x 300 client area, bars 13 pixels wide.
  const Case cases[] = {{0, 0, 13, 200}, {6, 0, 6 + 13, 200 - 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gutter);
    Restart();
    PutDevice(u"SurroundingGutter", uint32_t(c.gutter));
    fake::SetLayoutRightToLeft(true);
    ASSERT_NE(Start(false), nullptr);
    Resize(200, 300);
    EXPECT_EQ(BarRect(gPaneState.upperScrollBar).left, c.barLeft);
    EXPECT_EQ(BarRect(gPaneState.upperScrollBar).right, c.barLeft + 13);
    EXPECT_EQ(BarRect(gPaneState.lowerScrollBar).left, c.barLeft);
    EXPECT_EQ(gPaneState.lowerRect.left, c.paneLeft);
    EXPECT_EQ(gPaneState.lowerRect.right, c.paneRight);
    EXPECT_EQ(Upper()->x, c.paneLeft);
    EXPECT_EQ(Upper()->width, 200 - 2 * c.gutter - 13);
    EXPECT_EQ(Lower()->x, c.paneLeft);
  }
}

// The panes' inside is the same picture, moved right by the bar's width; only the red line
// under the upper pane runs across the bar on its other side.
TEST_F(RightToLeftTest, PanesDrawTheSameMovedOverByTheBar) {
  ASSERT_NE(Start(false), nullptr);
  Resize(200, 300);
  const std::vector<fake::DrawCall> leftToRight = Repaint();
  Restart();
  fake::SetLayoutRightToLeft(true);
  ASSERT_NE(Start(false), nullptr);
  Resize(200, 300);
  const std::vector<fake::DrawCall> rightToLeft = Repaint();
  ASSERT_EQ(rightToLeft.size(), leftToRight.size());
  size_t texts = 0;
  for (size_t i = 0; i < leftToRight.size(); ++i) {
    const fake::DrawCall& a = leftToRight[i];
    const fake::DrawCall& b = rightToLeft[i];
    ASSERT_EQ(a.op, b.op) << i;
    EXPECT_EQ(a.text, b.text) << i;
    if (a.op == fake::DrawOp::kRectangle && a.penColour == kRed) {
      EXPECT_EQ(a.rect.left, 0);
      EXPECT_EQ(a.rect.right, 200);
      EXPECT_EQ(b.rect.left, 0);
      EXPECT_EQ(b.rect.right, 200);
      continue;
    }
    const bool placed = a.rect.left || a.rect.right || a.rect.top || a.rect.bottom;
    if (!placed) continue;  // calls that draw at no place of their own (a selection's change)
    EXPECT_EQ(b.rect.left, a.rect.left + 13) << i;
    EXPECT_EQ(b.rect.right, a.rect.right + 13) << i;
    EXPECT_EQ(b.rect.top, a.rect.top) << i;
    texts += a.op == fake::DrawOp::kText;
  }
  EXPECT_GT(texts, 10u);
}

TEST_F(RightToLeftTest, ScrollBarsAreNamedForScreenReaders) {
  fake::SetTranslation("Accessibility", u"Page position", u"מיקום בעמוד");
  ASSERT_NE(Start(false), nullptr);
  EXPECT_EQ(fake::AccessibleNameOf(gPaneState.upperScrollBar), u"Page position");
  EXPECT_EQ(fake::AccessibleNameOf(gPaneState.lowerScrollBar), u"Commentary position");
}

intptr_t EndOnOk(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t) {
  if (message == platform::kMsgCommand && platform::LowWord(wParam) == platform::kIdOk)
    platform::EndDialog(dialog, platform::kIdOk);
  return message == platform::kMsgInitDialog ? 1 : 0;
}

// The About box: its title stands 45 units from the left in the template, so 7 units from
// the left (45 from the right) when mirrored; a picture keeps its own width.
TEST_F(RightToLeftTest, DialogsAreTheMirrorImageOfTheirTemplates) {
  for (const bool rightToLeft : {false, true}) {
    SCOPED_TRACE(rightToLeft);
    fake::SetLayoutRightToLeft(rightToLeft);
    std::map<int, platform::Rect> rects;  // by template order
    fake::ScriptDialogSteps(103, {fake::Inspect([&](platform::Window* dialog) {
                                    const std::vector<platform::Window*> controls = fake::DialogControls(dialog);
                                    for (size_t i = 0; i < controls.size(); ++i)
                                      rects[int(i)] = fake::WindowInfo(controls[i])->rect;
                                    // The dialog's own placing of a control is mirrored too.
                                    platform::Window* link = platform::GetDialogItem(dialog, 1025);
                                    platform::MoveWindow(link, 10, 20, 30, 40, false);
                                    const platform::Rect moved = fake::WindowInfo(link)->rect;
                                    EXPECT_EQ(moved.left, rightToLeft ? 320 - 10 - 30 : 10);
                                    EXPECT_EQ(moved.right - moved.left, 30);
                                  }),
                                  fake::PressButton(platform::kIdOk)});
    ASSERT_EQ(platform::DialogBox(103, nullptr, EndOnOk, 0), platform::kIdOk);
    // Only a dialog has controls: the main window and a handle the fake never made have none.
    EXPECT_TRUE(fake::DialogControls(window_).empty());
    EXPECT_TRUE(fake::DialogControls(nullptr).empty());
    ASSERT_GE(rects.size(), 3u);
    // 160 units: 320 pixels wide at the fake's 2 pixels a unit.
    EXPECT_EQ(rects[1].left, rightToLeft ? 14 : 90);
    EXPECT_EQ(rects[1].right - rects[1].left, 216);
    EXPECT_EQ(rects[1].top, 18);
    const int32_t pictureWidth = rects[0].right - rects[0].left;
    EXPECT_EQ(rects[0].left, rightToLeft ? 320 - 14 - pictureWidth : 14);
  }
}

TEST_F(RightToLeftTest, FindAllCaptionAndCellsSpeakTheInterfacesLanguage) {
  uint8_t pattern[kSearchStringSize] = {};
  ASSERT_EQ(StoredPatternFromReadingOrder(u"אב", pattern), PatternError::kNone);
  fake::SetTranslation("FindAll", u" hits", u" מופעים");
  fake::SetTranslation("FindAll", u" hit", u" מופע");
  EXPECT_EQ(FindAllCaption(pattern, 3), u"אב \u2014 3 מופעים");
  EXPECT_EQ(FindAllCaption(pattern, 1), u"אב \u2014 1 מופע");
}

}  // namespace
}  // namespace shell_test
