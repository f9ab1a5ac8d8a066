#include "map_text.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"

namespace host {

namespace {
void append(std::wstring& text, ILayer* layer) {
    com::Bstr name;
    com::check(layer->get_Name(name.put()));
    text += name.view();
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!members) return;
    LONG n = 0;
    com::check(members->get_Count(&n));
    text += L" [";
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(i, member.put()));
        if (i) text += L", ";
        append(text, member.get());
    }
    text += L"]";
}
}  // namespace

std::wstring layer_order(IMap* map) {
    std::wstring text;
    LONG n = 0;
    com::check(map->get_LayerCount(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        if (i) text += L", ";
        append(text, layer.get());
    }
    return text;
}

}  // namespace host
