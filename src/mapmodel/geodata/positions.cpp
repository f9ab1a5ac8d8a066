#include "mapmodel/geodata/positions.h"

namespace mapmodel::geodata {

std::string element(const std::string& below, size_t i) { return below + "[" + std::to_string(i) + "]"; }

}  // namespace mapmodel::geodata
