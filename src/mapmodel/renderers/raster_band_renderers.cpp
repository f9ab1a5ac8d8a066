#include "mapmodel/renderers/raster_band_renderers.h"

namespace mapmodel {

long valid_band(long band) {
    if (band < 0) com::raise(E_INVALIDARG, L"A band number cannot be negative");
    return band;
}

namespace {
constexpr const IID& kRgb = __uuidof(IRasterRgbRenderer);
constexpr const IID& kStretch = __uuidof(IRasterStretchRenderer);
}

STDMETHODIMP RasterRgbRenderer::get_RedBand(long* band) { return boundary(kRgb, [&] { out(band) = red_; }); }
STDMETHODIMP RasterRgbRenderer::put_RedBand(long band) { return boundary(kRgb, [&] { red_ = valid_band(band); }); }
STDMETHODIMP RasterRgbRenderer::get_GreenBand(long* band) { return boundary(kRgb, [&] { out(band) = green_; }); }
STDMETHODIMP RasterRgbRenderer::put_GreenBand(long band) { return boundary(kRgb, [&] { green_ = valid_band(band); }); }
STDMETHODIMP RasterRgbRenderer::get_BlueBand(long* band) { return boundary(kRgb, [&] { out(band) = blue_; }); }
STDMETHODIMP RasterRgbRenderer::put_BlueBand(long band) { return boundary(kRgb, [&] { blue_ = valid_band(band); }); }

STDMETHODIMP RasterStretchRenderer::get_ColorRamp(IColorRamp** ramp) { return boundary(kStretch, [&] { give(ramp, ramp_); }); }
STDMETHODIMP RasterStretchRenderer::putref_ColorRamp(IColorRamp* ramp) { return boundary(kStretch, [&] { ramp_ = ramp; }); }
STDMETHODIMP RasterStretchRenderer::get_Band(long* band) { return boundary(kStretch, [&] { out(band) = band_; }); }
STDMETHODIMP RasterStretchRenderer::put_Band(long band) { return boundary(kStretch, [&] { band_ = valid_band(band); }); }

}  // namespace mapmodel
