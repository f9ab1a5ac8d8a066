// ClassBreaksRenderer: features by classes of a numeric field. Class i holds the values above
// break i - 1 (above MinimumBreak for class 0) up to break i.
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/class_list.h"

namespace mapmodel {

class ClassBreaksRenderer final
    : public com::ComObject<ClassBreaksRenderer, ClassifiedRenderer<ClassBreaksRenderer, IClassBreaksRenderer>,
                            RendererBase<ClassBreaksRenderer, IFeatureRenderer>, ClassVisibility<ClassBreaksRenderer>,
                            Revised, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Class breaks";

    STDMETHODIMP get_BreakCount(long* n) override { return count(n); }
    STDMETHODIMP put_BreakCount(long n) override { return resize(n); }
    STDMETHODIMP get_MinimumBreak(double* v) override;
    STDMETHODIMP put_MinimumBreak(double v) override;

private:
    double minimum_ = 0;
};

}  // namespace mapmodel
