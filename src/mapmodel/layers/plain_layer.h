// PlainLayer: a layer of no further kind (a name, validity and visibility; nothing to draw).
#pragma once
#include "com/object.h"
#include "mapmodel/layers/layer_base.h"
#include "mapmodel/layers/scale_range.h"

namespace mapmodel {

class PlainLayer final : public com::ComObject<PlainLayer, LayerBase<PlainLayer, ILayer>, ScaleRange, com::SupportErrorInfo> {};

}  // namespace mapmodel
