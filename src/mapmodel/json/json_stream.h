// Reading a large JSON text without holding all of it as values. A JsonStream walks the text
// through the parser's events (nlohmann's SAX interface), keeping the path to where it is; its
// subclass says, as each value begins, how to take it:
//   Walk    its members or elements are decided one by one (a scalar is handed over whole);
//   Whole   it is built as one value and handed over when it ends (a feature, say);
//   Stream  its numbers and arrays are handed over one by one as they come (the arcs of a
//           topology): anything else in it is an error;
//   Skip    it is read and forgotten.
// So a file of many features holds one feature's values at a time, whatever its size. Syntax
// errors and nesting deeper than kMaxDepth raise the document error with the line and column.
#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace mapmodel::json {

using Json = nlohmann::json;

class JsonStream {
public:
    enum class Take { Walk, Whole, Stream, Skip };
    enum class Kind { Object, Array, Scalar };

    // Reads the whole text; `name` names it in errors.
    void run(std::string_view text, std::wstring_view name);

    // ---- the parser's events (for nlohmann::json::sax_parse)
    bool null();
    bool boolean(bool v);
    bool number_integer(Json::number_integer_t v);
    bool number_unsigned(Json::number_unsigned_t v);
    bool number_float(Json::number_float_t v, const std::string&);
    bool string(std::string& v);
    bool binary(Json::binary_t&);
    bool start_object(std::size_t);
    bool key(std::string& k);
    bool end_object();
    bool start_array(std::size_t);
    bool end_array();
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception& e) {
        throw e;  // as its own type, for raise_parse_failure
    }

protected:
    ~JsonStream() = default;

    // How to take the value of this kind that begins at the current place.
    virtual Take take(Kind kind) = 0;
    // A value taken Whole (or a scalar where Walk was asked), at the current place.
    virtual void whole(Json&& value) = 0;
    // Inside a value taken Stream: a number, and the start and end of an array, `depth` levels
    // below the value (the value itself is depth 0).
    virtual void stream_number(double /*v*/, const Json& /*exact: as the parser read it*/) {}
    virtual void stream_array(int /*depth*/, bool /*opens*/) {}
    // A value taken Walk has ended; `depth` is the one at which it was taken.
    virtual void walked(size_t /*depth*/) {}

    // Where the reader is: the number of levels (0: the text's value itself), the member name of
    // the value at each level (from 1) that is in an object, and its path as documents name paths
    // ("objects.land.geometries[3]"; empty at the top level).
    size_t depth() const { return levels_.size(); }
    const std::string& key_at(size_t level) const { return levels_[level - 1].key; }
    std::string path() const;
    // Raises the document error at the current place, or at `below` it ("[3][1]").
    [[noreturn]] void fail(const std::wstring& what, const std::string& below = {}) const;
    // Inside a value taken Stream: the place of the current number or array below the value, for
    // errors.
    virtual std::string stream_place() const { return {}; }
    std::wstring_view name() const { return name_; }

private:
    struct Level {
        bool array = false;
        std::string key;         // of the value being read in an object
        size_t index = 0;        // of the value being read in an array
    };
    // A value begins where the containers say; answers how it is taken.
    Take begin(Kind kind);
    void scalar(Json&& v);
    void number(double v, Json&& as_json);
    bool open(bool array);
    bool close();
    // The container being read has ended a value: the next element gets the next index.
    void next();

    std::wstring name_;
    std::vector<Level> levels_;  // of the containers read outside whole values, outermost first
    // The whole value being built, and the containers open in it.
    Json whole_;
    std::vector<Json*> building_;
    std::string building_key_;
    int whole_depth_ = 0;   // of the containers open in a skipped or streamed value
    Take inner_ = Take::Walk;  // Skip or Stream while whole_depth_ > 0
};

}  // namespace mapmodel::json
