#include "mapmodel/renderers/pie_chart_renderer.h"

namespace mapmodel {

STDMETHODIMP PieChartRenderer::get_ProportionalBySum(VARIANT_BOOL* v) {
    return boundary(__uuidof(IPieChartRenderer), [&] { give_bool(v, proportional_); });
}
STDMETHODIMP PieChartRenderer::put_ProportionalBySum(VARIANT_BOOL v) {
    return boundary(__uuidof(IPieChartRenderer), [&] { proportional_ = com::is_true(v); });
}
STDMETHODIMP PieChartRenderer::get_ChartSymbol(IChartSymbol** s) {
    return boundary(__uuidof(IChartRenderer), [&] { give(s, symbol_); });
}
STDMETHODIMP PieChartRenderer::putref_ChartSymbol(IChartSymbol* s) {
    return boundary(__uuidof(IChartRenderer), [&] { symbol_ = s; });
}

}  // namespace mapmodel
