// Pictures of the fake backend: the program's bitmaps and icon exist with their sizes, a
// test can make one fail to load, and releases are counted so a double release aborts.
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace platform {
struct Icon {
  uint32_t id;
};
}  // namespace platform

namespace fake {
namespace {

struct PicturesState {
  std::set<uint32_t> failing;
  std::set<platform::Bitmap*> live;
  std::vector<platform::ChromeColours> chromeGiven;
  bool desktopDark = false;
};

PicturesState& State() {
  static PicturesState state;
  return state;
}

// The pictures the program carries: tool buttons 114 (six 16 x 16 images), About picture
// 113, keyboard 119, tree glyphs 201..203.
bool PictureSize(uint32_t id, int32_t* width, int32_t* height) {
  static const std::map<uint32_t, std::pair<int32_t, int32_t>> kSizes = {
      {113, {32, 32}}, {114, {96, 16}}, {119, {154, 95}}, {201, {9, 9}}, {202, {9, 9}}, {203, {9, 9}},
  };
  auto it = kSizes.find(id);
  if (it == kSizes.end()) return false;
  *width = it->second.first;
  *height = it->second.second;
  return true;
}

}  // namespace

void ResetPictures() { State() = PicturesState{}; }
void FailBitmapLoad(uint32_t id) { State().failing.insert(id); }
int LiveLoadedBitmaps() { return int(State().live.size()); }
const std::vector<platform::ChromeColours>& ChromeColoursGiven() { return State().chromeGiven; }
void SetDesktopPrefersDark(bool dark) { State().desktopDark = dark; }

}  // namespace fake

namespace platform {

Bitmap* LoadBitmap(uint32_t id) {
  int32_t width = 0, height = 0;
  if (fake::State().failing.count(id) || !fake::PictureSize(id, &width, &height)) return nullptr;
  Bitmap* bitmap = fake::MakeBitmap(id, width, height);
  if (!fake::State().chromeGiven.empty()) {
    auto* info = const_cast<fake::FakeBitmap*>(fake::BitmapInfo(bitmap));
    info->ink = fake::State().chromeGiven.back().pictureInk;
    info->ground = fake::State().chromeGiven.back().pictureGround;
  }
  fake::State().live.insert(bitmap);
  return bitmap;
}

void SetChromeColours(const ChromeColours& colours) { fake::State().chromeGiven.push_back(colours); }

bool DesktopPrefersDark() { return fake::State().desktopDark; }

void DeleteBitmap(Bitmap* bitmap) {
  if (!bitmap) return;
  // Releasing a bitmap twice, or one never loaded, is a fault a test must see.
  if (!fake::State().live.erase(bitmap)) std::abort();
}

Icon* LoadIcon(uint32_t id) {
  static Icon icon{101};
  return id == icon.id ? &icon : nullptr;
}

}  // namespace platform
