// Moving layers in the map and its group layers, for the drops and the keys that move layers: a
// layer is taken out of the place it really sits in (its group layer, or the map) and put into
// its new one; when the second step fails, it goes back where it was. No move loses or
// duplicates a layer.
//
// The map moves a layer to any index; a group layer only adds at its end and deletes (so may a
// host's own model). A layer goes to a place among a group's members as the members are put in
// order: from the first place where they differ from the order wanted on, each is taken out and
// added again at the end, one at a time (arrange). Putting a layer at a place, and putting it
// back where it was after a failure, are that one operation.
#include <algorithm>
#include <unordered_set>
#include <vector>
#include "com/error.h"
#include "kelpy/interact/interaction.h"
#include "kelpy/model/members.h"
#include "kelpy/tree/tree_builder.h"
#include "win/message_pump.h"

namespace kelpy::interact {

namespace {

using Layers = std::vector<com::ComPtr<ILayer>>;

Layers members_of(IGroupLayer* group) { return MembersOf(com::ComPtr<IGroupLayer>(group).as<ILayer>().get()); }

// The position of the first member of `layer` (a layer made of layers; other layers have none)
// for which `match` answers true, or -1.
template <class F>
LONG find_member(ILayer* layer, F&& match) {
    const Layers members = MembersOf(layer);
    for (size_t i = 0; i < members.size(); ++i)
        if (match(members[i].get())) return LONG(i);
    return -1;
}

LONG member_position(IGroupLayer* group, ILayer* layer) {
    return find_member(com::ComPtr<IGroupLayer>(group).as<ILayer>().get(),
                       [&](ILayer* member) { return com::same_object(member, layer); });
}

IUnknown* identity_of(const com::ComPtr<ILayer>& layer, std::vector<com::ComPtr<IUnknown>>& keep) {
    keep.push_back(layer.as<IUnknown>());
    return keep.back().get();
}

// Gives a group layer exactly the members `wanted`, in that order: the members that are not
// wanted are taken out, and from the first place where the group differs from `wanted` on,
// each wanted layer is added at the end (taken out first when it is a member). At most one
// layer that stays is out of the group at any moment.
void arrange(IGroupLayer* group, const Layers& wanted) {
    const Layers now = members_of(group);
    size_t first = 0;
    while (first < now.size() && first < wanted.size() && com::same_object(now[first].get(), wanted[first].get())) ++first;
    std::vector<com::ComPtr<IUnknown>> keep;
    std::unordered_set<IUnknown*> wanted_ids, member_ids;
    for (const auto& layer : wanted) wanted_ids.insert(identity_of(layer, keep));
    for (size_t i = first; i < now.size(); ++i) {
        IUnknown* id = identity_of(now[i], keep);
        if (wanted_ids.count(id)) member_ids.insert(id);
        else com::check(group->Delete(now[i].get()));
    }
    for (size_t i = first; i < wanted.size(); ++i) {
        if (member_ids.count(identity_of(wanted[i], keep))) com::check(group->Delete(wanted[i].get()));
        com::check(group->Add(wanted[i].get()));
    }
}

bool same_place(IGroupLayer* a, IGroupLayer* b) { return (!a && !b) || (a && b && com::same_object(a, b)); }

}  // namespace

bool Interaction::Holds(ILayer* outer, IUnknown* inner) {
    return com::same_object(outer, inner) || find_member(outer, [&](ILayer* member) { return Holds(member, inner); }) >= 0;
}

LONG Interaction::PositionIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer) {
    return group ? member_position(group.get(), layer.get()) : GetLayerIndex(layer);
}

com::ComPtr<ILayer> Interaction::LayerAbove(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) {
    const LONG at = PositionIn(group, layer);
    if (at <= 0) return nullptr;
    com::ComPtr<ILayer> above;
    if (group) com::check(group.as<ISubLayers>()->get_Layer(at - 1, above.put()));
    else com::check(c_.map->get_Layer(at - 1, above.put()));
    return above;
}

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

// Puts a layer that sits nowhere at a place: into the map at the index, or into the group at the
// member position. When that fails half-way, the group's members are put back in their order
// (without the layer) before the failure goes on.
void Interaction::PutAt(const com::ComPtr<ILayer>& layer, const Place& to) {
    if (!to.group) {
        com::check(c_.map->AddLayer(layer.get()));
        if (to.position > 0) com::check(c_.map->MoveLayer(layer.get(), to.position));
        return;
    }
    const Layers before = members_of(to.group.get());
    Layers wanted = before;
    const size_t at = size_t(std::clamp<LONG>(to.position, 0, LONG(before.size())));
    wanted.insert(wanted.begin() + ptrdiff_t(at), layer);
    try {
        arrange(to.group.get(), wanted);
    } catch (...) {
        try {
            arrange(to.group.get(), before);
        } catch (...) {
            // the failure above is the one to report
        }
        throw;
    }
}

// Puts a layer that was taken out of `from` back at its place; when the failed step that was to
// put it at `to` got it there after all (added, but not moved to its index), it is taken out of
// there first. Best effort, for a move that failed half-way: the failure that ended the move is
// the one reported, and a layer that cannot be taken out again stays where it is.
void Interaction::PutBack(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to) noexcept {
    try {
        if (PositionIn(to.group, layer) >= 0) TakeOut(layer, to.group);
        PutAt(layer, from);
    } catch (...) {
        // nothing more can be done
    }
}

template <class Step>
void Interaction::PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to, Step&& step) {
    try {
        step();
    } catch (...) {
        PutBack(layer, from, to);
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
    if (Holds(layer.get(), group.get())) return;
    const Place place = TakeOut(layer, from);
    PutBackOnFailure(layer, place, {group}, [&] { com::check(group->Add(layer.get())); });
    c_.builder.Rebuild(c_.map);
}

// Moves a member of `group` to the top of the map (the map's notifications rebuild the tree).
void Interaction::MoveOutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) {
    if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The item has no layer");
    const Place place = TakeOut(layer, group);
    PutBackOnFailure(layer, place, {}, [&] { com::check(c_.map->AddLayer(layer.get())); });
}

// Within the map one move does it; otherwise the layer is taken out and put at its place, and
// the tree is rebuilt when it went into a group (the map's notifications rebuild it otherwise).
bool Interaction::MoveTo(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from, Place to) {
    if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The item has no layer");
    if (to.group && Holds(layer.get(), to.group.get())) return false;
    if (same_place(from.get(), to.group.get())) {
        // Counted without the layer, which leaves its place first.
        const LONG at = PositionIn(from, layer);
        if (at < 0) com::raise(com::E_CHANGED_STATE, L"The layer is no longer where the tree shows it");
        if (to.position > at) --to.position;
        if (to.position == at) return false;
        if (!from) {
            com::check(c_.map->MoveLayer(layer.get(), to.position));
            return true;
        }
    }
    const Place place = TakeOut(layer, from);
    PutBackOnFailure(layer, place, to, [&] { PutAt(layer, to); });
    if (to.group) c_.builder.Rebuild(c_.map);
    return true;
}

// After a change the user made: the pending messages run, then the map is redrawn.
void Interaction::RedrawAfterChange() {
    win::DoEvents();
    RefreshMap();
}

}  // namespace kelpy::interact
