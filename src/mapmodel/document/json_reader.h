// Reading a JSON document with errors that say where and what: every value is read through a
// Node that knows its path in the document (layers[2].renderer.kind; "top level" for the
// document itself), and every failure raises the document error naming the document, that
// path and what is wrong. Syntax errors, and nesting deeper than kMaxDepth, name the line and
// column.
#pragma once
#include <nlohmann/json.hpp>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace mapmodel::document {

// The status of every error in a document's content or syntax.
constexpr HRESULT E_BAD_DOCUMENT = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

// Arrays and objects nest at most this deep in a document. The parser itself keeps no stack,
// but everything that walks the tree afterwards (the loader, whose group layers and colour
// ramps recurse, and the saver) does: the bound keeps them far from the end of any thread's
// stack, and leaves room for about 45 levels of group layers.
constexpr int kMaxDepth = 100;

// Parses the text; a syntax error or nesting deeper than kMaxDepth raises E_BAD_DOCUMENT with
// "<name>:<line>:<column>: ...".
nlohmann::json parse(std::string_view text, std::wstring_view name);

class Node {
public:
    Node(const nlohmann::json& value, std::wstring_view document, std::string path)
        : v_(value), doc_(document), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    [[noreturn]] void fail(const std::wstring& what) const;

    // Members of an object.
    bool has(const char* key) const;      // present and not null
    bool present(const char* key) const;  // present, maybe null
    Node at(const char* key) const;                 // required
    std::optional<Node> find(const char* key) const;  // optional; null counts as absent
    // Refuses members other than these (a misspelt member would otherwise be ignored).
    void allow(std::initializer_list<const char*> keys) const;

    // Values.
    std::wstring text() const;
    double number() const;
    long whole() const;
    bool flag() const;
    std::vector<Node> items() const;  // an array's elements
    bool is_null() const { return v_.is_null(); }
    bool is_string() const { return v_.is_string(); }
    bool is_number() const { return v_.is_number(); }

    // Optional members with defaults.
    std::wstring text_or(const char* key, std::wstring fallback) const;
    double number_or(const char* key, double fallback) const;
    long whole_or(const char* key, long fallback) const;
    bool flag_or(const char* key, bool fallback) const;

private:
    [[noreturn]] void expected(const char* what) const;
    const nlohmann::json& v_;
    std::wstring_view doc_;
    std::string path_;
};

}  // namespace mapmodel::document
