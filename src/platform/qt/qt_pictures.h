// Internal to the Qt backend: the program's pictures at a screen's device pixel ratio.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <cstdint>
#include <functional>

namespace platform::qt {

// Bitmap id drawn for a device pixel ratio: an image of ratio times the logical size,
// with that ratio set. Pictures that are pixel patterns (the tree glyphs) come at ratio 1
// whatever is asked. A null image for an unknown id.
QImage PictureAt(uint32_t id, qreal ratio);
// Whether PictureAt draws id (without drawing it).
bool HasPicture(uint32_t id);

// Cell index (width x height logical pixels, from the left) of bitmap id at ratio, with
// the ratio it was made for set (1 for pixel patterns).
QImage PictureCellAt(uint32_t id, int index, int32_t width, int32_t height, qreal ratio);

// Draws a picture of exactly the device pixels given.
using DrawnPicture = std::function<QImage(QSize pixels)>;
// An icon whose pixmaps are drawn only when asked for, each size and scale once. sizes are
// what it offers; a scalable icon is drawn at any size asked, another one no larger than
// its first size at the scale asked.
QIcon DrawnIcon(DrawnPicture draw, QList<QSize> sizes, bool scalable);
// Cell index of bitmap id as such an icon: drawn at the scale of the screen that shows it,
// when it first does.
QIcon PictureCellIcon(uint32_t id, int index, int32_t width, int32_t height);

}  // namespace platform::qt
