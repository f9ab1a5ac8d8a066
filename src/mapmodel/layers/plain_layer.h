// PlainLayer: a layer of no further kind (a name, validity and visibility; nothing to draw).
#pragma once
#include "com/object.h"
#include "mapmodel/layers/layer_base.h"

namespace mapmodel {

class PlainLayer final : public com::ComObject<PlainLayer, LayerBase<PlainLayer, ILayer>, com::SupportErrorInfo> {};

}  // namespace mapmodel
