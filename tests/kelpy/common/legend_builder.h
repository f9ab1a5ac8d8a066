// Layers with renderers and symbols of the map model (mapmodel.dll), for the legends that the
// control builds from them and the swatches it paints.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

// ---- symbols and colours (colours are 0x00BBGGRR)
com::ComPtr<IColor> rgb_color(COLORREF c);
com::ComPtr<IColorRamp> color_ramp(COLORREF from, COLORREF to);
// A solid fill; without an outline when `outline` is false.
com::ComPtr<ISymbol> solid_fill(COLORREF c, bool outline = true);
com::ComPtr<ISymbol> line_symbol(COLORREF c, double width = 1.0);
com::ComPtr<ISymbol> marker_symbol(COLORREF c, double size = 8.0);
com::ComPtr<IChartSymbol> pie_symbol(std::initializer_list<COLORREF> slices);

// ---- feature renderers
struct ClassSpec {
    std::wstring label;
    com::ComPtr<ISymbol> symbol;
};
struct ValueSpec {
    std::wstring value;
    std::wstring label;
    com::ComPtr<ISymbol> symbol;
};
com::ComPtr<IFeatureRenderer> simple_renderer(const com::ComPtr<ISymbol>& symbol);
com::ComPtr<IFeatureRenderer> class_breaks_renderer(std::wstring_view field, const std::vector<ClassSpec>& classes);
com::ComPtr<IFeatureRenderer> unique_value_renderer(std::wstring_view field, const std::vector<ValueSpec>& values);
com::ComPtr<IFeatureRenderer> pie_chart_renderer(const com::ComPtr<IChartSymbol>& chart);

// ---- raster renderers
com::ComPtr<IRasterRenderer> rgb_renderer();
com::ComPtr<IRasterRenderer> stretch_renderer(const com::ComPtr<IColorRamp>& ramp);
// Classes of values: classes[i] lists the values of class i (`ValueSpec::value` is a number).
com::ComPtr<IRasterRenderer> raster_unique_renderer(std::wstring_view field,
                                                    const std::vector<std::vector<ValueSpec>>& classes);
com::ComPtr<IRasterRenderer> raster_classify_renderer(std::wstring_view field, const std::vector<ClassSpec>& classes);

// ---- layers
// A feature layer with a feature class of this shape type, drawn by `renderer` (may be null).
com::ComPtr<ILayer> rendered_feature_layer(std::wstring_view name, LONG shapeType,
                                           const com::ComPtr<IFeatureRenderer>& renderer);
com::ComPtr<ILayer> rendered_raster_layer(std::wstring_view name, const com::ComPtr<IRasterRenderer>& renderer);

}  // namespace test
