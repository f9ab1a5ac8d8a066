// Stand-ins for item drawing, until it is built: the control's window passes every message on
// untouched (the tree draws all items itself), and the drawing procedures draw and measure
// nothing.
#include "com/boundary.h"
#include "kelpy/control/toc.h"

namespace kelpy {

STDMETHODIMP Toc::CtrlWndProc(LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR*, VARIANT_BOOL*) {
    return com::boundary(IID__TOC, [] {});
}

void Toc::DrawItem(const com::ComPtr<CustomDrawEventArgs>&) {}

com::ComPtr<ITransformation> Toc::CreateTransFromDC(LONG_PTR, LONG, LONG) { return {}; }

com::ComPtr<IGeometry> Toc::CreateSymbolGeometry(LONG, LONG, LONG, LONG, LONG) { return {}; }

com::ComPtr<ISymbol> Toc::CreateFillSymbol(LONG) { return {}; }

com::ComPtr<ISymbol> Toc::CreateGradientSymbol(const com::ComPtr<IColorRamp>&) { return {}; }

void Toc::MeasureSymbol(const NodePtr&) {}

}  // namespace kelpy
