#include "kelpy/common/faulty_layer.h"
#include "com/boundary.h"
#include "com/bstr.h"

namespace test {

HRESULT FaultyLayer::failure() {
    return com::boundary(IID_ILayer, [&] { com::raise(hr_, L"The layer " + name_ + L" failed on purpose", L"FaultyLayer"); });
}

STDMETHODIMP FaultyLayer::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

STDMETHODIMP FaultyLayer::get_Name(BSTR* name) {
    if (fails()) return failure();
    *name = com::alloc_bstr(name_);
    return S_OK;
}

STDMETHODIMP FaultyLayer::put_Name(BSTR name) {
    if (fails()) return failure();
    name_ = com::view(name);
    return S_OK;
}

STDMETHODIMP FaultyLayer::get_Valid(VARIANT_BOOL* valid) {
    if (fails()) return failure();
    *valid = valid_;
    return S_OK;
}

STDMETHODIMP FaultyLayer::put_Valid(VARIANT_BOOL valid) {
    if (fails()) return failure();
    valid_ = valid;
    return S_OK;
}

STDMETHODIMP FaultyLayer::get_Visible(VARIANT_BOOL* visible) {
    if (fails()) return failure();
    *visible = visible_;
    return S_OK;
}

STDMETHODIMP FaultyLayer::put_Visible(VARIANT_BOOL visible) {
    if (fails()) return failure();
    visible_ = visible;
    return S_OK;
}

}  // namespace test
