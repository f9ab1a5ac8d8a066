#include "mapmodel/geometry/envelope.h"

namespace mapmodel {

com::ComPtr<IEnvelope> make_envelope(const Bounds& b) { return Envelope::create(b).as<IEnvelope>(); }

Bounds bounds_of(IEnvelope* e) {
    if (!e) return {};
    return read_shape(com::ComPtr<IEnvelope>(e).as<IGeometry>().get()).bounds();
}

namespace {
constexpr const IID& kIid = __uuidof(IEnvelope);
}

STDMETHODIMP Envelope::get_XMin(double* v) { return boundary(kIid, [&] { out(v) = b_.xmin; }); }
STDMETHODIMP Envelope::get_YMin(double* v) { return boundary(kIid, [&] { out(v) = b_.ymin; }); }
STDMETHODIMP Envelope::get_XMax(double* v) { return boundary(kIid, [&] { out(v) = b_.xmax; }); }
STDMETHODIMP Envelope::get_YMax(double* v) { return boundary(kIid, [&] { out(v) = b_.ymax; }); }
STDMETHODIMP Envelope::get_Width(double* v) { return boundary(kIid, [&] { out(v) = b_.width(); }); }
STDMETHODIMP Envelope::get_Height(double* v) { return boundary(kIid, [&] { out(v) = b_.height(); }); }

// Setting one coordinate of an empty envelope gives it coordinates: the others are 0.
HRESULT Envelope::set(double Bounds::*field, double v, const wchar_t* name) {
    return boundary(kIid, [&] {
        finite(v, name);
        b_.empty = false;
        b_.*field = v;
    });
}

STDMETHODIMP Envelope::put_XMin(double v) { return set(&Bounds::xmin, v, L"XMin"); }
STDMETHODIMP Envelope::put_YMin(double v) { return set(&Bounds::ymin, v, L"YMin"); }
STDMETHODIMP Envelope::put_XMax(double v) { return set(&Bounds::xmax, v, L"XMax"); }
STDMETHODIMP Envelope::put_YMax(double v) { return set(&Bounds::ymax, v, L"YMax"); }

STDMETHODIMP Envelope::PutCoords(double xmin, double ymin, double xmax, double ymax) {
    return boundary(kIid, [&] {
        finite(xmin, L"XMin");
        finite(ymin, L"YMin");
        finite(xmax, L"XMax");
        finite(ymax, L"YMax");
        b_ = Bounds::of(xmin, ymin, xmax, ymax);
    });
}

STDMETHODIMP Envelope::Expand(double dx, double dy, VARIANT_BOOL asRatio) {
    return boundary(kIid, [&] {
        finite(dx, L"The horizontal expansion");
        finite(dy, L"The vertical expansion");
        if (b_.empty) return;
        Bounds r = b_;
        if (com::is_true(asRatio)) {
            if (dx < 0 || dy < 0) com::raise(E_INVALIDARG, L"Expansion ratios cannot be negative");
            Vec c = b_.centre();
            double hw = b_.width() * dx / 2, hh = b_.height() * dy / 2;
            r = Bounds::of(c.x - hw, c.y - hh, c.x + hw, c.y + hh);
        } else {
            r.xmin -= dx;
            r.xmax += dx;
            r.ymin -= dy;
            r.ymax += dy;
            if (r.xmin > r.xmax || r.ymin > r.ymax)
                com::raise(E_INVALIDARG, L"The envelope cannot shrink by more than its own size");
        }
        b_ = r;
    });
}

STDMETHODIMP Envelope::Union(IEnvelope* other) {
    return boundary(kIid, [&] { b_.add(bounds_of(required(other, L"The other envelope"))); });
}

}  // namespace mapmodel
