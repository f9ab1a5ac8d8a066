// Writing JSON text laid out for people: two spaces per level, and any array or object that
// fits on a line (or holds only numbers, texts and the like, such as a list of cell values) on
// one line. The same value always gives the same bytes.
#pragma once
#include <nlohmann/json.hpp>
#include <string>

namespace mapmodel::document {

// The value as UTF-8 text, ending with a line break. Its texts must be valid UTF-8.
std::string print(const nlohmann::ordered_json& value);

}  // namespace mapmodel::document
