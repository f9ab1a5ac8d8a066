// What the readers of GeoJSON and TopoJSON share: a feature's geometry split by shape kind
// (points, lines, polygons), its attributes from a properties object, and the feature layers the
// features of one file (or TopoJSON object) make: one per shape kind that the features have,
// points first, each with a simple renderer. A feature whose geometry has parts of several kinds
// is in each of those layers with the parts of that kind; a feature without geometry joins the
// first layer with an empty shape.
#pragma once
#include <span>
#include <string>
#include <vector>
#include "com/ptr.h"
#include "com/variant.h"
#include "mapmodel/json/json_reader.h"
#include "mapmodel/json/json_stream.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/layers/feature_class.h"

namespace mapmodel::geodata {

// The readers of this folder take the JSON reader's values and nodes.
using json::Json;
using json::Node;

// Lines (paths) or polygons (rings, each without its closing point): points in parts.
struct PartList {
    std::vector<Vec> points;
    std::vector<size_t> starts;  // of every part after the first

    void add_part(std::span<const Vec> part);
    // The first part is taken as it is, without a copy.
    void add_part(std::vector<Vec>&& part);
    bool empty() const { return points.empty(); }
};

struct FeatureGeometry {
    std::vector<Vec> points;  // of points and multipoints
    PartList lines, polygons;

    bool empty() const { return points.empty() && lines.empty() && polygons.empty(); }
};

struct Attribute {
    std::wstring name;
    com::Variant value;
    FieldType type;
};
using Attributes = std::vector<Attribute>;

// The members of a properties object (null: none) as attributes of their JSON types: numbers,
// texts, true or false, null, and objects and arrays as their JSON text.
Attributes attributes_of(const json::Node& properties);
// A feature's "id", a text or a number; Empty without one.
com::Variant feature_id(const json::Node& feature);
// A "bbox" member: [west, south, east, north], or with more dimensions the lows of each and
// then the highs; an error otherwise.
Bounds bounding_box(const json::Node& bbox);

class LayerBuilder {
public:
    // `name` names the layers; `source` is the full path of the file and `object` the TopoJSON
    // object (empty for GeoJSON), kept by the feature classes.
    LayerBuilder(std::wstring name, std::wstring source, std::wstring object);
    void add(FeatureGeometry&& geometry, com::Variant id, Attributes&& attributes);
    void declare_extent(const Bounds& b) { extent_.add(b); }
    size_t feature_count() const { return count_; }
    // The layers, points first. No feature, or none with a geometry, is an error at `where`
    // ("<file>: <place>").
    std::vector<com::ComPtr<ILayer>> layers(const std::wstring& where);

private:
    struct Kind {
        long shape_type;
        const wchar_t* plural;
        com::ComPtr<FeatureClass> features;
    };
    FeatureClass& features_of(Kind& kind);

    std::wstring name_, source_, object_;
    Kind kinds_[3];
    std::vector<std::pair<com::Variant, Attributes>> without_geometry_;
    Bounds extent_;
    size_t count_ = 0;
};

}  // namespace mapmodel::geodata
