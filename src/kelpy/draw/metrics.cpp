// MeasureSymbol: the size of a legend row's swatch and the height of its row. The symbol is
// asked how much room it covers on the row's standard shape; the row becomes a whole number of
// standard rows tall (an integral height), and the swatch size goes into the row's record for
// the painting.
//
// The measure comes in two halves: MeasureSwatch finds the sizes and writes nothing, so that a
// new legend row can be given its height with its insertion (one tree message per row; every
// further message about an item costs a search of the tree's items), and tree::write_swatch fills
// the record. A failure in the first half leaves the record as it was.
#include <cstdint>
#include "com/class_objects.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/draw/item_painter.h"
#include <commctrl.h>
#include "kelpy/draw/symbol_factories.h"
#include "win/handles.h"
#include "kelpy/model/items.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::draw {

namespace {
// The room around the symbol's boundary, on every side.
constexpr double swatch_margin = 2.0;
using tree::row_unit;

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

MeasuringShape measuring_shape(const TocNode& record) {
    // A ramp is measured on a tall bar, every other swatch on a square, in the features' shape
    // where the row's kind draws on it.
    switch (tree::SwatchFormOf(record)) {
    case tree::SwatchForm::LayerShape: return {0, 0, 18, 18, record.ShapeType};
    case tree::SwatchForm::Ramp: return {0, 0, 15, 48, GeometryPolygon};
    case tree::SwatchForm::Square: break;
    }
    return {0, 0, 18, 18, GeometryPolygon};
}

void ItemPainter::RebuildStarts() {
    m_swatches.forget_rows();
    m_rebuild.emplace(m_measures, tvwTOC.window());
}

void ItemPainter::RebuildEnds() noexcept {
    m_rebuild.reset();
    try {
        m_marks.UpdateScales();  // the new rows start without their scale states
    } catch (...) {
        // A layer that fails to tell its range shows as drawn; the rebuild itself stands.
    }
}

std::optional<SwatchMeasure> ItemPainter::MeasureSwatch(const TocNode& record) {
    // 1-2. Only a row with a symbol and a shape the symbol can be measured on; a symbol that
    // was measured on that shape earlier in this rebuild is not asked again.
    com::ComPtr<ISymbol> symbol = record.Symbol;
    if (!symbol) return std::nullopt;
    const MeasuringShape m = scaled(measuring_shape(record), m_dpi);
    if (const std::optional<SwatchMeasure>* known = m_measures.find(symbol.get(), m)) return *known;
    // A symbol of the same likeness measured in an earlier rebuild measures the same.
    std::optional<SymbolLikeness> like;
    if (m_measures.active()) like = LikenessOf(symbol.get());
    if (like) {
        if (const SwatchMeasure* alike = m_measures.find_alike(*like, m, m_dpi.value())) {
            m_measures.keep(symbol.get(), m, *alike);
            return *alike;
        }
    }
    com::ComPtr<IGeometry> shape = CreateSymbolGeometry(m.x, m.y, m.width, m.height, m.shapeType);
    if (!shape) return std::nullopt;

    // 3-6. The area the symbol covers on the shape, in the tree window's pixels (no
    // transformation: one unit per pixel).
    auto boundary = com::create_instance<IPolygon>(CLSID_PolygonShape);
    HWND tree = tvwTOC.window();
    if (m_measures.active()) {
        com::check(symbol->QueryBoundary(reinterpret_cast<LONG_PTR>(m_measures.dc()), nullptr, shape.get(), boundary.get()));
    } else {
        const win::WindowDC dc = win::WindowDC::try_get(tree);
        com::check(symbol->QueryBoundary(reinterpret_cast<LONG_PTR>(dc.get()), nullptr, shape.get(), boundary.get()));
    }

    // 7. The boundary's envelope, or the shape's when the symbol covers nothing, with a margin.
    std::optional<SwatchMeasure> found;
    com::ComPtr<IEnvelope> envelope = envelope_of(boundary.as<IGeometry>().get());
    if (is_empty(envelope.as<IGeometry>().get())) envelope = envelope_of(shape.get());
    if (!is_empty(envelope.as<IGeometry>().get())) {
        const double margin = m_dpi(swatch_margin);
        com::check(envelope->Expand(margin, margin, VARIANT_FALSE));
        // 8. As many standard rows as the height needs, at least one.
        SwatchMeasure measure;
        measure.row_height = m_dpi(row_unit);
        com::check(envelope->get_Height(&measure.height));
        measure.rows = com::round_half_even(measure.height / double(measure.row_height));
        if (measure.rows < 1) measure.rows = 1;
        try {
            com::check(envelope->get_Width(&measure.width));
        } catch (...) {
            measure.width_failure = std::current_exception();
        }
        found = measure;
    }
    m_measures.keep(symbol.get(), m, found);
    if (like && found) m_measures.keep_alike(std::move(*like), m, m_dpi.value(), *found);
    return found;
}

void ItemPainter::MeasureSymbol(const platform::NodePtr& node) {
    // 1-8. What the symbol covers; nothing changes when it cannot be measured.
    com::ComPtr<TocNode> record = RecordOf(node);
    const std::optional<SwatchMeasure> swatch = MeasureSwatch(*record.get());
    if (!swatch) return;

    // 9. The row: as many standard rows as the swatch needs.
    TVITEMEXA item{};
    item.mask = TVIF_INTEGRAL;
    item.hItem = reinterpret_cast<HTREEITEM>(record->Handle);
    item.iIntegral = int(swatch->rows);
    SendMessageA(tvwTOC.window(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));

    // 10-11. The record, in this order.
    tree::write_swatch(*record.get(), *swatch);
}

}  // namespace kelpy::draw
