// The program's pictures, drawn at run time: icon 101, the six tool-button images of
// bitmap 114, the search dialog's keyboard 119, the About box's picture 113 (the icon at
// 48 x 48) and the index tree's glyphs 201..203.
#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <cmath>
#include <map>
#include <utility>

#include "platform/platform.h"
#include "platform/qt/qt_colours.h"
#include "platform/qt/qt_drawing.h"
#include "platform/qt/qt_pictures.h"

namespace platform {
struct Icon {
  QIcon icon;
};
}  // namespace platform

namespace platform::qt {

// The letter code of each key of picture 119, position 1 first (for the picture's tests).
QIcon PictureCellIcon(uint32_t id, int index, int32_t width, int32_t height) {
  return DrawnIcon(
      [=](QSize pixels) {
        return PictureCellAt(id, index, width, height, width > 0 ? qreal(pixels.width()) / width : 1.0);
      },
      {QSize(width, height)}, false);
}

const char* KeyboardPictureLetters();

namespace {

// The program's icon keeps its own colours in every scheme: it is the program's mark, drawn
// on a ground of its own.
const QColor kBrandInk(0x1F, 0x3A, 0x8F);     // dark blue
const QColor kBrandAccent(0xC8, 0x1E, 0x1E);  // red
const QColor kBrandPaper(0xFF, 0xFF, 0xFF);

QColor IconInk() { return ToQColor(ChromeColoursNow().iconInk); }
QColor IconAccent() { return ToQColor(ChromeColoursNow().iconAccent); }
QColor PictureInk() { return ToQColor(ChromeColoursNow().pictureInk); }
QColor PictureGround() { return ToQColor(ChromeColoursNow().pictureGround); }

// Draws into a 16 x 16 cell whose top-left is the painter's origin.
void DrawArrow(QPainter& p, bool pointsRight) {
  // The left arrow is the right one mirrored about the cell's middle (x -> 16 - x).
  p.save();
  if (!pointsRight) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  QPainterPath path;
  path.moveTo(14.5, 8);
  path.lineTo(8.5, 2);
  path.lineTo(8.5, 5.5);
  path.lineTo(1.5, 5.5);
  path.lineTo(1.5, 10.5);
  path.lineTo(8.5, 10.5);
  path.lineTo(8.5, 14);
  path.closeSubpath();
  p.setPen(QPen(IconInk().darker(130), 1));
  p.setBrush(IconInk());
  p.drawPath(path);
  p.restore();
}

void DrawIndex(QPainter& p) {
  p.setPen(QPen(IconInk(), 1));
  p.setBrush(PictureGround());
  p.drawRect(QRectF(2.5, 1.5, 11, 13));
  for (int row = 0; row < 4; ++row) {
    const qreal y = 4.5 + row * 3;
    p.fillRect(QRectF(4, y - 0.5, 2, 2), IconAccent());
    p.drawLine(QPointF(7, y + 0.5), QPointF(12, y + 0.5));
  }
}

void DrawFont(QPainter& p) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(19);
  font.setBold(true);
  p.setFont(font);
  p.setPen(IconInk());
  p.drawText(QRectF(-2, -3, 20, 20), Qt::AlignCenter, QString(QChar(0x05D0)));  // alef
}

void DrawMagnifier(QPainter& p, qreal scale) {
  p.save();
  p.scale(scale, scale);
  p.setPen(QPen(IconInk(), 2));
  p.setBrush(ToQColor(ChromeColoursNow().iconLens));
  p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
  p.setPen(QPen(IconInk(), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(10, 10), QPointF(14, 14));
  p.restore();
}

void DrawSearchAgain(QPainter& p) {
  DrawMagnifier(p, 0.8);
  // A small "again" arrow at the bottom right.
  QPainterPath path;
  path.moveTo(15.5, 12.5);
  path.lineTo(11.5, 9);
  path.lineTo(11.5, 16);
  path.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(IconAccent());
  p.drawPath(path);
  p.fillRect(QRectF(7.5, 11.5, 4.5, 2), IconAccent());
}

void DrawToolCell(QPainter& p, int index) {
  switch (index) {
    case 0: DrawArrow(p, false); break;
    case 1: DrawIndex(p); break;
    case 2: DrawArrow(p, true); break;
    case 3: DrawFont(p); break;
    case 4: DrawMagnifier(p, 1.0); break;
    case 5: DrawSearchAgain(p); break;
    default: break;
  }
}

// Cells of 16 x 16 side by side, from cell first on, drawn as vectors at the device pixel
// ratio: all six make bitmap 114, one of them a tool button's picture.
QImage ToolButtonImages(qreal ratio, int first, int count) {
  QImage image(int(std::ceil(16 * count * ratio)), int(std::ceil(16 * ratio)), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  image.setDevicePixelRatio(ratio);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (int i = 0; i < count; ++i) {
    p.save();
    p.translate(i * 16, 0);
    DrawToolCell(p, first + i);
    p.restore();
  }
  return image;
}

// The tree glyphs: 9 x 9, the picture ink on the picture ground (black on white in the
// light scheme). 201 boxed plus, 202 boxed minus, 203 a page with a folded corner.
QImage TreeGlyph(uint32_t id) {
  QImage image(9, 9, QImage::Format_RGB32);
  image.fill(PictureGround());
  const QRgb ink = PictureInk().rgb();
  auto set = [&image, ink](int x, int y) { image.setPixel(x, y, ink); };
  if (id == 203) {
    for (int y = 0; y < 9; ++y) {
      set(1, y);
      if (y >= 3) set(7, y);
    }
    for (int x = 1; x <= 7; ++x) set(x, 8);
    for (int x = 1; x <= 4; ++x) set(x, 0);
    for (int i = 0; i <= 3; ++i) set(4 + i, i);  // the cut corner
    for (int y = 0; y <= 3; ++y) set(4, y);
    for (int x = 4; x <= 7; ++x) set(x, 3);
    return image;
  }
  for (int i = 0; i < 9; ++i) {
    set(i, 0);
    set(i, 8);
    set(0, i);
    set(8, i);
  }
  for (int x = 2; x <= 6; ++x) set(x, 4);
  if (id == 201)
    for (int y = 2; y <= 6; ++y) set(4, y);
  return image;
}

// The keyboard of the search dialog: 154 x 95, the picture ink on the picture ground. Three rows of nine keys of
// 17 x 25 pixels (grid lines at x = 0, 17, ..., 153 and y = 0, 25, 50, 75), each with its
// letter; key position k (1..27) counts from the right of the top row, row by row. Below
// them the space bar spans columns 2..6 down to y = 94.
QImage KeyboardImage() {
  QImage image(154, 95, QImage::Format_RGB32);
  image.fill(PictureGround());
  QPainter p(&image);
  p.setPen(QPen(PictureInk(), 1));
  for (int x = 0; x <= 153; x += 17) p.drawLine(x, 0, x, 75);
  for (int y = 0; y <= 75; y += 25) p.drawLine(0, y, 153, y);
  p.drawRect(34, 75, 119 - 34, 94 - 75);
  QFont font;
  font.setFamilies({QStringLiteral("Nachlieli CLM"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(17);
  font.setBold(true);
  p.setFont(font);
  const char* layout = KeyboardPictureLetters();
  for (int k = 1; k <= 27; ++k) {
    const int row = (k - 1) / 9, column = 8 - (k - 1) % 9;
    const QChar letter(char16_t(0x05D0 + (layout[k - 1] - 0x61)));
    p.drawText(QRect(column * 17 + 1, row * 25 + 1, 16, 24), Qt::AlignCenter, QString(letter));
  }
  p.end();
  // Two colours: ink where the antialiased strokes are more than half way from the ground
  // to the ink, ground elsewhere. On a dark ground the strokes are the light pixels, so the
  // threshold is taken on the picture turned around.
  const bool darkGround = qGray(PictureGround().rgb()) < 128;
  if (darkGround) image.invertPixels();
  QImage mono = image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
  QVector<QRgb> table = mono.colorTable();
  for (QRgb& entry : table) entry = qGray(entry) < 128 ? PictureInk().rgb() : PictureGround().rgb();
  mono.setColorTable(table);
  return mono;
}

QPixmap ReaderIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(Qt::NoPen);
  p.setBrush(kBrandInk);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  // An open book: two pages meeting at the spine.
  QPainterPath left, right;
  left.moveTo(16, 10);
  left.cubicTo(12, 7.5, 8, 7.5, 5, 9);
  left.lineTo(5, 24);
  left.cubicTo(8, 22.5, 12, 22.5, 16, 25);
  left.closeSubpath();
  right.moveTo(16, 10);
  right.cubicTo(20, 7.5, 24, 7.5, 27, 9);
  right.lineTo(27, 24);
  right.cubicTo(24, 22.5, 20, 22.5, 16, 25);
  right.closeSubpath();
  p.setBrush(kBrandPaper);
  p.drawPath(left);
  p.drawPath(right);
  p.setPen(QPen(kBrandInk, 1));
  for (int row = 0; row < 4; ++row) {
    const qreal y = 12.5 + row * 3;
    p.drawLine(QPointF(7.5, y), QPointF(14, y + 0.6));
    p.drawLine(QPointF(18, y + 0.6), QPointF(24.5, y));
  }
  // A bookmark ribbon.
  QPainterPath ribbon;
  ribbon.moveTo(20, 8.2);
  ribbon.lineTo(23, 7.8);
  ribbon.lineTo(23, 15);
  ribbon.lineTo(21.5, 13.5);
  ribbon.lineTo(20, 15);
  ribbon.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kBrandAccent);
  p.drawPath(ribbon);
  return pixmap;
}

// An icon drawn when Qt asks for a pixmap, at the device pixels asked, and kept: only the
// sizes and scales the screens in use need are ever drawn. A picture of one size (a tool
// button's) is drawn no larger than that size at the scale asked, as a pixmap icon would
// give it; a scalable one (the window icon) at any size.
class DrawnIconEngine final : public QIconEngine {
 public:
  DrawnIconEngine(DrawnPicture draw, QList<QSize> sizes, bool scalable)
      : draw_(std::move(draw)), sizes_(std::move(sizes)), scalable_(scalable) {}

  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
  QString key() const override { return QStringLiteral("SolmarDrawnIcon"); }
  bool isNull() override { return !draw_ || sizes_.isEmpty(); }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return Fit(size, 1.0); }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
    const QSize pixels = Fit(size, scale > 0 ? scale : 1.0);
    if (pixels.isEmpty() || isNull()) return QPixmap();
    const auto key = std::make_pair(std::make_pair(pixels.width(), pixels.height()), int(mode));
    if (auto found = pixmaps_.find(key); found != pixmaps_.end()) return found->second;
    QPixmap made;
    if (mode == QIcon::Normal || mode == QIcon::Active) {
      QImage image = draw_(pixels);
      image.setDevicePixelRatio(1.0);
      made = QPixmap::fromImage(std::move(image));
    } else {
      // Disabled and selected pictures as the style makes them from the normal one.
      const QPixmap normal = scaledPixmap(size, QIcon::Normal, QIcon::Off, scale);
      QStyleOption option;
      option.palette = QGuiApplication::palette();
      made = QApplication::style() ? QApplication::style()->generatedIconPixmap(mode, normal, &option) : normal;
    }
    pixmaps_[key] = made;
    return made;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap pm = scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio);
    pm.setDevicePixelRatio(ratio);
    const QSizeF shown = QSizeF(pm.size()) / ratio;
    painter->drawPixmap(QPointF(rect.x() + (rect.width() - shown.width()) / 2,
                                rect.y() + (rect.height() - shown.height()) / 2),
                        pm);
  }

 private:
  // Device pixels for a request of size device pixels at scale.
  QSize Fit(const QSize& size, qreal scale) const {
    if (scalable_ || sizes_.isEmpty()) return size;
    return size.boundedTo((QSizeF(sizes_.first()) * scale).toSize());
  }

  DrawnPicture draw_;
  QList<QSize> sizes_;
  bool scalable_;
  std::map<std::pair<std::pair<int, int>, int>, QPixmap> pixmaps_;
};

}  // namespace

QIcon DrawnIcon(DrawnPicture draw, QList<QSize> sizes, bool scalable) {
  return QIcon(new DrawnIconEngine(std::move(draw), std::move(sizes), scalable));
}

QImage PictureCellAt(uint32_t id, int index, int32_t width, int32_t height, qreal ratio) {
  if (ratio <= 0) ratio = 1.0;
  // The tool buttons' cells are drawn one by one; other pictures are cut from the strip.
  QImage strip = id == 114 && width == 16 && height == 16 ? ToolButtonImages(ratio, index, 1) : PictureAt(id, ratio);
  if (strip.isNull()) return strip;
  const qreal made = strip.devicePixelRatio();
  const int x = id == 114 && width == 16 && height == 16 ? 0 : int(std::lround(index * width * made));
  QImage cell = strip.copy(x, 0, int(std::lround(width * made)), int(std::lround(height * made)));
  cell.setDevicePixelRatio(made);
  return cell;
}

const char* KeyboardPictureLetters() { return "abcdefghijlkmonqprsutwvxyz{"; }

// Internal to the Qt backend: the icon of a handle (an empty icon for none).
QIcon IconOf(Icon* icon) { return icon ? icon->icon : QIcon(); }

bool HasPicture(uint32_t id) { return id == 113 || id == 114 || id == 119 || (id >= 201 && id <= 203); }

QImage PictureAt(uint32_t id, qreal ratio) {
  switch (id) {
    case 113: return ReaderIcon(48).toImage();
    case 114: return ToolButtonImages(ratio > 0 ? ratio : 1.0, 0, 6);
    case 119: return KeyboardImage();
    case 201:
    case 202:
    case 203: return TreeGlyph(id);
    default: return QImage();
  }
}

}  // namespace platform::qt

namespace platform {

Bitmap* LoadBitmap(uint32_t id) {
  QImage image = qt::PictureAt(id, 1.0);
  return image.isNull() ? nullptr : new Bitmap{std::move(image)};
}

void DeleteBitmap(Bitmap* bitmap) { delete bitmap; }

Icon* LoadIcon(uint32_t id) {
  if (id != 101) return nullptr;
  // Drawn at the sizes the desktop asks for when the window gets it, not here.
  static Icon* icon = new Icon{qt::DrawnIcon([](QSize pixels) { return qt::ReaderIcon(pixels.width()).toImage(); },
                                             {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48),
                                              QSize(64, 64), QSize(128, 128), QSize(256, 256)},
                                             true)};
  return icon;
}

}  // namespace platform
