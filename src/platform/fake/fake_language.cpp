// The interface's language on the fake: English and left to right after the reset; a test
// gives translations and the direction it wants.
#include <map>
#include <string>
#include <utility>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

struct LanguageState {
  bool rightToLeft = false;
  std::map<std::pair<std::string, std::u16string>, std::u16string> translations;
};

LanguageState& Language() {
  static LanguageState state;
  return state;
}

}  // namespace

void SetLayoutRightToLeft(bool rightToLeft) { Language().rightToLeft = rightToLeft; }

void SetTranslation(const std::string& context, const std::u16string& source, const std::u16string& translation) {
  Language().translations[{context, source}] = translation;
}

void ResetLanguage() { Language() = LanguageState{}; }

}  // namespace fake

namespace platform {

std::u16string TranslateText(const char* context, const char16_t* source) {
  if (!source) return {};
  const auto& translations = fake::Language().translations;
  const auto found = translations.find({context ? context : "", source});
  return found == translations.end() ? std::u16string(source) : found->second;
}

bool IsLayoutRightToLeft() { return fake::Language().rightToLeft; }

}  // namespace platform
