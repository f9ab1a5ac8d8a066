// Raster renderers that draw bands of cell values directly: RasterRgbRenderer shows three
// bands as red, green and blue; RasterStretchRenderer stretches one band over a colour ramp
// (held by reference). Cell values are taken as 0..255.
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/renderer_base.h"

namespace mapmodel {

class RasterRgbRenderer final
    : public com::ComObject<RasterRgbRenderer, Dispatch<IRasterRgbRenderer>,
                            RendererBase<RasterRgbRenderer, IRasterRenderer>, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"RGB composite";

    STDMETHODIMP get_RedBand(long* band) override;
    STDMETHODIMP put_RedBand(long band) override;
    STDMETHODIMP get_GreenBand(long* band) override;
    STDMETHODIMP put_GreenBand(long band) override;
    STDMETHODIMP get_BlueBand(long* band) override;
    STDMETHODIMP put_BlueBand(long band) override;

private:
    long red_ = 0, green_ = 1, blue_ = 2;
};

class RasterStretchRenderer final
    : public com::ComObject<RasterStretchRenderer, Dispatch<IRasterStretchRenderer>,
                            RendererBase<RasterStretchRenderer, IRasterRenderer>, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Stretched";

    STDMETHODIMP get_ColorRamp(IColorRamp** ramp) override;
    STDMETHODIMP putref_ColorRamp(IColorRamp* ramp) override;
    STDMETHODIMP get_Band(long* band) override;
    STDMETHODIMP put_Band(long band) override;

private:
    com::ComPtr<IColorRamp> ramp_;
    long band_ = 0;
};

// A band number: 0 or more.
long valid_band(long band);

}  // namespace mapmodel
