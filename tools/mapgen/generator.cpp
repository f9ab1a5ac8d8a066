#include "generator.h"
#include <cstdio>
#include <functional>

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

}  // namespace mapgen
