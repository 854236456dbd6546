// Drawing of the fake backend: fixed metrics (see fake_platform.h) and a record of every
// call that changes what a context shows or how it draws.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>

#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace platform {

struct Font {
  FontDescription description;
};
struct Pen {
  int32_t width;
  uint32_t colour;
};
struct Brush {
  uint32_t colour;
  int stock;  // -1: a solid brush
};
struct Bitmap {
  fake::FakeBitmap info;
};

struct Dc {
  // The description is kept by value: a font deleted while selected still draws.
  FontDescription font;
  Font* fontHandle;  // none: the default font
  Pen* pen;
  Brush* brush;
  uint32_t textColour;
  uint32_t backgroundColour;
  int backgroundMode;
};

}  // namespace platform

namespace fake {
namespace {

int32_t gPaneMarginPercent = 0;

using platform::Brush;
using platform::Dc;
using platform::Font;
using platform::FontDescription;
using platform::Pen;

constexpr int32_t kDefaultHeight = 12;

FontDescription DefaultFont() {
  FontDescription d{};
  d.weight = 400;
  return d;
}

struct DrawingState {
  std::vector<DrawCall> calls;
  std::set<Font*> fonts;
  std::set<Pen*> pens;
  std::set<Brush*> brushes;
  std::set<Dc*> dcs;
  std::vector<std::unique_ptr<platform::Bitmap>> bitmaps;
  int fontsCreated = 0;
  bool failFonts = false, failPens = false, failBrushes = false;

  // Objects still live when a test ends (or the process exits) belong to the state.
  void FreeObjects() {
    for (Font* f : fonts) delete f;
    for (Pen* p : pens) delete p;
    for (Brush* b : brushes) delete b;
    for (Dc* d : dcs) delete d;
    fonts.clear();
    pens.clear();
    brushes.clear();
    dcs.clear();
  }
  DrawingState() = default;
  DrawingState(DrawingState&&) = default;
  DrawingState& operator=(DrawingState&&) = default;
  ~DrawingState() { FreeObjects(); }
};

DrawingState& State() {
  static DrawingState state;
  return state;
}

// Stock objects: the brushes 0 (white) to 5 (null) and the default pen.
Brush* Stock(int which) {
  static Brush brushes[6] = {{0xFFFFFF, 0}, {0xC0C0C0, 1}, {0x808080, 2}, {0x404040, 3}, {0x000000, 4}, {0, 5}};
  return which >= 0 && which < 6 ? &brushes[which] : nullptr;
}
Pen* DefaultPen() {
  static Pen pen{1, 0x000000};
  return &pen;
}

int32_t Height(const FontDescription& d) { return d.height > 0 ? d.height : kDefaultHeight; }
int32_t UnitWidth(const FontDescription& d) { return Height(d) / 2; }

DrawCall Record(DrawOp op, Dc* dc) {
  DrawCall call{};
  call.op = op;
  call.dc = dc;
  call.font = dc->font;
  call.textColour = dc->textColour;
  call.backgroundColour = dc->backgroundColour;
  call.backgroundMode = dc->backgroundMode;
  call.hasPen = dc->pen != nullptr;
  call.penColour = dc->pen ? dc->pen->colour : 0;
  call.hasBrush = dc->brush != nullptr && dc->brush->stock != 5;
  call.brushColour = dc->brush ? dc->brush->colour : 0;
  call.stockBrush = dc->brush ? dc->brush->stock : -1;
  return call;
}

void Push(DrawCall call) { State().calls.push_back(std::move(call)); }

}  // namespace

void ResetDrawing() {
  DrawingState& s = State();
  s.FreeObjects();
  s = DrawingState{};
  gPaneMarginPercent = 0;
}

void SetPaneMarginPercent(int32_t percent) { gPaneMarginPercent = percent; }
int32_t PaneMarginPercent() { return gPaneMarginPercent; }

platform::Dc* CreateDc() {
  auto* dc = new Dc{DefaultFont(), nullptr, DefaultPen(), Stock(0), 0x000000, 0xFFFFFF, platform::kBkOpaque};
  State().dcs.insert(dc);
  return dc;
}

void DeleteDc(platform::Dc* dc) {
  if (State().dcs.erase(dc)) delete dc;
}

const std::vector<DrawCall>& DrawCalls() { return State().calls; }

std::vector<DrawCall> DrawCallsOf(DrawOp op) {
  std::vector<DrawCall> out;
  for (const DrawCall& c : State().calls)
    if (c.op == op) out.push_back(c);
  return out;
}

void ClearDrawCalls() { State().calls.clear(); }

platform::FontDescription SelectedFont(platform::Dc* dc) { return dc->font; }
uint32_t TextColourOf(platform::Dc* dc) { return dc->textColour; }
uint32_t BackgroundColourOf(platform::Dc* dc) { return dc->backgroundColour; }
int BackgroundModeOf(platform::Dc* dc) { return dc->backgroundMode; }
int LiveFonts() { return int(State().fonts.size()); }
int LivePens() { return int(State().pens.size()); }
int LiveBrushes() { return int(State().brushes.size()); }
int FontsCreated() { return State().fontsCreated; }
void FailFontCreation(bool fail) { State().failFonts = fail; }
void FailPenCreation(bool fail) { State().failPens = fail; }
void FailBrushCreation(bool fail) { State().failBrushes = fail; }

platform::Bitmap* MakeBitmap(uint32_t id, int32_t width, int32_t height) {
  State().bitmaps.push_back(
      std::make_unique<platform::Bitmap>(platform::Bitmap{FakeBitmap{id, width, height, 0x000000, 0xFFFFFF}}));
  return State().bitmaps.back().get();
}

const FakeBitmap* BitmapInfo(platform::Bitmap* bitmap) { return bitmap ? &bitmap->info : nullptr; }

bool FontDescriptionOf(platform::Font* font, platform::FontDescription* description) {
  if (!font || !description) return false;
  *description = font->description;
  return true;
}

}  // namespace fake

namespace platform {

Font* CreateFont(const FontDescription& description) {
  fake::DrawingState& s = fake::State();
  if (s.failFonts) return nullptr;
  auto* font = new Font{description};
  s.fonts.insert(font);
  ++s.fontsCreated;
  return font;
}

void DeleteFont(Font* font) {
  if (!font) return;
  // Deleting a font twice or one the fake never made is a fault the tests must see.
  if (!fake::State().fonts.erase(font)) std::abort();
  // So is deleting one that a context still has selected.
  for (const Dc* dc : fake::State().dcs)
    if (dc->fontHandle == font) std::abort();
  delete font;
}

Font* SelectFont(Dc* dc, Font* font) {
  Font* previous = dc->fontHandle;
  dc->fontHandle = font;
  dc->font = font ? font->description : fake::DefaultFont();
  fake::Push(fake::Record(fake::DrawOp::kSelectFont, dc));
  return previous;
}

Pen* SelectPen(Dc* dc, Pen* pen) {
  Pen* previous = dc->pen;
  dc->pen = pen;
  return previous;
}

Brush* SelectBrush(Dc* dc, Brush* brush) {
  Brush* previous = dc->brush;
  dc->brush = brush;
  return previous;
}

Pen* CreateSolidPen(int32_t width, uint32_t colour) {
  fake::DrawingState& s = fake::State();
  if (s.failPens) return nullptr;
  auto* pen = new Pen{width, colour};
  s.pens.insert(pen);
  return pen;
}

void DeletePen(Pen* pen) {
  if (!pen) return;
  if (!fake::State().pens.erase(pen)) std::abort();
  delete pen;
}

Brush* CreateSolidBrush(uint32_t colour) {
  fake::DrawingState& s = fake::State();
  if (s.failBrushes) return nullptr;
  auto* brush = new Brush{colour, -1};
  s.brushes.insert(brush);
  return brush;
}

void DeleteBrush(Brush* brush) {
  if (!brush) return;
  if (!fake::State().brushes.erase(brush)) std::abort();
  delete brush;
}

Brush* StockBrush(int which) { return fake::Stock(which); }

bool GetTextMetrics(Dc* dc, TextMetrics* metrics) {
  const int32_t h = fake::Height(dc->font);
  *metrics = TextMetrics{h, h - h / 4, h / 4, h / 2, h / 2};
  return true;
}

int32_t CharactersFitting(Dc* dc, const char16_t*, int32_t count, int32_t maxWidth) {
  const int32_t unit = fake::UnitWidth(dc->font);
  if (count <= 0 || maxWidth <= 0) return 0;
  return unit > 0 ? std::min(count, maxWidth / unit) : count;
}

void TextExtent(Dc* dc, const char16_t*, int32_t count, int32_t* width, int32_t* height) {
  *width = count > 0 ? count * fake::UnitWidth(dc->font) : 0;
  *height = fake::Height(dc->font);
}

void DrawTextCentred(Dc* dc, const char16_t* text, int32_t count, const Rect& rect) {
  fake::DrawCall call = fake::Record(fake::DrawOp::kText, dc);
  call.rect = rect;
  call.text.assign(text, text + std::max(count, 0));
  fake::Push(std::move(call));
}

uint32_t SetTextColour(Dc* dc, uint32_t colour) {
  const uint32_t previous = dc->textColour;
  dc->textColour = colour;
  fake::Push(fake::Record(fake::DrawOp::kSetTextColour, dc));
  return previous;
}

uint32_t GetTextColour(Dc* dc) { return dc->textColour; }

uint32_t SetBackgroundColour(Dc* dc, uint32_t colour) {
  const uint32_t previous = dc->backgroundColour;
  dc->backgroundColour = colour;
  fake::Push(fake::Record(fake::DrawOp::kSetBackgroundColour, dc));
  return previous;
}

int SetBackgroundMode(Dc* dc, int mode) {
  const int previous = dc->backgroundMode;
  dc->backgroundMode = mode;
  fake::Push(fake::Record(fake::DrawOp::kSetBackgroundMode, dc));
  return previous;
}

void DrawRectangle(Dc* dc, const Rect& rect) {
  fake::DrawCall call = fake::Record(fake::DrawOp::kRectangle, dc);
  call.rect = rect;
  fake::Push(std::move(call));
}

void FillRect(Dc* dc, const Rect& rect, Brush* brush) {
  fake::DrawCall call = fake::Record(fake::DrawOp::kFill, dc);
  call.rect = rect;
  call.hasBrush = brush != nullptr;
  call.brushColour = brush ? brush->colour : 0;
  call.stockBrush = brush ? brush->stock : -1;
  fake::Push(std::move(call));
}

void CopyBitmapCell(Dc* dc, int32_t x, int32_t y, Bitmap* bitmap, int32_t sourceX, int32_t sourceY) {
  fake::DrawCall call = fake::Record(fake::DrawOp::kBitmapCell, dc);
  call.rect = Rect{x, y, x + 9, y + 9};
  call.bitmapId = bitmap ? bitmap->info.id : 0;
  call.sourceX = sourceX;
  call.sourceY = sourceY;
  fake::Push(std::move(call));
}

int32_t PixelsPerInch(Dc*) { return 96; }

int32_t SystemMetric(int which) {
  switch (which) {
    case kSystemMetricScrollBarWidth: return 13;
    case kSystemMetricPaneMarginPercent: return fake::PaneMarginPercent();
    case kSystemMetricEdgeX:
    case kSystemMetricEdgeY: return 2;
    default: return 0;
  }
}

}  // namespace platform
