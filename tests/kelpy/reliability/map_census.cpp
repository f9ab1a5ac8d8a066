#include "kelpy/reliability/map_census.h"
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/platform/mouse_pointer.h"
#include "tree_reader.h"

namespace census {

bool dragging(kelpy::Toc& toc) { return toc.interaction().dragging(); }

std::string drag_leftovers(kelpy::Toc& toc) {
    if (GetCapture()) return "the mouse is captured while no drag runs";
    if (toc.TimerRunning()) return "the drag timer runs while no drag does";
    if (kelpy::platform::GetMousePointer() != kelpy::platform::MousePointer::Default)
        return "the custom pointer shows while no drag runs";
    return "";
}

std::wstring name_of(ILayer* layer) {
    com::Bstr name;
    com::check(layer->get_Name(name.put()));
    return std::wstring(name.view());
}

com::ComPtr<IUnknown> identity(ILayer* layer) { return com::ComPtr<ILayer>(layer).as<IUnknown>(); }

void members(ILayer* layer, std::vector<Placed>& out) {
    auto sub = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!sub) return;
    LONG n = 0;
    com::check(sub->get_Count(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> member;
        com::check(sub->get_Layer(i, member.put()));
        out.push_back({member, layer});
        members(member.get(), out);
    }
}

std::vector<Placed> every_layer(IMap* map) {
    std::vector<Placed> out;
    LONG n = 0;
    com::check(map->get_LayerCount(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        out.push_back({layer, nullptr});
        members(layer.get(), out);
    }
    return out;
}

namespace {
// A layer and, in brackets, its members (deeper ones while `nested`).
void outline_layer(ILayer* layer, bool members_too, bool nested, std::wstring& text) {
    text += name_of(layer);
    if (!members_too || !com::ComPtr<ILayer>(layer).query<IGroupLayer>()) return;
    auto sub = com::ComPtr<ILayer>(layer).as<ISubLayers>();
    LONG m = 0;
    com::check(sub->get_Count(&m));
    if (m == 0) return;  // the tree shows an empty group as it shows a layer without legend
    text += L" [";
    for (LONG j = 0; j < m; ++j) {
        com::ComPtr<ILayer> member;
        com::check(sub->get_Layer(j, member.put()));
        if (j) text += L", ";
        outline_layer(member.get(), nested, nested, text);
    }
    text += L"]";
}
}  // namespace

std::wstring map_outline(IMap* map, bool nested) {
    std::wstring text;
    LONG n = 0;
    com::check(map->get_LayerCount(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        if (i) text += L", ";
        outline_layer(layer.get(), true, nested, text);
    }
    return text;
}

std::wstring tree_outline(const kelpy::Toc& toc) {
    std::wstring text;
    // The layer items as the tree window shows them, at whatever depth: top-level layers at
    // depth 1, members one level below their group (the other items are legend rows). Each
    // item that goes deeper than the one before opens a bracket.
    std::vector<int> open;  // the depths of the open brackets' members
    int last = 0;
    bool first = true;
    for (const host::NativeItem& item : host::read_items(GetWindow(toc.hWnd(), GW_CHILD))) {
        if (!host::stands_for_layer(item) || item.depth < 1) continue;
        while (!open.empty() && open.back() > item.depth) {
            text += L"]";
            open.pop_back();
        }
        if (item.depth > last && !first) {
            text += L" [";
            open.push_back(item.depth);
        } else if (!first) {
            text += L", ";
        }
        text += item.text;
        last = item.depth;
        first = false;
    }
    for (size_t i = 0; i < open.size(); ++i) text += L"]";
    return text;
}

Layers layers_of(IMap* map) {
    Layers out;
    for (const Placed& p : every_layer(map)) out[identity(p.layer.get()).get()] = p.layer;
    return out;
}

std::string unsound(IMap* map, const Layers& expected) {
    std::map<IUnknown*, int> seen;
    for (const Placed& p : every_layer(map)) {
        auto id = identity(p.layer.get());
        if (++seen[id.get()] > 1) return "the layer " + com::narrow(name_of(p.layer.get())) + " is in two places";
        if (!expected.count(id.get())) return "the layer " + com::narrow(name_of(p.layer.get())) + " came from nowhere";
    }
    for (const auto& [id, layer] : expected)
        if (!seen.count(id)) return "the layer " + com::narrow(name_of(layer.get())) + " was lost";
    return "";
}

}  // namespace census
