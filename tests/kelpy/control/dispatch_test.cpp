// The control through IDispatch as script engines call it: the map of Initialize by value, by
// reference, or in a variant by reference; an object that is not a map is a type mismatch; what
// a method leaves in a parameter by reference goes back to the caller's variable.
#include <gtest/gtest.h>
#include "com/dispatch.h"
#include "com/object.h"
#include "kelpy/common/hosted_control.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"

using namespace test;
using host::outline;

namespace {

constexpr DISPID initialize_id = 0x60030015;

HRESULT call_initialize(IDispatch* target, VARIANTARG argument, UINT* argerr = nullptr) {
    DISPPARAMS params{&argument, nullptr, 1, 0};
    return target->Invoke(initialize_id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          &params, nullptr, nullptr, argerr);
}

VARIANTARG by_value(IDispatch* object) {
    VARIANTARG v;
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

TEST(Dispatch, InitializeTakesTheMapHoweverAScriptPassesIt) {
    HostedControl host;
    IDispatch* control = host.api();
    auto bay = make_map(L"Bay", {feature_layer(L"Roads")});
    auto harbour = make_map(L"Harbour");
    auto shown = [&] { return host.toc().map().get(); };

    ASSERT_EQ(call_initialize(control, by_value(bay.get())), S_OK);
    EXPECT_TRUE(com::same_object(shown(), bay.get()));
    EXPECT_EQ(outline(host.tree()), L"Bay [root] bold expanded\n  Roads [checked]\n\n");

    // A script's variable: a variant by reference.
    VARIANT variable = by_value(harbour.get());
    VARIANTARG reference;
    reference.vt = VT_VARIANT | VT_BYREF;
    reference.pvarVal = &variable;
    ASSERT_EQ(call_initialize(control, reference), S_OK);
    EXPECT_TRUE(com::same_object(shown(), harbour.get()));
    EXPECT_EQ(variable.vt, VT_DISPATCH);
    EXPECT_EQ(variable.pdispVal, static_cast<IDispatch*>(harbour.get()));

    // An object by reference.
    IDispatch* slot = bay.get();
    VARIANTARG object_reference;
    object_reference.vt = VT_DISPATCH | VT_BYREF;
    object_reference.ppdispVal = &slot;
    ASSERT_EQ(call_initialize(control, object_reference), S_OK);
    EXPECT_TRUE(com::same_object(shown(), bay.get()));

    // Nothing unbinds.
    variable.pdispVal = nullptr;
    ASSERT_EQ(call_initialize(control, reference), S_OK);
    EXPECT_EQ(shown(), nullptr);

    // An object that is not a map, however it comes, is refused and changes nothing.
    auto layer = feature_layer(L"Not a map");
    variable.pdispVal = layer.get();
    for (VARIANTARG wrong : {by_value(layer.get()), reference}) {
        UINT argerr = 99;
        EXPECT_EQ(call_initialize(control, wrong, &argerr), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(argerr, 0u);
        EXPECT_EQ(shown(), nullptr);
    }
}

// A _TOC whose Initialize hands back another map in its parameter.
class SwappingToc final : public com::ComObject<SwappingToc, _TOC> {
public:
    explicit SwappingToc(com::ComPtr<IMap> other) : other_(std::move(other)) {}
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_SelectedLayer(ILayer**) override { return E_NOTIMPL; }
    STDMETHODIMP TreeWndProc(LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP CtrlWndProc(LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize(IMap** map) override {
        if (*map) (*map)->Release();
        *map = com::ComPtr<IMap>(other_).detach();
        return S_OK;
    }
    STDMETHODIMP Reset() override { return E_NOTIMPL; }

private:
    com::ComPtr<IMap> other_;
};

TEST(Dispatch, AParameterByReferenceGoesBackToTheCallersVariable) {
    auto given = make_map(L"Given"), returned = make_map(L"Returned");
    auto info = com::type_info(LIBID_KELPY, kelpy::KelpyLib::major, kelpy::KelpyLib::minor, IID__TOC);
    auto swapping = SwappingToc::create(returned);
    auto call = [&](VARIANTARG argument) {
        DISPPARAMS params{&argument, nullptr, 1, 0};
        return com::invoke(info.get(), static_cast<_TOC*>(swapping.get()), initialize_id, DISPATCH_METHOD, &params,
                           nullptr, nullptr, nullptr);
    };

    VARIANT variable = by_value(com::ComPtr<IMap>(given).detach());
    VARIANTARG reference;
    reference.vt = VT_VARIANT | VT_BYREF;
    reference.pvarVal = &variable;
    ASSERT_EQ(call(reference), S_OK);
    ASSERT_EQ(variable.vt, VT_DISPATCH);
    EXPECT_TRUE(com::same_object(variable.pdispVal, returned.get()));
    VariantClear(&variable);

    IDispatch* slot = com::ComPtr<IMap>(given).detach();
    VARIANTARG object_reference;
    object_reference.vt = VT_DISPATCH | VT_BYREF;
    object_reference.ppdispVal = &slot;
    ASSERT_EQ(call(object_reference), S_OK);
    EXPECT_TRUE(com::same_object(slot, returned.get()));
    slot->Release();

    // A value has nowhere to go back to.
    VARIANTARG value = by_value(given.get());
    ASSERT_EQ(call(value), S_OK);
    EXPECT_EQ(value.pdispVal, static_cast<IDispatch*>(given.get()));
}

}  // namespace
