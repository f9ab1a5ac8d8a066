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

HRESULT FaultyGroup::change(bool add, ILayer* layer) {
    if (++changes_ == fail_at_)
        return com::boundary(IID_IGroupLayer, [] { com::raise(E_FAIL, L"The group layer failed on purpose", L"FaultyGroup"); });
    return add ? real_->Add(layer) : real_->Delete(layer);
}

STDMETHODIMP FaultyGroup::Add(ILayer* layer) { return change(true, layer); }
STDMETHODIMP FaultyGroup::Delete(ILayer* layer) { return change(false, layer); }

STDMETHODIMP FaultyGroup::get_Layer(LONG index, ILayer** layer) {
    if (index != nothing_at_ || !layer) return members_->get_Layer(index, layer);
    *layer = nullptr;
    return S_OK;
}

}  // namespace test
