#include "mapmodel/layers/raster_layer.h"
#include "mapmodel/geometry/envelope.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IRasterLayer);
}

double& RasterLayer::cell(long band, long column, long row) {
    check_index(band, size_t(bands_), L"the raster's band list");
    check_index(column, size_t(columns_), L"the raster's columns");
    check_index(row, size_t(rows_), L"the raster's rows");
    return cells_[(size_t(band) * size_t(rows_) + size_t(row)) * size_t(columns_) + size_t(column)];
}

STDMETHODIMP RasterLayer::get_Renderer(IRasterRenderer** r) { return boundary(kIid, [&] { give(r, renderer_); }); }
STDMETHODIMP RasterLayer::putref_Renderer(IRasterRenderer* r) { return boundary(kIid, [&] { renderer_ = r; }); }

// A new size clears every cell to 0.
STDMETHODIMP RasterLayer::SetSize(long columns, long rows, long bands) {
    return boundary(kIid, [&] {
        if (columns < 0 || rows < 0 || bands < 0) com::raise(E_INVALIDARG, L"A raster's size cannot be negative");
        long long n = (long long)columns * rows * bands;
        if (n > kMaxCells) com::raise(E_INVALIDARG, L"A raster holds at most " + std::to_wstring(kMaxCells) + L" values");
        cells_.assign(size_t(n), 0.0);
        columns_ = columns;
        rows_ = rows;
        bands_ = bands;
    });
}

STDMETHODIMP RasterLayer::get_Columns(long* n) { return boundary(kIid, [&] { out(n) = columns_; }); }
STDMETHODIMP RasterLayer::get_Rows(long* n) { return boundary(kIid, [&] { out(n) = rows_; }); }
STDMETHODIMP RasterLayer::get_BandCount(long* n) { return boundary(kIid, [&] { out(n) = bands_; }); }

STDMETHODIMP RasterLayer::get_CellValue(long band, long column, long row, double* v) {
    return boundary(kIid, [&] { out(v) = cell(band, column, row); });
}
STDMETHODIMP RasterLayer::put_CellValue(long band, long column, long row, double v) {
    return boundary(kIid, [&] { cell(band, column, row) = finite(v, L"A cell value"); });
}

STDMETHODIMP RasterLayer::get_Extent(IEnvelope** e) { return boundary(kIid, [&] { give(e, make_envelope(extent_)); }); }
STDMETHODIMP RasterLayer::putref_Extent(IEnvelope* e) {
    return boundary(kIid, [&] { extent_ = bounds_of(required(e, L"The extent")); });
}

}  // namespace mapmodel
