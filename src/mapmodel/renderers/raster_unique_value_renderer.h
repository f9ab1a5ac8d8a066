// RasterUniqueValueRenderer: raster cells by classes of values; class i holds ValueCount(i)
// values, each with its text and symbol (held by reference).
#pragma once
#include <string>
#include <vector>
#include "com/object.h"
#include "mapmodel/renderers/class_visibility.h"
#include "mapmodel/renderers/renderer_base.h"

namespace mapmodel {

class RasterUniqueValueRenderer final
    : public com::ComObject<RasterUniqueValueRenderer, Dispatch<IRasterUniqueValueRenderer>,
                            RendererBase<RasterUniqueValueRenderer, IRasterRenderer>,
                            ClassVisibility<RasterUniqueValueRenderer>, com::SupportErrorInfo> {
public:
    // For ClassVisibility: a class is hidden with all its values.
    long class_count() const { return long(classes_.size()); }
    bool& hidden(long index) { return classes_[size_t(index)].hidden; }

    static constexpr const wchar_t* kDescription = L"Unique values";

    // The symbol cells of this value are drawn with, or Nothing.
    com::ComPtr<ISymbol> symbol_for(double value) const;

    STDMETHODIMP get_Field(BSTR* name) override;
    STDMETHODIMP put_Field(BSTR name) override;
    STDMETHODIMP get_ClassCount(long* n) override;
    STDMETHODIMP put_ClassCount(long n) override;
    STDMETHODIMP get_ValueCount(long cls, long* n) override;
    STDMETHODIMP AddValue(long cls, double value, BSTR text, ISymbol* symbol) override;
    STDMETHODIMP get_Value(long cls, long index, double* value) override;
    STDMETHODIMP get_Text(long cls, long index, BSTR* text) override;
    STDMETHODIMP put_Text(long cls, long index, BSTR text) override;
    STDMETHODIMP get_Symbol(long cls, long index, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(long cls, long index, ISymbol* s) override;

private:
    struct Entry {
        double value;
        std::wstring text;
        com::ComPtr<ISymbol> symbol;
    };
    std::vector<Entry>& values_of(long cls);
    Entry& entry(long cls, long index);

    std::wstring field_;
    struct Class {
        std::vector<Entry> values;
        bool hidden = false;
    };
    std::vector<Class> classes_;
};

}  // namespace mapmodel
