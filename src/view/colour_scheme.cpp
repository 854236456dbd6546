#include "view/colour_scheme.h"

#include <cmath>
#include <utility>

namespace {

// sRGB channel (0..255) to linear light.
double Linear(uint32_t channel) {
  const double c = double(channel & 0xFF) / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(uint32_t colour) {
  return 0.2126 * Linear(colour) + 0.7152 * Linear(colour >> 8) + 0.0722 * Linear(colour >> 16);
}

}  // namespace

const ColourScheme* gColourScheme = &kLightColourScheme;

const ColourScheme& ColourSchemeOf(ColourSchemeKind kind) {
  return kind == ColourSchemeKind::kDark ? kDarkColourScheme : kLightColourScheme;
}

void ResetColourScheme() { gColourScheme = &kLightColourScheme; }

double ContrastRatio(uint32_t first, uint32_t second) {
  double a = RelativeLuminance(first), b = RelativeLuminance(second);
  if (a < b) std::swap(a, b);
  return (a + 0.05) / (b + 0.05);
}

platform::Brush* StockBrushOfColour(uint32_t colour) {
  if (colour == kSchemeWhite) return platform::StockBrush(platform::kStockWhiteBrush);
  if (colour == kSchemeBlack) return platform::StockBrush(platform::kStockBlackBrush);
  return nullptr;
}

void FillViewRectColour(platform::Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) {
  const platform::Rect rect{x, y, x + width, y + height};
  if (platform::Brush* stock = StockBrushOfColour(colour)) {
    platform::FillRect(dc, rect, stock);
    return;
  }
  platform::Brush* brush = platform::CreateSolidBrush(colour);
  if (!brush) return;
  platform::FillRect(dc, rect, brush);
  platform::DeleteBrush(brush);
}
