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
#include <windows.h>

namespace mapmodel::json {

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

// What a reader of the text throws at the first array or object deeper than kMaxDepth.
struct TooDeep {};
// Called inside a catch block around any parse of the text (nlohmann's parse or sax_parse): the
// parser's syntax errors, a number too large and TooDeep become the errors parse raises; any
// other exception goes on as it is.
[[noreturn]] void raise_parse_failure(std::string_view text, std::wstring_view name);

class Items;

class Node {
public:
    Node(const nlohmann::json& value, std::wstring_view document, std::string path)
        : v_(value), doc_(document), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    std::wstring_view document() const { return doc_; }
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
    Items items() const;  // an array's elements
    bool is_null() const { return v_.is_null(); }
    // The value itself, for readers that walk large arrays without a node per element (and
    // name the place of an error themselves, through fail_below).
    const nlohmann::json& value() const { return v_; }
    [[noreturn]] void fail_below(const std::string& below, const std::wstring& what) const;
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

// The elements of an array as nodes, each made when it is read: an array may hold millions of
// cell values, and a node per element made up front would cost far more than the array.
class Items {
public:
    Items(const nlohmann::json& array, std::wstring_view document, const std::string& path)
        : v_(array), doc_(document), path_(path) {}
    size_t size() const { return v_.size(); }
    Node operator[](size_t i) const { return Node(v_[i], doc_, path_ + "[" + std::to_string(i) + "]"); }

    class iterator {
    public:
        iterator(const Items& items, size_t i) : items_(items), i_(i) {}
        Node operator*() const { return items_[i_]; }
        iterator& operator++() { ++i_; return *this; }
        bool operator!=(const iterator& o) const { return i_ != o.i_; }

    private:
        const Items& items_;
        size_t i_;
    };
    iterator begin() const { return iterator(*this, 0); }
    iterator end() const { return iterator(*this, size()); }

private:
    const nlohmann::json& v_;
    std::wstring_view doc_;
    std::string path_;
};

}  // namespace mapmodel::json
