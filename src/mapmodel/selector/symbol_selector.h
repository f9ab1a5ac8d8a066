// SymbolSelector: the symbol selector dialog as a class. AddSymbol offers a symbol (answered
// True when the dialog can edit its kind); SelectSymbol shows the dialog modally, editing a
// copy of the first symbol offered, so that the original stays untouched; after a confirmed
// selection GetSymbolAt(0) is the edited copy, otherwise the original.
//
// Hosts and tests that script the selection replace this class for their process: they
// register their own class object for CLSID_SymbolSelector with CoRegisterClassObject
// (CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE); CoCreateInstance then gives their object.
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/support.h"

namespace mapmodel {

class SymbolSelector final : public com::ComObject<SymbolSelector, Dispatch<ISymbolSelector>, com::SupportErrorInfo> {
public:
    STDMETHODIMP AddSymbol(ISymbol* symbol, VARIANT_BOOL* accepted) override;
    STDMETHODIMP SelectSymbol(LONG_PTR hwndParent, VARIANT_BOOL* confirmed) override;
    STDMETHODIMP GetSymbolAt(long index, ISymbol** symbol) override;

private:
    std::vector<com::ComPtr<ISymbol>> symbols_;
    com::ComPtr<ISymbol> chosen_;
    bool showing_ = false;
};

}  // namespace mapmodel
