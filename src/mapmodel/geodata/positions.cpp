#include "mapmodel/geodata/positions.h"

namespace mapmodel::geodata {

std::string element(const std::string& below, size_t i) { return below + "[" + std::to_string(i) + "]"; }

Vec position(const nlohmann::json& p, const json::Node& at, const std::string& below) {
    bool ok = p.is_array() && p.size() >= 2;
    for (size_t i = 0; ok && i < p.size(); ++i) ok = p[i].is_number();
    if (!ok) at.fail_below(below, L"a position is an array of two or more numbers: [x, y]");
    return {p[0].get<double>(), p[1].get<double>()};
}

std::vector<Vec> positions(const nlohmann::json& list, const json::Node& at, const std::string& below, size_t least,
                           const wchar_t* fewer) {
    if (!list.is_array()) at.fail_below(below, L"expected an array of positions");
    std::vector<Vec> out;
    out.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        const nlohmann::json& p = list[i];
        // The common case at once; anything else is checked (and its place named) by position.
        if (p.is_array() && p.size() == 2 && p[0].is_number() && p[1].is_number()) out.push_back({p[0].get<double>(), p[1].get<double>()});
        else out.push_back(position(p, at, element(below, i)));
    }
    if (out.size() < least) at.fail_below(below, fewer);
    return out;
}

}  // namespace mapmodel::geodata
