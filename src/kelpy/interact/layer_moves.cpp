#include "kelpy/interact/layer_moves.h"
#include <algorithm>
#include <unordered_set>
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/model/members.h"

namespace kelpy::interact {

namespace {

using Layers = std::vector<com::ComPtr<ILayer>>;

ILayer* as_layer(IGroupLayer* group) { return group; }

Layers members_of(IGroupLayer* group) { return MembersOf(as_layer(group)); }

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
    return find_member(as_layer(group), [&](ILayer* member) { return com::same_object(member, layer); });
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

void no_layer() { com::raise(com::CTL_E_OBJECTNOTSET, L"The item has no layer"); }

}  // namespace

IMap& LayerMoves::map() const {
    if (!map_) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    return *map_.get();
}

bool LayerMoves::Holds(ILayer* outer, IUnknown* inner) {
    return com::same_object(outer, inner) || find_member(outer, [&](ILayer* member) { return Holds(member, inner); }) >= 0;
}

// Identity, not equal content; layers inside group layers are not found.
LONG LayerMoves::IndexInMap(const com::ComPtr<ILayer>& layer) const {
    IMap& m = map();
    LONG count = 0;
    com::check(m.get_LayerCount(&count));
    LONG found = -1;
    com::for_int16(count, [&](int16_t i) {
        com::ComPtr<ILayer> candidate;
        com::check(m.get_Layer(i, candidate.put()));
        if (candidate && com::same_object(candidate.get(), layer.get())) found = i;
        return found < 0;
    });
    return found;
}

LONG LayerMoves::PositionIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer) const {
    return group ? member_position(group.get(), layer.get()) : IndexInMap(layer);
}

bool LayerMoves::SitsIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer) const {
    return PositionIn(group, layer) >= 0;
}

com::ComPtr<ILayer> LayerMoves::LayerAbove(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) const {
    const LONG at = PositionIn(group, layer);
    if (at <= 0) return nullptr;
    com::ComPtr<ILayer> above;
    if (group) com::check(group.as<ISubLayers>()->get_Layer(at - 1, above.put()));
    else com::check(map().get_Layer(at - 1, above.put()));
    return above;
}

LayerMoves::Place LayerMoves::TakeOut(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) {
    if (group) {
        Place from{group, member_position(group.get(), layer.get())};
        com::check(group->Delete(layer.get()));
        return from;
    }
    Place from{nullptr, IndexInMap(layer)};
    com::check(map().DeleteLayer(layer.get()));
    return from;
}

// Puts a layer that sits nowhere at a place: into the map at the index, or into the group at the
// member position. When that fails half-way, the group's members are put back in their order
// (without the layer) before the failure goes on.
void LayerMoves::PutAt(const com::ComPtr<ILayer>& layer, const Place& to) {
    if (!to.group) {
        com::check(map().AddLayer(layer.get()));
        if (to.position > 0) com::check(map().MoveLayer(layer.get(), to.position));
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
            // the failure above is the one to report; the put-back finds what is missing
        }
        throw;
    }
}

std::vector<LayerMoves::Taken> LayerMoves::MembersAtRisk(
    const com::ComPtr<ILayer>& moved, std::initializer_list<const com::ComPtr<IGroupLayer>*> groups) const {
    std::vector<Taken> members;
    std::vector<IGroupLayer*> seen;
    for (const com::ComPtr<IGroupLayer>* group : groups) {
        if (!*group || std::any_of(seen.begin(), seen.end(), [&](IGroupLayer* g) { return com::same_object(g, group->get()); }))
            continue;
        seen.push_back(group->get());
        for (com::ComPtr<ILayer>& member : members_of(group->get()))
            if (!com::same_object(member.get(), moved.get())) members.push_back({std::move(member), *group});
    }
    return members;
}

// Adds a layer that sits in none of `places` to its home; when the home refuses it, to the top
// of the map. Where the layer sits is asked twice when the first answer fails (a model that
// failed once may answer the next call); a layer whose place cannot be told is left alone, so
// that none is ever added twice.
void LayerMoves::Rescue(const Taken& taken, const std::vector<com::ComPtr<IGroupLayer>>& places) noexcept {
    for (int attempt = 0;; ++attempt) {
        try {
            for (const com::ComPtr<IGroupLayer>& place : places)
                if (SitsIn(place, taken.layer)) return;
            break;
        } catch (...) {
            if (attempt == 1) return;
        }
    }
    try {
        if (taken.home) com::check(taken.home->Add(taken.layer.get()));
        else com::check(map().AddLayer(taken.layer.get()));
        return;
    } catch (...) {
    }
    try {
        com::check(map().AddLayer(taken.layer.get()));
    } catch (...) {
        // nothing more can be done
    }
}

// Puts a layer that was taken out of `from` back at its place; when the failed step that was to
// put it at `to` got it there after all (added, but not moved to its index), it is taken out of
// there first. When that fails too, whatever sits nowhere is added again (Rescue): the layer
// (unless it sits in `from` or `to`), then each member of the groups the move was putting in
// order. The failure that ended the move is the one reported.
void LayerMoves::PutBack(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to,
                         const std::vector<Taken>& members) noexcept {
    bool back = false;
    try {
        if (PositionIn(to.group, layer) >= 0) TakeOut(layer, to.group);
        PutAt(layer, from);
        back = true;
    } catch (...) {
    }
    if (!back) Rescue({layer, from.group}, {from.group, to.group});
    for (const Taken& member : members) Rescue(member, {member.home});
}

void LayerMoves::PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to,
                                  const std::vector<Taken>& members, const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        PutBack(layer, from, to, members);
        throw;
    }
}

bool LayerMoves::IntoGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from,
                           const com::ComPtr<IGroupLayer>& group) {
    if (!layer) no_layer();
    if (Holds(layer.get(), group.get())) return false;
    const std::vector<Taken> members = MembersAtRisk(layer, {&from});
    const Place place = TakeOut(layer, from);
    PutBackOnFailure(layer, place, {group}, members, [&] { com::check(group->Add(layer.get())); });
    return true;
}

void LayerMoves::OutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group,
                            const std::function<LONG()>& index) {
    if (!layer) no_layer();
    const std::vector<Taken> members = MembersAtRisk(layer, {&group});
    const Place place = TakeOut(layer, group);
    PutBackOnFailure(layer, place, {}, members, [&] {
        com::check(map().AddLayer(layer.get()));
        if (!index) return;
        if (const LONG at = index(); at >= 0) com::check(map().MoveLayer(layer.get(), at));
    });
}

// Within the map one move does it; otherwise the layer is taken out and put at its place.
bool LayerMoves::MoveTo(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from, Place to) {
    if (!layer) no_layer();
    if (to.group && Holds(layer.get(), to.group.get())) return false;
    if (same_place(from.get(), to.group.get())) {
        // Counted without the layer, which leaves its place first.
        const LONG at = PositionIn(from, layer);
        if (at < 0) com::raise(com::E_CHANGED_STATE, L"The layer is no longer where the tree shows it");
        if (to.position > at) --to.position;
        if (to.position == at) return false;
        if (!from) {
            MoveInMap(layer, to.position);
            return true;
        }
    }
    const std::vector<Taken> members = MembersAtRisk(layer, {&from, &to.group});
    const Place place = TakeOut(layer, from);
    PutBackOnFailure(layer, place, to, members, [&] { PutAt(layer, to); });
    return true;
}

void LayerMoves::MoveInMap(const com::ComPtr<ILayer>& layer, LONG index) {
    com::check(map().MoveLayer(layer.get(), index));
}

}  // namespace kelpy::interact
