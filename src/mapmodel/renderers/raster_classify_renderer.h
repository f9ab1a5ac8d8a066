// RasterClassifyRenderer: raster cells by classes of a numeric range; class i holds the values
// up to break i, with a label and a symbol (held by reference).
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/class_list.h"

namespace mapmodel {

class RasterClassifyRenderer final
    : public com::ComObject<RasterClassifyRenderer, Dispatch<IRasterClassifyRenderer>,
                            RendererBase<RasterClassifyRenderer, IRasterRenderer>, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Classified";

    STDMETHODIMP get_Field(BSTR* name) override;
    STDMETHODIMP put_Field(BSTR name) override;
    STDMETHODIMP get_ClassCount(long* n) override;
    STDMETHODIMP put_ClassCount(long n) override;
    STDMETHODIMP get_Break(long index, double* v) override;
    STDMETHODIMP put_Break(long index, double v) override;
    STDMETHODIMP get_Label(long index, BSTR* label) override;
    STDMETHODIMP put_Label(long index, BSTR label) override;
    STDMETHODIMP get_Symbol(long index, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(long index, ISymbol* s) override;

private:
    std::wstring field_;
    ClassList classes_;
};

}  // namespace mapmodel
