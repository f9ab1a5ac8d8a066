#include "mapmodel/renderers/unique_value_renderer.h"

namespace mapmodel {

namespace {
constexpr const IID& kIid = __uuidof(IUniqueValueRenderer);
constexpr long kMaxFields = 3;
}

UniqueValueRenderer::Entry& UniqueValueRenderer::entry(BSTR value) {
    auto it = index_.find(std::wstring(com::view(value)));
    if (it == index_.end())
        com::raise(com::CTL_E_ELEMENTNOTFOUND, L"The renderer has no class for the value " + in_quotes(com::view(value)));
    return entries_[it->second];
}

void UniqueValueRenderer::reindex() {
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_[entries_[i].value] = i;
}

com::ComPtr<ISymbol> UniqueValueRenderer::symbol_for(std::wstring_view value) const {
    auto it = index_.find(std::wstring(value));
    return it == index_.end() ? default_ : entries_[it->second].symbol;
}

STDMETHODIMP UniqueValueRenderer::get_FieldCount(long* n) { return boundary(kIid, [&] { out(n) = long(fields_.size()); }); }
STDMETHODIMP UniqueValueRenderer::put_FieldCount(long n) {
    return boundary(kIid, [&] {
        if (n < 1 || n > kMaxFields) com::raise(E_INVALIDARG, L"A unique-value renderer has from 1 to 3 fields");
        fields_.resize(size_t(n));
        revised();
    });
}
STDMETHODIMP UniqueValueRenderer::get_Field(long index, BSTR* name) {
    return boundary(kIid, [&] {
        check_index(index, fields_.size(), L"the field list");
        give_text(name, fields_[size_t(index)]);
    });
}
STDMETHODIMP UniqueValueRenderer::put_Field(long index, BSTR name) {
    return boundary(kIid, [&] {
        check_index(index, fields_.size(), L"the field list");
        fields_[size_t(index)] = com::view(name);
        revised();
    });
}

STDMETHODIMP UniqueValueRenderer::get_ValueCount(long* n) { return boundary(kIid, [&] { out(n) = long(entries_.size()); }); }
STDMETHODIMP UniqueValueRenderer::get_Value(long index, BSTR* value) {
    return boundary(kIid, [&] {
        check_index(index, entries_.size(), L"the value list");
        give_text(value, entries_[size_t(index)].value);
    });
}

STDMETHODIMP UniqueValueRenderer::AddValue(BSTR value, BSTR label, ISymbol* symbol) {
    return boundary(kIid, [&] {
        std::wstring v(com::view(value));
        if (index_.count(v)) com::raise(com::CTL_E_KEYNOTUNIQUE, L"The renderer already has a class for the value " + in_quotes(v));
        if (long(entries_.size()) >= kMaxClasses) com::raise(E_INVALIDARG, L"The renderer has as many classes as it can hold");
        entries_.push_back({v, std::wstring(com::view(label)), symbol});
        index_[v] = entries_.size() - 1;
        revised();
    });
}

STDMETHODIMP UniqueValueRenderer::RemoveValue(BSTR value) {
    return boundary(kIid, [&] {
        Entry& e = entry(value);
        entries_.erase(entries_.begin() + (&e - entries_.data()));
        reindex();
        revised();
    });
}

STDMETHODIMP UniqueValueRenderer::get_Label(BSTR value, BSTR* label) {
    return boundary(kIid, [&] { give_text(label, entry(value).label); });
}
STDMETHODIMP UniqueValueRenderer::put_Label(BSTR value, BSTR label) {
    return boundary(kIid, [&] { entry(value).label = com::view(label); });
}
STDMETHODIMP UniqueValueRenderer::get_Symbol(BSTR value, ISymbol** s) {
    return boundary(kIid, [&] { give(s, entry(value).symbol); });
}
STDMETHODIMP UniqueValueRenderer::putref_Symbol(BSTR value, ISymbol* s) {
    return boundary(kIid, [&] { entry(value).symbol = s; });
}
STDMETHODIMP UniqueValueRenderer::get_DefaultSymbol(ISymbol** s) { return boundary(kIid, [&] { give(s, default_); }); }
STDMETHODIMP UniqueValueRenderer::putref_DefaultSymbol(ISymbol* s) { return boundary(kIid, [&] { default_ = s; }); }

}  // namespace mapmodel
