#include "mapmodel/renderers/simple_renderer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(ISimpleRenderer);
}

STDMETHODIMP SimpleRenderer::get_Symbol(ISymbol** s) { return boundary(kIid, [&] { give(s, symbol_); }); }
STDMETHODIMP SimpleRenderer::putref_Symbol(ISymbol* s) { return boundary(kIid, [&] { symbol_ = s; }); }
STDMETHODIMP SimpleRenderer::get_Label(BSTR* label) { return boundary(kIid, [&] { give_text(label, label_); }); }
STDMETHODIMP SimpleRenderer::put_Label(BSTR label) { return boundary(kIid, [&] { label_ = com::view(label); }); }

}  // namespace mapmodel
