// FaultyLayer: a plain layer (name, valid, visible) whose n-th call (counting the calls of
// ILayer from 1) fails with a chosen status; 0 means none fails.
#pragma once
#include <windows.h>
#include <string>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

class FaultyLayer final : public com::ComObject<FaultyLayer, ILayer> {
public:
    FaultyLayer(std::wstring name, int fail_at, HRESULT hr = E_FAIL)
        : name_(std::move(name)), fail_at_(fail_at), hr_(hr) {}
    static com::ComPtr<ILayer> make(std::wstring name, int fail_at, HRESULT hr = E_FAIL) {
        return create(std::move(name), fail_at, hr);
    }
    // The `n`-th call from now on fails (and no other).
    void fail_in(int n) noexcept { fail_at_ = calls_ + n; }

    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP put_Name(BSTR name) override;
    STDMETHODIMP get_Valid(VARIANT_BOOL* valid) override;
    STDMETHODIMP put_Valid(VARIANT_BOOL valid) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* visible) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL visible) override;

private:
    bool fails() noexcept { return ++calls_ == fail_at_; }
    HRESULT failure();

    std::wstring name_;
    int fail_at_;
    HRESULT hr_;
    int calls_ = 0;
    VARIANT_BOOL valid_ = VARIANT_TRUE, visible_ = VARIANT_TRUE;
};

}  // namespace test
