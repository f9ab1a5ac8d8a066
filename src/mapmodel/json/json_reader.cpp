#include "mapmodel/json/json_reader.h"
#include <cmath>
#include "com/bstr.h"
#include "com/error.h"
#include "mapmodel/support.h"

namespace mapmodel::json {

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

// nlohmann's message without its "[json.exception...] parse error at line L, column C: " prefix,
// and with the text it quotes last ("last read: '...'") cut short: that can be a whole huge
// string, so it is cut before it is converted.
std::wstring reason_of(std::string_view what) {
    auto colon = what.find(": ");
    if (colon != std::string_view::npos) what.remove_prefix(colon + 2);
    constexpr size_t kLongest = 200;
    if (what.size() <= kLongest) return com::widen(what);
    size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(what[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    return com::widen(what.substr(0, cut)) + L"...";
}

// The first byte outside strings for which found(byte) holds, or the text's size. Only called
// once the parser has accepted the text up to that byte, so strings and escapes before it are
// well formed.
template <class F>
size_t first_outside_strings(std::string_view text, F&& found) {
    bool in_string = false, escaped = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (in_string) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (found(i)) {
            return i;
        }
    }
    return text.size();
}

// Where the nesting first goes deeper than kMaxDepth.
size_t too_deep_at(std::string_view text) {
    int depth = 0;
    return first_outside_strings(text, [&](size_t i) {
        char c = text[i];
        if (c == '[' || c == '{') return ++depth > kMaxDepth;
        if (c == ']' || c == '}') --depth;
        return false;
    });
}

// Where the number that the parser found too large for a double (1e999) starts: the parser's
// message quotes the number ("number overflow parsing '-1e999'") but does not say where it is.
size_t overflow_at(std::string_view text, const std::string& what) {
    size_t open = what.find("parsing '"), close = what.rfind('\'');
    if (open == std::string::npos || close <= open + 9) return text.size();
    std::string number = what.substr(open + 9, close - open - 9);
    auto in_number = [](char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'; };
    return first_outside_strings(text, [&](size_t i) {
        if (i > 0 && in_number(text[i - 1])) return false;
        size_t end = i + number.size();
        return text.compare(i, number.size(), number) == 0 && (end >= text.size() || !in_number(text[end]));
    });
}

std::wstring at_position(std::wstring_view name, std::string_view text, size_t byte) {
    auto [line, column] = line_and_column(text, byte);
    return std::wstring(name) + L":" + std::to_wstring(line) + L":" + std::to_wstring(column) + L": ";
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
    // The callback sees every array and object as it opens, at its depth (0: the document).
    auto bounded = [](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
        bool opens = event == nlohmann::json::parse_event_t::object_start || event == nlohmann::json::parse_event_t::array_start;
        if (opens && depth >= kMaxDepth) throw TooDeep{};
        return true;
    };
    try {
        return nlohmann::json::parse(text.begin(), text.end(), bounded);
    } catch (...) {
        raise_parse_failure(text, name);
    }
}

void raise_parse_failure(std::string_view text, std::wstring_view name) {
    try {
        throw;
    } catch (const nlohmann::json::parse_error& e) {
        // The parser reports the byte after the offending one; point at the offending byte.
        com::raise(E_BAD_DOCUMENT, at_position(name, text, e.byte ? e.byte - 1 : 0) + L"the text is not valid JSON: " +
                                       reason_of(e.what()));
    } catch (const nlohmann::json::out_of_range& e) {
        com::raise(E_BAD_DOCUMENT, at_position(name, text, overflow_at(text, e.what())) + L"the number is too large (beyond 1.8e308)");
    } catch (const TooDeep&) {
        com::raise(E_BAD_DOCUMENT, at_position(name, text, too_deep_at(text)) + L"arrays and objects nest deeper than " +
                                       std::to_wstring(kMaxDepth) + L" levels");
    }
}

void Node::fail(const std::wstring& what) const {
    com::raise(E_BAD_DOCUMENT, std::wstring(doc_) + L": " + (path_.empty() ? L"top level" : com::widen(path_)) + L": " + what);
}

void Node::fail_below(const std::string& below, const std::wstring& what) const {
    Node(v_, doc_, path_ + below).fail(what);
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
        fail(L"unknown member " + in_quotes(com::widen(it.key())) + L" (known here: " + list + L")");
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

Items Node::items() const {
    if (!v_.is_array()) expected("an array");
    return Items(v_, doc_, path_);
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

}  // namespace mapmodel::json
