// What the font chooser and the About box need of the fake backend: the font families a
// test sets, control fonts, sizing without moving, owner-drawn buttons and the addresses
// handed to the platform's handler.
#include <algorithm>

#include "platform/fake/fake_internal.h"

namespace fake {
namespace {

struct ChooserSupportState {
  std::vector<FakeFontFamily> families = {
      {u"Tahoma", 0}, {u"David CLM", platform::kHebrewCharset}, {u"DejaVu Sans", 0},
      {u"Frank Ruehl CLM", platform::kHebrewCharset}};
  int familiesHanded = 0;
  std::vector<std::u16string> addresses;
  bool failOpen = false;
};

ChooserSupportState& State() {
  static ChooserSupportState state;
  return state;
}

}  // namespace

void ResetFontChooserSupport() { State() = ChooserSupportState{}; }
void TrimFontChooserSupport() { State().addresses.clear(); }
void SetFontFamilies(std::vector<FakeFontFamily> families) { State().families = std::move(families); }
int FontFamiliesHanded() { return State().familiesHanded; }
const std::vector<std::u16string>& OpenedAddresses() { return State().addresses; }
void FailOpenAddress(bool fail) { State().failOpen = fail; }

DialogStep DrawControl(int id) {
  return {[id](platform::Window* dialog) {
    platform::Window* control = platform::GetDialogItem(dialog, id);
    if (!control) return;
    platform::Dc* dc = CreateDc();
    platform::SelectFont(dc, control->control.font);
    platform::SetBackgroundMode(dc, platform::kBkTransparent);
    const platform::Rect& r = control->info.rect;
    platform::DrawItem item{id, control, dc, {0, 0, r.right - r.left, r.bottom - r.top}};
    dialog->delivered.push_back({dialog, platform::kMsgDrawItem, uintptr_t(id), intptr_t(&item)});
    dialog->proc(dialog, platform::kMsgDrawItem, uintptr_t(id), intptr_t(&item));
    platform::SelectFont(dc, nullptr);
    DeleteDc(dc);
  }};
}

}  // namespace fake

namespace platform {

bool EnumerateFontFamilies(Dc*, FontFamilyProc proc, intptr_t param) {
  for (const fake::FakeFontFamily& family : fake::State().families) {
    if (family.face.size() > 31) continue;
    FontDescription description{};
    description.charset = family.charset;
    std::copy(family.face.begin(), family.face.end(), description.face);
    ++fake::State().familiesHanded;
    if (!proc(description, param)) return false;
  }
  return true;
}

bool GetWindowFont(Window* control, FontDescription* description) {
  if (!fake::Known(control) || control->info.destroyed || !description) return false;
  // Without a font of its own a control shows the dialog's: the default description.
  *description = FontDescription{0, 400, 0, {}, 0};
  if (control->isControl && control->control.font) fake::FontDescriptionOf(control->control.font, description);
  return true;
}

bool SizeWindow(Window* window, int32_t width, int32_t height) {
  if (!fake::Known(window) || window->info.destroyed) return false;
  window->info.rect.right = window->info.rect.left + width;
  window->info.rect.bottom = window->info.rect.top + height;
  window->info.visible = true;
  return true;
}

bool OpenAddress(const char16_t* address) {
  fake::State().addresses.push_back(address ? std::u16string(address) : std::u16string());
  return !fake::State().failOpen;
}

}  // namespace platform
