// Envelope: an axis-parallel rectangle; empty until it is given coordinates.
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

class Envelope final : public com::ComObject<Envelope, GeometryBase<Envelope, IEnvelope>, Cloneable<Envelope>,
                                             com::SupportErrorInfo> {
public:
    Envelope() = default;
    explicit Envelope(const Bounds& b) : b_(b) {}

    void* query_more(REFIID riid) noexcept { return geometry_interface(riid); }
    GeometryType geometry_type() const { return GeometryEnvelope; }
    Bounds bounds() const { return b_; }
    void set_empty() { b_ = Bounds{}; }
    com::ComPtr<Envelope> duplicate() const { return Envelope::create(b_); }

    STDMETHODIMP get_XMin(double* v) override;
    STDMETHODIMP put_XMin(double v) override;
    STDMETHODIMP get_YMin(double* v) override;
    STDMETHODIMP put_YMin(double v) override;
    STDMETHODIMP get_XMax(double* v) override;
    STDMETHODIMP put_XMax(double v) override;
    STDMETHODIMP get_YMax(double* v) override;
    STDMETHODIMP put_YMax(double v) override;
    STDMETHODIMP get_Width(double* v) override;
    STDMETHODIMP get_Height(double* v) override;
    STDMETHODIMP PutCoords(double xmin, double ymin, double xmax, double ymax) override;
    STDMETHODIMP Expand(double dx, double dy, VARIANT_BOOL asRatio) override;
    STDMETHODIMP Union(IEnvelope* other) override;

private:
    HRESULT set(double Bounds::*field, double v, const wchar_t* name);
    Bounds b_;
};

// The bounds of any envelope object (ours or a host's); Nothing gives empty bounds.
Bounds bounds_of(IEnvelope* e);

}  // namespace mapmodel
