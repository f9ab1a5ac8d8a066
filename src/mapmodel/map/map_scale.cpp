#include "mapmodel/map/map_scale.h"
#include <algorithm>
#include <cmath>
#include "com/bstr.h"

namespace mapmodel {

namespace {

using com::check;
using com::ComPtr;

constexpr double kEarthRadius = 6378137.0;  // metres
constexpr double kMetresPerInch = 0.0254;
constexpr double kMaxLatitude = 85.0;

struct Census {
    long data_layers = 0;  // feature and raster layers
    long from_files = 0;   // feature layers whose features come from a data file
};

void take(Census& c, ILayer* layer) {
    if (!layer) return;
    ComPtr<ILayer> l(layer);
    if (auto members = l.query<ISubLayers>()) {
        long n = 0;
        check(members->get_Count(&n));
        for (long i = 0; i < n; ++i) {
            ComPtr<ILayer> member;
            check(members->get_Layer(i, member.put()));
            take(c, member.get());
        }
    } else if (auto features = l.query<IFeatureLayer>()) {
        ++c.data_layers;
        ComPtr<IFeatureClass> fc;
        check(features->get_FeatureClass(fc.put()));
        com::Bstr source;
        if (fc) check(fc->get_SourcePath(source.put()));
        if (!source.empty()) ++c.from_files;
    } else if (l.query<IRasterLayer>()) {
        ++c.data_layers;
    }
}

}  // namespace

const wchar_t* word_of(MapUnits units) {
    switch (units) {
    case MapUnits::Meters: return L"meters";
    case MapUnits::Degrees: return L"degrees";
    default: return L"";
    }
}

std::optional<MapUnits> units_named(std::wstring_view word) {
    for (MapUnits u : {MapUnits::Unknown, MapUnits::Meters, MapUnits::Degrees})
        if (word == word_of(u)) return u;
    return std::nullopt;
}

MapUnits units_of(const std::vector<ComPtr<ILayer>>& layers) {
    Census c;
    for (const auto& l : layers) take(c, l.get());
    return c.data_layers > 0 && c.from_files == c.data_layers ? MapUnits::Degrees : MapUnits::Unknown;
}

std::optional<double> scale_of(const Bounds& world, long width, double dpi, MapUnits units) {
    if (units == MapUnits::Unknown || world.empty || width <= 0 || dpi <= 0 || world.width() <= 0) return std::nullopt;
    double metres_per_pixel = world.width() / double(width);
    if (units == MapUnits::Degrees) {
        const double pi = std::acos(-1.0);
        const double latitude = std::clamp(world.centre().y, -kMaxLatitude, kMaxLatitude);
        metres_per_pixel *= pi / 180.0 * kEarthRadius * std::cos(latitude * pi / 180.0);
    }
    return metres_per_pixel / (kMetresPerInch / dpi);
}

ScaleLimits scale_limits_of(ILayer* layer) {
    ScaleLimits limits;
    if (auto range = ComPtr<ILayer>(layer).query<IScaleRange>()) {
        check(range->get_MaximumScale(&limits.smallest));
        check(range->get_MinimumScale(&limits.largest));
    }
    return limits;
}

}  // namespace mapmodel
