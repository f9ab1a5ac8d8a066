#include "mapmodel/geodata/geojson.h"
#include <algorithm>
#include "com/bstr.h"
#include "mapmodel/json/json_stream.h"
#include "mapmodel/geodata/layer_builder.h"
#include "mapmodel/geodata/positions.h"
#include "mapmodel/support.h"

namespace mapmodel::geodata {

namespace {



constexpr std::string_view kGeometryTypes[] = {"Point", "MultiPoint", "LineString", "MultiLineString",
                                               "Polygon", "MultiPolygon", "GeometryCollection"};

// A linear ring: closed, four or more positions; kept without the closing one.
void add_ring(const Json& value, const Node& at, const std::string& below, PartList& rings) {
    std::vector<Vec> ring = positions(value, at, below, 4, L"a linear ring has four or more positions");
    if (!(ring.front() == ring.back())) at.fail_below(below, L"a linear ring is closed: its last position is its first");
    ring.pop_back();
    rings.add_part(ring);
}

// The rings of a polygon: the exterior, then any holes.
void add_polygon(const Json& value, const Node& at, const std::string& below, PartList& rings) {
    if (!value.is_array()) at.fail_below(below, L"a polygon's coordinates are an array of linear rings");
    for (size_t i = 0; i < value.size(); ++i) add_ring(value[i], at, element(below, i), rings);
}

// Each element of an array of coordinates, through `add`.
template <class F>
void each(const Json& value, const Node& at, const wchar_t* what, F&& add) {
    if (!value.is_array()) at.fail(std::wstring(L"expected an array of ") + what);
    for (size_t i = 0; i < value.size(); ++i) add(value[i], element("", i));
}

void add_geometry(const Node& g, FeatureGeometry& out) {
    const std::wstring type = g.at("type").text();
    if (auto bbox = g.find("bbox")) bounding_box(*bbox);
    if (type == L"GeometryCollection") {
        for (const Node& member : g.at("geometries").items()) add_geometry(member, out);
        return;
    }
    const Node c = g.at("coordinates");
    const Json& v = c.value();
    if (type == L"Point") {
        out.points.push_back(position(v, c, ""));
    } else if (type == L"MultiPoint") {
        std::vector<Vec> p = positions(v, c, "", 0, L"");
        out.points.insert(out.points.end(), p.begin(), p.end());
    } else if (type == L"LineString") {
        out.lines.add_part(positions(v, c, "", 2, L"a line string has two or more positions"));
    } else if (type == L"MultiLineString") {
        each(v, c, L"line strings", [&](const Json& line, const std::string& at) {
            out.lines.add_part(positions(line, c, at, 2, L"a line string has two or more positions"));
        });
    } else if (type == L"Polygon") {
        add_polygon(v, c, "", out.polygons);
    } else if (type == L"MultiPolygon") {
        each(v, c, L"polygons", [&](const Json& polygon, const std::string& at) { add_polygon(polygon, c, at, out.polygons); });
    } else {
        g.at("type").fail(L"unknown geometry type " + in_quotes(type) +
                          L" (expected Point, MultiPoint, LineString, MultiLineString, Polygon, MultiPolygon or GeometryCollection)");
    }
}

void add_feature(const Node& f, LayerBuilder& layers) {
    if (!f.value().is_object()) f.fail(L"a feature is an object");
    if (const std::wstring type = f.at("type").text(); type != L"Feature")
        f.at("type").fail(L"expected a Feature, found " + in_quotes(type));
    FeatureGeometry g;
    if (auto geometry = f.find("geometry")) add_geometry(*geometry, g);  // null: none
    if (auto bbox = f.find("bbox")) bounding_box(*bbox);
    Attributes attributes;
    if (auto properties = f.find("properties")) attributes = attributes_of(*properties);
    layers.add(std::move(g), feature_id(f), std::move(attributes));
}

// A FeatureCollection: its features one by one as they are parsed, its other members whole.
class CollectionStream final : public json::JsonStream {
public:
    explicit CollectionStream(LayerBuilder& layers) : layers_(layers) {}
    Json members = Json::object();
    bool features = false;  // whether "features" was an array

protected:
    Take take(Kind kind) override {
        if (depth() == 0) return Take::Walk;
        if (depth() == 1 && key_at(1) == "features" && kind == Kind::Array) {
            features = true;
            return Take::Walk;
        }
        return Take::Whole;
    }
    void whole(Json&& value) override {
        if (depth() == 1) members[key_at(1)] = std::move(value);
        else add_feature(Node(value, name(), path()), layers_);
    }

private:
    LayerBuilder& layers_;
};

}  // namespace

bool is_geojson_type(std::string_view type) {
    return type == "FeatureCollection" || type == "Feature" || std::ranges::find(kGeometryTypes, type) != std::end(kGeometryTypes);
}

std::vector<com::ComPtr<ILayer>> read_geojson(std::string_view text, std::string_view type, const std::wstring& name,
                                              const std::wstring& layer_name, const std::wstring& source) {
    LayerBuilder layers(layer_name, source, L"");
    if (type == "FeatureCollection") {
        CollectionStream stream(layers);
        stream.run(text, name);
        const Node top(stream.members, name, "");
        if (!stream.features) top.at("features").items();  // missing, or not an array: says so
        if (auto bbox = top.find("bbox")) layers.declare_extent(bounding_box(*bbox));
        return layers.layers(name + L": features");
    }
    // One feature or one geometry: small enough to parse whole.
    const Json root = json::parse(text, name);
    const Node top(root, name, "");
    if (type == "Feature") {
        add_feature(top, layers);
    } else {
        FeatureGeometry g;
        add_geometry(top, g);
        layers.add(std::move(g), {}, {});
    }
    if (auto bbox = top.find("bbox")) layers.declare_extent(bounding_box(*bbox));
    return layers.layers(name + L": top level");
}

}  // namespace mapmodel::geodata
