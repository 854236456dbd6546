// Drawing of the Qt backend: fonts from descriptions, glyph-run text drawn and measured
// strictly left to right, rectangles and fills with Windows-style excluded edges.
#include "platform/qt/qt_drawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QRawFont>
#include <QScreen>
#include <QStyle>
#include <QVector>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace platform::qt {

struct FontFace {
  QFont font;
  QRawFont raw;
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t averageCharWidth = 0;
  int32_t maxCharWidth = 0;

  // Glyph and advance of every UTF-16 unit: the glyphs are looked up 256 units at a time on
  // first use (a table look-up), each advance when its unit is first measured (loading a
  // glyph is the costly part, and a text uses few of a page's 256).
  // Advances are whole pixels, so glyphs sit on pixel columns and a width is an exact sum.
  struct Page {
    quint32 glyph[256];
    qreal advance[256];  // kUnmeasured until measured
  };
  static constexpr qreal kUnmeasured = -1;
  std::array<std::unique_ptr<Page>, 256> pages;

  Page& PageOf(char16_t unit) {
    std::unique_ptr<Page>& page = pages[unit >> 8];
    if (!page) {
      page = std::make_unique<Page>();
      const uint32_t first = uint32_t(unit & 0xFF00);
      // Lone surrogates cannot be mapped; they get no glyph and no width.
      const bool surrogates = first >= 0xD800 && first <= 0xDF00;
      std::fill(std::begin(page->glyph), std::end(page->glyph), 0u);
      std::fill(std::begin(page->advance), std::end(page->advance), 0.0);
      if (!surrogates && raw.isValid()) {
        QChar chars[256];
        for (uint32_t i = 0; i < 256; ++i) chars[i] = QChar(char16_t(first + i));
        int glyphs = 256;
        if (raw.glyphIndexesForChars(chars, 256, page->glyph, &glyphs) && glyphs == 256)
          std::fill(std::begin(page->advance), std::end(page->advance), kUnmeasured);
      }
    }
    return *page;
  }
  qreal Advance(char16_t unit) {
    Page& page = PageOf(unit);
    qreal& advance = page.advance[unit & 0xFF];
    if (advance == kUnmeasured) {
      QPointF measured;
      advance = raw.advancesForGlyphIndexes(&page.glyph[unit & 0xFF], &measured, 1) ? std::round(measured.x()) : 0.0;
    }
    return advance;
  }
  quint32 Glyph(char16_t unit) { return PageOf(unit).glyph[unit & 0xFF]; }
};

namespace {

}  // namespace

QFont QFontOf(Font* font) { return font && font->face ? font->face->font : QFont(); }

namespace {

int32_t TextHeight(const QFont& font) {
  QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

// A QFont whose ascent + descent is the requested height (as close as the face allows,
// never taller); height 0 keeps the application's default size.
QFont MakeQFont(const FontDescription& d) {
  QFont font = QGuiApplication::font();
  size_t faceLength = 0;
  while (faceLength < 32 && d.face[faceLength]) ++faceLength;
  if (faceLength) font.setFamilies({QString::fromUtf16(d.face, qsizetype(faceLength))});
  font.setWeight(QFont::Weight(std::clamp(d.weight ? d.weight : 400, 100, 900)));
  font.setKerning(false);
  font.setUnderline(d.underline != 0);
  if (d.height > 0) {
    auto heightAt = [&font](int px) {
      font.setPixelSize(px);
      return TextHeight(font);
    };
    int px = d.height;
    const int first = heightAt(px);
    if (first > 0 && first != d.height) px = std::max(1, int(std::lround(double(px) * d.height / first)));
    for (int i = 0; i < 16 && px > 1 && heightAt(px) > d.height; ++i) --px;
    for (int i = 0; i < 16 && heightAt(px + 1) <= d.height; ++i) ++px;
    font.setPixelSize(px);
  }
  return font;
}

std::shared_ptr<FontFace> MakeFace(const FontDescription& d) {
  auto face = std::make_shared<FontFace>();
  face->font = MakeQFont(d);
  face->raw = QRawFont::fromFont(face->font);
  QFontMetrics metrics(face->font);
  face->ascent = metrics.ascent();
  face->descent = metrics.descent();
  face->averageCharWidth = metrics.averageCharWidth();
  face->maxCharWidth = metrics.maxWidth();
  return face;
}

// Width of the first count units: the sum of their advances.
qreal Advances(FontFace& face, const char16_t* text, int32_t count) {
  qreal x = 0;
  for (int32_t i = 0; i < count; ++i) x += face.Advance(text[i]);
  return x;
}

int32_t Pixels(qreal x) { return int32_t(std::lround(x)); }

Brush* Stock(int which) {
  static Brush brushes[6] = {{QBrush(Qt::white)},           {QBrush(QColor(0xC0, 0xC0, 0xC0))},
                             {QBrush(QColor(0x80, 0x80, 0x80))}, {QBrush(QColor(0x40, 0x40, 0x40))},
                             {QBrush(Qt::black)},           {QBrush(Qt::NoBrush)}};
  return which >= 0 && which < 6 ? &brushes[which] : nullptr;
}

Pen* DefaultPen() {
  static Pen pen{1, 0x000000};
  return &pen;
}

// The painter a drawing call paints with; none outside a paint.
QPainter* PainterOf(Dc* dc) { return dc->borrowed ? dc->borrowed : dc->painter.get(); }

void Changed(Dc* dc, const QRect& rect) {
  if (dc->onChanged && !rect.isEmpty()) dc->onChanged(rect);
}

}  // namespace

QColor ToQColor(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

uint32_t FromQColor(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

Dc* CreateImageDc(QImage* image) {
  auto* dc = new Dc;
  dc->defaultFace = MakeFace(FontDescription{0, 400, 0, {}, 0});
  dc->face = dc->defaultFace;
  dc->pen = DefaultPen();
  dc->brush = Stock(kStockWhiteBrush);
  SetImageDcTarget(dc, image);
  return dc;
}

void DeleteImageDc(Dc* dc) {
  if (!dc) return;
  SetImageDcTarget(dc, nullptr);
  delete dc;
}

void SetImageDcTarget(Dc* dc, QImage* image) {
  if (dc->painter) {
    dc->painter->end();
    dc->painter.reset();
  }
  dc->image = image;
  if (image && !image->isNull()) {
    dc->painter = std::make_unique<QPainter>();
    if (!dc->painter->begin(image)) dc->painter.reset();
  }
}

void LendDcPainter(Dc* dc, QPainter* painter) { dc->borrowed = painter; }

}  // namespace platform::qt

namespace platform {

using qt::FontFace;

Font* CreateFont(const FontDescription& description) { return new Font{qt::MakeFace(description)}; }

void DeleteFont(Font* font) { delete font; }

Font* SelectFont(Dc* dc, Font* font) {
  Font* previous = dc->font;
  dc->font = font;
  dc->face = font ? font->face : dc->defaultFace;
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

Pen* CreateSolidPen(int32_t width, uint32_t colour) { return new Pen{std::max(width, 1), colour}; }
void DeletePen(Pen* pen) {
  if (pen != qt::DefaultPen()) delete pen;
}

Brush* CreateSolidBrush(uint32_t colour) { return new Brush{QBrush(qt::ToQColor(colour))}; }
void DeleteBrush(Brush* brush) {
  for (int i = 0; i < 6; ++i)
    if (brush == qt::Stock(i)) return;
  delete brush;
}

Brush* StockBrush(int which) { return qt::Stock(which); }

bool GetTextMetrics(Dc* dc, TextMetrics* metrics) {
  const FontFace& face = *dc->face;
  *metrics = TextMetrics{face.ascent + face.descent, face.ascent, face.descent, face.averageCharWidth,
                         face.maxCharWidth};
  return true;
}

int32_t CharactersFitting(Dc* dc, const char16_t* text, int32_t count, int32_t maxWidth) {
  FontFace& face = *dc->face;
  qreal x = 0;
  // Advances are whole pixels, so x stays a whole number and is compared as it is.
  const qreal limit = maxWidth;
  for (int32_t i = 0; i < count; ++i) {
    x += face.Advance(text[i]);
    if (x > limit) return i;
  }
  return std::max(count, 0);
}

void TextExtent(Dc* dc, const char16_t* text, int32_t count, int32_t* width, int32_t* height) {
  FontFace& face = *dc->face;
  *width = count > 0 ? qt::Pixels(qt::Advances(face, text, count)) : 0;
  *height = face.ascent + face.descent;
}

void DrawTextCentred(Dc* dc, const char16_t* text, int32_t count, const Rect& rect) {
  if (count <= 0) return;
  FontFace& face = *dc->face;
  QPainter* p = qt::PainterOf(dc);
  QVector<quint32> glyphs(p ? count : 0);
  QVector<QPointF> positions(p ? count : 0);
  qreal x = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (p) {
      glyphs[i] = face.Glyph(text[i]);
      positions[i] = QPointF(x, 0);
    }
    x += face.Advance(text[i]);
  }
  const int32_t width = qt::Pixels(x);
  const int32_t height = face.ascent + face.descent;
  const int32_t left = rect.left + (rect.right - rect.left - width) / 2;
  const int32_t top = rect.top + (rect.bottom - rect.top - height) / 2;
  const QRect box(left, top, width, height);
  if (p) {
    if (dc->backgroundMode == kBkOpaque) p->fillRect(box, qt::ToQColor(dc->backgroundColour));
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(face.font.underline());
    p->setPen(qt::ToQColor(dc->textColour));
    p->drawGlyphRun(QPointF(left, top + face.ascent), run);
  }
  qt::Changed(dc, box);
}

uint32_t SetTextColour(Dc* dc, uint32_t colour) { return std::exchange(dc->textColour, colour); }
uint32_t GetTextColour(Dc* dc) { return dc->textColour; }
uint32_t SetBackgroundColour(Dc* dc, uint32_t colour) { return std::exchange(dc->backgroundColour, colour); }
int SetBackgroundMode(Dc* dc, int mode) { return std::exchange(dc->backgroundMode, mode); }

void DrawRectangle(Dc* dc, const Rect& rect) {
  const QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if (r.isEmpty()) return;
  if (QPainter* p = qt::PainterOf(dc)) {
    if (dc->brush) p->fillRect(r, dc->brush->brush);
    if (dc->pen) {
      // The outline lies inside the rectangle, pen-width bands along its four edges.
      const int w = std::min({dc->pen->width, r.width(), r.height()});
      const QColor colour = qt::ToQColor(dc->pen->colour);
      p->fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
      p->fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
      p->fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
      p->fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
    }
  }
  qt::Changed(dc, r);
}

void FillRect(Dc* dc, const Rect& rect, Brush* brush) {
  const QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if (!brush || r.isEmpty()) return;
  if (QPainter* p = qt::PainterOf(dc)) p->fillRect(r, brush->brush);
  qt::Changed(dc, r);
}

void CopyBitmapCell(Dc* dc, int32_t x, int32_t y, Bitmap* bitmap, int32_t sourceX, int32_t sourceY) {
  if (!bitmap) return;
  if (QPainter* p = qt::PainterOf(dc)) p->drawImage(QPoint(x, y), bitmap->image, QRect(sourceX, sourceY, 9, 9));
  qt::Changed(dc, QRect(x, y, 9, 9));
}

int32_t PixelsPerInch(Dc*) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) return int32_t(std::lround(screen->logicalDotsPerInchY()));
  return 96;
}

int32_t SystemMetric(int which) {
  if (which == kSystemMetricEdgeX || which == kSystemMetricEdgeY) return 2;
  // A quarter of the text height between a pane's text and the window's edge or its bar.
  if (which == kSystemMetricPaneMarginPercent) return 25;
  if (which != kSystemMetricScrollBarWidth) return 0;
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return 16;
}

}  // namespace platform
