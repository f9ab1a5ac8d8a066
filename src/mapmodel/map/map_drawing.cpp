#include "mapmodel/map/map_drawing.h"
#include <algorithm>
#include <cmath>
#include <optional>
#include "com/bstr.h"
#include "com/variant.h"
#include "mapmodel/display/color_ramp.h"
#include "mapmodel/display/display_transformation.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/map/map_scale.h"
#include "mapmodel/renderers/class_list.h"
#include "mapmodel/renderers/feature_classifier.h"
#include "mapmodel/symbols/device.h"
#include "win/handles.h"

namespace mapmodel {

namespace {

using com::check;
using com::ComPtr;

// A property read through its getter: a value as it is, an object as its owner.
template <class O, class I, class T>
T property(O* object, HRESULT (STDMETHODCALLTYPE I::*get)(T*)) {
    T v{};
    check((object->*get)(&v));
    return v;
}
template <class O, class I, class T>
ComPtr<T> property(O* object, HRESULT (STDMETHODCALLTYPE I::*get)(T**)) {
    ComPtr<T> p;
    check((object->*get)(p.put()));
    return p;
}

// Keeps one symbol set up on the DC at a time, for drawing many shapes in a row.
class SymbolSlot {
public:
    SymbolSlot(HDC dc, ITransformation* t) : dc_(dc), t_(t) {}
    SymbolSlot(const SymbolSlot&) = delete;
    SymbolSlot& operator=(const SymbolSlot&) = delete;
    ~SymbolSlot() { reset(); }
    void draw(ISymbol* symbol, IGeometry* shape) {
        if (!symbol) return;
        if (symbol != current_.get()) {
            reset();
            check(symbol->SetupDC(reinterpret_cast<LONG_PTR>(dc_), t_));
            current_ = symbol;
        }
        check(symbol->Draw(shape));
    }
    void reset() noexcept {
        if (current_) current_->ResetDC();
        current_ = nullptr;
    }

private:
    HDC dc_;
    ITransformation* t_;
    ComPtr<ISymbol> current_;
};

struct Picture {
    HDC dc;
    Mapping mapping;
    ComPtr<ITransformation> transformation;
    // The scale, worked out when a layer with a scale range first asks (the map's units may
    // take a walk over its layers); none while the units are not known: every layer is drawn.
    std::function<std::optional<double>()> scale;
};

// Every feature of a shown class, with its class's symbol.
void draw_features(const Picture& p, IFeatureRendering* layer) {
    ComPtr<IFeatureRenderer> renderer = property(layer, &IFeatureRendering::get_Renderer);
    ComPtr<IFeatureClass> features = property(layer, &IFeatureRendering::get_FeatureClass);
    if (!features) return;
    const FeatureClassifier classes(renderer.get(), features.get());
    if (classes.count() == 0) return;
    SymbolSlot slot(p.dc, p.transformation.get());
    long n = property(features.get(), &IFeatureClass::get_FeatureCount);
    for (long i = 0; i < n; ++i) {
        const long c = classes.class_of(i);
        if (c < 0 || classes.hidden(c) || !classes.symbol(c)) continue;
        ComPtr<IGeometry> shape;
        check(features->get_Shape(i, shape.put()));
        slot.draw(classes.symbol(c).get(), shape.get());
    }
}

// The colour (direct renderers) or the symbol (class renderers) of a raster cell.
struct CellLook {
    std::function<COLORREF(long column, long row)> color;
    std::function<ComPtr<ISymbol>(long column, long row)> symbol;
};

CellLook look_for(IRasterLayer* raster, IRasterRenderer* renderer, long columns, long rows, long bands) {
    CellLook look;
    ComPtr<IRasterRenderer> r(renderer);
    auto value = [raster, bands](long band, long c, long row) {
        double v = 0;
        if (band >= 0 && band < bands) check(raster->get_CellValue(band, c, row, &v));
        return v;
    };
    auto byte = [](double v) { return BYTE(std::clamp(std::lround(v), 0L, 255L)); };
    if (auto rgb = r.query<IRasterRgbRenderer>()) {
        long red = property(rgb.get(), &IRasterRgbRenderer::get_RedBand);
        long green = property(rgb.get(), &IRasterRgbRenderer::get_GreenBand);
        long blue = property(rgb.get(), &IRasterRgbRenderer::get_BlueBand);
        look.color = [=](long c, long row) {
            return RGB(byte(value(red, c, row)), byte(value(green, c, row)), byte(value(blue, c, row)));
        };
    } else if (auto stretch = r.query<IRasterStretchRenderer>()) {
        long band = property(stretch.get(), &IRasterStretchRenderer::get_Band);
        ComPtr<IColorRamp> ramp = property(stretch.get(), &IRasterStretchRenderer::get_ColorRamp);
        double lo = 1e300, hi = -1e300;
        for (long row = 0; row < rows; ++row)
            for (long c = 0; c < columns; ++c) {
                double v = value(band, c, row);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        look.color = [=](long c, long row) {
            double t = hi > lo ? (value(band, c, row) - lo) / (hi - lo) : 0.0;
            if (ramp) return ramp_color_at(ramp.get(), t);
            BYTE g = byte(t * 255);
            return RGB(g, g, g);
        };
    } else if (auto unique = r.query<IRasterUniqueValueRenderer>()) {
        // A value of a hidden class keeps its place with no symbol: its cells are not drawn.
        std::vector<std::pair<double, ComPtr<ISymbol>>> values;
        auto visibility = r.query<IClassVisibility>();
        long n = property(unique.get(), &IRasterUniqueValueRenderer::get_ClassCount);
        for (long i = 0; i < n; ++i) {
            long m = 0;
            VARIANT_BOOL shown = VARIANT_TRUE;
            check(unique->get_ValueCount(i, &m));
            if (visibility) check(visibility->get_ClassVisible(i, &shown));
            for (long j = 0; j < m; ++j) {
                double v = 0;
                ComPtr<ISymbol> s;
                check(unique->get_Value(i, j, &v));
                if (com::is_true(shown)) check(unique->get_Symbol(i, j, s.put()));
                values.emplace_back(v, s);
            }
        }
        look.symbol = [=](long c, long row) -> ComPtr<ISymbol> {
            double v = value(0, c, row);
            for (const auto& [x, s] : values)
                if (x == v) return s;
            return nullptr;
        };
    } else if (auto classify = r.query<IRasterClassifyRenderer>()) {
        look.symbol = [value, classes = ClassList::read(classify.get())](long c, long row) {
            return classes.symbol_for(value(0, c, row));
        };
    }
    return look;
}

void draw_raster(const Picture& p, IRasterLayer* raster) {
    ComPtr<IRasterRenderer> renderer = property(raster, &IRasterLayer::get_Renderer);
    Bounds extent = bounds_of(property(raster, &IRasterLayer::get_Extent).get());
    long columns = property(raster, &IRasterLayer::get_Columns);
    long rows = property(raster, &IRasterLayer::get_Rows);
    long bands = property(raster, &IRasterLayer::get_BandCount);
    if (!renderer || extent.empty || columns <= 0 || rows <= 0 || bands <= 0) return;
    CellLook look = look_for(raster, renderer.get(), columns, rows, bands);
    const double cw = extent.width() / columns, ch = extent.height() / rows;
    auto cell_bounds = [&](long c, long row) {
        return Bounds::of(extent.xmin + c * cw, extent.ymax - (row + 1) * ch, extent.xmin + (c + 1) * cw,
                          extent.ymax - row * ch);
    };
    if (look.color) {
        win::SavedState saved(p.dc);
        SelectObject(p.dc, GetStockObject(DC_BRUSH));
        for (long row = 0; row < rows; ++row)
            for (long c = 0; c < columns; ++c) {
                Bounds b = cell_bounds(c, row);
                POINT a = device_point(p.mapping, {b.xmin, b.ymax}), z = device_point(p.mapping, {b.xmax, b.ymin});
                SetDCBrushColor(p.dc, look.color(c, row));
                PatBlt(p.dc, a.x, a.y, z.x - a.x, z.y - a.y, PATCOPY);
            }
    } else if (look.symbol) {
        auto cell = Envelope::create();
        ComPtr<IGeometry> shape = cell.as<IGeometry>();
        SymbolSlot slot(p.dc, p.transformation.get());
        for (long row = 0; row < rows; ++row)
            for (long c = 0; c < columns; ++c) {
                ComPtr<ISymbol> s = look.symbol(c, row);
                if (!s) continue;
                Bounds b = cell_bounds(c, row);
                check(cell->PutCoords(b.xmin, b.ymin, b.xmax, b.ymax));
                slot.draw(s.get(), shape.get());
            }
    }
}

// A layer out of its scale range is not drawn, nor are the members of a group out of its range.
void draw_layer(const Picture& p, ILayer* layer) {
    if (!layer || !com::is_true(property(layer, &ILayer::get_Visible)) || !com::is_true(property(layer, &ILayer::get_Valid)))
        return;
    if (const ScaleLimits limits = scale_limits_of(layer); !limits.open())
        if (const std::optional<double> scale = p.scale(); scale && !limits.holds(*scale)) return;
    ComPtr<ILayer> l(layer);
    if (auto members = l.query<ISubLayers>()) {
        long n = property(members.get(), &ISubLayers::get_Count);
        for (long i = n - 1; i >= 0; --i) {
            ComPtr<ILayer> member;
            check(members->get_Layer(i, member.put()));
            draw_layer(p, member.get());
        }
    } else if (auto features = l.query<IFeatureRendering>()) {
        draw_features(p, features.get());
    } else if (auto raster = l.query<IRasterLayer>()) {
        draw_raster(p, raster.get());
    }
}

void add_extent(Bounds& all, ILayer* layer) {
    if (!layer) return;
    ComPtr<ILayer> l(layer);
    if (auto members = l.query<ISubLayers>()) {
        long n = property(members.get(), &ISubLayers::get_Count);
        for (long i = 0; i < n; ++i) {
            ComPtr<ILayer> member;
            check(members->get_Layer(i, member.put()));
            add_extent(all, member.get());
        }
    } else if (auto fl = l.query<IFeatureLayer>()) {
        ComPtr<IFeatureClass> features = property(fl.get(), &IFeatureLayer::get_FeatureClass);
        if (features) all.add(bounds_of(property(features.get(), &IFeatureClass::get_Extent).get()));
    } else if (auto raster = l.query<IRasterLayer>()) {
        all.add(bounds_of(property(raster.get(), &IRasterLayer::get_Extent).get()));
    }
}

}  // namespace

Bounds full_extent(const std::vector<ComPtr<ILayer>>& layers) {
    Bounds all;
    for (const auto& l : layers) add_extent(all, l.get());
    return all;
}

Bounds fitted(const Bounds& extent, long width, long height) {
    if (extent.empty || width <= 0 || height <= 0) return extent;
    double w = std::max(extent.width(), 1e-9), h = std::max(extent.height(), 1e-9);
    double scale = std::max(w / double(width), h / double(height));  // map units per pixel
    Vec c = extent.centre();
    double hw = scale * width / 2, hh = scale * height / 2;
    return Bounds::of(c.x - hw, c.y - hh, c.x + hw, c.y + hh);
}

void draw_layers(HDC dc, long width, long height, const std::vector<ComPtr<ILayer>>& layers, const Bounds& extent,
                 const std::function<MapUnits()>& units, const std::function<void(long)>& after_item) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Bounds world = fitted(extent, width, height);
    std::optional<Picture> picture;
    std::optional<std::optional<double>> scale;  // once worked out
    if (!world.empty) {
        auto t = DisplayTransformation::create();
        auto e = make_envelope(world);
        check(t->put_Bounds(e.get()));
        check(t->put_VisibleBounds(e.get()));
        check(t->SetDeviceFrame(0, 0, width, height));
        check(t->put_Resolution(resolution_of(dc)));
        picture = Picture{dc, Mapping::between(world, {0, 0, width, height}, resolution_of(dc)), t.as<ITransformation>(),
                          [&]() {
                              if (!scale) scale = scale_of(world, width, resolution_of(dc), units());
                              return *scale;
                          }};
    }
    for (long i = long(layers.size()) - 1; i >= 0; --i) {
        if (picture) draw_layer(*picture, layers[size_t(i)].get());
        after_item(i);
    }
}

}  // namespace mapmodel
