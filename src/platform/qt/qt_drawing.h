// Internal to the Qt backend: what the drawing handles are, for the window code that makes
// drawing contexts and loads pictures into bitmaps.
//
// A Dc paints with a QPainter: its own, active on a QImage (an owner-drawn control's
// picture) or a print device, or one it borrows from a window's paint event. A window's
// context outside a paint draws nothing: each call only reports the rectangle it would
// change, and the window paints that part anew from its paint message. Text is drawn as
// glyph runs placed one after the other, strictly left to right in the order given, with
// no bidi reordering and no shaping, and measured with the same per-character advances, so
// a width measured is exactly the width drawn.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace platform::qt {

// The glyphs and metrics of one font; shared by the Font handle and every context that
// has it selected, so a font deleted while selected still draws.
struct FontFace;

}  // namespace platform::qt

namespace platform {

struct Font {
  std::shared_ptr<qt::FontFace> face;
};

struct Pen {
  int32_t width;
  uint32_t colour;
};

struct Brush {
  QBrush brush;
};

struct Bitmap {
  QImage image;
};

struct Dc {
  QImage* image = nullptr;             // none: measuring works, drawing only reports
  std::unique_ptr<QPainter> painter;   // active on image while there is one
  QPainter* borrowed = nullptr;        // a paint event's painter, while it paints; before painter
  std::shared_ptr<qt::FontFace> defaultFace;
  std::shared_ptr<qt::FontFace> face;  // the selected font's, or defaultFace
  Font* font = nullptr;                // the selected handle; none for the default font
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  uint32_t textColour = 0x000000;
  uint32_t backgroundColour = 0xFFFFFF;
  int backgroundMode = kBkOpaque;
  // Told the part each drawing call changes, drawn or not (the window schedules an update).
  std::function<void(const QRect&)> onChanged;
};

}  // namespace platform

namespace platform::qt {

// A context drawing into image (none allowed). Needs a QGuiApplication for its fonts.
Dc* CreateImageDc(QImage* image);
void DeleteImageDc(Dc* dc);
// Points the context at another image, or none. Call it with none before the image is
// replaced or resized, and with the image again afterwards; fonts, colours, pen and brush
// stay selected.
void SetImageDcTarget(Dc* dc, QImage* image);
// Lends the context a painter that is active elsewhere (a widget's paint event) until it is
// called again with none; the painter's clip and device pixel ratio are kept.
void LendDcPainter(Dc* dc, QPainter* painter);

// The Qt font a font handle draws with (for controls that show text in it).
QFont QFontOf(Font* font);

// 0x00BBGGRR to QColor and back.
QColor ToQColor(uint32_t colour);
uint32_t FromQColor(const QColor& colour);

}  // namespace platform::qt
