#include "kelpy/common/faulty_group.h"
#include "com/boundary.h"

namespace test {

void* FaultyGroup::query_more(REFIID riid) noexcept {
    return riid == IID_ILayer ? static_cast<IGroupLayer*>(this) : nullptr;
}

STDMETHODIMP FaultyGroup::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

HRESULT FaultyGroup::change(HRESULT (IGroupLayer::*call)(ILayer*), ILayer* layer) {
    if (++changes_ == fail_at_)
        return com::boundary(IID_IGroupLayer, [] { com::raise(E_FAIL, L"The group layer failed on purpose", L"FaultyGroup"); });
    return (real_.get()->*call)(layer);
}

STDMETHODIMP FaultyGroup::Add(ILayer* layer) { return change(&IGroupLayer::Add, layer); }
STDMETHODIMP FaultyGroup::Delete(ILayer* layer) { return change(&IGroupLayer::Delete, layer); }

}  // namespace test
