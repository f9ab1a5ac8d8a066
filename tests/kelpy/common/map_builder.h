// Maps and layers of the map model (mapmodel.dll, registered in the test prefix on first use),
// created through COM as a host creates them.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

enum class LayerKind { Feature, Raster, Plain };

// A new object of a map-model class.
template <class I>
com::ComPtr<I> create(REFCLSID clsid);

com::ComPtr<ILayer> make_layer(LayerKind kind, std::wstring_view name, bool visible = true, bool valid = true);
inline com::ComPtr<ILayer> feature_layer(std::wstring_view name, bool visible = true, bool valid = true) {
    return make_layer(LayerKind::Feature, name, visible, valid);
}
// A group layer holding `members` in this order.
com::ComPtr<ILayer> group_layer(std::wstring_view name, std::initializer_list<com::ComPtr<ILayer>> members,
                                bool visible = true);
// A map holding `layers` in this order (the first at index 0, the top of the drawing order).
com::ComPtr<IMap> make_map(std::wstring_view name, std::initializer_list<com::ComPtr<ILayer>> layers = {});
// Puts a layer at the bottom of the map (index LayerCount - 1).
void append_layer(IMap* map, ILayer* layer);

// The live objects of the map model.
long live_map_objects();

}  // namespace test
