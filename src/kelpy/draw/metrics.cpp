// MeasureSymbol: the size of a legend row's swatch and the height of its row. The symbol is
// asked how much room it covers on the row's standard shape; the row becomes a whole number of
// standard rows tall (an integral height), and the swatch size goes into the row's record for
// the painting.
#include <cstdint>
#include "com/class_objects.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/control/toc.h"
#include <commctrl.h>
#include "kelpy/draw/gdi.h"

namespace kelpy {

namespace {
// The room around the symbol's boundary, on every side.
constexpr double swatch_margin = 2.0;
// The height of a standard row, as the records count it.
constexpr LONG row_unit = 16;

// The rectangle (x, y, width, height) and the shape type of the shape a row's symbol is
// measured on.
struct MeasuringShape {
    LONG x, y, width, height, shapeType;
};

MeasuringShape measuring_shape(const TocNode& record) {
    if (record.LayerType == ::LayerType::FeatureLayer) return {0, 0, 18, 18, record.ShapeType};
    // A stretched raster's ramp is measured on a tall bar, every other raster swatch on a square.
    if (record.RasterRendererType == ::RasterRendererType::StretchColorRamp) return {0, 0, 15, 48, GeometryPolygon};
    return {0, 0, 18, 18, GeometryPolygon};
}

bool is_empty(IGeometry* geometry) {
    VARIANT_BOOL empty = VARIANT_TRUE;
    com::check(geometry->get_IsEmpty(&empty));
    return com::is_true(empty);
}

com::ComPtr<IEnvelope> envelope_of(IGeometry* geometry) {
    com::ComPtr<IEnvelope> envelope;
    com::check(geometry->get_Envelope(envelope.put()));
    if (!envelope) com::raise(com::CTL_E_OBJECTNOTSET, L"The geometry has no envelope");
    return envelope;
}
}  // namespace

void Toc::MeasureSymbol(const NodePtr& node) {
    // 1-2. Only a row with a symbol and a shape the symbol can be measured on.
    com::ComPtr<TocNode> record = node->Record();
    com::ComPtr<ISymbol> symbol = record->Symbol;
    if (!symbol) return;
    const MeasuringShape m = measuring_shape(*record.get());
    com::ComPtr<IGeometry> shape = CreateSymbolGeometry(m.x, m.y, m.width, m.height, m.shapeType);
    if (!shape) return;

    // 3-6. The area the symbol covers on the shape, in the tree window's pixels (no
    // transformation: one unit per pixel).
    auto boundary = com::create_instance<IPolygon>(CLSID_PolygonShape);
    HWND tree = tvwTOC.window();
    {
        draw::WindowDC dc(tree);
        com::check(symbol->QueryBoundary(reinterpret_cast<LONG_PTR>(dc.get()), nullptr, shape.get(), boundary.get()));
    }

    // 7. The boundary's envelope, or the shape's when the symbol covers nothing, with a margin.
    com::ComPtr<IEnvelope> envelope = envelope_of(boundary.as<IGeometry>().get());
    if (is_empty(envelope.as<IGeometry>().get())) {
        envelope = envelope_of(shape.get());
        if (is_empty(envelope.as<IGeometry>().get())) return;
    }
    com::check(envelope->Expand(swatch_margin, swatch_margin, VARIANT_FALSE));

    // 8-9. The row: as many standard rows as the height needs, at least one.
    double height = 0;
    com::check(envelope->get_Height(&height));
    LONG rows = com::round_half_even(height / double(row_unit));
    if (rows < 1) rows = 1;
    TVITEMEXA item{};
    item.mask = TVIF_INTEGRAL;
    item.hItem = reinterpret_cast<HTREEITEM>(record->Handle);
    item.iIntegral = int(rows);
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));

    // 10-11. The record, in this order.
    double width = 0;
    com::check(envelope->get_Width(&width));
    if (rows > INT32_MAX / row_unit) com::raise(CTL_E_OVERFLOW);
    record->ItemHeight = rows * row_unit;
    record->SymbolWidth = com::round_half_even(width);
    record->SymbolHeight = com::round_half_even(height);
}

}  // namespace kelpy
