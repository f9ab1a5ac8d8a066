#include "kelpy/draw/fake_symbol.h"
#include <algorithm>
#include "com/boundary.h"
#include "com/error.h"
#include "win/handles.h"

namespace test {

Box box_of(IGeometry* geometry) {
    com::ComPtr<IEnvelope> e;
    com::check(geometry->get_Envelope(e.put()));
    Box b;
    com::check(e->get_XMin(&b.xmin));
    com::check(e->get_YMin(&b.ymin));
    com::check(e->get_XMax(&b.xmax));
    com::check(e->get_YMax(&b.ymax));
    return b;
}

namespace {
Box box_of_envelope(IEnvelope* e) {
    com::ComPtr<IEnvelope> keep(e);
    return box_of(keep.as<IGeometry>().get());
}
}  // namespace

STDMETHODIMP FakeSymbol::QueryInterface(REFIID riid, void** out) {
    HRESULT hr = E_NOINTERFACE;
    if (riid != __uuidof(ISymbolLikeness) || likeness) hr = ComObject::QueryInterface(riid, out);
    if (hr == E_NOINTERFACE && out) {
        *out = nullptr;
        if (wrapped) hr = wrapped->QueryInterface(riid, out);
    }
    return hr;
}

STDMETHODIMP FakeSymbol::GetLikeness(IUnknown* asked, ULONG capacity, double* settings, ULONG* count) {
    if (!count) return E_POINTER;
    *count = 0;
    if (!likeness || asked != static_cast<ISymbol*>(this)) return S_FALSE;
    *count = ULONG(likeness->size());
    if (*count <= capacity) std::copy(likeness->begin(), likeness->end(), settings);
    return S_OK;
}

STDMETHODIMP FakeSymbol::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

STDMETHODIMP FakeSymbol::SetupDC(LONG_PTR hdc, ITransformation* transformation) {
    return com::boundary(IID_ISymbol, [&] {
        calls.push_back(L"SetupDC");
        dc_ = reinterpret_cast<HDC>(hdc);
        setup = {};
        if (!transformation) return;
        setup.present = true;
        auto display = com::ComPtr<ITransformation>(transformation).as<IDisplayTransformation>();
        com::ComPtr<IEnvelope> e;
        com::check(display->get_Bounds(e.put()));
        setup.bounds = box_of_envelope(e.get());
        com::check(display->get_VisibleBounds(e.put()));
        setup.visible = box_of_envelope(e.get());
        com::check(display->GetDeviceFrame(&setup.frame[0], &setup.frame[1], &setup.frame[2], &setup.frame[3]));
        com::check(display->get_Resolution(&setup.resolution));
        com::check(display->get_ScaleRatio(&setup.scale));
        com::check(display->get_QualityRatio(&setup.quality));
        com::check(display->get_Units(&setup.units));
        for (int i = 0; i < 4; ++i) frame_[i] = setup.frame[i];
    });
}

STDMETHODIMP FakeSymbol::Draw(IGeometry* geometry) {
    return com::boundary(IID_ISymbol, [&] {
        calls.push_back(L"Draw");
        drawn_shape = geometry;
        com::check(geometry->get_GeometryType(&drawn_type));
        drawn = box_of(geometry);
        if (fail_draw) com::raise(E_FAIL, L"The symbol failed to draw on purpose");
        const win::Brush brush(CreateSolidBrush(paint));
        const RECT all{frame_[0], frame_[1], frame_[2], frame_[3]};
        FillRect(dc_, &all, brush.get());
    });
}

STDMETHODIMP FakeSymbol::ResetDC() {
    calls.push_back(L"ResetDC");
    dc_ = nullptr;
    return S_OK;
}

STDMETHODIMP FakeSymbol::QueryBoundary(LONG_PTR hdc, ITransformation* transformation, IGeometry* geometry,
                                       IPolygon* boundary) {
    return com::boundary(IID_ISymbol, [&] {
        calls.push_back(L"QueryBoundary");
        measured_dc = hdc;
        measured_without_transformation = transformation == nullptr;
        com::check(geometry->get_GeometryType(&measured_type));
        measured = box_of(geometry);
        if (fail_boundary) com::raise(E_FAIL, L"The symbol failed to measure on purpose");
        if (empty_boundary) return;
        com::check(boundary->AddPoint(0, 0));
        com::check(boundary->AddPoint(boundary_width, 0));
        com::check(boundary->AddPoint(boundary_width, boundary_height));
        com::check(boundary->AddPoint(0, boundary_height));
    });
}

}  // namespace test
