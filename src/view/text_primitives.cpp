// The four text primitives the page view and the index tree measure and draw with. Text
// arrives in the letter code and is converted into the shared ConversionBuffer.
#include <algorithm>

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
  const int32_t maxWidth = *width > 0 ? *width : 0;
  // A row takes a few dozen characters of a paragraph that may run to thousands: the text
  // is converted and measured a piece at a time, and measuring stops in the piece where the
  // width runs out. Widths add up piece by piece (each character has its own whole-pixel
  // advance), so the answer is the one of measuring the whole text at once.
  constexpr int32_t kPiece = 160;
  int32_t fitted = 0, used = 0;
  while (fitted < wanted) {
    const int32_t asked = std::min(kPiece, wanted - fitted);
    // Measuring is always done on the text in stored order; the Reverse option only turns
    // drawn text around.
    const char16_t* display = ToDisplayText(text + fitted, uint32_t(asked), &gConversionBuffer, fontAsciiBase, false);
    if (!display) {
      *count = 0;
      *width = 0;
      return;
    }
    const int32_t n = ConvertedLength(display, asked);
    const int32_t fit = std::clamp(platform::CharactersFitting(dc, display, n, maxWidth - used), 0, n);
    int32_t cx = 0, cy = 0;
    platform::TextExtent(dc, display, fit, &cx, &cy);
    fitted += fit;
    used += cx;
    // Stopped inside this piece: the width ran out, or the text's 0 came.
    if (fit < asked) break;
  }
  *count = fitted;
  *width = used;
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
