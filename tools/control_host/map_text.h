// A map's layers as text, in drawing order (the top first), the members of group layers in
// brackets after their group: "Towns, Roads, Land use [Parks, Water], Photo".
#pragma once
#include <string>
#include "mapmodel.h"

namespace host {

std::wstring layer_order(IMap* map);

}  // namespace host
