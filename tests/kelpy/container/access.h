// The container tests' access to the control's event raising, painting, image list, tree and
// expanded-state memory.
#pragma once
#include "kelpy/control/toc.h"

namespace test {

struct ContainerTests;

template <>
struct TocAccess<ContainerTests> {
    static void RaiseOnContextMenu(kelpy::Toc& t, ::TOCNodeType& type) { t.RaiseOnContextMenu(type); }
    static void RaiseOnDragLayer(kelpy::Toc& t, bool& cancel, com::ComPtr<ILayer>& layer) {
        t.RaiseOnDragLayer(cancel, layer);
    }
    static void RaiseOnBeforeRefreshMap(kelpy::Toc& t, bool& cancel) { t.RaiseOnBeforeRefreshMap(cancel); }
    static void UserControl_Paint(kelpy::Toc& t, HDC dc) { t.UserControl_Paint(dc); }
    static const kelpy::platform::ImageList& images(kelpy::Toc& t) { return t.imlTOC; }
    static kelpy::platform::TreeView& tree(kelpy::Toc& t) { return t.tvwTOC; }
    static kelpy::NodeStates& states(kelpy::Toc& t) { return t.m_aNodeStates; }
};

using Container = TocAccess<ContainerTests>;

}  // namespace test
