// SimpleRenderer: every feature with one symbol (held by reference), and a label for it.
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/renderer_base.h"
#include "mapmodel/revision.h"

namespace mapmodel {

class SimpleRenderer final : public com::ComObject<SimpleRenderer, Dispatch<ISimpleRenderer>,
                                                    RendererBase<SimpleRenderer, IFeatureRenderer>, Revised, com::SupportErrorInfo> {
public:
    // Every feature is in its one class whatever changes (Revised: the revision never changes).

    static constexpr const wchar_t* kDescription = L"Single symbol";

    STDMETHODIMP get_Symbol(ISymbol** s) override;
    STDMETHODIMP putref_Symbol(ISymbol* s) override;
    STDMETHODIMP get_Label(BSTR* label) override;
    STDMETHODIMP put_Label(BSTR label) override;

private:
    com::ComPtr<ISymbol> symbol_;
    std::wstring label_;
};

}  // namespace mapmodel
