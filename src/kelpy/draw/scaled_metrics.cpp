// The painter's resolution: the shapes swatches are measured on, their margins, the standard
// row and the places of swatch and label are designed in pixels at 96 dpi and scaled to it, so
// that a symbol draws its swatch for the size it is shown at (never an enlarged bitmap).
#include "kelpy/draw/item_painter.h"
#include "kelpy/draw/measuring.h"

namespace kelpy::draw {

MeasuringShape scaled(const MeasuringShape& shape, platform::Dpi dpi) {
    return {dpi(shape.x), dpi(shape.y), dpi(shape.width), dpi(shape.height), shape.shapeType};
}

void ItemPainter::SetDpi(platform::Dpi dpi) noexcept {
    if (dpi == m_dpi) return;
    m_dpi = dpi;
    m_swatches.clear();
}

}  // namespace kelpy::draw
