// The four text primitives the page view and the index tree measure and draw with. Text
// arrives in the letter code and is converted into the shared ConversionBuffer.
#include "content/letter_code.h"
#include "view/page_view.h"

namespace {

// Units actually converted: the conversion stops at the text's 0, which may come before
// count, and the platform must not read past the terminator.
int32_t ConvertedLength(const char16_t* display, int32_t count) {
  int32_t n = 0;
  while (n < count && display[n] != 0) ++n;
  return n;
}

}  // namespace

void MeasureFit(platform::Dc* dc, const uint8_t* text, int32_t fontAsciiBase, int32_t* width, int32_t* count) {
  const int32_t wanted = *count > 0 ? *count : 0;
  // Measuring is always done on the text in stored order; the Reverse option only turns
  // drawn text around.
  const char16_t* display = ToDisplayText(text, uint32_t(wanted), &gConversionBuffer, fontAsciiBase, false);
  if (!display) {
    *count = 0;
    *width = 0;
    return;
  }
  const int32_t n = ConvertedLength(display, wanted);
  const int32_t maxWidth = *width > 0 ? *width : 0;
  int32_t fit = platform::CharactersFitting(dc, display, n, maxWidth);
  if (fit < 0) fit = 0;
  if (fit > n) fit = n;
  int32_t cx = 0, cy = 0;
  platform::TextExtent(dc, display, fit, &cx, &cy);
  *count = fit;
  *width = cx;
}

void DrawTextBox(platform::Dc* dc, const uint8_t* text, int32_t count, TextForm form, int32_t x, int32_t y,
                 int32_t w, int32_t h) {
  if (count <= 0) return;
  const char16_t* display = ToDisplayText(text, uint32_t(count), &gConversionBuffer, form.fontAsciiBase, form.reverse);
  if (!display) return;
  platform::DrawTextCentred(dc, display, ConvertedLength(display, count), platform::Rect{x, y, x + w, y + h});
}

void DrawColouredTextBox(platform::Dc* dc, const uint8_t* text, int32_t count, TextForm form, int32_t x,
                         int32_t y, int32_t w, int32_t h, uint32_t textColour, uint32_t backgroundColour) {
  const int oldMode = platform::SetBackgroundMode(dc, platform::kBkOpaque);
  const uint32_t oldText = platform::SetTextColour(dc, textColour);
  const uint32_t oldBack = platform::SetBackgroundColour(dc, backgroundColour);
  DrawTextBox(dc, text, count, form, x, y, w, h);
  platform::SetBackgroundColour(dc, oldBack);
  platform::SetTextColour(dc, oldText);
  platform::SetBackgroundMode(dc, oldMode);
}

void FillViewRect(platform::Dc* dc, int32_t x, int32_t y, int32_t width, int32_t height, int stockBrush) {
  platform::FillRect(dc, platform::Rect{x, y, x + width, y + height}, platform::StockBrush(stockBrush));
}
