#include "mapmodel/geodata/topojson.h"
#include <limits>
#include "com/bstr.h"
#include "mapmodel/json/json_stream.h"
#include "mapmodel/geodata/layer_builder.h"
#include "mapmodel/geodata/positions.h"
#include "mapmodel/support.h"

namespace mapmodel::geodata {

namespace {



// The arcs of a line or of a ring, as the geometry lists them.
using ArcRefs = std::vector<int>;

// A feature of an object, read before the arcs are known to be complete.
struct PendingFeature {
    std::string place;         // in the file, for errors
    std::vector<Vec> points;   // of points, quantized when the topology is
    std::vector<ArcRefs> lines, rings;
    com::Variant id;
    Attributes attributes;
};

struct PendingObject {
    std::string name;
    Json members = Json::object();  // all but the geometries of a collection
    bool collection = false;        // its "geometries" were read one by one
    std::vector<PendingFeature> features;
};

ArcRefs arc_refs(const Json& value, const Node& at, const std::string& below) {
    if (!value.is_array()) at.fail_below(below, L"expected an array of arc indexes");
    ArcRefs refs;
    refs.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const Json& v = value[i];
        if (!v.is_number_integer() || v.get<long long>() < std::numeric_limits<int>::min() ||
            v.get<long long>() > std::numeric_limits<int>::max())
            at.fail_below(element(below, i), L"an arc index is a whole number");
        refs.push_back(v.get<int>());
    }
    return refs;
}

// The lists of arc refs in an array of them (`depth` 1), or of arrays of them (`depth` 2).
void arc_lists(const Json& value, const Node& at, const std::string& below, int depth, std::vector<ArcRefs>& out) {
    if (!value.is_array()) at.fail_below(below, L"expected an array of arrays of arc indexes");
    for (size_t i = 0; i < value.size(); ++i) {
        if (depth == 1) out.push_back(arc_refs(value[i], at, element(below, i)));
        else arc_lists(value[i], at, element(below, i), depth - 1, out);
    }
}

// One geometry object into the parts of a feature (a collection's members into the same one).
void add_geometry(const Node& g, PendingFeature& f) {
    if (!g.value().is_object()) g.fail(L"a geometry is an object");
    if (g.present("type") && g.value()["type"].is_null()) return;  // a null geometry
    const std::wstring type = g.at("type").text();
    if (type == L"GeometryCollection") {
        for (const Node& member : g.at("geometries").items()) add_geometry(member, f);
        return;
    }
    if (type == L"Point" || type == L"MultiPoint") {
        const Node c = g.at("coordinates");
        if (type == L"Point") f.points.push_back(position(c.value(), c, ""));
        else for (Vec p : positions(c.value(), c, "", 0, L"")) f.points.push_back(p);
        return;
    }
    const bool known = type == L"LineString" || type == L"MultiLineString" || type == L"Polygon" || type == L"MultiPolygon";
    if (!known)
        g.at("type").fail(L"unknown geometry type " + in_quotes(type) +
                          L" (expected Point, MultiPoint, LineString, MultiLineString, Polygon, MultiPolygon, "
                          L"GeometryCollection or null)");
    const Node arcs = g.at("arcs");
    if (type == L"LineString") f.lines.push_back(arc_refs(arcs.value(), arcs, ""));
    else if (type == L"MultiLineString") arc_lists(arcs.value(), arcs, "", 1, f.lines);
    else if (type == L"Polygon") arc_lists(arcs.value(), arcs, "", 1, f.rings);
    else arc_lists(arcs.value(), arcs, "", 2, f.rings);
}

PendingFeature pending_feature(const Node& g) {
    PendingFeature f;
    f.place = g.path();
    add_geometry(g, f);
    if (auto properties = g.find("properties")) f.attributes = attributes_of(*properties);
    f.id = feature_id(g);
    return f;
}

// The topology as it is parsed: the arcs' positions into one list, each object's geometries one
// by one, everything else whole.
class TopologyStream final : public json::JsonStream {
public:
    Json members = Json::object();
    std::vector<Vec> positions;         // of all arcs, as they stand in the text
    std::vector<size_t> arc_starts;     // the first position of each arc
    std::vector<PendingObject> objects;
    bool arcs = false, has_objects = false;

protected:
    Take take(Kind kind) override {
        switch (depth()) {
        case 0: return Take::Walk;
        case 1:
            if (key_at(1) == "arcs" && kind == Kind::Array) return arcs = true, Take::Walk;
            if (key_at(1) == "objects" && kind == Kind::Object) return has_objects = true, Take::Walk;
            return Take::Whole;
        case 2:
            if (key_at(1) == "arcs") return Take::Stream;
            objects.emplace_back().name = key_at(2);
            return kind == Kind::Object ? Take::Walk : Take::Whole;
        case 3:
            if (key_at(3) == "geometries" && kind == Kind::Array) return objects.back().collection = true, Take::Walk;
            return Take::Whole;
        default: return Take::Whole;
        }
    }
    void whole(Json&& value) override {
        switch (depth()) {
        case 1: members[key_at(1)] = std::move(value); break;
        case 2: fail(L"an object of a topology is a JSON object");
        case 3: objects.back().members[key_at(3)] = std::move(value); break;
        default: objects.back().features.push_back(pending_feature(Node(value, name(), path()))); break;
        }
    }
    void stream_array(int depth, bool opens) override {
        depth_ = opens ? depth + 1 : depth;
        if (depth == 0 && opens) {
            arc_starts.push_back(positions.size());
            position_ = 0;
        } else if (depth == 0) {
            if (positions.size() - arc_starts.back() < 2) fail(L"an arc has two or more positions");
        } else if (depth == 1 && opens) {
            numbers_ = 0;
        } else if (depth == 1) {
            if (numbers_ < 2) fail(L"a position is an array of two or more numbers: [x, y]", stream_place());
            positions.push_back(xy_);
            ++position_;
        } else {
            fail(L"a position is an array of numbers", stream_place());
        }
    }
    void stream_number(double v) override {
        if (depth_ == 1) fail(L"an arc is an array of positions", stream_place());
        if (numbers_ == 0) xy_.x = v;
        if (numbers_ == 1) xy_.y = v;
        ++numbers_;
    }
    std::string stream_place() const override { return depth_ >= 1 ? element("", position_) : std::string(); }

private:
    int depth_ = 0;         // of arrays open in the arc being read
    size_t position_ = 0;   // in the arc being read
    size_t numbers_ = 0;    // in the position being read
    Vec xy_;                // the position being read
};

// The arcs' positions in map units: decoded (in place) when the topology is quantized.
struct Arcs {
    std::vector<Vec> positions;
    std::vector<size_t> starts;
    double sx = 1, sy = 1, tx = 0, ty = 0;  // the transform (none: as they stand)

    size_t count() const { return starts.size(); }
    size_t begin(size_t arc) const { return starts[arc]; }
    size_t end(size_t arc) const { return arc + 1 < starts.size() ? starts[arc + 1] : positions.size(); }
    Vec point(Vec q) const { return {q.x * sx + tx, q.y * sy + ty}; }

    // The positions of arcs joined end to start (each arc after the first without its first
    // position, which is the last of the one before).
    void join(const ArcRefs& refs, const std::string& place, std::wstring_view name, std::vector<Vec>& out) const {
        out.clear();
        for (int ref : refs) {
            const size_t arc = ref >= 0 ? size_t(ref) : size_t(~ref);
            if (arc >= count())
                com::raise(json::E_BAD_DOCUMENT, std::wstring(name) + L": " + com::widen(place) + L".arcs: arc " +
                                                         std::to_wstring(ref) + L" is out of range: the topology has " +
                                                         std::to_wstring(count()) + (count() == 1 ? L" arc" : L" arcs"));
            const size_t first = begin(arc), last = end(arc);
            for (size_t k = 0; k < last - first; ++k) {
                if (k == 0 && !out.empty()) continue;
                out.push_back(positions[ref >= 0 ? first + k : last - 1 - k]);
            }
        }
    }
};

Arcs decode(TopologyStream& s, std::wstring_view name) {
    Arcs a;
    a.starts = std::move(s.arc_starts);
    const Node top(s.members, name, "");
    const bool quantized = top.has("transform");
    if (quantized) {
        const Node t = top.at("transform");
        auto pair = [](const Node& n) {
            auto v = n.items();
            if (v.size() != 2) n.fail(L"expected two numbers");
            return Vec{v[0].number(), v[1].number()};
        };
        const Vec scale = pair(t.at("scale")), translate = pair(t.at("translate"));
        a.sx = scale.x, a.sy = scale.y, a.tx = translate.x, a.ty = translate.y;
    }
    a.positions = std::move(s.positions);
    if (!quantized) return a;
    for (size_t arc = 0; arc < a.starts.size(); ++arc) {
        Vec q{0, 0};
        for (size_t k = a.begin(arc); k < a.end(arc); ++k) {
            q = {q.x + a.positions[k].x, q.y + a.positions[k].y};  // a step from the position before
            a.positions[k] = a.point(q);
        }
    }
    return a;
}

}  // namespace

std::vector<com::ComPtr<ILayer>> read_topojson(std::string&& text, const std::wstring& name, const std::wstring& source) {
    TopologyStream stream;
    stream.run(text, name);
    std::string().swap(text);  // read: only the arcs and geometries are needed now
    const Node top(stream.members, name, "");
    if (!stream.has_objects) top.at("objects").fail(L"expected an object holding the topology's objects by name");
    if (stream.objects.empty()) top.fail_below("objects", L"the topology has no objects");
    const Arcs arcs = decode(stream, name);
    const std::optional<Node> bbox = top.find("bbox");
    const Bounds extent = bbox ? bounding_box(*bbox) : Bounds{};

    std::vector<com::ComPtr<ILayer>> layers;
    std::vector<Vec> joined;
    for (PendingObject& o : stream.objects) {
        const std::string place = "objects." + o.name;
        const Node members(o.members, name, place);
        const Json* type = o.members.contains("type") ? &o.members["type"] : nullptr;
        if (o.collection && !(type && *type == "GeometryCollection"))
            members.fail(L"only a GeometryCollection has \"geometries\"");
        if (!o.collection) {
            if (type && *type == "GeometryCollection") members.at("geometries").items();  // not an array: says so
            o.features.push_back(pending_feature(members));
        }
        LayerBuilder builder(com::widen(o.name), source, com::widen(o.name));
        builder.declare_extent(extent);
        for (PendingFeature& f : o.features) {
            FeatureGeometry g;
            for (Vec q : f.points) g.points.push_back(arcs.point(q));
            for (const ArcRefs& line : f.lines) {
                arcs.join(line, f.place, name, joined);
                g.lines.add_part(joined);
            }
            for (const ArcRefs& ring : f.rings) {
                arcs.join(ring, f.place, name, joined);
                if (joined.size() > 1 && joined.front() == joined.back()) joined.pop_back();
                g.polygons.add_part(joined);
            }
            builder.add(std::move(g), std::move(f.id), std::move(f.attributes));
        }
        const auto made = builder.layers(name + L": " + com::widen(place));
        layers.insert(layers.end(), made.begin(), made.end());
    }
    return layers;
}

}  // namespace mapmodel::geodata
