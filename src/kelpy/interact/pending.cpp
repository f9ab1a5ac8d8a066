// Stand-ins for the interaction, until it is built: the tree window passes every message on
// untouched, and the tree's mouse, expand and collapse events and the timer's ticks do nothing.
#include "com/boundary.h"
#include "kelpy/control/toc.h"

namespace kelpy {

STDMETHODIMP Toc::TreeWndProc(LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR*, VARIANT_BOOL*) {
    return com::boundary(IID__TOC, [] {});
}

com::ComPtr<TreeViewHitTestInfo> Toc::HitTest(LONG, LONG) { return TreeViewHitTestInfo::make(); }

void Toc::RefreshTree() {}

LONG Toc::GetLayerIndex(const com::ComPtr<ILayer>&) { return -1; }

void Toc::RefreshMap() {}

void Toc::tvwTOC_MouseDown(int16_t, int16_t, float, float) {}

void Toc::tvwTOC_MouseMove(int16_t, int16_t, float, float) {}

void Toc::tvwTOC_MouseUp(int16_t, int16_t, float, float) {}

void Toc::tvwTOC_Expand(const NodePtr&) {}

void Toc::tvwTOC_Collapse(const NodePtr&) {}

void Toc::tToc_Timer() {}

}  // namespace kelpy
