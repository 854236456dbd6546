// Dialogs and controls of the fake backend: controls made from the templates, the message
// sequence of a scripted dialog, and the control operations the dialogs' tests rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace {

using platform::Window;

std::vector<uint32_t> gMessages;
intptr_t Recording(Window*, uint32_t message, uintptr_t, intptr_t) {
  gMessages.push_back(message);
  return message == platform::kMsgInitDialog ? 1 : 0;
}

class FakeDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::ResetAll();
    gMessages.clear();
  }
  // Runs template id with the steps; answers the result.
  intptr_t Run(uint32_t id, std::vector<fake::DialogStep> steps) {
    fake::ScriptDialogSteps(id, std::move(steps));
    return platform::DialogBox(id, nullptr, Recording, 0);
  }
};

TEST_F(FakeDialogTest, ControlsComeFromTheTemplateInPixels) {
  Run(115, {fake::Inspect([](Window* dialog) {
    const fake::FakeWindowInfo* info = fake::WindowInfo(dialog);
    EXPECT_EQ(info->title, u"Solmar");
    EXPECT_EQ(info->rect.right - info->rect.left, 252);  // 126 units * 8 / 4
    EXPECT_EQ(info->rect.bottom - info->rect.top, 262);  // 131 units * 16 / 8
    Window* edit = platform::GetDialogItem(dialog, 1013);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(fake::WindowInfo(edit)->rect.left, 14);
    EXPECT_EQ(fake::WindowInfo(edit)->rect.top, 42);
    EXPECT_EQ(platform::GetDialogControlId(edit), 1013);
    EXPECT_EQ(fake::FocusWindow(), edit);  // the init answer asked for the default focus
    EXPECT_EQ(platform::GetDialogItem(dialog, 1015), nullptr);
    EXPECT_EQ(platform::GetDialogItem(dialog, platform::kNoControlId), nullptr);
    // The picture takes its bitmap's size in pixels; the static text its units.
    int pictures = 0;
    for (Window* w : fake::AllWindows()) {
      const fake::FakeControl* c = fake::ControlInfo(w);
      if (!c || fake::WindowInfo(w)->parent != dialog) continue;
      const platform::Rect r = fake::WindowInfo(w)->rect;
      if (c->kind == platform::ControlKind::kPicture) {
        ++pictures;
        EXPECT_EQ(c->pictureId, 119u);
        EXPECT_EQ(r.left, 14);
        EXPECT_EQ(r.top, 142);
        EXPECT_EQ(r.right - r.left, 154);
        EXPECT_EQ(r.bottom - r.top, 95);
      } else if (c->kind == platform::ControlKind::kStaticText) {
        EXPECT_EQ(c->text, u"Search");
        EXPECT_EQ(r.right - r.left, 224);
        EXPECT_EQ(r.bottom - r.top, 16);
      }
    }
    EXPECT_EQ(pictures, 1);
  })});
  const fake::RecordedDialog& d = fake::Dialogs().back();
  std::vector<uint32_t> order;
  for (const fake::MessageCall& m : d.messages) order.push_back(m.message);
  EXPECT_EQ(order, (std::vector<uint32_t>{platform::kMsgInitDialog, platform::kMsgActivate, platform::kMsgDestroy}));
  EXPECT_TRUE(fake::WindowInfo(d.dialog)->destroyed);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(fake::LiveLoadedBitmaps(), 0);
}

TEST_F(FakeDialogTest, UnscriptedOrUnknownDialogs) {
  EXPECT_EQ(platform::DialogBox(115, nullptr, Recording, 0), -1);
  EXPECT_TRUE(gMessages.empty());
  // A scripted template the program does not carry still runs, with no controls.
  fake::ScriptDialog(900, {{platform::kMsgCommand, 7, 0}});
  EXPECT_EQ(platform::DialogBox(900, nullptr, Recording, 0), 0);
  EXPECT_EQ(gMessages, (std::vector<uint32_t>{platform::kMsgInitDialog, platform::kMsgActivate,
                                              platform::kMsgCommand, platform::kMsgDestroy}));
}

TEST_F(FakeDialogTest, EditSelectionAndReplacementKeepTheLimit) {
  Run(115, {fake::Inspect([](Window* dialog) {
    Window* edit = platform::GetDialogItem(dialog, 1013);
    platform::SetWindowText(edit, u"abcdef");
    platform::EditLimitText(edit, 7);
    platform::EditSetSelection(edit, 2, 4);
    platform::EditReplaceSelection(edit, u"XYZW", true);  // 4 kept + 3 room
    char16_t text[16];
    platform::GetWindowText(edit, text, 16);
    EXPECT_EQ(std::u16string(text), u"abXYZef");
    uint32_t s = 9, e = 9;
    platform::EditGetSelection(edit, &s, &e);
    EXPECT_EQ(s, 5u);
    EXPECT_EQ(e, 5u);
    platform::EditSetSelection(edit, 0, -1);
    platform::EditGetSelection(edit, &s, &e);
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(e, 7u);
    platform::EditSetSelection(edit, 6, 3);  // reversed ends are put in order
    platform::EditGetSelection(edit, &s, &e);
    EXPECT_EQ(s, 3u);
    EXPECT_EQ(e, 6u);
    platform::EditSetSelection(edit, -1, 0);  // deselects, the caret stays at the end
    platform::EditGetSelection(edit, &s, &e);
    EXPECT_EQ(s, 6u);
    EXPECT_EQ(e, 6u);
    EXPECT_EQ(platform::GetWindowText(edit, text, 3), 2u);
    EXPECT_EQ(std::u16string(text), u"ab");
  })});
}

TEST_F(FakeDialogTest, ListBoxesSortFindAndSelect) {
  Run(105, {fake::Inspect([](Window* dialog) {
              Window* faces = platform::GetDialogItem(dialog, 1001);
              for (const char16_t* name : {u"Nachlieli", u"david", u"Arial", u"DejaVu Sans", u"Miriam"})
                platform::ListBoxAddString(faces, name);
              std::vector<std::u16string> items;
              for (const fake::FakeListItem& item : fake::ControlInfo(faces)->items) items.push_back(item.text);
              EXPECT_EQ(items, (std::vector<std::u16string>{u"Arial", u"david", u"DejaVu Sans", u"Miriam", u"Nachlieli"}));
              EXPECT_EQ(platform::ListBoxFindPrefix(faces, -1, u"DE"), 2);
              EXPECT_EQ(platform::ListBoxFindPrefix(faces, 2, u"d"), 1);  // goes round once
              EXPECT_EQ(platform::ListBoxFindPrefix(faces, -1, u"x"), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxSelectPrefix(faces, -1, u"mir"), 3);
              EXPECT_EQ(platform::ListBoxGetCurrentSelection(faces), 3);
              EXPECT_EQ(platform::ListBoxSelectPrefix(faces, -1, u"zz"), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxGetCurrentSelection(faces), 3);
              EXPECT_TRUE(platform::ListBoxSetItemData(faces, 4, 177));
              EXPECT_EQ(platform::ListBoxGetItemData(faces, 4), 177);
              EXPECT_EQ(platform::ListBoxGetItemData(faces, 5), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxDeleteString(faces, 0), 4);
              EXPECT_EQ(platform::ListBoxGetCurrentSelection(faces), 2);  // follows its string
              char16_t text[8];
              EXPECT_EQ(platform::ListBoxGetText(faces, 3, text, 8), 7);
              EXPECT_EQ(std::u16string(text), u"Nachlie");
              EXPECT_EQ(platform::ListBoxGetText(faces, 4, text, 8), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxGetText(faces, -1, text, 8), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxSetCurrentSelection(faces, 9), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxGetCurrentSelection(faces), platform::kListBoxError);
              Window* sizes = platform::GetDialogItem(dialog, 1006);  // unsorted
              platform::ListBoxAddString(sizes, u"12");
              platform::ListBoxAddString(sizes, u"10");
              EXPECT_EQ(platform::ListBoxInsertString(sizes, 0, u"9"), 0);
              EXPECT_EQ(fake::ControlInfo(sizes)->items[2].text, u"10");
              EXPECT_EQ(platform::ListBoxInsertString(sizes, 4, u"x"), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxInsertString(sizes, -2, u"x"), platform::kListBoxError);
              EXPECT_EQ(platform::ListBoxInsertString(sizes, -1, u"72"), 3);
              platform::ListBoxReset(sizes);
              EXPECT_EQ(platform::ListBoxCount(sizes), 0);
            }),
            fake::SelectListItem(1001, 1)});
  const auto& messages = fake::Dialogs().back().messages;
  ASSERT_GE(messages.size(), 3u);
  const fake::MessageCall& change = messages[messages.size() - 2];
  EXPECT_EQ(change.message, platform::kMsgCommand);
  EXPECT_EQ(change.wParam, uintptr_t(platform::MakeLong(1001, platform::kLbnSelChange)));
}

// A non-modal dialog stays after CreateDialog; its result list asks for cells only when a
// test draws a row, and keys move the selection within the rows as a list does.
std::vector<std::pair<int, int>> gCellsAsked;
intptr_t ListOwner(Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  gMessages.push_back(message);
  if (message == platform::kMsgGetRowCell) {
    auto* cell = reinterpret_cast<platform::RowCell*>(lParam);
    gCellsAsked.emplace_back(cell->row, cell->column);
    cell->text.assign(1, u'x');
  }
  if (message == platform::kMsgCommand && platform::LowWord(wParam) == uint32_t(platform::kIdCancel))
    platform::DestroyWindow(dialog);
  return 0;
}

TEST_F(FakeDialogTest, NonModalDialogWithAResultList) {
  gCellsAsked.clear();
  Window* dialog = platform::CreateDialog(125, nullptr, ListOwner, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(gMessages, (std::vector<uint32_t>{platform::kMsgInitDialog, platform::kMsgActivate}));
  Window* list = platform::GetDialogItem(dialog, 1001);
  const platform::ResultColumn columns[] = {{u"A", 10}, {u"B", 0}};
  platform::ResultListSetColumns(list, columns, 2);
  platform::ResultListSetRowCount(list, 12);
  EXPECT_TRUE(gCellsAsked.empty());
  EXPECT_EQ(fake::ResultListRow(list, 11).size(), 2u);
  EXPECT_TRUE(fake::ResultListRow(list, 12).empty());
  EXPECT_EQ(gCellsAsked, (std::vector<std::pair<int, int>>{{11, 0}, {11, 1}}));

  EXPECT_EQ(platform::ResultListGetSelection(list), platform::kListBoxError);
  fake::ResultListKey(list, platform::kVkUp);  // from none: the first row
  EXPECT_EQ(platform::ResultListGetSelection(list), 0);
  fake::ResultListKey(list, platform::kVkNext);
  EXPECT_EQ(platform::ResultListGetSelection(list), 10);
  fake::ResultListKey(list, platform::kVkNext);
  EXPECT_EQ(platform::ResultListGetSelection(list), 11);
  fake::ResultListKey(list, platform::kVkPrior);
  EXPECT_EQ(platform::ResultListGetSelection(list), 1);
  EXPECT_EQ(platform::ResultListSetSelection(list, 12), platform::kListBoxError);
  EXPECT_EQ(platform::ResultListGetSelection(list), platform::kListBoxError);
  platform::ResultListSetSelection(list, 5);
  platform::ResultListSetRowCount(list, 3);  // new rows: nothing selected
  EXPECT_EQ(platform::ResultListGetSelection(list), platform::kListBoxError);

  platform::SetFocus(list);
  fake::ResultListKey(list, platform::kVkEscape);
  EXPECT_TRUE(fake::WindowInfo(dialog)->destroyed);
  EXPECT_EQ(gMessages.back(), platform::kMsgDestroy);
  // The destroyed list keeps no focus, so trimming the records may free it safely.
  EXPECT_EQ(fake::FocusWindow(), nullptr);
  fake::TrimRecords();
  EXPECT_EQ(fake::FocusWindow(), nullptr);
  EXPECT_EQ(platform::CreateDialog(999, nullptr, ListOwner, 0), nullptr);
}

TEST_F(FakeDialogTest, RadioButtonsCheckByIdAndByPress) {
  Run(105, {fake::Inspect([](Window* dialog) {
              platform::CheckDialogButton(dialog, 1004, true);
              platform::CheckDialogButton(dialog, 1003, true);  // no such button: nothing
              EXPECT_TRUE(platform::IsDialogButtonChecked(dialog, 1004));
              EXPECT_FALSE(platform::IsDialogButtonChecked(dialog, 1003));
            }),
            fake::PressButton(1005), fake::Inspect([](Window* dialog) {
              EXPECT_FALSE(platform::IsDialogButtonChecked(dialog, 1004));
              EXPECT_TRUE(platform::IsDialogButtonChecked(dialog, 1005));
              platform::EndDialog(dialog, 1);
              EXPECT_FALSE(platform::EndDialog(dialog, 2));
            })});
  EXPECT_EQ(fake::Dialogs().back().result, 1);
}

// A dialog that ends while steps of its script are left fails the test: the steps, and the
// checks among them, would never run. Random use, whose taps may end a dialog anywhere, says
// so, and its steps after the end are then left out.
TEST_F(FakeDialogTest, StepsLeftUnrunFailTheTestUnlessTheScriptMayEndEarly) {
  const auto endThenPress = [] {
    return std::vector<fake::DialogStep>{fake::Inspect([](Window* dialog) { platform::EndDialog(dialog, 1); }),
                                         fake::PressButton(1004), fake::PressButton(1005)};
  };
  EXPECT_DEATH(
      {
        fake::ScriptDialogSteps(105, endThenPress());
        platform::DialogBox(105, nullptr, Recording, 0);
      },
      "fake dialog 105 ended with 2 of its 3 scripted steps unrun");

  fake::ScriptDialogSteps(105, endThenPress(), fake::ScriptEnd::kMayEndEarly);
  EXPECT_EQ(platform::DialogBox(105, nullptr, Recording, 0), 1);
  int presses = 0;
  for (const fake::MessageCall& call : fake::Dialogs().back().messages) presses += call.message == platform::kMsgCommand;
  EXPECT_EQ(presses, 0);
}

}  // namespace
