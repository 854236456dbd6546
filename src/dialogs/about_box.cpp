#include "dialogs/about_box.h"

#include "view/colour_scheme.h"

const char16_t kMakerSite[] = u"" SOLMAR_HOMEPAGE;
const char16_t kUpdatePagePrefix[] = u"" SOLMAR_HOMEPAGE "/cgi-bin/upgrade?p=arm/";

// The longest the update address can be: the prefix, "Orvanel/Solmar" (14 units, none
// escaped) and "&v=1.84a" (8 units), and its 0. A site too long for it fails the build.
static_assert(sizeof kUpdatePagePrefix / sizeof(char16_t) - 1 + 14 + 8 < kUpdateAddressCapacity,
              "SOLMAR_HOMEPAGE is too long for the update address");

AboutBoxState gAboutBox{};

namespace {

constexpr uint32_t kCaptionCapacity = 101;  // at most 100 units of the link's caption
constexpr int32_t kLinkWeight = 800;

// Underlined and heavy, from the control's own font: "Tahoma" when it names no face, 10
// points when it has no height.
void MakeLinkFont(platform::Window* dialog) {
  platform::Window* link = platform::GetDialogItem(dialog, kSiteLinkId);
  platform::Window* owner = platform::GetParent(dialog);
  platform::Dc* dc = platform::GetWindowDc(owner);
  platform::FontDescription description{};
  platform::GetWindowFont(link, &description);
  description.underline = 1;
  if (description.face[0] == 0) {
    const char16_t tahoma[] = u"Tahoma";
    for (size_t i = 0; i < sizeof tahoma / sizeof tahoma[0]; ++i) description.face[i] = tahoma[i];
  }
  // Heights here are cell heights in pixels (never the negative character heights some
  // platforms take), so the 10 points are given as a positive height.
  if (description.height == 0) description.height = (10 * platform::PixelsPerInch(dc)) / 72;
  description.weight = kLinkWeight;
  gAboutBox.linkFont = platform::CreateFont(description);
  if (!gAboutBox.linkFont) {
    platform::ReleaseWindowDc(owner, dc);
    return;
  }
  platform::Font* previous = platform::SelectFont(dc, gAboutBox.linkFont);
  char16_t caption[kCaptionCapacity] = {};
  const uint32_t length = platform::GetWindowText(link, caption, kCaptionCapacity);
  platform::SetWindowFont(link, gAboutBox.linkFont, true);
  int32_t width = 0, height = 0;
  platform::TextExtent(dc, caption, int32_t(length), &width, &height);
  width += 2 * platform::SystemMetric(platform::kSystemMetricEdgeX);
  height += 2 * platform::SystemMetric(platform::kSystemMetricEdgeY);
  platform::SizeWindow(link, width, height);
  platform::SelectFont(dc, previous);
  platform::ReleaseWindowDc(owner, dc);
}

void DrawLink(const platform::DrawItem& item) {
  char16_t caption[kCaptionCapacity] = {};
  const uint32_t length = platform::GetWindowText(item.control, caption, kCaptionCapacity);
  const uint32_t oldColour = platform::SetTextColour(item.dc, gColourScheme->link);
  const int oldMode = platform::SetBackgroundMode(item.dc, platform::kBkTransparent);
  const uint32_t oldBackground = platform::SetBackgroundColour(item.dc, gColourScheme->chrome.ground);
  const platform::Rect box{item.rect.left + platform::SystemMetric(platform::kSystemMetricEdgeX) / 2, item.rect.top,
                           item.rect.right, item.rect.bottom};
  platform::DrawTextCentred(item.dc, caption, int32_t(length), box);
  platform::SetBackgroundColour(item.dc, oldBackground);
  platform::SetBackgroundMode(item.dc, oldMode);
  platform::SetTextColour(item.dc, oldColour);
}

void ForgetLinkFont() {
  platform::DeleteFont(gAboutBox.linkFont);
  gAboutBox.linkFont = nullptr;
}

bool IsUnreserved(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') ||
         unit == u'.' || unit == u'/';
}

}  // namespace

void ResetAboutBoxState() {
  ForgetLinkFont();
  gAboutBox = AboutBoxState{};
}

intptr_t AboutBoxProc(platform::Window* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::kMsgInitDialog:
      MakeLinkFont(dialog);
      return 1;
    case platform::kMsgDrawItem: {
      const auto* item = reinterpret_cast<const platform::DrawItem*>(lParam);
      if (!item || item->controlId != kSiteLinkId) return 0;
      DrawLink(*item);
      return 1;
    }
    case platform::kMsgCommand: {
      const uint32_t id = platform::LowWord(wParam);
      if (id == platform::kIdOk || id == platform::kIdCancel) {
        platform::EndDialog(dialog, intptr_t(id));
        ForgetLinkFont();
        return 1;
      }
      if (id == uint32_t(kSiteLinkId)) {
        platform::OpenAddress(kMakerSite);
        return 1;
      }
      return 0;
    }
    case platform::kMsgDestroy:
      // Ended without OK or Cancel (the platform took the box away): the font goes too.
      ForgetLinkFont();
      return 0;
    default: return 0;
  }
}

void OpenAboutBox(platform::Window* owner) { platform::DialogBox(kAboutBoxTemplate, owner, AboutBoxProc, 0); }

bool BuildUpdateAddress(char16_t* buffer, uint32_t capacity, const char16_t* prefix, const char16_t* path,
                        const char16_t* suffix) {
  if (!buffer || capacity == 0) return false;
  for (uint32_t i = 0; i < capacity; ++i) buffer[i] = 0;
  uint32_t n = 0;
  // Appends text when it fits with the terminator.
  auto append = [&](const char16_t* text, uint32_t count) {
    if (n + count >= capacity) return false;
    for (uint32_t i = 0; i < count; ++i) buffer[n++] = text[i];
    return true;
  };
  bool fits = true;
  for (const char16_t* p = prefix; fits && *p; ++p) fits = append(p, 1);
  for (const char16_t* p = path; fits && *p; ++p) {
    const char16_t unit = *p;
    if (unit == u' ') {
      fits = append(u"+", 1);
    } else if (IsUnreserved(unit)) {
      fits = append(p, 1);
    } else {
      static const char16_t kHex[] = u"0123456789ABCDEF";
      char16_t escape[5];
      uint32_t count = 0;
      escape[count++] = u'%';
      // At least two digits; four for a unit above 0xFF, without leading zeros beyond two.
      const int digits = unit > 0xFFF ? 4 : unit > 0xFF ? 3 : 2;
      for (int d = digits - 1; d >= 0; --d) escape[count++] = kHex[(unit >> (4 * d)) & 0xF];
      fits = append(escape, count);
    }
  }
  for (const char16_t* p = suffix; fits && *p; ++p) fits = append(p, 1);
  if (!fits) {
    for (uint32_t i = 0; i < capacity; ++i) buffer[i] = 0;
    return false;
  }
  return true;
}

void CheckForUpdates(platform::Window*) {
  char16_t address[kUpdateAddressCapacity];
  if (BuildUpdateAddress(address, kUpdateAddressCapacity, kUpdatePagePrefix, kProductPath, kVersionSuffix))
    platform::OpenAddress(address);
}
