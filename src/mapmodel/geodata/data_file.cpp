#include "mapmodel/geodata/data_file.h"
#include <optional>
#include "mapmodel/geodata/geojson.h"
#include "mapmodel/geodata/topojson.h"
#include "mapmodel/json/json_file.h"
#include "mapmodel/json/json_reader.h"
#include "mapmodel/json/json_stream.h"

namespace mapmodel {

namespace geodata {

namespace {

// The top-level "type" of a JSON object text, found without parsing it: the members of the top
// level are passed over (strings, and arrays and objects by their brackets) until one named
// "type" whose value is a text. Nullopt when there is none, or the text is no object.
std::optional<std::string> top_level_type(std::string_view text) {
    size_t i = text.find_first_not_of(" \t\r\n");
    if (i == std::string_view::npos || text[i] != '{') return std::nullopt;
    // The string starting at the quote at `at`, raw (escapes as they are), and the position after it.
    auto string_at = [&](size_t at) -> std::pair<std::string_view, size_t> {
        size_t k = at + 1;
        while (k < text.size() && text[k] != '"') k += text[k] == '\\' ? 2 : 1;
        if (k >= text.size()) return {{}, text.size()};
        return {text.substr(at + 1, k - at - 1), k + 1};
    };
    int depth = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            auto [s, after] = string_at(i);
            i = after;
            if (depth != 1) continue;
            size_t colon = text.find_first_not_of(" \t\r\n", i);
            if (colon == std::string_view::npos || text[colon] != ':') continue;  // a value, not a name
            i = colon + 1;
            if (s != "type") continue;
            size_t value = text.find_first_not_of(" \t\r\n", i);
            if (value == std::string_view::npos || text[value] != '"') return std::nullopt;
            return std::string(string_at(value).first);
        }
        if (c == '{' || c == '[') ++depth;
        else if (c == '}' || c == ']') --depth;
        ++i;
        if (depth <= 0) break;
    }
    return std::nullopt;
}

// A JsonStream that only reads the text through, for its syntax errors.
class SyntaxCheck final : public json::JsonStream {
protected:
    Take take(Kind) override { return Take::Skip; }
    void whole(json::Json&&) override {}
};

std::wstring stem_of(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = file.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? file : file.substr(0, dot);
}

}  // namespace

std::vector<com::ComPtr<ILayer>> read_data(std::string text, const std::wstring& name, const std::wstring& full_path) {
    const std::optional<std::string> type = top_level_type(text);
    if (!type) {
        SyntaxCheck().run(text, name);  // a text that is not JSON says where
        com::raise(json::E_BAD_DOCUMENT, name + L": top level: neither GeoJSON nor TopoJSON: expected an object "
                                                    L"with a \"type\" (FeatureCollection, Feature, a geometry or Topology)");
    }
    if (*type == "Topology") return read_topojson(std::move(text), name, full_path);
    if (is_geojson_type(*type)) return read_geojson(std::move(text), *type, name, stem_of(full_path), full_path);
    com::raise(json::E_BAD_DOCUMENT, name + L": type: neither GeoJSON nor TopoJSON: unknown type " +
                                             in_quotes(com::widen(*type)) +
                                             L" (expected FeatureCollection, Feature, a geometry type or Topology)");
}

std::vector<com::ComPtr<ILayer>> read_data_file(const std::wstring& path) {
    return read_data(json::read_file(path, L"data file"), path, json::full_path_of(path));
}

}  // namespace geodata

namespace {
constexpr const IID& kIid = __uuidof(IDataFile);
}

STDMETHODIMP DataFile::Open(BSTR path) {
    return boundary(kIid, [&] {
        const std::wstring p(com::view(path));
        if (p.empty()) com::raise(E_INVALIDARG, L"The data file's path is empty");
        auto layers = geodata::read_data_file(p);
        layers_ = std::move(layers);
        path_ = json::full_path_of(p);
    });
}

STDMETHODIMP DataFile::get_Path(BSTR* path) { return boundary(kIid, [&] { give_text(path, path_); }); }
STDMETHODIMP DataFile::get_LayerCount(long* n) { return boundary(kIid, [&] { out(n) = long(layers_.size()); }); }
STDMETHODIMP DataFile::get_Layer(long index, ILayer** layer) {
    return boundary(kIid, [&] {
        check_index(index, layers_.size(), L"the data file's layers");
        give(layer, layers_[size_t(index)]);
    });
}

}  // namespace mapmodel
