// FakeSymbol: a symbol whose boundary the test chooses and which records how it is used: the
// calls in order, the shape it was asked to draw or measure, and what the transformation it
// was set up with said at that moment. Draw paints its whole device frame in one colour, or
// fails on demand. It may hand over a likeness as the model's own symbols do, or wrap another
// object as a host's wrapper may: every query it does not answer goes on to that object.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "com/object.h"
#include "com/ptr.h"
#include "com/symbol_likeness.h"
#include "kelpy/model/typelib.h"

namespace test {

// A rectangle of world coordinates, as a shape's envelope reads.
struct Box {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    friend bool operator==(const Box&, const Box&) = default;
};
Box box_of(IGeometry* geometry);

// What a transformation said when a symbol was set up with it.
struct TransformationSeen {
    bool present = false;
    Box bounds, visible;
    long frame[4] = {};
    double resolution = 0, scale = 0, quality = 0;
    long units = 0;
};

class FakeSymbol final : public com::ComObject<FakeSymbol, ISymbol, ISymbolLikeness> {
public:
    static com::ComPtr<FakeSymbol> make() { return create(); }

    // Set: the likeness the fake hands over (it then paints alike with every symbol of it).
    std::optional<std::vector<double>> likeness;
    // Set: the object that every query the fake does not answer is handed on to.
    com::ComPtr<IUnknown> wrapped;

    // The boundary answered by QueryBoundary: an axis-parallel rectangle of this size at the
    // origin, or nothing when empty.
    double boundary_width = 19, boundary_height = 19;
    bool empty_boundary = false;
    COLORREF paint = RGB(0, 128, 0);
    bool fail_draw = false;
    bool fail_boundary = false;

    std::vector<std::wstring> calls;
    GeometryType drawn_type = GeometryNull, measured_type = GeometryNull;
    Box drawn, measured;                 // envelopes of the shapes drawn and measured
    com::ComPtr<IGeometry> drawn_shape;  // the shape of the last Draw
    TransformationSeen setup;            // the transformation of the last SetupDC
    bool measured_without_transformation = false;
    LONG_PTR measured_dc = 0;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP GetLikeness(IUnknown* asked, ULONG capacity, double* settings, ULONG* count) override;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetupDC(LONG_PTR hdc, ITransformation* transformation) override;
    STDMETHODIMP Draw(IGeometry* geometry) override;
    STDMETHODIMP ResetDC() override;
    STDMETHODIMP QueryBoundary(LONG_PTR hdc, ITransformation* transformation, IGeometry* geometry,
                               IPolygon* boundary) override;

private:
    HDC dc_ = nullptr;
    long frame_[4] = {};
};

}  // namespace test
