#include "mapmodel/document/json_writer.h"

namespace mapmodel::document {

namespace {

using Json = nlohmann::ordered_json;

constexpr size_t kLineWidth = 100;

// Numbers, texts, true, false and null as JSON writes them (texts escaped, numbers in their
// shortest form that reads back exactly).
std::string scalar(const Json& v) { return v.dump(-1, ' ', false, Json::error_handler_t::strict); }

bool holds_only_scalars(const Json& v) {
    for (const Json& item : v)
        if (item.is_structured()) return false;
    return true;
}

// Writes the value on one line; stops (answering false) once it would be longer than `room`.
bool one_line(const Json& v, std::string& out, size_t room) {
    auto fits = [&] { return out.size() <= room; };
    if (!v.is_structured()) {
        out += scalar(v);
        return fits();
    }
    if (v.empty()) {
        out += v.is_array() ? "[]" : "{}";
        return fits();
    }
    bool first = true;
    if (v.is_array()) {
        out += '[';
        for (const Json& item : v) {
            if (!first) out += ", ";
            first = false;
            if (!one_line(item, out, room)) return false;
        }
        out += ']';
    } else {
        out += "{ ";
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (!first) out += ", ";
            first = false;
            out += scalar(it.key()) + ": ";
            if (!one_line(it.value(), out, room)) return false;
        }
        out += " }";
    }
    return fits();
}

void write(const Json& v, std::string& out, size_t indent) {
    if (!v.is_structured() || v.empty() || (v.is_array() && holds_only_scalars(v))) {
        one_line(v, out, std::string::npos);
        return;
    }
    // On one line when it fits in what is left of the current line.
    size_t line_start = out.rfind('\n');
    size_t used = out.size() - (line_start == std::string::npos ? 0 : line_start + 1);
    std::string line;
    if (used < kLineWidth && one_line(v, line, kLineWidth - used)) {
        out += line;
        return;
    }
    std::string inner(indent + 2, ' ');
    bool first = true;
    out += v.is_array() ? "[\n" : "{\n";
    if (v.is_array()) {
        for (const Json& item : v) {
            out += first ? "" : ",\n";
            first = false;
            out += inner;
            write(item, out, indent + 2);
        }
    } else {
        for (auto it = v.begin(); it != v.end(); ++it) {
            out += first ? "" : ",\n";
            first = false;
            out += inner + scalar(it.key()) + ": ";
            write(it.value(), out, indent + 2);
        }
    }
    out += "\n" + std::string(indent, ' ') + (v.is_array() ? "]" : "}");
}

}  // namespace

std::string print(const nlohmann::ordered_json& value) {
    std::string out;
    write(value, out, 0);
    out += '\n';
    return out;
}

}  // namespace mapmodel::document
