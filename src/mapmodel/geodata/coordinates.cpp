#include "mapmodel/geodata/coordinates.h"

namespace mapmodel::geodata {

void Coordinates::element(Kind kind) {
    if (open_.empty()) return;
    Array& a = levels_[size_t(open_.back())].back();
    ++a.size;
    if (a.kind == Kind::Empty) a.kind = kind;
    else if (a.kind != kind) a.kind = Kind::Mixed;
}

void Coordinates::open(int depth) {
    element(Kind::Arrays);
    if (levels_.size() <= size_t(depth) + 1) levels_.resize(size_t(depth) + 2);
    levels_[size_t(depth)].push_back({uint32_t(levels_[size_t(depth) + 1].size()), uint32_t(numbers_.size()), 0, Kind::Empty});
    open_.push_back(depth);
}

void Coordinates::close() { open_.pop_back(); }

void Coordinates::number(double v) {
    element(Kind::Numbers);
    numbers_.push_back(v);
}

Coordinates::Value Coordinates::Value::operator[](size_t i) const {
    const Array& a = array();
    if (a.kind == Kind::Numbers) return Value(*c_, c_->numbers_[a.numbers_from + i]);
    return Value(*c_, depth_ + 1, a.arrays_from + uint32_t(i));
}

}  // namespace mapmodel::geodata
