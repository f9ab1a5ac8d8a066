// Moving layers in the map and its group layers, for the drops and the keys that move layers: a
// layer is taken out of the place it really sits in (its group layer, or the map) and put into
// its new one; when the second step fails, it goes back where it was. No move loses or
// duplicates a layer.
#include <vector>
#include "com/error.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/tree/tree_builder.h"
#include "win/message_pump.h"

namespace kelpy::interact {

namespace {

// The position of the first member of `layer` (a layer made of layers; other layers have none)
// for which `match` answers true, or -1.
template <class F>
LONG find_member(ILayer* layer, F&& match) {
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!members) return -1;
    LONG count = 0;
    com::check(members->get_Count(&count));
    for (LONG i = 0; i < count; ++i) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(i, member.put()));
        if (member && match(member.get())) return i;
    }
    return -1;
}

LONG member_position(IGroupLayer* group, ILayer* layer) {
    return find_member(group, [&](ILayer* member) { return com::same_object(member, layer); });
}

// True when `inner` is `outer` or one of its members, at any depth.
bool contains(ILayer* outer, IUnknown* inner) {
    return com::same_object(outer, inner) || find_member(outer, [&](ILayer* member) { return contains(member, inner); }) >= 0;
}

}  // namespace

Interaction::Place Interaction::TakeOut(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) {
    if (group) {
        Place from{group, member_position(group.get(), layer.get())};
        com::check(group->Delete(layer.get()));
        return from;
    }
    Place from{nullptr, GetLayerIndex(layer)};
    com::check(c_.map->DeleteLayer(layer.get()));
    return from;
}

// Puts a layer that was taken out of `from` back at its place, as far as the map model lets it:
// into the map at its index, or into its group with the members that followed it behind it
// again. Best effort, for a drop that failed half-way: the failure that ended the drop is the
// one reported.
void Interaction::PutBack(const com::ComPtr<ILayer>& layer, const Place& from) noexcept {
    try {
        if (!from.group) {
            com::check(c_.map->AddLayer(layer.get()));
            if (from.position > 0) com::check(c_.map->MoveLayer(layer.get(), from.position));
            return;
        }
        auto members = from.group.as<ISubLayers>();
        LONG count = 0;
        com::check(members->get_Count(&count));
        std::vector<com::ComPtr<ILayer>> followers;
        for (LONG i = from.position; i >= 0 && i < count; ++i) {
            com::ComPtr<ILayer> member;
            com::check(members->get_Layer(i, member.put()));
            followers.push_back(member);
        }
        com::check(from.group->Add(layer.get()));
        for (const auto& member : followers) {
            com::check(from.group->Delete(member.get()));
            com::check(from.group->Add(member.get()));
        }
    } catch (...) {
        // nothing more can be done
    }
}

template <class Step>
void Interaction::PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, Step&& step) {
    try {
        step();
    } catch (...) {
        PutBack(layer, from);
        try {
            c_.builder.Rebuild(c_.map);  // the tree shows the map as it is now
        } catch (...) {
            // the failure above is the one to report
        }
        throw;
    }
}

// Moves a layer from where it really is (`from`, its own group layer, or the map when Nothing) to
// the end of `group`, and rebuilds the tree (changes of a group layer reach no map view
// notification). The group must be able to take it before anything moves: a group layer never
// goes into itself or one of its own members (nothing moves then); if the group refuses it
// anyway, the layer goes back where it was.
void Interaction::MoveIntoGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from,
                        const com::ComPtr<IGroupLayer>& group) {
    if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The item has no layer");
    if (contains(layer.get(), group.get())) return;
    const Place place = TakeOut(layer, from);
    PutBackOnFailure(layer, place, [&] { com::check(group->Add(layer.get())); });
    c_.builder.Rebuild(c_.map);
}

// Moves a member of `group` to the top of the map (the map's notifications rebuild the tree).
void Interaction::MoveOutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) {
    if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The item has no layer");
    const Place place = TakeOut(layer, group);
    PutBackOnFailure(layer, place, [&] { com::check(c_.map->AddLayer(layer.get())); });
}

// After a change the user made: the pending messages run, then the map is redrawn.
void Interaction::RedrawAfterChange() {
    win::DoEvents();
    RefreshMap();
}

}  // namespace kelpy::interact
