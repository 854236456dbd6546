#include "shell/window_geometry.h"

#include <algorithm>

#include "shell/settings_store.h"

namespace {

constexpr char16_t kValueName[] = u"WindowGeometry";
constexpr int32_t kLargestNumber = 100000;
constexpr int kMaxScreens = 16;
// The piece of the top edge that must lie on a screen for the window to stay where it is.
constexpr int32_t kReachableWidth = 64;
constexpr int32_t kReachableHeight = 24;

// Reads an optionally signed decimal number up to the next ',' or the end; false when
// there is none or it is beyond kLargestNumber.
bool ReadNumber(const char16_t*& at, bool allowSign, int32_t* value) {
  bool negative = false;
  if (allowSign && *at == u'-') {
    negative = true;
    ++at;
  }
  int32_t n = 0;
  int digits = 0;
  for (; *at >= u'0' && *at <= u'9'; ++at, ++digits) {
    n = n * 10 + (*at - u'0');
    if (n > kLargestNumber) return false;
  }
  if (digits == 0) return false;
  *value = negative ? -n : n;
  return true;
}

int64_t OverlapArea(const platform::Rect& a, const platform::Rect& b) {
  const int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

bool TopEdgeReachable(const platform::Rect& window, const platform::Rect& screen) {
  const int32_t wide = std::min(kReachableWidth, window.right - window.left);
  const int32_t high = std::min(kReachableHeight, window.bottom - window.top);
  const int32_t left = std::max(window.left, screen.left), right = std::min(window.right, screen.right);
  return right - left >= wide && window.top >= screen.top && window.top + high <= screen.bottom;
}

}  // namespace

bool ParseWindowGeometry(const char16_t* text, WindowGeometry* geometry) {
  if (!text) return false;
  const char16_t* at = text;
  int32_t numbers[5];
  for (int i = 0; i < 5; ++i) {
    if (i > 0 && *at++ != u',') return false;
    if (!ReadNumber(at, i < 2, &numbers[i])) return false;
  }
  if (*at != 0 || numbers[2] <= 0 || numbers[3] <= 0 || numbers[4] > 1) return false;
  *geometry = {numbers[0], numbers[1], numbers[2], numbers[3], numbers[4] == 1};
  return true;
}

std::u16string FormatWindowGeometry(const WindowGeometry& geometry) {
  std::u16string text;
  const int32_t numbers[5] = {geometry.x, geometry.y, geometry.width, geometry.height, geometry.maximized ? 1 : 0};
  for (int i = 0; i < 5; ++i) {
    if (i > 0) text += u',';
    const std::string digits = std::to_string(numbers[i]);
    text.append(digits.begin(), digits.end());
  }
  return text;
}

WindowGeometry FitWindowGeometry(WindowGeometry g, const platform::Rect* screens, int count) {
  g.width = std::max(g.width, kMinimumClientWidth);
  g.height = std::max(g.height, kMinimumClientHeight);
  if (!screens || count <= 0) return g;
  platform::Rect window{g.x, g.y, g.x + g.width, g.y + g.height};
  int best = 0;
  int64_t bestArea = -1;
  bool reachable = false;
  for (int i = 0; i < count && !reachable; ++i) {
    const int64_t area = OverlapArea(window, screens[i]);
    if (TopEdgeReachable(window, screens[i])) {
      reachable = true;
      best = i;
    } else if (area > bestArea) {
      best = i;
      bestArea = area;
    }
  }
  const platform::Rect& s = screens[best];
  // Where the user can reach it, it stays, unless it is larger than its screen.
  if (reachable && g.width <= s.right - s.left && g.height <= s.bottom - s.top) return g;
  g.width = std::min(g.width, std::max(kMinimumClientWidth, s.right - s.left));
  g.height = std::min(g.height, std::max(kMinimumClientHeight, s.bottom - s.top));
  g.x = std::clamp(g.x, s.left, std::max(s.left, s.right - g.width));
  g.y = std::clamp(g.y, s.top, std::max(s.top, s.bottom - g.height));
  return g;
}

bool RestoreWindowGeometry(platform::Window* window) {
  char16_t* text = ReadStringSetting(kValueName);
  WindowGeometry geometry{};
  const bool usable = ParseWindowGeometry(text, &geometry);
  platform::Free(text);
  if (!usable) return false;
  platform::Rect screens[kMaxScreens];
  const int count = std::min(platform::ScreenWorkAreas(screens, kMaxScreens), kMaxScreens);
  geometry = FitWindowGeometry(geometry, screens, count);
  const platform::WindowPlacement placement{
      {geometry.x, geometry.y, geometry.x + geometry.width, geometry.y + geometry.height}, geometry.maximized};
  return platform::SetWindowPlacement(window, placement);
}

void SaveWindowGeometry(platform::Window* window) {
  platform::WindowPlacement placement{};
  if (!platform::GetWindowPlacement(window, &placement)) return;
  const platform::Rect& r = placement.normal;
  const WindowGeometry geometry{r.left, r.top, r.right - r.left, r.bottom - r.top, placement.maximized};
  WriteStringSetting(kValueName, FormatWindowGeometry(geometry).c_str());
}
