// The documents of the map-document fuzz suite. Every case is made from the run's seed and its
// own number alone, so that any one case can be made again without the others: a mutation of a
// base document (the sample map, the sample map as the model saves it, generated maps) — byte
// flips, truncations, members removed, retyped, added or swapped for other parts of a document,
// extreme and malformed numbers, invalid UTF-8, nesting 100,000 deep, 10 MB strings — or one of
// the file cases: an empty file, a folder, a missing file.
#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include "common/fuzz.h"
#include <string>
#include <vector>

namespace fuzz {

// How a case reaches the loader.
enum class Form { Text, Folder, Missing };

struct Case {
    std::string kind;  // the mutation's name, e.g. "byte-flips"
    std::string what;  // what it did, to read when the case fails
    Form form = Form::Text;
    std::string bytes;  // the document's bytes (Form::Text)
};

struct Base {
    std::string name;
    std::string text;
    nlohmann::ordered_json json;
};

class Mutator {
public:
    explicit Mutator(std::vector<Base> bases);
    // Case `index` of the run with this seed. The first cases of every run take each mutation
    // in turn, so that even a short run has every kind.
    Case make(uint64_t seed, long index) const;
    // The number of kinds of mutation.
    static size_t kinds();

private:
    std::vector<Base> bases_;
};

}  // namespace fuzz
