#include "generator.h"
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace mapgen {

using nlohmann::ordered_json;

namespace {

std::string color(long i, long n) {
    // Hues around the colour wheel, as #RRGGBB.
    double h = 6.0 * double(i) / double(n > 0 ? n : 1);
    double f = h - long(h);
    int q = int(255 * (1 - f)), t = int(255 * f);
    int r = 0, g = 0, b = 0;
    switch (long(h) % 6) {
    case 0: r = 255, g = t; break;
    case 1: r = q, g = 255; break;
    case 2: g = 255, b = t; break;
    case 3: g = q, b = 255; break;
    case 4: r = t, b = 255; break;
    default: r = 255, b = q; break;
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", r, g, b);
    return buf;
}

ordered_json fill(long i, long n) { return {{"type", "fill"}, {"color", color(i, n)}}; }

ordered_json breaks(long k, const char* field, const std::function<ordered_json(long)>& symbol) {
    ordered_json classes = ordered_json::array();
    for (long c = 0; c < k; ++c)
        classes.push_back({{"break", (c + 1) * 10}, {"label", std::to_string(c * 10) + " - " + std::to_string((c + 1) * 10)},
                           {"symbol", symbol(c)}});
    return {{"kind", "classBreaks"}, {"field", field}, {"classes", classes}};
}

ordered_json layer(long i, const Options& o) {
    const long k = o.classes, kind = i % 4;
    const double x = double(i % 10) * 10, y = double(i / 10 % 10) * 10;
    std::string name = "Layer " + std::to_string(i + 1);
    if (kind == 3) {
        ordered_json cells = ordered_json::array();
        for (long c = 0; c < 16; ++c) cells.push_back((c * 7) % (10 * k));
        ordered_json classes = ordered_json::array();
        for (long c = 0; c < k; ++c)
            classes.push_back({{"break", (c + 1) * 10}, {"label", "Class " + std::to_string(c + 1)}, {"symbol", fill(c, k)}});
        return {{"kind", "raster"}, {"name", name}, {"extent", {x, y, x + 10, y + 10}}, {"columns", 4}, {"rows", 4},
                {"cells", {cells}}, {"renderer", {{"kind", "classify"}, {"field", "Value"}, {"classes", classes}}}};
    }
    ordered_json features = ordered_json::array();
    for (long f = 0; f < o.features; ++f) {
        double fx = x + 1 + f % 4 * 2, fy = y + 1 + f / 4 % 4 * 2;
        if (kind == 0) features.push_back({{"envelope", {fx, fy, fx + 1.5, fy + 1.5}}, {"value", (f * 10 + 5) % (10 * k)}});
        if (kind == 1) features.push_back({{"path", {{fx, fy}, {fx + 1.5, fy + 1}}}, {"value", "v" + std::to_string(f % k)}});
        if (kind == 2) features.push_back({{"point", {fx, fy}}, {"value", (f * 10 + 5) % (10 * k)}});
    }
    ordered_json renderer;
    if (kind == 0) renderer = breaks(k, "AREA", [k](long c) { return fill(c, k); });
    if (kind == 1) {
        ordered_json values = ordered_json::array();
        for (long c = 0; c < k; ++c)
            values.push_back({{"value", "v" + std::to_string(c)}, {"label", "Value " + std::to_string(c + 1)},
                              {"symbol", {{"type", "line"}, {"color", color(c, k)}, {"width", 1 + c % 3}}}});
        renderer = {{"kind", "uniqueValue"}, {"fields", {"TYPE"}}, {"values", values}};
    }
    if (kind == 2)
        renderer = breaks(k, "COUNT", [k](long c) {
            return ordered_json{{"type", "marker"}, {"color", color(c, k)}, {"size", 4 + c % 8}, {"style", "circle"}};
        });
    static const char* shapes[] = {"polygon", "polyline", "point"};
    return {{"kind", "feature"}, {"name", name}, {"shapeType", shapes[kind]}, {"features", features}, {"renderer", renderer}};
}

}  // namespace

ordered_json document(const Options& o) {
    ordered_json layers = ordered_json::array(), group;
    for (long i = 0; i < o.layers; ++i) {
        ordered_json l = layer(i, o);
        if (o.groups <= 0) {
            layers.push_back(l);
            continue;
        }
        if (i % o.groups == 0) {
            if (!group.is_null()) layers.push_back(group);
            group = {{"kind", "group"}, {"name", "Group " + std::to_string(i / o.groups + 1)}, {"layers", ordered_json::array()}};
        }
        group["layers"].push_back(l);
    }
    if (!group.is_null()) layers.push_back(group);
    return {{"name", "Generated map: " + std::to_string(o.layers) + " layers x " + std::to_string(o.classes) + " classes"},
            {"layers", layers}};
}

std::string text(const Options& o) { return document(o).dump(1); }

namespace {

constexpr long kQuantum = 1000000;  // quantized positions per axis

// A small, deterministic offset for point k of arc a, within +-limit.
long wiggle(long a, long k, long limit) {
    unsigned long h = (unsigned long)(a) * 2654435761ul ^ (unsigned long)(k + 1) * 40503ul;
    h ^= h >> 13;
    h *= 0x5bd1e995ul;
    h ^= h >> 15;
    return limit > 0 ? long(h % (unsigned long)(2 * limit + 1)) - limit : 0;
}

// An arc through the quantized points, delta-encoded.
void write_arc(std::string& out, const std::vector<std::pair<long, long>>& points) {
    out += '[';
    long x = 0, y = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        out += (i ? ",[" : "[") + std::to_string(points[i].first - x) + ',' + std::to_string(points[i].second - y) + ']';
        x = points[i].first, y = points[i].second;
    }
    out += ']';
}

}  // namespace

std::string topology(const TopologyOptions& o) {
    const long n = std::max(1L, o.cells), d = std::max(0L, o.detail), step = kQuantum / n;
    auto corner = [&](long c, long r) { return std::pair<long, long>{c * step, r * step}; };
    // Border arcs: horizontal h(c, r) from corner (c, r) to (c + 1, r), r = 0..n; vertical
    // v(c, r) from (c, r) to (c, r + 1), c = 0..n. Then the holes' arcs.
    auto h = [&](long c, long r) { return r * n + c; };
    auto v = [&](long c, long r) { return (n + 1) * n + r * (n + 1) + c; };
    std::string arcs;
    long count = 0;
    auto border = [&](std::pair<long, long> from, std::pair<long, long> to, bool outer) {
        std::vector<std::pair<long, long>> points{from};
        for (long k = 1; k <= d; ++k) {
            const long off = outer ? 0 : wiggle(count, k, step / 12);
            const long x = from.first + (to.first - from.first) * k / (d + 1), y = from.second + (to.second - from.second) * k / (d + 1);
            points.push_back(from.first == to.first ? std::pair{x + off, y} : std::pair{x, y + off});
        }
        points.push_back(to);
        arcs += count++ ? "," : "";
        write_arc(arcs, points);
    };
    for (long r = 0; r <= n; ++r)
        for (long c = 0; c < n; ++c) border(corner(c, r), corner(c + 1, r), r == 0 || r == n);
    for (long r = 0; r < n; ++r)
        for (long c = 0; c <= n; ++c) border(corner(c, r), corner(c, r + 1), c == 0 || c == n);

    static const char* groups[] = {"Alder", "Birch", "Cedar", "Dogwood", "Elm"};
    std::string geometries;
    for (long r = 0; r < n; ++r)
        for (long c = 0; c < n; ++c) {
            const long id = r * n + c;
            std::string rings = "[[" + std::to_string(h(c, r)) + ',' + std::to_string(v(c + 1, r)) + ',' +
                                std::to_string(~h(c, r + 1)) + ',' + std::to_string(~v(c, r)) + ']';
            if (id % 10 == 0) {
                // A hole: a closed square ring around the cell's centre, drawn counter-clockwise
                // and listed reversed.
                const auto [x0, y0] = corner(c, r);
                const long q = step / 4;
                std::vector<std::pair<long, long>> ring{{x0 + q, y0 + q}, {x0 + 3 * q, y0 + q}, {x0 + 3 * q, y0 + 3 * q},
                                                        {x0 + q, y0 + 3 * q}, {x0 + q, y0 + q}};
                arcs += ',';
                write_arc(arcs, ring);
                rings += ",[" + std::to_string(~count++) + ']';
            }
            rings += ']';
            geometries += (id ? ",\n" : "\n") + std::string(R"({"type":"Polygon","arcs":)") + rings + R"(,"id":)" +
                          std::to_string(id) + R"(,"properties":{"name":"Cell )" + std::to_string(c) + '-' +
                          std::to_string(r) + R"(","value":)" + std::to_string((id * 37) % 1000) + R"(.5,"group":")" +
                          groups[(c + r) % 5] + "\"}}";
        }
    char transform[200];
    std::snprintf(transform, sizeof transform, R"({"scale":[%.10g,%.10g],"translate":[-180,-80]})", 360.0 / kQuantum,
                  160.0 / kQuantum);
    return R"({"type":"Topology","bbox":[-180,-80,180,80],"transform":)" + std::string(transform) +
           R"(,"objects":{"cells":{"type":"GeometryCollection","geometries":[)" + geometries + "\n]}},\n\"arcs\":[" +
           arcs + "]}\n";
}

std::string repeated_arc_topology(long positions, long references) {
    std::string text = R"({"type":"Topology","transform":{"scale":[0.001,0.001],"translate":[0,0]},)"
                       R"("objects":{"line":{"type":"LineString","arcs":[)";
    for (long i = 0; i < references; ++i) text += i ? ",0" : "0";
    text += "]}},\n\"arcs\":[[[0,0]";
    for (long i = 1; i < positions; ++i) text += i % 2 ? ",[1,1]" : ",[1,-1]";
    return text + "]]}\n";
}

std::string points_with_own_names(long points) {
    std::string text = R"({"type":"FeatureCollection","features":[)";
    char feature[200];
    for (long i = 0; i < points; ++i) {
        std::snprintf(feature, sizeof feature,
                      R"(%s{"type":"Feature","geometry":{"type":"Point","coordinates":[%.3f,%.3f]},"properties":{"name_%06ld":%ld}})",
                      i ? ",\n" : "", double(i % 360) - 180, double(i % 170) - 85, i, i);
        text += feature;
    }
    return text + "]}\n";
}

std::string stepping_ring(long positions) {
    std::string text = R"({"type":"Feature","properties":null,"geometry":{"type":"Polygon","coordinates":[[)";
    char position[40];
    for (long i = 0; i <= positions; ++i) {
        const long k = i % positions;  // the last position is the first
        std::snprintf(position, sizeof position, "%s[%ld,%ld]", i ? "," : "", (k * 179) % 360 - 180, k % 2 ? 10L : -10L);
        text += position;
    }
    return text + "]]}}\n";
}

}  // namespace mapgen
