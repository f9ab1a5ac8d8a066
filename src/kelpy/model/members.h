// The members of a group layer as the map model gives them (ISubLayers: a count and a member at
// each position), for whoever reads, places or shows them.
#pragma once
#include <vector>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy {

// The members of a layer made of layers, in their order; none for any other layer. A member
// answered as Nothing is the error "Object variable not set".
std::vector<com::ComPtr<ILayer>> MembersOf(ILayer* layer);

}  // namespace kelpy
