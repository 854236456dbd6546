// Internal to the Qt backend: the program's pictures at a screen's device pixel ratio.
#pragma once

#include <QImage>
#include <cstdint>

namespace platform::qt {

// The device pixel ratios tool-bar images are made for (100 %, 150 %, 200 %, 300 %): a
// screen between two of them gets the larger one, scaled down.
inline constexpr qreal kPictureRatios[] = {1.0, 1.5, 2.0, 3.0};

// Bitmap id drawn for a device pixel ratio: an image of ratio times the logical size,
// with that ratio set. Pictures that are pixel patterns (the tree glyphs) come at ratio 1
// whatever is asked. A null image for an unknown id.
QImage PictureAt(uint32_t id, qreal ratio);

}  // namespace platform::qt
