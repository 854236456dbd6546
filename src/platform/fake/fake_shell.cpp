// Shell services, single instance, system queries and clipboard formats of the fake backend: recorded calls
// and answers a test sets.
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace fake {
namespace {

struct ShellState {
  std::vector<std::pair<platform::Window*, uint32_t>> fullScreenStates;
  int settingChanges = 0;
  std::vector<std::pair<platform::Window*, uint32_t>> dialogInits;
  bool otherInstance = false;
  bool claimed = false;
  std::vector<platform::InstanceRequest> requests;
  std::vector<std::u16string> requestTexts;
  platform::Window* requestWindow = nullptr;
  platform::OsVersion version{5, 1};
  int yields = 0;
  std::vector<std::u16string> clipboardFormats;
  std::vector<platform::Window*> inputPanelsDown;
};

ShellState& State() {
  static ShellState state;
  return state;
}

}  // namespace

void ResetShell() { State() = ShellState{}; }
void TrimShell() {
  State().fullScreenStates.clear();
  State().dialogInits.clear();
  State().requests.clear();
  State().inputPanelsDown.clear();
}
const std::vector<std::pair<platform::Window*, uint32_t>>& FullScreenStates() { return State().fullScreenStates; }
int SettingChangesHandled() { return State().settingChanges; }
const std::vector<std::pair<platform::Window*, uint32_t>>& ShellDialogInits() { return State().dialogInits; }
void SetOtherInstanceRunning(bool running) { State().otherInstance = running; }
const std::vector<platform::InstanceRequest>& InstanceRequestsSent() { return State().requests; }
const std::vector<std::u16string>& InstanceRequestTexts() { return State().requestTexts; }
platform::Window* InstanceRequestWindow() { return State().requestWindow; }
bool InstanceClaimed() { return State().claimed; }
void SetOsVersion(uint32_t major, uint32_t minor) { State().version = {major, minor}; }
int YieldCalls() { return State().yields; }
const std::vector<platform::Window*>& InputPanelsForcedDown() { return State().inputPanelsDown; }

}  // namespace fake

namespace platform {

bool SetFullScreenState(Window* window, uint32_t state) {
  fake::State().fullScreenStates.emplace_back(window, state);
  return window != nullptr;
}

void HandleSettingChange(Window*, uintptr_t, intptr_t) { fake::State().settingChanges++; }

bool ShellInitDialog(Window* dialog, uint32_t flags) {
  fake::State().dialogInits.emplace_back(dialog, flags);
  // Sized to the screen: as the desktop backend does, the dialog covers its owner's window.
  if (fake::Known(dialog) && (flags & (kDialogSizeToScreen | kDialogSizeFullScreen)) && fake::Known(dialog->info.parent))
    dialog->info.rect = dialog->info.parent->info.rect;
  return dialog != nullptr;
}

void ForceInputPanelDown(Window* window) { fake::State().inputPanelsDown.push_back(window); }

bool ClaimSingleInstance(const char16_t*) {
  if (fake::State().otherInstance) return false;
  fake::State().claimed = true;
  return true;
}

void ServeInstanceRequests(Window* window) { fake::State().requestWindow = window; }

bool SendInstanceRequest(const char16_t*, InstanceRequest request, const char16_t* text) {
  fake::State().requests.push_back(request);
  fake::State().requestTexts.push_back(text ? text : u"");
  return fake::State().otherInstance;
}

OsVersion GetOsVersion() { return fake::State().version; }

void Yield() { fake::State().yields++; }

// Registered formats are numbered from 0xC000 in the order first asked for; a name asked
// for again gets its number again.
uint32_t RegisterClipboardFormat(const char16_t* name) {
  if (!name || !*name) return 0;
  auto& formats = fake::State().clipboardFormats;
  for (size_t i = 0; i < formats.size(); ++i)
    if (formats[i] == name) return uint32_t(0xC000 + i);
  formats.emplace_back(name);
  return uint32_t(0xC000 + formats.size() - 1);
}

}  // namespace platform
