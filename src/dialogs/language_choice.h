// The interface's language as the user chooses it: the stored setting "Language" ("he",
// "en", or empty for the desktop's language) and the dialog that sets it. The backend reads
// the setting once at start, so a new choice shows from the next start; the dialog says so.
#pragma once

#include "platform/platform.h"

inline constexpr char16_t kLanguageSetting[] = u"Language";
constexpr uint32_t kLanguageDialogId = 131;
// The dialog's radio buttons, one per choice.
constexpr int kLanguageDesktopId = 1301;
constexpr int kLanguageEnglishId = 1302;
constexpr int kLanguageHebrewId = 1303;

enum class InterfaceLanguage { kDesktop, kEnglish, kHebrew };

// The stored choice: kDesktop when the setting is missing, empty or names no language the
// interface speaks.
InterfaceLanguage StoredLanguage();
// Stores choice ("" for kDesktop); false when it could not be written.
bool StoreLanguage(InterfaceLanguage choice);
// Lets the user choose over owner: the stored choice checked, OK stores the checked one,
// Cancel changes nothing. The dialog's answer (kIdOk, kIdCancel, -1 when it could not open).
intptr_t OpenLanguageChoice(platform::Window* owner);
