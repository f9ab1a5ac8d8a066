#include "mapmodel/geodata/topojson.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include "com/bstr.h"
#include "mapmodel/geodata/coordinates.h"
#include "mapmodel/geodata/layer_builder.h"
#include "mapmodel/geodata/positions.h"
#include "mapmodel/json/json_stream.h"
#include "mapmodel/support.h"

namespace mapmodel::geodata {

namespace {

// Reading a topology costs in proportion to the file, and decoding its geometries in proportion
// to the positions they yield: a file whose geometries name arcs for more positions than this
// many times those stored in its arcs, and more than kDecodedFloor, is refused before anything
// is decoded (objects that share their arcs, as counties, states and the nation do, stay far
// below it; a line naming one long arc half a million times does not).
constexpr size_t kDecodedPerStored = 32;
constexpr size_t kDecodedFloor = 10'000'000;

// The lines or the rings of a feature: the arc indexes of every part, one part after another.
struct ArcParts {
    struct Part {
        uint32_t end;        // of its indexes in `refs`
        uint32_t geometry;   // its geometry's place among the feature's
        int32_t outer;       // its polygon in a MultiPolygon, else -1
        uint32_t inner;      // its index in the geometry's "arcs"; kWhole: that array itself (a LineString)
    };
    static constexpr uint32_t kWhole = UINT32_MAX;
    std::vector<int> refs;
    std::vector<Part> parts;
    bool empty() const { return parts.empty(); }
};

// A feature of an object, read before the arcs are known to be complete.
struct PendingFeature {
    std::vector<std::string> places;  // of the feature and of the members of its collections, for errors
    std::vector<Vec> points;          // of points, quantized when the topology is
    ArcParts lines, rings;
    com::Variant id;
    Attributes attributes;

    // The place of a part: its geometry's "arcs", and the part in it.
    std::string place_of(const ArcParts::Part& p) const {
        std::string at = places[p.geometry] + ".arcs";
        if (p.outer >= 0) at = element(at, size_t(p.outer));
        return p.inner == ArcParts::kWhole ? at : element(at, p.inner);
    }
};

struct PendingObject {
    std::string name;
    Json members = Json::object();  // all but the geometries of a collection, and its "arcs"
    bool collection = false;        // its "geometries" were read one by one
    Coordinates arcs;               // of an object that is one geometry, as they streamed in
    bool streamed = false;          // whether it had "arcs", an array
    std::vector<PendingFeature> features;
};

// A geometry of a collection whose members have been read, its "arcs" kept as they streamed in.
struct StreamedGeometry {
    std::string place;
    Json members = Json::object();
    Coordinates arcs;
    bool streamed = false;
};

// An arc index of a parsed value: a whole number, and one beyond what any topology can hold
// (2147483647 either way) is out of range at once, without being cut to a smaller one.
int arc_index(const Json& v, const Node& at, const std::string& below) {
    if (!v.is_number_integer()) at.fail_below(below, L"an arc index is a whole number");
    const bool beyond = v.is_number_unsigned() ? v.get<uint64_t>() > uint64_t(std::numeric_limits<int>::max())
                                               : v.get<int64_t>() < int64_t(std::numeric_limits<int>::min());
    if (beyond) at.fail_below(below, L"arc " + com::widen(v.dump()) + L" is out of range: a topology has fewer than 2147483648 arcs");
    return v.get<int>();
}
// One of streamed arcs, whose numbers were checked as they came (TopologyStream).
int arc_index(const Coordinates::Value& v, const Node& at, const std::string& below) {
    if (!v.is_number()) at.fail_below(below, L"an arc index is a whole number");
    return int(v.get<double>());
}

// The arc indexes of one line or ring (a parsed value or streamed arcs, `V`) into `out`, as a
// part of the geometry `geometry`; errors name the place `below` the geometry `at`.
template <class V>
void add_arc_refs(const V& value, const Node& at, const std::string& below, ArcParts::Part part, ArcParts& out) {
    if (!value.is_array()) at.fail_below(below, L"expected an array of arc indexes");
    out.refs.reserve(out.refs.size() + value.size());
    for (size_t i = 0; i < value.size(); ++i) out.refs.push_back(arc_index(value[i], at, element(below, i)));
    part.end = uint32_t(out.refs.size());
    out.parts.push_back(part);
}

// The parts in an array of arrays of arc indexes (`depth` 1), or of arrays of them (`depth` 2).
template <class V>
void add_arc_lists(const V& value, const Node& at, const std::string& below, uint32_t geometry, int depth, ArcParts& out) {
    if (!value.is_array()) at.fail_below(below, L"expected an array of arrays of arc indexes");
    for (size_t i = 0; i < value.size(); ++i) {
        if (depth == 1) {
            add_arc_refs(value[i], at, element(below, i), {0, geometry, -1, uint32_t(i)}, out);
            continue;
        }
        const auto& polygon = value[i];  // a reference into a parsed value; a small Value of streamed arcs
        if (!polygon.is_array()) at.fail_below(element(below, i), L"expected an array of arrays of arc indexes");
        for (size_t k = 0; k < polygon.size(); ++k)
            add_arc_refs(polygon[k], at, element(element(below, i), k), {0, geometry, int32_t(i), uint32_t(k)}, out);
    }
}

template <class V>
void add_arcs(const std::wstring& type, const V& arcs, const Node& g, uint32_t geometry, PendingFeature& f) {
    if (type == L"LineString") add_arc_refs(arcs, g, ".arcs", {0, geometry, -1, ArcParts::kWhole}, f.lines);
    else if (type == L"MultiLineString") add_arc_lists(arcs, g, ".arcs", geometry, 1, f.lines);
    else if (type == L"Polygon") add_arc_lists(arcs, g, ".arcs", geometry, 1, f.rings);
    else add_arc_lists(arcs, g, ".arcs", geometry, 2, f.rings);
}

// One geometry object into the parts of a feature (a collection's members into the same one);
// `streamed`: its arcs, which its members then lack.
void add_geometry(const Node& g, const Coordinates* streamed, PendingFeature& f) {
    if (!g.value().is_object()) g.fail(L"a geometry is an object");
    if (g.present("type") && g.value()["type"].is_null()) return;  // a null geometry
    const std::wstring type = g.at("type").text();
    if (type == L"GeometryCollection") {
        for (const Node& member : g.at("geometries").items()) add_geometry(member, nullptr, f);
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
    const bool member = g.path() != f.places.front();
    if (member) f.places.push_back(g.path());
    const uint32_t geometry = member ? uint32_t(f.places.size() - 1) : 0;
    if (streamed) add_arcs(type, streamed->root(), g, geometry, f);
    else add_arcs(type, g.at("arcs").value(), g, geometry, f);
}

PendingFeature pending_feature(const Node& g, const Coordinates* streamed) {
    PendingFeature f;
    f.places.push_back(g.path());
    add_geometry(g, streamed, f);
    if (auto properties = g.find("properties")) f.attributes = attributes_of(*properties);
    f.id = feature_id(g);
    return f;
}

// The topology as it is parsed: the arcs' positions into one list, each object's geometries one
// by one with their arc indexes as they stream in, everything else whole.
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
            if (key_at(3) == "arcs" && kind == Kind::Array) return stream_indexes(objects.back().arcs, objects.back().streamed);
            return Take::Whole;
        case 4:  // a geometry of a collection
            if (kind != Kind::Object) return Take::Whole;
            geometry_ = StreamedGeometry();
            geometry_.place = path();
            return Take::Walk;
        case 5:
            if (key_at(5) == "arcs" && kind == Kind::Array) return stream_indexes(geometry_.arcs, geometry_.streamed);
            return Take::Whole;
        default: return Take::Whole;
        }
    }
    void walked(size_t depth) override {
        if (depth != 4) return;
        objects.back().features.push_back(
            pending_feature(Node(geometry_.members, name(), geometry_.place), geometry_.streamed ? &geometry_.arcs : nullptr));
        geometry_.arcs = {};
    }
    void whole(Json&& value) override {
        switch (depth()) {
        case 1: members[key_at(1)] = std::move(value); break;
        case 2: fail(L"an object of a topology is a JSON object");
        case 3: objects.back().members[key_at(3)] = std::move(value); break;
        case 4: objects.back().features.push_back(pending_feature(Node(value, name(), path()), nullptr)); break;  // says so
        case 5: geometry_.members[key_at(5)] = std::move(value); break;
        default: break;
        }
    }
    void stream_array(int depth, bool opens) override {
        if (indexes_) {
            if (opens) {
                indexes_->open(depth);
                at_.push_back(0);
                return;
            }
            indexes_->close();
            at_.pop_back();
            if (!at_.empty()) ++at_.back();
            if (depth == 0) indexes_ = nullptr;
            return;
        }
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
    void stream_number(double v, const Json& exact) override {
        if (indexes_) {
            // A whole number in range (most are small and positive), or an error that says so.
            if (!exact.is_number_unsigned() || exact.get<uint64_t>() > uint64_t(std::numeric_limits<int>::max()))
                arc_index(exact, Node(exact, name(), path()), stream_place());
            indexes_->number(v);
            ++at_.back();
            return;
        }
        if (depth_ == 1) fail(L"an arc is an array of positions", stream_place());
        if (numbers_ == 0) xy_.x = v;
        if (numbers_ == 1) xy_.y = v;
        ++numbers_;
    }
    std::string stream_place() const override {
        if (indexes_) {
            std::string at;
            for (size_t i : at_) at = element(at, i);
            return at;
        }
        return depth_ >= 1 ? element("", position_) : std::string();
    }

private:
    // Arc indexes of a geometry, streamed into `to`.
    Take stream_indexes(Coordinates& to, bool& streamed) {
        indexes_ = &to;
        streamed = true;
        return Take::Stream;
    }

    StreamedGeometry geometry_;        // of a collection, being read
    Coordinates* indexes_ = nullptr;   // while arc indexes stream in
    std::vector<size_t> at_;           // of the index being read in each array open in them
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
    // The arc an index names (~i: arc i reversed), whose range has been checked.
    static size_t arc_of(int ref) { return ref >= 0 ? size_t(ref) : size_t(~ref); }

    // The positions of a part's arcs joined end to start (each arc after the first without its
    // first position, which is the last of the one before).
    void join(std::span<const int> refs, std::vector<Vec>& out) const {
        out.clear();
        for (int ref : refs) {
            const size_t arc = arc_of(ref), first = begin(arc), last = end(arc);
            for (size_t k = out.empty() ? 0 : 1; k < last - first; ++k) out.push_back(positions[ref >= 0 ? first + k : last - 1 - k]);
        }
    }
};

[[noreturn]] void fail_at(std::wstring_view name, const std::string& place, const std::wstring& what) {
    com::raise(json::E_BAD_DOCUMENT, std::wstring(name) + L": " + com::widen(place) + L": " + what);
}

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
            if (!std::isfinite(a.positions[k].x) || !std::isfinite(a.positions[k].y))
                fail_at(name, element(element("arcs", arc), k - a.begin(arc)), L"the position is not finite after the transform");
        }
    }
    return a;
}

// Every arc index of the objects' lines and rings in range, and the positions they name within
// the limit (kDecodedPerStored), before anything is decoded.
void check_arc_refs(const std::vector<PendingObject>& objects, const Arcs& arcs, std::wstring_view name) {
    const size_t stored = arcs.positions.size(), limit = std::max(kDecodedPerStored * stored, kDecodedFloor);
    const long long n = (long long)arcs.count();
    size_t decoded = 0;
    for (const PendingObject& o : objects) {
        for (const PendingFeature& f : o.features) {
            for (const ArcParts* parts : {&f.lines, &f.rings}) {
                size_t from = 0;
                for (const ArcParts::Part& p : parts->parts) {
                    for (size_t i = from; i < p.end; ++i) {
                        const int ref = parts->refs[i];
                        if (ref >= n || ref < -n)
                            fail_at(name, f.place_of(p), L"arc " + std::to_wstring(ref) + L" is out of range: the topology has " +
                                                             std::to_wstring(n) + (n == 1 ? L" arc" : L" arcs"));
                        const size_t arc = Arcs::arc_of(ref);
                        decoded += arcs.end(arc) - arcs.begin(arc);
                    }
                    from = p.end;
                }
            }
            if (decoded > limit)
                fail_at(name, "objects." + o.name,
                        L"the arcs its geometries name would decode into more than " + std::to_wstring(limit) +
                            L" positions, the most a topology of " + std::to_wstring(stored) + L" stored positions opens (" +
                            std::to_wstring(kDecodedPerStored) + L" times as many, and at least " + std::to_wstring(kDecodedFloor) +
                            L")");
        }
    }
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
    for (PendingObject& o : stream.objects) {
        const Node members(o.members, name, "objects." + o.name);
        const Json* type = o.members.contains("type") ? &o.members["type"] : nullptr;
        if (o.collection && !(type && *type == "GeometryCollection"))
            members.fail(L"only a GeometryCollection has \"geometries\"");
        if (!o.collection) {
            if (type && *type == "GeometryCollection") members.at("geometries").items();  // not an array: says so
            o.features.push_back(pending_feature(members, o.streamed ? &o.arcs : nullptr));
            o.arcs = {};
        }
    }
    check_arc_refs(stream.objects, arcs, name);

    std::vector<com::ComPtr<ILayer>> layers;
    std::vector<Vec> joined;
    for (PendingObject& o : stream.objects) {
        LayerBuilder builder(com::widen(o.name), source, com::widen(o.name));
        builder.declare_extent(extent);
        for (PendingFeature& f : o.features) {
            FeatureGeometry g;
            for (Vec q : f.points) {
                g.points.push_back(arcs.point(q));
                if (!std::isfinite(g.points.back().x) || !std::isfinite(g.points.back().y))
                    fail_at(name, f.places.front() + ".coordinates", L"a position is not finite after the transform");
            }
            size_t from = 0;
            for (const ArcParts::Part& p : f.lines.parts) {
                arcs.join(std::span(f.lines.refs).subspan(from, p.end - from), joined);
                g.lines.add_part(joined);
                from = p.end;
            }
            from = 0;
            for (const ArcParts::Part& p : f.rings.parts) {
                arcs.join(std::span(f.rings.refs).subspan(from, p.end - from), joined);
                // A linear ring: closed, four or more positions; kept without the closing one.
                if (joined.size() < 4)
                    fail_at(name, f.place_of(p), L"its arcs join into " + std::to_wstring(joined.size()) +
                                                     L" positions: a linear ring has four or more positions");
                if (!(joined.front() == joined.back()))
                    fail_at(name, f.place_of(p), L"its arcs do not close: a linear ring is closed, its last position is its first");
                joined.pop_back();
                g.polygons.add_part(joined);
                from = p.end;
            }
            builder.add(std::move(g), std::move(f.id), std::move(f.attributes));
        }
        const auto made = builder.layers(name + L": objects." + com::widen(o.name));
        layers.insert(layers.end(), made.begin(), made.end());
    }
    return layers;
}

}  // namespace mapmodel::geodata
