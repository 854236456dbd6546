// Message boxes of the fake backend: recorded, answered from a script.
#include <deque>

#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

std::vector<RecordedMessageBox>& Recorded() {
  static std::vector<RecordedMessageBox> boxes;
  return boxes;
}

std::deque<int>& Script() {
  static std::deque<int> answers;
  return answers;
}

}  // namespace

void ResetMessageBoxes() {
  Recorded().clear();
  Script().clear();
}

const std::vector<RecordedMessageBox>& MessageBoxes() { return Recorded(); }

void ScriptMessageBoxAnswers(std::vector<int> answers) { Script().assign(answers.begin(), answers.end()); }

}  // namespace fake

namespace platform {

int MessageBox(Window* owner, const char16_t* text, const char16_t* caption, uint32_t type) {
  const fake::FakeWindowInfo* ownerInfo = fake::WindowInfo(owner);
  fake::Recorded().push_back({owner, ownerInfo && ownerInfo->visible, text ? std::u16string(text) : std::u16string(), caption != nullptr,
                              caption ? std::u16string(caption) : std::u16string(), type & kMbButtonsMask,
                              type & kMbIconMask});
  auto& script = fake::Script();
  if (!script.empty()) {
    const int answer = script.front();
    script.pop_front();
    return answer == fake::kDismissBox ? MessageBoxDismissAnswer(type) : answer;
  }
  const uint32_t buttons = type & kMbButtonsMask;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdYes : kIdOk;
}

}  // namespace platform
