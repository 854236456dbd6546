// The check-mark and radio-mark rules of the platform's menus, written once for both
// backends: each keeps a MenuMark per item and applies these rules to it, then shows the
// result its own way. Qt-free.
#pragma once

#include <cstdint>

namespace platform {

struct MenuMark {
  bool checked;
  bool radio;  // the mark is drawn as a radio mark
};

// CheckMenuItem on an item's mark: sets or clears a check mark (never a radio one) and
// answers whether it was checked before.
inline bool SetCheckMark(MenuMark* mark, bool checked) {
  const bool was = mark->checked;
  mark->checked = checked;
  mark->radio = false;
  return was;
}

// CheckMenuRadioItem: find(command) answers an item's mark or none. Clears the mark of
// every item first..last and puts a radio mark on check, which must be one of them; false
// (nothing changes) when check is outside the range or not in the menu.
template <typename Find>
bool SetRadioMark(Find find, uint16_t first, uint16_t last, uint16_t check) {
  MenuMark* target = find(check);
  if (!target || check < first || check > last) return false;
  for (uint32_t c = first; c <= last; ++c)
    if (MenuMark* mark = find(uint16_t(c))) *mark = MenuMark{false, false};
  *target = MenuMark{true, true};
  return true;
}

}  // namespace platform
