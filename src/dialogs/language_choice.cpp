#include "dialogs/language_choice.h"

#include <string_view>

#include "shell/settings_store.h"

namespace {

struct Choice {
  int buttonId;
  InterfaceLanguage language;
  const char16_t* code;
};
constexpr Choice kChoices[] = {
    {kLanguageDesktopId, InterfaceLanguage::kDesktop, u""},
    {kLanguageEnglishId, InterfaceLanguage::kEnglish, u"en"},
    {kLanguageHebrewId, InterfaceLanguage::kHebrew, u"he"},
};

intptr_t LanguageDialogProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t) {
  switch (message) {
    case platform::kMsgInitDialog: {
      const InterfaceLanguage stored = StoredLanguage();
      for (const Choice& choice : kChoices)
        platform::CheckDialogButton(dialog, choice.buttonId, choice.language == stored);
      return 1;
    }
    case platform::kMsgCommand:
      switch (platform::LowWord(wParam)) {
        case platform::kIdOk:
          for (const Choice& choice : kChoices)
            if (platform::IsDialogButtonChecked(dialog, choice.buttonId)) StoreLanguage(choice.language);
          platform::EndDialog(dialog, platform::kIdOk);
          return 1;
        case platform::kIdCancel:
          platform::EndDialog(dialog, platform::kIdCancel);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

}  // namespace

InterfaceLanguage StoredLanguage() {
  char16_t* value = ReadStringSetting(kLanguageSetting);
  InterfaceLanguage language = InterfaceLanguage::kDesktop;
  if (value) {
    for (const Choice& choice : kChoices)
      if (*choice.code && std::u16string_view(value) == choice.code) language = choice.language;
    platform::Free(value);
  }
  return language;
}

bool StoreLanguage(InterfaceLanguage choice) {
  for (const Choice& c : kChoices)
    if (c.language == choice) return WriteStringSetting(kLanguageSetting, c.code);
  return false;
}

intptr_t OpenLanguageChoice(platform::Window* owner) {
  return platform::DialogBox(kLanguageDialogId, owner, LanguageDialogProc, 0);
}
