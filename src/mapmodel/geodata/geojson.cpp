#include "mapmodel/geodata/geojson.h"
#include <algorithm>
#include "com/bstr.h"
#include "mapmodel/geodata/coordinates.h"
#include "mapmodel/geodata/layer_builder.h"
#include "mapmodel/geodata/positions.h"
#include "mapmodel/json/json_stream.h"
#include "mapmodel/support.h"

namespace mapmodel::geodata {

namespace {

constexpr std::string_view kGeometryTypes[] = {"Point", "MultiPoint", "LineString", "MultiLineString",
                                               "Polygon", "MultiPolygon", "GeometryCollection"};

// A geometry whose members have been read, its "coordinates" kept as they streamed in (when
// they were an array).
struct StreamedGeometry {
    std::string place;
    Json members = Json::object();
    Coordinates coordinates;
    bool streamed = false;
};

// The coordinates' functions read a parsed value or streamed coordinates alike (`V`); errors
// name the place `below` the geometry `at`.

// A linear ring: closed, four or more positions; kept without the closing one.
template <class V>
void add_ring(const V& value, const Node& at, const std::string& below, PartList& rings) {
    std::vector<Vec> ring = positions(value, at, below, 4, L"a linear ring has four or more positions");
    if (!(ring.front() == ring.back())) at.fail_below(below, L"a linear ring is closed: its last position is its first");
    ring.pop_back();
    rings.add_part(std::move(ring));
}

// The rings of a polygon: the exterior, then any holes.
template <class V>
void add_polygon(const V& value, const Node& at, const std::string& below, PartList& rings) {
    if (!value.is_array()) at.fail_below(below, L"a polygon's coordinates are an array of linear rings");
    for (size_t i = 0; i < value.size(); ++i) add_ring(value[i], at, element(below, i), rings);
}

// Each element of an array of coordinates, through `add`.
template <class V, class F>
void each(const V& value, const Node& at, const std::string& below, const wchar_t* what, F&& add) {
    if (!value.is_array()) at.fail_below(below, std::wstring(L"expected an array of ") + what);
    for (size_t i = 0; i < value.size(); ++i) add(value[i], element(below, i));
}

template <class V>
void add_coordinates(const std::wstring& type, const V& v, const Node& g, FeatureGeometry& out) {
    const std::string c = g.path().empty() ? "coordinates" : ".coordinates";
    if (type == L"Point") {
        out.points.push_back(position(v, g, c));
    } else if (type == L"MultiPoint") {
        std::vector<Vec> p = positions(v, g, c, 0, L"");
        out.points.insert(out.points.end(), p.begin(), p.end());
    } else if (type == L"LineString") {
        out.lines.add_part(positions(v, g, c, 2, L"a line string has two or more positions"));
    } else if (type == L"MultiLineString") {
        each(v, g, c, L"line strings", [&](const V& line, const std::string& at) {
            out.lines.add_part(positions(line, g, at, 2, L"a line string has two or more positions"));
        });
    } else if (type == L"Polygon") {
        add_polygon(v, g, c, out.polygons);
    } else if (type == L"MultiPolygon") {
        each(v, g, c, L"polygons", [&](const V& polygon, const std::string& at) { add_polygon(polygon, g, at, out.polygons); });
    } else {
        g.at("type").fail(L"unknown geometry type " + in_quotes(type) +
                          L" (expected Point, MultiPoint, LineString, MultiLineString, Polygon, MultiPolygon or GeometryCollection)");
    }
}

// A geometry; `streamed`: its coordinates, which its members then lack.
void add_geometry(const Node& g, const Coordinates* streamed, FeatureGeometry& out) {
    const std::wstring type = g.at("type").text();
    if (auto bbox = g.find("bbox")) bounding_box(*bbox);
    if (type == L"GeometryCollection") {
        for (const Node& member : g.at("geometries").items()) add_geometry(member, nullptr, out);
        return;
    }
    if (streamed) add_coordinates(type, streamed->root(), g, out);
    else add_coordinates(type, g.at("coordinates").value(), g, out);
}

// A feature; `streamed`: its geometry, which its members then lack (its coordinates are let go
// of once read, before the feature's shapes are made).
void add_feature(const Node& f, StreamedGeometry* streamed, LayerBuilder& layers) {
    if (!f.value().is_object()) f.fail(L"a feature is an object");
    if (const std::wstring type = f.at("type").text(); type != L"Feature")
        f.at("type").fail(L"expected a Feature, found " + in_quotes(type));
    FeatureGeometry g;
    if (streamed) {
        add_geometry(Node(streamed->members, f.document(), streamed->place), streamed->streamed ? &streamed->coordinates : nullptr, g);
        streamed->coordinates = {};
    }
    else if (auto geometry = f.find("geometry")) add_geometry(*geometry, nullptr, g);  // null: none
    if (auto bbox = f.find("bbox")) bounding_box(*bbox);
    Attributes attributes;
    if (auto properties = f.find("properties")) attributes = attributes_of(*properties);
    layers.add(std::move(g), feature_id(f), std::move(attributes));
}

// A GeoJSON text as it is parsed: a collection's features one by one, each feature's members
// and its geometry's members whole, and the geometry's coordinates as they stream in; so a file
// never stands whole as parsed values, nor does a large feature. The depths at which features and
// geometries stand depend on the top level: a collection (its features at depth 2), a feature
// (at depth 0) or a geometry (at depth 0).
class GeoJsonStream final : public json::JsonStream {
public:
    GeoJsonStream(std::string_view type, LayerBuilder& layers)
        : layers_(layers),
          collection_(type == "FeatureCollection"),
          feature_depth_(collection_ ? 2 : type == "Feature" ? 0 : -1),
          geometry_depth_(feature_depth_ + 1) {}
    Json members = Json::object();  // of a collection
    bool features = false;          // whether a collection's "features" was an array
    Json feature = Json::object();  // the members of the feature read last
    StreamedGeometry geometry;      // the geometry read last
    bool has_geometry = false;      // whether the feature read last had a geometry object

protected:
    Take take(Kind kind) override {
        const int d = int(depth());
        if (d == 0) return begin_value(d, kind) ? Take::Walk : Take::Whole;
        if (collection_ && d == 1) {
            if (key_at(1) != "features" || kind != Kind::Array) return Take::Whole;
            features = true;
            return Take::Walk;
        }
        if (d == feature_depth_ || (d == geometry_depth_ && key_at(size_t(d)) == "geometry"))
            return begin_value(d, kind) ? Take::Walk : Take::Whole;
        if (d == geometry_depth_ + 1 && key_at(size_t(d)) == "coordinates" && kind == Kind::Array) {
            geometry.streamed = true;
            return Take::Stream;
        }
        return Take::Whole;
    }
    void whole(Json&& value) override {
        const int d = int(depth());
        if (collection_ && d == 1) members[key_at(1)] = std::move(value);
        else if (d == feature_depth_) add_feature(Node(value, name(), path()), nullptr, layers_);  // not an object: says so
        else if (d == feature_depth_ + 1) feature[key_at(size_t(d))] = std::move(value);
        else if (d == geometry_depth_ + 1) geometry.members[key_at(size_t(d))] = std::move(value);
    }
    // A collection's features are added as they end; a feature alone once the text has been read
    // through and let go of (see read_geojson).
    void walked(size_t depth) override {
        if (collection_ && int(depth) == feature_depth_)
            add_feature(Node(feature, name(), feature_place_), has_geometry ? &geometry : nullptr, layers_);
    }
    void stream_number(double v, const Json&) override { geometry.coordinates.number(v); }
    void stream_array(int depth, bool opens) override {
        if (opens) geometry.coordinates.open(depth);
        else geometry.coordinates.close();
    }

private:
    // An object that begins at depth `d`: a feature or a geometry, read anew.
    bool begin_value(int d, Kind kind) {
        if (kind != Kind::Object) return false;
        if (d == feature_depth_) {
            feature = Json::object();
            feature_place_ = path();
            has_geometry = false;
        } else if (d == geometry_depth_ || feature_depth_ < 0) {
            geometry = StreamedGeometry();
            geometry.place = path();
            has_geometry = true;
        }
        return true;
    }

    LayerBuilder& layers_;
    const bool collection_;
    const int feature_depth_, geometry_depth_;  // -1: no features (a geometry alone)
    std::string feature_place_;
};

}  // namespace

bool is_geojson_type(std::string_view type) {
    return type == "FeatureCollection" || type == "Feature" || std::ranges::find(kGeometryTypes, type) != std::end(kGeometryTypes);
}

std::vector<com::ComPtr<ILayer>> read_geojson(std::string&& text, std::string_view type, const std::wstring& name,
                                              const std::wstring& layer_name, const std::wstring& source) {
    LayerBuilder layers(layer_name, source, L"");
    GeoJsonStream stream(type, layers);
    stream.run(text, name);
    if (type == "FeatureCollection") {
        const Node top(stream.members, name, "");
        if (!stream.features) top.at("features").items();  // missing, or not an array: says so
        if (auto bbox = top.find("bbox")) layers.declare_extent(bounding_box(*bbox));
        return layers.layers(name + L": features");
    }
    // One feature or one geometry: its shapes are made without the text beside them (a ring cut
    // at the antimeridian may yield several times the positions it holds).
    std::string().swap(text);
    const Json& top_members = type == "Feature" ? stream.feature : stream.geometry.members;
    if (type == "Feature") {
        add_feature(Node(stream.feature, name, ""), stream.has_geometry ? &stream.geometry : nullptr, layers);
    } else {
        FeatureGeometry g;
        add_geometry(Node(stream.geometry.members, name, ""), stream.geometry.streamed ? &stream.geometry.coordinates : nullptr, g);
        stream.geometry.coordinates = {};
        layers.add(std::move(g), {}, {});
    }
    if (auto bbox = Node(top_members, name, "").find("bbox")) layers.declare_extent(bounding_box(*bbox));
    return layers.layers(name + L": top level");
}

}  // namespace mapmodel::geodata
