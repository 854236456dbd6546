// The interface's language as the reader stores it, and the dialog that chooses it, on the
// fake backend.
#include <string>
#include <vector>

#include "dialogs/language_choice.h"
#include "shell/command_ids.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using platform::Window;

class LanguageChoiceTest : public ShellTest {
 protected:
  void Store(const std::u16string& value) { fake::PutStringSetting(kSettingsKeyPath, kLanguageSetting, value); }
  std::u16string Stored() const {
    const fake::StoredSetting* s = fake::FindSetting(kSettingsKeyPath, kLanguageSetting);
    if (!s) return u"(none)";
    std::u16string text(reinterpret_cast<const char16_t*>(s->data.data()), s->data.size() / 2);
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
  }
  // The radio buttons checked, in order.
  static std::vector<bool> Checks(Window* dialog) {
    std::vector<bool> checks;
    for (int id : {kLanguageDesktopId, kLanguageEnglishId, kLanguageHebrewId})
      checks.push_back(platform::IsDialogButtonChecked(dialog, id));
    return checks;
  }
  intptr_t Run(std::vector<fake::DialogStep> steps) {
    fake::ScriptDialogSteps(kLanguageDialogId, std::move(steps));
    return OpenLanguageChoice(nullptr);
  }
};

TEST_F(LanguageChoiceTest, StoredValuesReadAsAChoice) {
  struct Case {
    const char16_t* stored;  // none: no value
    InterfaceLanguage read;
  };
  const Case cases[] = {
      {u"he", InterfaceLanguage::kHebrew},  {u"en", InterfaceLanguage::kEnglish}, {u"", InterfaceLanguage::kDesktop},
      {u"fr", InterfaceLanguage::kDesktop}, {u"hebrew", InterfaceLanguage::kDesktop},
      {u"HE", InterfaceLanguage::kDesktop}, {nullptr, InterfaceLanguage::kDesktop},
  };
  for (const Case& c : cases) {
    fake::ResetSettings();
    if (c.stored) Store(c.stored);
    EXPECT_EQ(StoredLanguage(), c.read) << (c.stored ? std::string(c.stored, c.stored + 2) : "none");
  }
  // A value of another kind (bytes that are no text) is no choice either.
  fake::ResetSettings();
  fake::PutBytesSetting(kSettingsKeyPath, kLanguageSetting, {0x68});
  EXPECT_EQ(StoredLanguage(), InterfaceLanguage::kDesktop);
}

TEST_F(LanguageChoiceTest, DialogShowsTheStoredChoiceAndOkStoresTheCheckedOne) {
  struct Case {
    const char16_t* stored;
    std::vector<bool> shown;
    int picked;
    std::u16string afterOk;
  };
  const Case cases[] = {
      {u"he", {false, false, true}, kLanguageEnglishId, u"en"},
      {u"en", {false, true, false}, kLanguageHebrewId, u"he"},
      {u"", {true, false, false}, kLanguageHebrewId, u"he"},
      {u"he", {false, false, true}, kLanguageDesktopId, u""},
      {u"xx", {true, false, false}, kLanguageDesktopId, u""},
  };
  for (const Case& c : cases) {
    fake::ResetSettings();
    Store(c.stored);
    std::vector<bool> shown;
    EXPECT_EQ(Run({fake::Inspect([&](Window* dialog) { shown = Checks(dialog); }), fake::PressButton(c.picked),
                   fake::PressButton(platform::kIdOk)}),
              platform::kIdOk);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(Stored(), c.afterOk);
  }
}

TEST_F(LanguageChoiceTest, CancelKeepsTheStoredChoice) {
  Store(u"he");
  EXPECT_EQ(Run({fake::PressButton(kLanguageEnglishId), fake::PressButton(platform::kIdCancel)}), platform::kIdCancel);
  EXPECT_EQ(Stored(), u"he");
  fake::ResetSettings();
  EXPECT_EQ(Run({fake::PressButton(kLanguageHebrewId), fake::PressButton(platform::kIdCancel)}), platform::kIdCancel);
  EXPECT_EQ(Stored(), u"(none)");
}

TEST_F(LanguageChoiceTest, GoMenuItemOpensTheDialogOverTheReader) {
  fake::PutStringSetting(kSettingsKeyPath, u"FontName", u"Tahoma");
  ASSERT_NE(Start(), nullptr);
  bool listed = false;
  for (const fake::FakeMenuItem& item : fake::MenuItems(ReaderMenu()))
    listed = listed || (item.command == kCmdLanguage && item.text == u"&Language");
  EXPECT_TRUE(listed);
  fake::ScriptDialogSteps(kLanguageDialogId, {fake::PressButton(kLanguageHebrewId), fake::PressButton(platform::kIdOk)});
  Command(kCmdLanguage);
  ASSERT_FALSE(fake::Dialogs().empty());
  EXPECT_EQ(fake::Dialogs().back().templateId, kLanguageDialogId);
  EXPECT_EQ(fake::Dialogs().back().owner, window_);
  EXPECT_EQ(Stored(), u"he");
}

}  // namespace
}  // namespace shell_test
