#include "mapmodel/document/json_reader.h"
#include <cmath>
#include "com/bstr.h"
#include "com/error.h"

namespace mapmodel::document {

namespace {
// The line and column (from 1) of a byte position in the text.
std::pair<size_t, size_t> line_and_column(std::string_view text, size_t byte) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

// nlohmann's message without its "[json.exception...] parse error at line L, column C: " prefix.
std::string reason_of(const std::string& what) {
    auto colon = what.find(": ");
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

const char* kind_of(const nlohmann::json& v) {
    switch (v.type()) {
    case nlohmann::json::value_t::null: return "null";
    case nlohmann::json::value_t::object: return "an object";
    case nlohmann::json::value_t::array: return "an array";
    case nlohmann::json::value_t::string: return "a text";
    case nlohmann::json::value_t::boolean: return "true or false";
    default: return "a number";
    }
}
}  // namespace

nlohmann::json parse(std::string_view text, std::wstring_view name) {
    try {
        return nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error& e) {
        // The parser reports the byte after the offending one; point at the offending byte.
        auto [line, column] = line_and_column(text, e.byte ? e.byte - 1 : 0);
        com::raise(E_BAD_DOCUMENT, std::wstring(name) + L":" + std::to_wstring(line) + L":" + std::to_wstring(column) +
                                       L": the text is not valid JSON: " + com::widen(reason_of(e.what())));
    }
}

void Node::fail(const std::wstring& what) const {
    std::wstring where = std::wstring(doc_) + L": ";
    if (!path_.empty()) where += com::widen(path_) + L": ";
    com::raise(E_BAD_DOCUMENT, where + what);
}

void Node::expected(const char* what) const {
    fail(L"expected " + com::widen(what) + L", found " + com::widen(kind_of(v_)));
}

bool Node::has(const char* key) const { return v_.is_object() && v_.contains(key) && !v_.at(key).is_null(); }

bool Node::present(const char* key) const { return v_.is_object() && v_.contains(key); }

Node Node::at(const char* key) const {
    if (!v_.is_object()) expected("an object");
    if (!has(key)) fail(L"the member \"" + com::widen(key) + L"\" is missing");
    return Node(v_.at(key), doc_, path_.empty() ? key : path_ + "." + key);
}

std::optional<Node> Node::find(const char* key) const {
    if (!v_.is_object()) expected("an object");
    if (!has(key)) return std::nullopt;
    return at(key);
}

void Node::allow(std::initializer_list<const char*> keys) const {
    if (!v_.is_object()) expected("an object");
    for (auto it = v_.begin(); it != v_.end(); ++it) {
        bool known = false;
        for (const char* k : keys) known = known || it.key() == k;
        if (known) continue;
        std::wstring list;
        for (const char* k : keys) list += (list.empty() ? L"" : L", ") + com::widen(k);
        fail(L"unknown member \"" + com::widen(it.key()) + L"\" (known here: " + list + L")");
    }
}

std::wstring Node::text() const {
    if (!v_.is_string()) expected("a text");
    return com::widen(v_.get_ref<const std::string&>());
}

double Node::number() const {
    if (!v_.is_number()) expected("a number");
    double d = v_.get<double>();
    if (!std::isfinite(d)) fail(L"the number is not finite");
    return d;
}

long Node::whole() const {
    double d = number();
    if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0) fail(L"expected a whole number");
    return long(d);
}

bool Node::flag() const {
    if (!v_.is_boolean()) expected("true or false");
    return v_.get<bool>();
}

std::vector<Node> Node::items() const {
    if (!v_.is_array()) expected("an array");
    std::vector<Node> out;
    out.reserve(v_.size());
    for (size_t i = 0; i < v_.size(); ++i) out.emplace_back(v_[i], doc_, path_ + "[" + std::to_string(i) + "]");
    return out;
}

std::wstring Node::text_or(const char* key, std::wstring fallback) const {
    auto n = find(key);
    return n ? n->text() : fallback;
}
double Node::number_or(const char* key, double fallback) const {
    auto n = find(key);
    return n ? n->number() : fallback;
}
long Node::whole_or(const char* key, long fallback) const {
    auto n = find(key);
    return n ? n->whole() : fallback;
}
bool Node::flag_or(const char* key, bool fallback) const {
    auto n = find(key);
    return n ? n->flag() : fallback;
}

}  // namespace mapmodel::document
