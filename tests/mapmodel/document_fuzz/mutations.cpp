#include "mutations.h"
#include <algorithm>

namespace fuzz {

namespace {

using Json = nlohmann::ordered_json;

constexpr size_t kHugeString = 10u << 20;  // 10 MB
constexpr size_t kDeep = 100000;           // levels of nesting
const char* const kPlaceholder = "\x01" "fuzz" "\x01";

std::string repeat(std::string_view s, size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (size_t i = 0; i < n; ++i) out += s;
    return out;
}

// A place in a document tree: the node, where it hangs, and its path as the loader names it.
struct Slot {
    Json* node;
    Json* parent;
    std::string key;  // in an object parent
    size_t index;     // in an array parent
    std::string path;
};

std::vector<Slot> slots(Json& root) {
    std::vector<Slot> all{{&root, nullptr, {}, 0, {}}};
    for (size_t i = 0; i < all.size(); ++i) {
        Json* node = all[i].node;
        std::string path = all[i].path;
        if (node->is_object()) {
            for (auto it = node->begin(); it != node->end(); ++it)
                all.push_back({&it.value(), node, it.key(), 0, path.empty() ? it.key() : path + "." + it.key()});
        } else if (node->is_array()) {
            for (size_t k = 0; k < node->size(); ++k) all.push_back({&(*node)[k], node, {}, k, path + "[" + std::to_string(k) + "]"});
        }
    }
    return all;
}

std::string shown(const Slot& s) { return s.path.empty() ? "the document" : s.path; }

// The document as text, in one of the layouts people and programs write.
std::string dump(const Json& doc, Random& r) {
    switch (r.below(3)) {
    case 0: return doc.dump();
    case 1: return doc.dump(2);
    default: return doc.dump(1, '\t');
    }
}

// The document as text with the node at the slot replaced by raw text (which JSON values
// cannot carry: malformed numbers, invalid UTF-8, huge nesting).
std::string with_raw(Json& doc, const Slot& s, const std::string& raw, Random& r) {
    *s.node = kPlaceholder;
    std::string text = dump(doc, r);
    const std::string mark = "\"\\u0001fuzz\\u0001\"";
    size_t at = text.find(mark);
    return at == std::string::npos ? text : text.replace(at, mark.size(), raw);
}

const char* const kRetyped[] = {"0", "-1", "1.5", "\"\"", "\"x\"", "true", "false", "null", "[]", "{}", "[1, 2]",
                                "{\"kind\": \"plain\"}", "[[0, 0], [1, 1]]", "\"#FF0000\"", "[255, 0, 0]"};
const char* const kKeywords[] = {"feature", "raster", "group", "plain", "simple", "classBreaks", "uniqueValue", "pieChart",
                                 "rgb", "stretch", "classify", "fill", "gradient", "line", "marker", "pie", "algorithmic",
                                 "multiPart", "point", "multipoint", "polyline", "polygon", "solid", "hollow", "dash", "dot",
                                 "dashDot", "none", "circle", "square", "cross", "x", "diamond", "horizontal", "vertical",
                                 "diagonal", "envelope", "path", "", "#000000", "kind", "type"};
const char* const kMemberNames[] = {"kind", "name", "valid", "visible", "layers", "extent", "renderer", "symbol", "features",
                                    "shapeType", "cells", "columns", "rows", "bands", "classes", "values", "ramp", "parts",
                                    "outline", "color", "size", "style", "slices", "value", "point", "path", "polygon",
                                    "envelope", "break", "label", "minimum", "field", "fields", "defaultSymbol", "junk", ""};
const char* const kExtremeNumbers[] = {
    "1e308", "-1e308", "1e999", "-1e999", "2147483647", "2147483648", "-2147483648", "-2147483649", "4294967296",
    "9223372036854775807", "-9223372036854775808", "18446744073709551615", "18446744073709551616",
    "123456789012345678901234567890", "-1", "-0", "-0.0", "0", "0.5", "-0.5", "1e-320", "4.9e-324", "65536", "65537",
    "1000", "1001", "4194304", "4194305", "2048", "255", "256", "16777215", "16777216", "3", "1e6"};
const char* const kMalformedNumbers[] = {"NaN", "nan", "-NaN", "Infinity", "-Infinity", "inf", "0x10", "+1", ".5", "1.",
                                         "01", "1e", "--1", "1e+", "1.2.3", "\"NaN\"", "\"Infinity\"", "1_000"};
const char* const kInvalidUtf8[] = {"\xC0\x80", "\xFF", "\xFE", "\x80", "\xBF", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                    "\xF8\x88\x80\x80\x80", "\xC3", "\\uD800", "\\uDC00x", "\\uD800\\u0041", "\\u12"};

class Maker {
public:
    Maker(const std::vector<Base>& bases, Random& r, Case& c) : bases_(bases), r_(r), c_(c) {
        const Base& b = bases_[r_.below(bases_.size())];
        base_ = &b;
        doc_ = b.json;
        all_ = slots(doc_);
        c_.what = b.name + ": ";
    }

    void byte_flips() {
        std::string text = base_->text;
        size_t n = 1 + r_.below(8);
        for (size_t i = 0; i < n && !text.empty(); ++i) {
            size_t at = r_.below(text.size());
            text[at] = r_.below(2) ? char(text[at] ^ (1 << r_.below(8))) : char(r_.below(256));
            c_.what += (i ? ", " : "bytes changed at ") + std::to_string(at);
        }
        c_.bytes = text;
    }
    void truncation() {
        size_t at = r_.below(base_->text.size());
        c_.bytes = base_->text.substr(0, at);
        c_.what += "cut after " + std::to_string(at) + " bytes";
    }
    void member_removed() { edit_remove(); finish(); }
    void member_retyped() { edit_retype(); finish(); }
    void keyword() { edit_keyword(); finish(); }
    void member_added() { edit_add(); finish(); }
    void splice() { edit_splice(); finish(); }
    void several() {
        size_t n = 2 + r_.below(3);
        for (size_t i = 0; i < n; ++i) {
            switch (r_.below(5)) {
            case 0: edit_remove(); break;
            case 1: edit_retype(); break;
            case 2: edit_keyword(); break;
            case 3: edit_add(); break;
            default: edit_splice(); break;
            }
            all_ = slots(doc_);
            c_.what += "; ";
        }
        finish();
    }
    void extreme_number() {
        const Slot& s = any_of([](const Json& j) { return j.is_number(); });
        std::string raw = r_.below(4) ? r_.pick(kExtremeNumbers) : std::to_string(int64_t(r_.next()));
        c_.what += shown(s) + " = " + raw;
        c_.bytes = with_raw(doc_, s, raw, r_);
    }
    void malformed_number() {
        const Slot& s = any_of([](const Json& j) { return j.is_number(); });
        std::string raw = r_.pick(kMalformedNumbers);
        c_.what += shown(s) + " = " + raw;
        c_.bytes = with_raw(doc_, s, raw, r_);
    }
    void invalid_utf8() {
        const Slot& s = any_of([](const Json& j) { return j.is_string(); });
        std::string bad = r_.pick(kInvalidUtf8), text = s.node->is_string() ? s.node->get<std::string>() : "x";
        size_t at = r_.below(text.size() + 1);
        c_.what += "invalid UTF-8 in " + shown(s) + " at " + std::to_string(at);
        c_.bytes = with_raw(doc_, s, "\"" + text.substr(0, at) + bad + text.substr(at) + "\"", r_);
    }
    void deep_nesting() {
        // Mostly far too deep; sometimes group layers just around the bound, which may load.
        size_t depth = r_.below(4) ? kDeep : 40 + r_.below(20);
        c_.what += std::to_string(depth) + " levels of ";
        switch (r_.below(5)) {
        case 0:
            c_.what += "arrays";
            at_random(repeat("[", depth) + "1" + repeat("]", depth));
            break;
        case 1:
            c_.what += "objects";
            at_random(repeat("{\"a\": ", depth) + "1" + repeat("}", depth));
            break;
        case 2:
            c_.what += "unclosed arrays";
            at_random(repeat("[", depth));
            break;
        case 3: {
            c_.what += "group layers";
            std::string open = "{\"kind\": \"group\", \"name\": \"g\", \"layers\": [";
            as_layer(repeat(open, depth) + "{\"kind\": \"plain\"}" + repeat("]}", depth));
            break;
        }
        default: {
            c_.what += "multi-part ramps";
            std::string open = "{\"type\": \"multiPart\", \"parts\": [";
            std::string ramp = repeat(open, depth) + "{\"type\": \"algorithmic\", \"from\": \"#000000\", \"to\": \"#FFFFFF\"}" +
                               repeat("]}", depth);
            as_layer("{\"kind\": \"raster\", \"name\": \"r\", \"extent\": [0, 0, 1, 1], \"columns\": 1, \"rows\": 1, "
                     "\"renderer\": {\"kind\": \"stretch\", \"ramp\": " + ramp + "}}");
            break;
        }
        }
    }
    void huge_string() {
        std::string letters(kHugeString, 'x');
        switch (r_.below(6)) {
        case 0: {
            const Slot& s = any_of([](const Json& j) { return j.is_string(); });
            c_.what += "10 MB text at " + shown(s);
            c_.bytes = with_raw(doc_, s, "\"" + letters + "\"", r_);
            break;
        }
        case 1: {
            const Slot& s = any_of([](const Json& j) { return j.is_string(); });
            c_.what += "10 MB of escapes at " + shown(s);
            c_.bytes = with_raw(doc_, s, "\"" + repeat("\\u00e9", kHugeString / 6) + "\"", r_);
            break;
        }
        case 2: {
            const Slot& s = any_of([](const Json& j) { return j.is_object(); });
            c_.what += "a member named with 10 MB in " + shown(s);
            if (s.node->is_object()) (*s.node)[letters] = 1;
            c_.bytes = dump(doc_, r_);
            break;
        }
        case 3: {
            std::string text = dump(doc_, r_);
            size_t at = r_.below(text.size());
            c_.what += "an unterminated 10 MB text after byte " + std::to_string(at);
            c_.bytes = text.substr(0, at) + "\"" + letters;
            break;
        }
        case 4: {
            const Slot& s = any_of([](const Json& j) { return j.is_string(); });
            c_.what += "10 MB text with invalid UTF-8 in the middle at " + shown(s);
            letters[letters.size() / 2] = '\xFF';
            c_.bytes = with_raw(doc_, s, "\"" + letters + "\"", r_);
            break;
        }
        default:
            c_.what += "a map named with 10 MB";
            doc_["name"] = letters;
            c_.bytes = dump(doc_, r_);
            break;
        }
    }
    void empty_file() {
        const char* const kinds[] = {"", " \r\n\t", "\xEF\xBB\xBF"};
        c_.bytes = r_.pick(kinds);
        c_.what = "an empty file (" + std::to_string(c_.bytes.size()) + " bytes)";
    }
    void folder() {
        c_.form = Form::Folder;
        c_.what = "a folder";
    }
    void missing() {
        c_.form = Form::Missing;
        c_.what = "a file that does not exist";
    }

private:
    template <class P>
    const Slot& any_of(P wanted) {
        std::vector<const Slot*> fit;
        for (const Slot& s : all_)
            if (wanted(*s.node)) fit.push_back(&s);
        return fit.empty() ? all_[r_.below(all_.size())] : *fit[r_.below(fit.size())];
    }
    const Slot& any() { return all_[r_.below(all_.size())]; }
    const Slot& inner() {  // any node but the document itself
        return all_.size() > 1 ? all_[1 + r_.below(all_.size() - 1)] : all_[0];
    }

    void edit_remove() {
        const Slot& s = inner();
        c_.what += "removed " + shown(s);
        if (!s.parent) return;
        if (s.parent->is_object()) s.parent->erase(s.key);
        else s.parent->erase(s.index);
    }
    void edit_retype() {
        const Slot& s = any();
        std::string value = r_.pick(kRetyped);
        c_.what += shown(s) + " = " + value;
        *s.node = Json::parse(value);
    }
    void edit_keyword() {
        const Slot& s = any_of([](const Json& j) { return j.is_string(); });
        std::string word = r_.pick(kKeywords);
        c_.what += shown(s) + " = \"" + word + "\"";
        *s.node = word;
    }
    void edit_add() {
        const Slot& s = any_of([](const Json& j) { return j.is_object(); });
        std::string key = r_.pick(kMemberNames);
        Json value = r_.below(2) ? Json::parse(r_.pick(kRetyped)) : *any().node;
        c_.what += "added " + shown(s) + "." + key;
        if (s.node->is_object()) (*s.node)[key] = std::move(value);
    }
    void edit_splice() {
        const Base& other = bases_[r_.below(bases_.size())];
        Json donor = other.json;
        auto from = slots(donor);
        const Slot& d = from[r_.below(from.size())];
        const Slot& s = any();
        c_.what += shown(s) + " = " + other.name + ":" + shown(d);
        *s.node = *d.node;
    }
    void finish() { c_.bytes = dump(doc_, r_); }

    void at_random(const std::string& raw) {
        const Slot& s = any();
        c_.what += " at " + shown(s);
        c_.bytes = with_raw(doc_, s, raw, r_);
    }
    // As a layer of the map's top-level list.
    void as_layer(const std::string& raw) {
        if (!doc_.is_object()) doc_ = Json::object();
        Json& layers = doc_["layers"];
        if (!layers.is_array()) layers = Json::array();
        size_t at = r_.below(layers.size() + 1);
        layers.insert(layers.begin() + std::ptrdiff_t(at), Json(kPlaceholder));
        c_.what += " as layers[" + std::to_string(at) + "]";
        all_ = slots(doc_);
        const Slot& s = *std::find_if(all_.begin(), all_.end(), [](const Slot& x) { return *x.node == kPlaceholder; });
        c_.bytes = with_raw(doc_, s, raw, r_);
    }

    const std::vector<Base>& bases_;
    Random& r_;
    Case& c_;
    const Base* base_;
    Json doc_;
    std::vector<Slot> all_;
};

struct Kind {
    const char* name;
    unsigned weight;  // out of the weights' sum
    void (Maker::*make)();
};

const Kind kKinds[] = {
    {"byte-flips", 20, &Maker::byte_flips},
    {"truncation", 8, &Maker::truncation},
    {"member-removed", 10, &Maker::member_removed},
    {"member-retyped", 12, &Maker::member_retyped},
    {"keyword", 8, &Maker::keyword},
    {"member-added", 5, &Maker::member_added},
    {"splice", 8, &Maker::splice},
    {"several-edits", 6, &Maker::several},
    {"extreme-number", 12, &Maker::extreme_number},
    {"malformed-number", 5, &Maker::malformed_number},
    {"invalid-utf8", 6, &Maker::invalid_utf8},
    {"deep-nesting", 2, &Maker::deep_nesting},
    {"huge-string", 2, &Maker::huge_string},
    {"empty-file", 1, &Maker::empty_file},
    {"folder", 1, &Maker::folder},
    {"missing-file", 1, &Maker::missing},
};

}  // namespace

Mutator::Mutator(std::vector<Base> bases) : bases_(std::move(bases)) {}

size_t Mutator::kinds() { return std::size(kKinds); }

Case Mutator::make(uint64_t seed, long index) const {
    Random r(mix(seed ^ mix(uint64_t(index) + 1)));
    const Kind* kind = &kKinds[0];
    if (size_t(index) < std::size(kKinds)) {
        kind = &kKinds[index];
    } else {
        unsigned total = 0;
        for (const Kind& k : kKinds) total += k.weight;
        unsigned pick = unsigned(r.below(total));
        for (const Kind& k : kKinds) {
            if (pick < k.weight) {
                kind = &k;
                break;
            }
            pick -= k.weight;
        }
    }
    Case c;
    c.kind = kind->name;
    Maker m(bases_, r, c);
    (m.*(kind->make))();
    return c;
}

}  // namespace fuzz
