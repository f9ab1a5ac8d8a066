#include "mapmodel/module/classes.h"
#include "mapmodel/display/color.h"
#include "mapmodel/display/color_ramp.h"
#include "mapmodel/display/display_transformation.h"
#include "mapmodel/document/map_document.h"
#include "mapmodel/geodata/data_file.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/geometry/line.h"
#include "mapmodel/geometry/path.h"
#include "mapmodel/geometry/point.h"
#include "mapmodel/layers/feature_class.h"
#include "mapmodel/layers/feature_layer.h"
#include "mapmodel/layers/group_layer.h"
#include "mapmodel/layers/plain_layer.h"
#include "mapmodel/layers/raster_layer.h"
#include "mapmodel/map/map.h"
#include "mapmodel/module/model_info.h"
#include "mapmodel/renderers/class_breaks_renderer.h"
#include "mapmodel/renderers/pie_chart_renderer.h"
#include "mapmodel/renderers/raster_band_renderers.h"
#include "mapmodel/renderers/raster_classify_renderer.h"
#include "mapmodel/renderers/raster_unique_value_renderer.h"
#include "mapmodel/renderers/renderer_maker.h"
#include "mapmodel/renderers/simple_renderer.h"
#include "mapmodel/renderers/unique_value_renderer.h"
#include "mapmodel/selector/symbol_selector.h"
#include "mapmodel/symbols/gradient_fill_symbol.h"
#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/symbols/marker_symbol.h"
#include "mapmodel/symbols/pie_chart_symbol.h"
#include "mapmodel/symbols/solid_fill_symbol.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

namespace {
// ProgIDs are MapModel.<Name> (version independent) and MapModel.<Name>.1.
#define MAPMODEL_CLASS(Class, Name)                                                                          \
    CreatableClass {                                                                                         \
        {&CLSID_##Name, L"MapModel " #Name, L"MapModel." #Name L".1", L"MapModel." #Name, &LIBID_MapModel,  \
         L"1.0"},                                                                                            \
            &Class::create_for                                                                               \
    }

const CreatableClass kClasses[] = {
    MAPMODEL_CLASS(Envelope, Envelope),
    MAPMODEL_CLASS(Point, Point),
    MAPMODEL_CLASS(Line, Line),
    MAPMODEL_CLASS(Polygon, PolygonShape),
    MAPMODEL_CLASS(Polyline, PolylineShape),
    MAPMODEL_CLASS(Multipoint, MultipointShape),
    MAPMODEL_CLASS(DisplayTransformation, DisplayTransformation),
    MAPMODEL_CLASS(RgbColor, RgbColor),
    MAPMODEL_CLASS(AlgorithmicColorRamp, AlgorithmicColorRamp),
    MAPMODEL_CLASS(MultiPartColorRamp, MultiPartColorRamp),
    MAPMODEL_CLASS(SolidFillSymbol, SolidFillSymbol),
    MAPMODEL_CLASS(GradientFillSymbol, GradientFillSymbol),
    MAPMODEL_CLASS(LineSymbol, LineSymbol),
    MAPMODEL_CLASS(MarkerSymbol, MarkerSymbol),
    MAPMODEL_CLASS(PieChartSymbol, PieChartSymbol),
    MAPMODEL_CLASS(FeatureClass, FeatureClass),
    MAPMODEL_CLASS(SimpleRenderer, SimpleRenderer),
    MAPMODEL_CLASS(ClassBreaksRenderer, ClassBreaksRenderer),
    MAPMODEL_CLASS(UniqueValueRenderer, UniqueValueRenderer),
    MAPMODEL_CLASS(PieChartRenderer, PieChartRenderer),
    MAPMODEL_CLASS(RasterRgbRenderer, RasterRgbRenderer),
    MAPMODEL_CLASS(RasterStretchRenderer, RasterStretchRenderer),
    MAPMODEL_CLASS(RasterUniqueValueRenderer, RasterUniqueValueRenderer),
    MAPMODEL_CLASS(RasterClassifyRenderer, RasterClassifyRenderer),
    MAPMODEL_CLASS(FeatureLayer, FeatureLayer),
    MAPMODEL_CLASS(RasterLayer, RasterLayer),
    MAPMODEL_CLASS(GroupLayer, GroupLayer),
    MAPMODEL_CLASS(PlainLayer, PlainLayer),
    MAPMODEL_CLASS(Map, Map),
    MAPMODEL_CLASS(SymbolSelector, SymbolSelector),
    MAPMODEL_CLASS(MapDocument, MapDocument),
    MAPMODEL_CLASS(DataFile, DataFile),
    MAPMODEL_CLASS(RendererMaker, RendererMaker),
    MAPMODEL_CLASS(ModelInfo, ModelInfo),
};
#undef MAPMODEL_CLASS
}  // namespace

std::span<const CreatableClass> creatable_classes() { return kClasses; }

}  // namespace mapmodel
