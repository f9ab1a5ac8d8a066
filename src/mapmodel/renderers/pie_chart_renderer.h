// PieChartRenderer: a pie for every feature, drawn with the chart symbol (held by reference).
// It is both a pie-chart renderer and a chart renderer.
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/renderer_base.h"
#include "mapmodel/revision.h"

namespace mapmodel {

class PieChartRenderer final
    : public com::ComObject<PieChartRenderer, Dispatch<IPieChartRenderer>, Dispatch<IChartRenderer>,
                            RendererBase<PieChartRenderer, IFeatureRenderer>, Revised, com::SupportErrorInfo> {
public:
    // Every feature is in its one class whatever changes (Revised: the revision never changes).

    static constexpr const wchar_t* kDescription = L"Pie chart";

    STDMETHODIMP get_ProportionalBySum(VARIANT_BOOL* v) override;
    STDMETHODIMP put_ProportionalBySum(VARIANT_BOOL v) override;
    STDMETHODIMP get_ChartSymbol(IChartSymbol** s) override;
    STDMETHODIMP putref_ChartSymbol(IChartSymbol* s) override;

private:
    bool proportional_ = false;
    com::ComPtr<IChartSymbol> symbol_;
};

}  // namespace mapmodel
