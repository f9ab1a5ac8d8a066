// UniqueValueRenderer: features by the distinct values of up to three fields. Classes are kept
// in the order they were added and keyed by their value (a text): labels and symbols are read
// and written by value, positions only list the values. As classes, the values count in their
// order and the default symbol is the class after them; a class hidden stays hidden with its
// value (removing the value removes it).
#pragma once
#include <string>
#include <unordered_map>
#include <vector>
#include "com/object.h"
#include "mapmodel/renderers/class_visibility.h"
#include "mapmodel/renderers/renderer_base.h"
#include "mapmodel/revision.h"

namespace mapmodel {

class UniqueValueRenderer final
    : public com::ComObject<UniqueValueRenderer, Dispatch<IUniqueValueRenderer>,
                            RendererBase<UniqueValueRenderer, IFeatureRenderer>, ClassVisibility<UniqueValueRenderer>,
                            Revised, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Unique values";

    // For ClassVisibility: the values, then the default class.
    long class_count() const { return long(entries_.size()) + 1; }
    bool& hidden(long index) { return size_t(index) < entries_.size() ? entries_[size_t(index)].hidden : default_hidden_; }

    // The symbol features of this value are drawn with: the value's, else the default symbol.
    com::ComPtr<ISymbol> symbol_for(std::wstring_view value) const;

    STDMETHODIMP get_FieldCount(long* n) override;
    STDMETHODIMP put_FieldCount(long n) override;
    STDMETHODIMP get_Field(long index, BSTR* name) override;
    STDMETHODIMP put_Field(long index, BSTR name) override;
    STDMETHODIMP get_ValueCount(long* n) override;
    STDMETHODIMP get_Value(long index, BSTR* value) override;
    STDMETHODIMP AddValue(BSTR value, BSTR label, ISymbol* symbol) override;
    STDMETHODIMP RemoveValue(BSTR value) override;
    STDMETHODIMP get_Label(BSTR value, BSTR* label) override;
    STDMETHODIMP put_Label(BSTR value, BSTR label) override;
    STDMETHODIMP get_Symbol(BSTR value, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(BSTR value, ISymbol* s) override;
    STDMETHODIMP get_DefaultSymbol(ISymbol** s) override;
    STDMETHODIMP putref_DefaultSymbol(ISymbol* s) override;

private:
    struct Entry {
        std::wstring value, label;
        com::ComPtr<ISymbol> symbol;
        bool hidden = false;
    };
    Entry& entry(BSTR value);
    void reindex();

    std::vector<std::wstring> fields_{L""};
    std::vector<Entry> entries_;
    std::unordered_map<std::wstring, size_t> index_;  // value -> position in entries_
    com::ComPtr<ISymbol> default_;
    bool default_hidden_ = false;
};

}  // namespace mapmodel
