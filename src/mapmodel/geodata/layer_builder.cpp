#include "mapmodel/geodata/layer_builder.h"
#include "mapmodel/geodata/antimeridian.h"
#include <cmath>
#include "com/bstr.h"
#include "mapmodel/geometry/path.h"
#include "mapmodel/geometry/point.h"
#include "mapmodel/layers/feature_layer.h"
#include "mapmodel/renderers/renderer_maker.h"

namespace mapmodel::geodata {

namespace {

// A shape that keeps about the memory its points need: a list with more than an eighth to spare
// is copied (a copy of one that is nearly full would only raise the peak).
template <class T>
std::vector<T> fitted(std::vector<T>&& v) {
    if (v.capacity() - v.size() > v.size() / 8) return std::vector<T>(v.begin(), v.end());
    return std::move(v);
}

com::ComPtr<IGeometry> point_shape(std::vector<Vec>&& points) {
    if (points.empty()) return Point::create().as<IGeometry>();
    if (points.size() == 1) return Point::create(points.front()).as<IGeometry>();
    return Multipoint::create(fitted(std::move(points))).as<IGeometry>();
}

template <class P>
com::ComPtr<IGeometry> path_shape(PartList&& parts) {
    return P::create(fitted(std::move(parts.points)), fitted(std::move(parts.starts))).template as<IGeometry>();
}

void put_attributes(FeatureClass& features, long index, Attributes&& attributes) {
    for (Attribute& a : attributes) features.set(index, features.field(a.name), std::move(a.value), a.type);
}

}  // namespace

void PartList::add_part(std::span<const Vec> part) {
    if (part.empty()) return;
    if (!points.empty()) starts.push_back(points.size());
    points.insert(points.end(), part.begin(), part.end());
}

void PartList::add_part(std::vector<Vec>&& part) {
    if (points.empty()) points = std::move(part);
    else add_part(std::span<const Vec>(part));
}

Attributes attributes_of(const json::Node& properties) {
    Attributes out;
    if (properties.is_null()) return out;
    const Json& object = properties.value();
    if (!object.is_object()) properties.fail(L"the properties are an object or null");
    out.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) {
        const Json& v = it.value();
        Attribute a{com::widen(it.key()), {}, FieldNone};
        switch (v.type()) {
        case Json::value_t::null: a.value.put()->vt = VT_NULL; break;
        case Json::value_t::boolean: a.value = com::Variant::from_bool(v.get<bool>()), a.type = FieldBoolean; break;
        case Json::value_t::string:
            a.value = com::Variant::from_string(com::widen(v.get_ref<const std::string&>())), a.type = FieldText;
            break;
        case Json::value_t::object:
        case Json::value_t::array: a.value = com::Variant::from_string(com::widen(v.dump())), a.type = FieldJson; break;
        default: a.value = com::Variant::from_double(v.get<double>()), a.type = FieldNumber; break;
        }
        out.push_back(std::move(a));
    }
    return out;
}

com::Variant feature_id(const json::Node& feature) {
    auto id = feature.find("id");
    if (!id) return {};
    if (id->is_string()) return com::Variant::from_string(id->text());
    if (id->is_number()) return com::Variant::from_double(id->number());
    id->fail(L"a feature's id is a text or a number");
}

Bounds bounding_box(const json::Node& bbox) {
    auto values = bbox.items();
    if (values.size() < 4 || values.size() % 2 != 0) bbox.fail(L"a bbox is [west, south, east, north] (or with more dimensions, the lows and then the highs)");
    const size_t half = values.size() / 2;
    return Bounds::of(values[0].number(), values[1].number(), values[half].number(), values[half + 1].number());
}

LayerBuilder::LayerBuilder(std::wstring name, std::wstring source, std::wstring object)
    : name_(std::move(name)),
      source_(std::move(source)),
      object_(std::move(object)),
      kinds_{{GeometryPoint, L"points", nullptr}, {GeometryPolyline, L"lines", nullptr}, {GeometryPolygon, L"polygons", nullptr}} {}

FeatureClass& LayerBuilder::features_of(Kind& kind) {
    if (!kind.features) {
        kind.features = FeatureClass::create();
        com::check(kind.features->put_ShapeType(kind.shape_type));
        kind.features->set_source(source_, object_);
    }
    return *kind.features.get();
}

void LayerBuilder::add(FeatureGeometry&& g, com::Variant id, Attributes&& attributes) {
    ++count_;
    if (g.empty()) {
        without_geometry_.emplace_back(std::move(id), std::move(attributes));
        return;
    }
    // The attributes go to each layer the feature is in; only the last takes them as they are.
    const int last = !g.polygons.empty() ? 2 : !g.lines.empty() ? 1 : 0;
    auto place = [&](int k, com::ComPtr<IGeometry> shape) {
        FeatureClass& features = features_of(kinds_[k]);
        const long index = features.add(std::move(shape), k == last ? std::move(id) : com::Variant(id));
        put_attributes(features, index, k == last ? std::move(attributes) : Attributes(attributes));
    };
    if (!g.points.empty()) place(0, point_shape(std::move(g.points)));
    if (!g.lines.empty()) place(1, path_shape<Polyline>(cut_at_antimeridian(std::move(g.lines), false)));
    if (!g.polygons.empty()) place(2, path_shape<Polygon>(cut_at_antimeridian(std::move(g.polygons), true)));
}

std::vector<com::ComPtr<ILayer>> LayerBuilder::layers(const std::wstring& where) {
    auto fail = [&](const std::wstring& what) { com::raise(json::E_BAD_DOCUMENT, where + L": " + what); };
    if (count_ == 0) fail(L"there are no features");
    Kind* first = nullptr;
    size_t kinds = 0;
    for (Kind& k : kinds_) {
        if (!k.features) continue;
        if (!first) first = &k;
        ++kinds;
    }
    if (!first) {
        fail(L"none of the " + std::to_wstring(count_) + (count_ == 1 ? L" feature has" : L" features has") + L" a geometry");
        return {};
    }
    for (auto& [id, attributes] : without_geometry_) {
        FeatureClass& features = *first->features.get();
        const long index = features.add(first->shape_type == GeometryPoint     ? point_shape({})
                                        : first->shape_type == GeometryPolyline ? path_shape<Polyline>({})
                                                                                : path_shape<Polygon>({}),
                                        std::move(id));
        put_attributes(features, index, std::move(attributes));
    }
    std::vector<com::ComPtr<ILayer>> out;
    for (Kind& k : kinds_) {
        if (!k.features) continue;
        k.features->declare_extent(extent_);
        auto layer = FeatureLayer::create();
        const std::wstring name = kinds == 1 ? name_ : name_ + L" (" + k.plural + L")";
        com::check(layer->put_Name(com::Bstr(name).get()));
        com::check(layer->putref_FeatureClass(k.features.as<IFeatureClass>().get()));
        com::check(layer->putref_Renderer(default_renderer(k.shape_type).get()));
        out.push_back(layer.as<ILayer>());
    }
    return out;
}

}  // namespace mapmodel::geodata
