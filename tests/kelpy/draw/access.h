// The drawing tests' access to the control's procedures and members.
#pragma once
#include "kelpy/control/toc.h"

namespace test {

struct DrawTests;

template <>
struct TocAccess<DrawTests> {
    static kelpy::platform::NodeCollection& nodes(kelpy::Toc& t) { return t.tvwTOC.Nodes(); }
    static void MeasureSymbol(kelpy::Toc& t, const kelpy::NodePtr& node) { t.MeasureSymbol(node); }
    static void DrawItem(kelpy::Toc& t, const com::ComPtr<kelpy::CustomDrawEventArgs>& args) { t.DrawItem(args); }
    static com::ComPtr<ITransformation> CreateTransFromDC(kelpy::Toc& t, HDC dc, LONG width, LONG height) {
        return t.CreateTransFromDC(reinterpret_cast<LONG_PTR>(dc), width, height);
    }
    static com::ComPtr<IGeometry> CreateSymbolGeometry(kelpy::Toc& t, LONG x, LONG y, LONG w, LONG h, LONG type) {
        return t.CreateSymbolGeometry(x, y, w, h, type);
    }
    static com::ComPtr<ISymbol> CreateFillSymbol(kelpy::Toc& t, LONG color) { return t.CreateFillSymbol(color); }
    static com::ComPtr<ISymbol> CreateGradientSymbol(kelpy::Toc& t, const com::ComPtr<IColorRamp>& ramp) {
        return t.CreateGradientSymbol(ramp);
    }
};

using DrawAccess = TocAccess<DrawTests>;

}  // namespace test
