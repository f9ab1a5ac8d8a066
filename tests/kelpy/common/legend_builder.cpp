#include "kelpy/common/legend_builder.h"
#include "com/bstr.h"
#include "com/error.h"
#include "common/registration.h"

namespace test {

namespace {
template <class I>
com::ComPtr<I> make(REFCLSID clsid) {
    register_library(L"mapmodel.dll");
    return com::ComPtr<I>::create(clsid);
}

com::Bstr text(std::wstring_view s) { return com::Bstr(s); }
}  // namespace

com::ComPtr<IColor> rgb_color(COLORREF c) {
    auto color = make<IRgbColor>(CLSID_RgbColor);
    com::check(color->put_RGB(LONG(c)));
    return color.as<IColor>();
}

com::ComPtr<IColorRamp> color_ramp(COLORREF from, COLORREF to) {
    auto ramp = make<IAlgorithmicColorRamp>(CLSID_AlgorithmicColorRamp);
    com::check(ramp->putref_FromColor(rgb_color(from).get()));
    com::check(ramp->putref_ToColor(rgb_color(to).get()));
    return ramp.as<IColorRamp>();
}

com::ComPtr<ISymbol> solid_fill(COLORREF c, bool outline) {
    auto fill = make<ISolidFillSymbol>(CLSID_SolidFillSymbol);
    com::check(fill->putref_Color(rgb_color(c).get()));
    if (!outline) com::check(fill->putref_Outline(nullptr));
    return fill.as<ISymbol>();
}

com::ComPtr<ISymbol> line_symbol(COLORREF c, double width) {
    auto line = make<ILineSymbol>(CLSID_LineSymbol);
    com::check(line->putref_Color(rgb_color(c).get()));
    com::check(line->put_Width(width));
    return line.as<ISymbol>();
}

com::ComPtr<ISymbol> marker_symbol(COLORREF c, double size) {
    auto marker = make<IMarkerSymbol>(CLSID_MarkerSymbol);
    com::check(marker->putref_Color(rgb_color(c).get()));
    com::check(marker->put_Size(size));
    return marker.as<ISymbol>();
}

com::ComPtr<IChartSymbol> pie_symbol(std::initializer_list<COLORREF> slices) {
    auto pie = make<IChartSymbol>(CLSID_PieChartSymbol);
    for (COLORREF c : slices) com::check(pie->AddSlice(rgb_color(c).get(), 1.0));
    return pie;
}

com::ComPtr<IFeatureRenderer> simple_renderer(const com::ComPtr<ISymbol>& symbol) {
    auto r = make<ISimpleRenderer>(CLSID_SimpleRenderer);
    com::check(r->putref_Symbol(symbol.get()));
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IFeatureRenderer> class_breaks_renderer(std::wstring_view field, const std::vector<ClassSpec>& classes) {
    auto r = make<IClassBreaksRenderer>(CLSID_ClassBreaksRenderer);
    com::check(r->put_Field(text(field).get()));
    com::check(r->put_BreakCount(LONG(classes.size())));
    for (LONG i = 0; i < LONG(classes.size()); ++i) {
        com::check(r->put_Break(i, 10.0 * (i + 1)));
        com::check(r->put_Label(i, text(classes[size_t(i)].label).get()));
        com::check(r->putref_Symbol(i, classes[size_t(i)].symbol.get()));
    }
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IFeatureRenderer> unique_value_renderer(std::wstring_view field, const std::vector<ValueSpec>& values) {
    auto r = make<IUniqueValueRenderer>(CLSID_UniqueValueRenderer);
    com::check(r->put_FieldCount(1));
    com::check(r->put_Field(0, text(field).get()));
    for (const ValueSpec& v : values)
        com::check(r->AddValue(text(v.value).get(), text(v.label).get(), v.symbol.get()));
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IFeatureRenderer> pie_chart_renderer(const com::ComPtr<IChartSymbol>& chart) {
    auto r = make<IChartRenderer>(CLSID_PieChartRenderer);
    com::check(r->putref_ChartSymbol(chart.get()));
    return r.as<IFeatureRenderer>();
}

com::ComPtr<IRasterRenderer> rgb_renderer() { return make<IRasterRenderer>(CLSID_RasterRgbRenderer); }

com::ComPtr<IRasterRenderer> stretch_renderer(const com::ComPtr<IColorRamp>& ramp) {
    auto r = make<IRasterStretchRenderer>(CLSID_RasterStretchRenderer);
    com::check(r->putref_ColorRamp(ramp.get()));
    return r.as<IRasterRenderer>();
}

com::ComPtr<IRasterRenderer> raster_unique_renderer(std::wstring_view field,
                                                    const std::vector<std::vector<ValueSpec>>& classes) {
    auto r = make<IRasterUniqueValueRenderer>(CLSID_RasterUniqueValueRenderer);
    com::check(r->put_Field(text(field).get()));
    com::check(r->put_ClassCount(LONG(classes.size())));
    for (LONG i = 0; i < LONG(classes.size()); ++i)
        for (const ValueSpec& v : classes[size_t(i)])
            com::check(r->AddValue(i, std::stod(v.value), text(v.label).get(), v.symbol.get()));
    return r.as<IRasterRenderer>();
}

com::ComPtr<IRasterRenderer> raster_classify_renderer(std::wstring_view field, const std::vector<ClassSpec>& classes) {
    auto r = make<IRasterClassifyRenderer>(CLSID_RasterClassifyRenderer);
    com::check(r->put_Field(text(field).get()));
    com::check(r->put_ClassCount(LONG(classes.size())));
    for (LONG i = 0; i < LONG(classes.size()); ++i) {
        com::check(r->put_Label(i, text(classes[size_t(i)].label).get()));
        com::check(r->putref_Symbol(i, classes[size_t(i)].symbol.get()));
    }
    return r.as<IRasterRenderer>();
}

com::ComPtr<ILayer> rendered_feature_layer(std::wstring_view name, LONG shapeType,
                                           const com::ComPtr<IFeatureRenderer>& renderer) {
    auto layer = make<IFeatureRendering>(CLSID_FeatureLayer);
    auto features = make<IFeatureClass>(CLSID_FeatureClass);
    com::check(features->put_ShapeType(shapeType));
    com::check(layer->putref_FeatureClass(features.get()));
    com::check(layer->putref_Renderer(renderer.get()));
    com::check(layer->put_Name(text(name).get()));
    return layer.as<ILayer>();
}

com::ComPtr<ILayer> rendered_raster_layer(std::wstring_view name, const com::ComPtr<IRasterRenderer>& renderer) {
    auto layer = make<IRasterLayer>(CLSID_RasterLayer);
    com::check(layer->putref_Renderer(renderer.get()));
    com::check(layer->put_Name(text(name).get()));
    return layer.as<ILayer>();
}

}  // namespace test
