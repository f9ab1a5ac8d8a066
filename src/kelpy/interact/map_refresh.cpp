// Redrawing the map after the user changed it through the tree, and a layer's place among the
// map's top-level layers.
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/interact/interaction.h"

namespace kelpy::interact {

namespace {
// The view's phase of the layers' geography: a partial redraw of the selected layer redraws
// that phase only.
constexpr DrawPhase geography_phase = DrawPhaseGeography;
}  // namespace

// Asks the host first (OnBeforeRefreshMap, which may cancel), then redraws the map's view:
// only the selected layer's geography when a layer is selected, else everything. The host hears
// of every redraw the control means to make, also when the map went away meanwhile (a host's
// handler of the pending messages may unbind it): then nothing more is done.
void Interaction::RefreshMap() {
    ReportFailure(c_.events, L"refresh", [&] {
        bool cancel = false;
        c_.events.RaiseOnBeforeRefreshMap(cancel);
        if (cancel || !c_.map) return;
        auto view = c_.map.as<IMapView>();
        if (!c_.selectedLayer) com::check(view->Refresh());
        else com::check(view->PartialRefresh(geography_phase, c_.selectedLayer.get(), nullptr));
    });
}

// The position of this very layer (identity, not equal content) among the map's top-level
// layers, or -1; layers inside group layers are not found.
LONG Interaction::GetLayerIndex(const com::ComPtr<ILayer>& layer) {
    if (!c_.map) com::raise(com::CTL_E_OBJECTNOTSET, L"The control has no map");
    LONG count = 0;
    com::check(c_.map->get_LayerCount(&count));
    LONG found = -1;
    com::for_int16(count, [&](int16_t i) {
        com::ComPtr<ILayer> candidate;
        com::check(c_.map->get_Layer(i, candidate.put()));
        if (candidate && com::same_object(candidate.get(), layer.get())) found = i;
        return found < 0;
    });
    return found;
}

}  // namespace kelpy::interact
