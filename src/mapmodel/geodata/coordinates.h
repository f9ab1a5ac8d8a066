// A GeoJSON geometry's "coordinates" kept as they stream in, without a parsed value per number
// and array: the arrays of each depth in one list (an array's elements are arrays of the next
// depth, one after another, or numbers, one after another in one list of numbers). A position
// [x, y] then costs about 32 bytes instead of the hundred of a parsed value. Coordinates::Value
// answers the questions the readers ask of a parsed value (is_array, size, [i], is_number,
// get<double>), so one reader serves both.
#pragma once
#include <cstdint>
#include <vector>

namespace mapmodel::geodata {

class Coordinates {
    // An array whose elements are all arrays or all numbers; one of both is read as an array of
    // elements that are neither (an error wherever it stands).
    enum class Kind : uint8_t { Empty, Arrays, Numbers, Mixed };
    struct Array {
        uint32_t arrays_from;   // its first element in the next depth's list
        uint32_t numbers_from;  // its first element in the numbers
        uint32_t size;
        Kind kind;
    };

public:
    // The events of the stream (depth 0: the coordinates' own array).
    void open(int depth);
    void close();
    void number(double v);

    class Value {
    public:
        bool is_array() const { return !number_ && array().kind != Kind::Mixed; }
        bool is_number() const { return number_; }
        size_t size() const { return array().size; }
        Value operator[](size_t i) const;
        template <class T>
        T get() const { return T(value_); }

    private:
        friend class Coordinates;
        Value(const Coordinates& c, int depth, uint32_t index) : c_(&c), depth_(depth), index_(index) {}
        Value(const Coordinates& c, double v) : c_(&c), number_(true), value_(v) {}
        const Array& array() const { return c_->levels_[size_t(depth_)][index_]; }
        const Coordinates* c_;
        int depth_ = 0;
        uint32_t index_ = 0;
        bool number_ = false;
        double value_ = 0;
    };
    // The coordinates' own array (once they have been read).
    Value root() const { return Value(*this, 0, 0); }

private:
    void element(Kind kind);
    std::vector<std::vector<Array>> levels_;  // by depth
    std::vector<double> numbers_;
    std::vector<int> open_;  // the depths of the arrays being read
};

}  // namespace mapmodel::geodata
