// The control tests' access to the control's procedures and members.
#pragma once
#include "kelpy/control/toc.h"

namespace test {

struct ControlTests;

template <>
struct TocAccess<ControlTests> {
    static kelpy::platform::TreeView& tree(kelpy::Toc& t) { return t.tvwTOC; }
    static kelpy::platform::NodeCollection& nodes(kelpy::Toc& t) { return t.tvwTOC.Nodes(); }
    static kelpy::NodeStates& states(kelpy::Toc& t) { return t.m_aNodeStates; }
    static std::wstring& select_name(kelpy::Toc& t) { return t.m_sSelectName; }
    static bool resetting(kelpy::Toc& t) { return t.m_bResetting; }
    static const com::ComPtr<IMap>& map(kelpy::Toc& t) { return t.m_pMap; }
    static LONG_PTR GetNodeHandle(kelpy::Toc& t, const kelpy::NodePtr& node) { return t.GetNodeHandle(node); }
    static kelpy::NodePtr FindNodeByHandle(kelpy::Toc& t, LONG_PTR handle) { return t.FindNodeByHandle(handle); }
};

using Access = TocAccess<ControlTests>;

}  // namespace test
