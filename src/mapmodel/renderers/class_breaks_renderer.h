// ClassBreaksRenderer: features by classes of a numeric field. Class i holds the values above
// break i - 1 (above MinimumBreak for class 0) up to break i.
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/class_list.h"

namespace mapmodel {

class ClassBreaksRenderer final
    : public com::ComObject<ClassBreaksRenderer, Dispatch<IClassBreaksRenderer>,
                            RendererBase<ClassBreaksRenderer, IFeatureRenderer>, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Class breaks";

    STDMETHODIMP get_Field(BSTR* name) override;
    STDMETHODIMP put_Field(BSTR name) override;
    STDMETHODIMP get_BreakCount(long* n) override;
    STDMETHODIMP put_BreakCount(long n) override;
    STDMETHODIMP get_Break(long index, double* v) override;
    STDMETHODIMP put_Break(long index, double v) override;
    STDMETHODIMP get_Label(long index, BSTR* label) override;
    STDMETHODIMP put_Label(long index, BSTR label) override;
    STDMETHODIMP get_Symbol(long index, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(long index, ISymbol* s) override;
    STDMETHODIMP get_MinimumBreak(double* v) override;
    STDMETHODIMP put_MinimumBreak(double v) override;

private:
    std::wstring field_;
    ClassList classes_;
    double minimum_ = 0;
};

}  // namespace mapmodel
