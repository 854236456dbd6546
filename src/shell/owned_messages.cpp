#include "shell/owned_messages.h"

#include "shell/shell_state.h"

int ShowOwnedMessage(platform::Window* owner, const char16_t* text, const char16_t* caption, uint32_t type) {
  WaitingMessages& waiting = gWaitingMessages;
  constexpr int kCapacity = sizeof waiting.messages / sizeof waiting.messages[0];
  if (!owner || platform::IsWindowVisible(owner) || waiting.count == kCapacity)
    return platform::MessageBox(owner, text, caption, type);
  waiting.messages[waiting.count++] = {text, caption, type};
  return platform::MessageBoxDismissAnswer(type);
}

void ShowWaitingMessages(platform::Window* owner) {
  WaitingMessages& waiting = gWaitingMessages;
  // Taken first: a box shown here may come back here through a nested loop.
  const WaitingMessages shown = waiting;
  waiting = WaitingMessages{};
  for (int i = 0; i < shown.count; ++i)
    platform::MessageBox(owner, shown.messages[i].text, shown.messages[i].caption, shown.messages[i].type);
}
