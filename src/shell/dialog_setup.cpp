#include "shell/dialog_setup.h"

#include <string>

#include "shell/settings_store.h"
#include "shell/shell_state.h"

namespace {

constexpr int32_t kLargestSize = 100000;

// In full-screen mode a window keeps its left edge and grows to the top of the screen.
void MoveToScreenTop(platform::Window* window) {
  platform::Rect r{0, 0, 0, 0};
  if (!platform::GetWindowRect(window, &r)) return;
  platform::MoveWindow(window, r.left, 0, r.right, r.bottom, false);
}

DialogSize& SizeOf(DialogSizeSlot slot) { return gDialogSizes.sizes[int(slot)]; }

bool ReadSize(const char16_t*& at, int32_t* value) {
  int32_t n = 0;
  int digits = 0;
  for (; *at >= u'0' && *at <= u'9'; ++at, ++digits) {
    n = n * 10 + (*at - u'0');
    if (n > kLargestSize) return false;
  }
  *value = n;
  return digits > 0 && n > 0;
}

}  // namespace

void SetUpDialog(platform::Window* dialog, uint32_t flags) {
  platform::ShellInitDialog(dialog, gDeviceOptions.fullScreen ? flags : flags | platform::kDialogDoneButton);
  if (gDeviceOptions.fullScreen) MoveToScreenTop(dialog);
}

const char16_t* DialogSizeSettingName(DialogSizeSlot slot) {
  switch (slot) {
    case DialogSizeSlot::kFontChooser: return u"FontChooserSize";
    case DialogSizeSlot::kChooseSection: return u"ChooseSectionSize";
    case DialogSizeSlot::kFindAll: return u"FindAllSize";
  }
  return u"";
}

bool ParseDialogSize(const char16_t* text, int32_t* width, int32_t* height) {
  if (!text) return false;
  const char16_t* at = text;
  int32_t w = 0, h = 0;
  if (!ReadSize(at, &w) || *at++ != u',' || !ReadSize(at, &h) || *at != 0) return false;
  *width = w;
  *height = h;
  return true;
}

void PlaceResizableDialog(platform::Window* dialog, DialogSizeSlot slot) {
  if (gDeviceOptions.fullScreen) return;
  const DialogSize& size = SizeOf(slot);
  platform::PlaceDialog(dialog, size.width, size.height, true);
}

void RememberDialogSize(platform::Window* dialog, DialogSizeSlot slot) {
  if (gDeviceOptions.fullScreen) return;
  int32_t width = 0, height = 0;
  if (!platform::GetDialogSize(dialog, &width, &height) || width <= 0 || height <= 0) return;
  SizeOf(slot) = {width, height};
}

void LoadDialogSizes() {
  for (int i = 0; i < kDialogSizeSlots; ++i) {
    DialogSize& size = gDialogSizes.sizes[i];
    char16_t* text = ReadStringSetting(DialogSizeSettingName(DialogSizeSlot(i)));
    if (!ParseDialogSize(text, &size.width, &size.height)) size = {0, 0};
    platform::Free(text);
  }
}

void SaveDialogSizes() {
  for (int i = 0; i < kDialogSizeSlots; ++i) {
    const DialogSize& size = gDialogSizes.sizes[i];
    if (size.width <= 0 || size.height <= 0) continue;
    const std::string text = std::to_string(size.width) + "," + std::to_string(size.height);
    const std::u16string value(text.begin(), text.end());
    WriteStringSetting(DialogSizeSettingName(DialogSizeSlot(i)), value.c_str());
  }
}
