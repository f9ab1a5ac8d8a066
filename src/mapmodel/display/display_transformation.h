// DisplayTransformation: maps the visible world rectangle (else the full bounds) onto a device
// frame at a resolution (see mapping.h for the convention). It also keeps three drawing
// settings that callers set and read back; the model's drawing does not depend on them.
#pragma once
#include "com/object.h"
#include "mapmodel/display/mapping.h"
#include "mapmodel/support.h"

namespace mapmodel {

class DisplayTransformation final
    : public com::ComObject<DisplayTransformation, Dispatch<IDisplayTransformation>, com::SupportErrorInfo> {
public:
    void* query_more(REFIID riid) noexcept;

    STDMETHODIMP get_Resolution(double* dpi) override;
    STDMETHODIMP put_Resolution(double dpi) override;
    STDMETHODIMP get_Bounds(IEnvelope** e) override;
    STDMETHODIMP put_Bounds(IEnvelope* e) override;
    STDMETHODIMP get_VisibleBounds(IEnvelope** e) override;
    STDMETHODIMP put_VisibleBounds(IEnvelope* e) override;
    STDMETHODIMP SetDeviceFrame(long left, long top, long right, long bottom) override;
    STDMETHODIMP GetDeviceFrame(long* left, long* top, long* right, long* bottom) override;
    STDMETHODIMP get_ScaleRatio(double* v) override;
    STDMETHODIMP put_ScaleRatio(double v) override;
    STDMETHODIMP get_QualityRatio(double* v) override;
    STDMETHODIMP put_QualityRatio(double v) override;
    STDMETHODIMP get_Units(long* v) override;
    STDMETHODIMP put_Units(long v) override;
    STDMETHODIMP ToDevice(double x, double y, double* px, double* py) override;
    STDMETHODIMP FromDevice(double px, double py, double* x, double* y) override;

private:
    Mapping mapping() const;
    Bounds bounds_, visible_;
    DeviceFrame frame_;
    double dpi_ = 96.0;
    double scale_ratio_ = 1.0, quality_ratio_ = 1.0;
    long units_ = 0;
};

}  // namespace mapmodel
