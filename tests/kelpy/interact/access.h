// The interaction tests' access to the control's procedures and members.
#pragma once
#include "kelpy/control/toc.h"

namespace test {

struct InteractTests;

template <>
struct TocAccess<InteractTests> {
    static kelpy::platform::TreeView& tree(kelpy::Toc& t) { return t.tvwTOC; }
    static kelpy::NodeStates& states(kelpy::Toc& t) { return t.m_aNodeStates; }
    static bool& resetting(kelpy::Toc& t) { return t.m_bResetting; }
    static bool dragging(kelpy::Toc& t) { return t.m_bDragging; }
    static bool timer_on(kelpy::Toc& t) { return t.tToc.Enabled(); }
    static const com::ComPtr<ILayer>& target_layer(kelpy::Toc& t) { return t.m_pTargetLayer; }
    static const kelpy::NodePtr& target_node(kelpy::Toc& t) { return t.m_pTargetNode; }
    static com::ComPtr<kelpy::TreeViewHitTestInfo> HitTest(kelpy::Toc& t, LONG x, LONG y) { return t.HitTest(x, y); }
    static LONG GetLayerIndex(kelpy::Toc& t, const com::ComPtr<ILayer>& layer) { return t.GetLayerIndex(layer); }
    static void RefreshMap(kelpy::Toc& t) { t.RefreshMap(); }
    static void RefreshTree(kelpy::Toc& t) { t.RefreshTree(); }
};

using Interact = TocAccess<InteractTests>;

}  // namespace test
