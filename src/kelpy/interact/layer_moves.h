// LayerMoves: moves layers in the map and its group layers, for the drops and the keys that move
// layers. It knows the map alone (no tree, no window): a layer is taken out of the place it
// really sits in (its group layer, or the map) and put into its new one; when a step fails, it
// goes back where it was, and the failure of that step goes on to the caller (the first failure,
// with its status and description; what the put-back meets is not reported).
//
// Nothing is lost and nothing is duplicated, whatever fails: when the put-back fails too, every
// layer the move had taken out (the moved one, and members of a group being put in order) that
// sits nowhere is added to its own container again, at its end; when its container refuses it
// as well, at the top of the map.
//
// The map moves a layer to any index; a group layer only adds at its end and deletes (so may a
// host's own model). A layer goes to a place among a group's members as the members are put in
// order: from the first place where they differ from the order wanted on, each is taken out and
// added again at the end, one at a time.
#pragma once
#include <functional>
#include <initializer_list>
#include <vector>
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace kelpy::interact {

class LayerMoves {
public:
    // Where a layer sits or goes: in a group layer at a member position, or in the map (group
    // Nothing) at an index.
    struct Place {
        com::ComPtr<IGroupLayer> group;
        LONG position = -1;
    };

    // `map` is the control's map as it is at each call (Nothing: every move fails).
    explicit LayerMoves(const com::ComPtr<IMap>& map) noexcept : map_(map) {}
    LayerMoves(const LayerMoves&) = delete;
    LayerMoves& operator=(const LayerMoves&) = delete;

    // Moves `layer` from where it sits (`from`, its group layer, or the map when Nothing) to the
    // end of `group`. False when nothing moves: a group layer never goes into itself or one of
    // its own members.
    bool IntoGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from,
                   const com::ComPtr<IGroupLayer>& group);
    // Moves a member of `group` to the top of the map and then, when `index` is given, to the
    // index it answers once the layer is there (a failure of either step puts it back into the
    // group).
    void OutOfGroup(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group,
                    const std::function<LONG()>& index = {});
    // Moves `layer` from where it sits to `to`, a place counted among the members as they are
    // before the move. False when nothing moves: the place is the layer's own, or a group layer
    // would go into itself or a group below it.
    bool MoveTo(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& from, Place to);
    // Moves a layer of the map to an index of the map (one call of the map).
    void MoveInMap(const com::ComPtr<ILayer>& layer, LONG index);

    // True when `inner` is `outer` or one of its members, at any depth.
    static bool Holds(ILayer* outer, IUnknown* inner);
    // The position of this very layer among the map's top-level layers, or -1.
    LONG IndexInMap(const com::ComPtr<ILayer>& layer) const;
    // The position of a layer in a group layer, or in the map when `group` is Nothing; -1 when
    // it is not there.
    LONG PositionIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer) const;
    // The layer just above `layer` in its group layer (or in the map), or Nothing.
    com::ComPtr<ILayer> LayerAbove(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group) const;

private:
    using Layers = std::vector<com::ComPtr<ILayer>>;
    // A layer that a move may take out, and the container it sits in before the move.
    struct Taken {
        com::ComPtr<ILayer> layer;
        com::ComPtr<IGroupLayer> home;
    };

    IMap& map() const;
    Place TakeOut(const com::ComPtr<ILayer>& layer, const com::ComPtr<IGroupLayer>& group);
    void PutAt(const com::ComPtr<ILayer>& layer, const Place& to);
    // Runs `step` after `layer` was taken out of `from`; when it fails, puts everything back
    // (PutBack) and throws the step's failure.
    void PutBackOnFailure(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to,
                          const std::vector<Taken>& members, const std::function<void()>& step);
    void PutBack(const com::ComPtr<ILayer>& layer, const Place& from, const Place& to,
                 const std::vector<Taken>& members) noexcept;
    // The members of the group layers among `groups` but the moved layer (Nothing: the map,
    // whose layers no move takes out), which a move into, out of or within them may take out
    // for a moment.
    std::vector<Taken> MembersAtRisk(const com::ComPtr<ILayer>& moved,
                                     std::initializer_list<const com::ComPtr<IGroupLayer>*> groups) const;
    // Adds a layer that sits in none of `places` to its home (else to the top of the map).
    void Rescue(const Taken& taken, const std::vector<com::ComPtr<IGroupLayer>>& places) noexcept;
    // Whether a layer sits in a container (the map when Nothing).
    bool SitsIn(const com::ComPtr<IGroupLayer>& group, const com::ComPtr<ILayer>& layer) const;

    const com::ComPtr<IMap>& map_;
};

}  // namespace kelpy::interact
