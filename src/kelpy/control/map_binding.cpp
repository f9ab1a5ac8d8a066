// Initialize: the control follows one map, whose view notifications rebuild the tree.
#include "kelpy/control/toc.h"
#include "com/boundary.h"
#include "com/error.h"

namespace kelpy {

STDMETHODIMP Toc::Initialize(IMap** pMap) {
    return com::boundary(IID__TOC, [&] {
        if (!pMap) com::raise(E_POINTER);
        IMap* map = *pMap;
        m_pMap = map;
        // The subscription to the previous map ends before the new one starts; without a map
        // there is none.
        m_pActiveViewEvents.end();
        if (map) m_pActiveViewEvents = MapViewSubscription(map, *this);
        // A control without a window (one that a script made, or one that its container has not
        // activated yet) has no tree to build now: the start-up of its window builds it.
        if (!m_hWnd) return;
        com::check(Reset());
    });
}

}  // namespace kelpy
