// RasterLayer: a small grid of cells (columns x rows, one value per band) spread over an
// extent in map units, drawn by a raster renderer.
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/layers/layer_base.h"
#include "mapmodel/layers/scale_range.h"

namespace mapmodel {

class RasterLayer final : public com::ComObject<RasterLayer, LayerBase<RasterLayer, IRasterLayer>, ScaleRange, com::SupportErrorInfo> {
public:
    static constexpr long kMaxCells = 1L << 22;

    void* query_more(REFIID riid) noexcept { return layer_interface(riid); }

    STDMETHODIMP get_Renderer(IRasterRenderer** r) override;
    STDMETHODIMP putref_Renderer(IRasterRenderer* r) override;
    STDMETHODIMP SetSize(long columns, long rows, long bands) override;
    STDMETHODIMP get_Columns(long* n) override;
    STDMETHODIMP get_Rows(long* n) override;
    STDMETHODIMP get_BandCount(long* n) override;
    STDMETHODIMP get_CellValue(long band, long column, long row, double* v) override;
    STDMETHODIMP put_CellValue(long band, long column, long row, double v) override;
    STDMETHODIMP get_Extent(IEnvelope** e) override;
    STDMETHODIMP putref_Extent(IEnvelope* e) override;

private:
    double& cell(long band, long column, long row);

    com::ComPtr<IRasterRenderer> renderer_;
    long columns_ = 0, rows_ = 0, bands_ = 0;
    std::vector<double> cells_;  // band-major, then row, then column
    Bounds extent_;
};

}  // namespace mapmodel
