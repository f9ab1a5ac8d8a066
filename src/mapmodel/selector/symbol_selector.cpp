#include "mapmodel/selector/symbol_selector.h"
#include "mapmodel/selector/symbol_editor.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(ISymbolSelector);
}

STDMETHODIMP SymbolSelector::AddSymbol(ISymbol* symbol, VARIANT_BOOL* accepted) {
    return boundary(kIid, [&] {
        com::ComPtr<ISymbol> s(required(symbol, L"The symbol"));
        bool editable = s.query<ICloneable>() && SymbolEditor::kind_of(symbol) != SymbolEditor::Kind::Other;
        if (editable) symbols_.push_back(s);
        give_bool(accepted, editable);
    });
}

STDMETHODIMP SymbolSelector::SelectSymbol(LONG_PTR hwndParent, VARIANT_BOOL* confirmed) {
    return boundary(kIid, [&] {
        VARIANT_BOOL& result = out(confirmed);
        result = VARIANT_FALSE;
        HWND parent = reinterpret_cast<HWND>(hwndParent);
        if (parent && !IsWindow(parent)) com::raise(E_INVALIDARG, L"The parent is not a window");
        if (symbols_.empty()) com::raise(E_UNEXPECTED, L"Add a symbol to the selector before showing it");
        if (showing_) com::raise(E_UNEXPECTED, L"The symbol selector is already showing");
        auto copy = clone_of(symbols_.front().get());
        showing_ = true;
        bool ok = false;
        try {
            ok = SymbolEditor(copy).run(parent);
        } catch (...) {
            showing_ = false;
            throw;
        }
        showing_ = false;
        if (ok) chosen_ = copy;
        result = com::vb(ok);
    });
}

STDMETHODIMP SymbolSelector::GetSymbolAt(long index, ISymbol** symbol) {
    return boundary(kIid, [&] {
        check_index(index, symbols_.size(), L"the selector's symbols");
        give(symbol, index == 0 && chosen_ ? chosen_ : symbols_[size_t(index)]);
    });
}

}  // namespace mapmodel
