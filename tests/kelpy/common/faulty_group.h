// FaultyGroup: a group layer that passes every call on to a real group layer, except its n-th
// Add or Delete (counting the calls of IGroupLayer's Add and Delete from 1), which fails with a
// chosen status (0 means none fails), and the member it is told to answer as Nothing.
#pragma once
#include <windows.h>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

class FaultyGroup final : public com::ComObject<FaultyGroup, IGroupLayer, ISubLayers> {
public:
    explicit FaultyGroup(com::ComPtr<ILayer> real) : real_(real.as<IGroupLayer>()), members_(real.as<ISubLayers>()) {}
    static com::ComPtr<FaultyGroup> wrap(com::ComPtr<ILayer> real) {
        return create(std::move(real));
    }
    com::ComPtr<ILayer> layer() { return com::ComPtr<ILayer>(static_cast<IGroupLayer*>(this)); }

    // Fails change n from now on (0: none) and starts counting again.
    void fail_at(int n) noexcept {
        changes_ = 0;
        fail_at_ = n;
    }
    int changes() const noexcept { return changes_; }
    // From now on the request for the member at this index succeeds and answers Nothing (-1:
    // every member is answered as it is).
    void answer_nothing_at(LONG index) noexcept { nothing_at_ = index; }

    void* query_more(REFIID riid) noexcept;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    // ILayer
    STDMETHODIMP get_Name(BSTR* name) override { return real_->get_Name(name); }
    STDMETHODIMP put_Name(BSTR name) override { return real_->put_Name(name); }
    STDMETHODIMP get_Valid(VARIANT_BOOL* v) override { return real_->get_Valid(v); }
    STDMETHODIMP put_Valid(VARIANT_BOOL v) override { return real_->put_Valid(v); }
    STDMETHODIMP get_Visible(VARIANT_BOOL* v) override { return real_->get_Visible(v); }
    STDMETHODIMP put_Visible(VARIANT_BOOL v) override { return real_->put_Visible(v); }
    // IGroupLayer
    STDMETHODIMP Add(ILayer* layer) override;
    STDMETHODIMP Delete(ILayer* layer) override;
    STDMETHODIMP Clear() override { return real_->Clear(); }
    // ISubLayers
    STDMETHODIMP get_Count(LONG* n) override { return members_->get_Count(n); }
    STDMETHODIMP get_Layer(LONG index, ILayer** layer) override;

private:
    HRESULT change(bool add, ILayer* layer);

    com::ComPtr<IGroupLayer> real_;
    com::ComPtr<ISubLayers> members_;
    int changes_ = 0;
    int fail_at_ = 0;
    LONG nothing_at_ = -1;
};

}  // namespace test
