// Redrawing the map after the user changed it through the tree.
#include "com/error.h"
#include "kelpy/interact/map_redraw.h"
#include "win/message_pump.h"

namespace kelpy::interact {

namespace {
// The view's phase of the layers' geography: a partial redraw of the selected layer redraws
// that phase only.
constexpr DrawPhase geography_phase = DrawPhaseGeography;
}  // namespace

// The host hears of every redraw the control means to make, also when the map went away
// meanwhile (a host's handler of the pending messages may unbind it): then nothing more is done.
void MapRedraw::Refresh() {
    ReportFailure(events_, L"refresh", [&] {
        bool cancel = false;
        events_.RaiseOnBeforeRefreshMap(cancel);
        if (cancel || !map_) return;
        auto view = map_.as<IMapView>();
        if (!selected_) com::check(view->Refresh());
        else com::check(view->PartialRefresh(geography_phase, selected_.get(), nullptr));
    });
}

void MapRedraw::AfterChange() {
    win::DoEvents();
    Refresh();
}

}  // namespace kelpy::interact
