#include "mapmodel/json/json_stream.h"
#include "com/bstr.h"
#include "com/error.h"
#include "mapmodel/json/json_reader.h"

namespace mapmodel::json {

void JsonStream::run(std::string_view text, std::wstring_view name) {
    name_ = name;
    try {
        Json::sax_parse(text.begin(), text.end(), this);
    } catch (...) {
        raise_parse_failure(text, name);
    }
}

std::string JsonStream::path() const {
    std::string p;
    for (const Level& l : levels_) {
        if (l.array) p += "[" + std::to_string(l.index) + "]";
        else p += (p.empty() ? "" : ".") + l.key;
    }
    return p;
}

void JsonStream::fail(const std::wstring& what, const std::string& below) const {
    const std::string at = path() + below;
    com::raise(E_BAD_DOCUMENT, name_ + L": " + (at.empty() ? L"top level" : com::widen(at)) + L": " + what);
}

JsonStream::Take JsonStream::begin(Kind kind) {
    if (!building_.empty()) return Take::Whole;
    if (whole_depth_ > 0) return inner_;
    return take(kind);
}

void JsonStream::next() {
    if (!levels_.empty() && levels_.back().array) ++levels_.back().index;
}

void JsonStream::scalar(Json&& v) {
    if (!building_.empty()) {
        Json* top = building_.back();
        if (top->is_array()) top->push_back(std::move(v));
        else (*top)[building_key_] = std::move(v);
        return;
    }
    if (whole_depth_ > 0) {
        if (inner_ == Take::Stream) fail(L"expected a number", stream_place());
        return;
    }
    switch (take(Kind::Scalar)) {
    case Take::Skip: break;
    case Take::Stream: fail(L"expected an array of numbers");
    default: whole(std::move(v)); break;
    }
    next();
}

void JsonStream::number(double v, Json&& as_json) {
    if (building_.empty() && whole_depth_ > 0 && inner_ == Take::Stream) {
        stream_number(v, as_json);
        return;
    }
    scalar(std::move(as_json));
}

bool JsonStream::null() {
    scalar(Json());
    return true;
}
bool JsonStream::boolean(bool v) {
    scalar(Json(v));
    return true;
}
bool JsonStream::number_integer(Json::number_integer_t v) {
    number(double(v), Json(v));
    return true;
}
bool JsonStream::number_unsigned(Json::number_unsigned_t v) {
    number(double(v), Json(v));
    return true;
}
bool JsonStream::number_float(Json::number_float_t v, const std::string&) {
    number(v, Json(v));
    return true;
}
bool JsonStream::string(std::string& v) {
    scalar(Json(std::move(v)));
    return true;
}
bool JsonStream::binary(Json::binary_t&) {
    fail(L"binary values are not JSON");  // the text parser never reports one
}

bool JsonStream::open(bool array) {
    if (levels_.size() + building_.size() + size_t(whole_depth_) >= size_t(kMaxDepth)) throw TooDeep{};
    const Kind kind = array ? Kind::Array : Kind::Object;
    if (!building_.empty()) {
        Json* top = building_.back();
        Json value = array ? Json::array() : Json::object();
        if (top->is_array()) {
            top->push_back(std::move(value));
            building_.push_back(&top->back());
        } else {
            Json& slot = (*top)[building_key_];
            slot = std::move(value);
            building_.push_back(&slot);
        }
        return true;
    }
    if (whole_depth_ > 0) {
        if (inner_ == Take::Stream) {
            if (!array) fail(L"expected a number or an array of numbers, found an object", stream_place());
            stream_array(whole_depth_, true);
        }
        ++whole_depth_;
        return true;
    }
    switch (const Take t = take(kind)) {
    case Take::Walk:
        levels_.push_back({array, {}, 0});
        break;
    case Take::Whole:
        whole_ = array ? Json::array() : Json::object();
        building_.push_back(&whole_);
        break;
    case Take::Stream:
        if (!array) fail(L"expected an array of numbers, found an object");
        [[fallthrough]];
    case Take::Skip:
        inner_ = t;
        whole_depth_ = 1;
        if (t == Take::Stream) stream_array(0, true);
        break;
    }
    return true;
}

bool JsonStream::close() {
    if (!building_.empty()) {
        building_.pop_back();
        if (building_.empty()) {
            Json done = std::move(whole_);
            whole_ = Json();
            whole(std::move(done));
            next();
        }
        return true;
    }
    if (whole_depth_ > 0) {
        --whole_depth_;
        if (inner_ == Take::Stream) stream_array(whole_depth_, false);
        if (whole_depth_ == 0) next();
        return true;
    }
    walked(levels_.size() - 1);
    levels_.pop_back();
    next();
    return true;
}

bool JsonStream::start_object(std::size_t) { return open(false); }
bool JsonStream::start_array(std::size_t) { return open(true); }
bool JsonStream::end_object() { return close(); }
bool JsonStream::end_array() { return close(); }

bool JsonStream::key(std::string& k) {
    if (!building_.empty()) building_key_ = std::move(k);
    else if (whole_depth_ == 0 && !levels_.empty()) levels_.back().key = std::move(k);
    return true;
}

}  // namespace mapmodel::json
