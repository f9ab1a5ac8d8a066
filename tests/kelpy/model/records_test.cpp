// The record classes as the control uses them (C++ fields) and as hosts see them (IDispatch by
// name): creation defaults, put/get round trips, object fields, CRect's computed sizes and
// their overflow, error info, and the library's unload check while records live.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <climits>
#include <functional>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/module.h"
#include "com/object.h"
#include "com/ptr.h"
#include "com/variant.h"
#include "kelpy/model/map_model_types.h"
#include "kelpy/model/records.h"

namespace {

using com::ComPtr;
using com::Variant;

constexpr bool x64 = sizeof(void*) == 8;

// The result of one IDispatch::Invoke: its status, value and exception.
struct Call {
    HRESULT hr = E_FAIL;
    Variant value;
    HRESULT scode = S_OK;
    std::wstring description;
};

Call invoke(IDispatch* d, const wchar_t* name, WORD how, VARIANT* arg = nullptr) {
    Call c;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    DISPID id = 0;
    c.hr = d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    EXPECT_EQ(c.hr, S_OK) << "no member " << com::narrow(name);
    if (FAILED(c.hr)) return c;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    if (arg) params = DISPPARAMS{arg, &put, 1, 1};
    EXCEPINFO e{};
    c.hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, how, &params, arg ? nullptr : c.value.put(), &e, nullptr);
    if (e.pfnDeferredFillIn) e.pfnDeferredFillIn(&e);
    c.scode = e.scode;
    c.description = com::view(e.bstrDescription);
    SysFreeString(e.bstrSource);
    SysFreeString(e.bstrDescription);
    SysFreeString(e.bstrHelpFile);
    return c;
}

Variant get(IDispatch* d, const wchar_t* name) {
    Call c = invoke(d, name, DISPATCH_PROPERTYGET);
    EXPECT_EQ(c.hr, S_OK) << com::narrow(name) << ": " << com::narrow(c.description);
    return std::move(c.value);
}

Call put(IDispatch* d, const wchar_t* name, Variant v) { return invoke(d, name, DISPATCH_PROPERTYPUT, v.get()); }
Call putref(IDispatch* d, const wchar_t* name, IUnknown* object) {
    Variant v = com::Variant::from_object(object);
    return invoke(d, name, DISPATCH_PROPERTYPUTREF, v.get());
}

Variant pointer_sized(LONG_PTR value) {
    Variant v;
    if constexpr (x64) {
        v.get()->vt = VT_I8;
        v.get()->llVal = value;
    } else {
        v.get()->vt = VT_I4;
        v.get()->lVal = LONG(value);
    }
    return v;
}

bool same_value(const Variant& a, const Variant& b) {
    return a.type() == b.type() &&
           VarCmp(const_cast<VARIANT*>(a.get()), const_cast<VARIANT*>(b.get()), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

template <class R>
IDispatch* dispatch(const ComPtr<R>& r) { return static_cast<IDispatch*>(r.get()->unknown()); }

// An object that claims the interfaces it is made with and implements none of their methods:
// enough for the records, which hold references without calling them, and for standing in for
// another implementation of one of our interfaces.
class StandIn final : public com::ComObject<StandIn, IDispatch> {
public:
    explicit StandIn(std::vector<IID> claimed) : claimed_(std::move(claimed)) {}
    void* query_more(REFIID riid) noexcept {
        for (const IID& i : claimed_)
            if (i == riid) return static_cast<IDispatch*>(this);
        return nullptr;
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

private:
    std::vector<IID> claimed_;
};

ComPtr<StandIn> stand_in(std::vector<IID> claimed) {
    return StandIn::create(std::move(claimed));
}

class Records : public ::testing::Test {
protected:
    void SetUp() override { test::register_map_model_types(); }
};

void expect_nothing(const Variant& v) {
    EXPECT_EQ(v.type(), VT_DISPATCH);
    EXPECT_EQ(v.get()->pdispVal, nullptr);
}

TEST_F(Records, NewRecordsReadTheirDefaults) {
    auto node = kelpy::TocNode::create();
    IDispatch* n = dispatch(node);
    EXPECT_EQ(get(n, L"TOCNodeType").to_long(), 0);           // Root
    EXPECT_EQ(get(n, L"LayerType").to_long(), 0);             // FeatureLayer
    EXPECT_EQ(get(n, L"FeatureRendererType").to_long(), 0);   // Simple
    EXPECT_TRUE(same_value(get(n, L"Handle"), pointer_sized(0)));
    for (const wchar_t* ref : {L"GroupLayer", L"Symbol", L"Layer"}) expect_nothing(get(n, ref));
    for (const wchar_t* number : {L"ShapeType", L"ItemHeight", L"SymbolHeight", L"SymbolWidth", L"Index", L"Index2",
                                  L"RasterRendererType"})
        EXPECT_EQ(get(n, number).to_long(), 0) << com::narrow(number);

    auto hit = kelpy::TreeViewHitTestInfo::create();
    Variant code = get(dispatch(hit), L"TreeviewHitTest");
    EXPECT_EQ(code.type(), VT_I4);
    EXPECT_EQ(code.get()->lVal, -1);  // no hit test made yet
    expect_nothing(get(dispatch(hit), L"Node"));

    auto args = kelpy::CustomDrawEventArgs::create();
    Variant skip = get(dispatch(args), L"SkipDefault");
    EXPECT_EQ(skip.type(), VT_BOOL);
    EXPECT_EQ(skip.get()->boolVal, VARIANT_FALSE);
    expect_nothing(get(dispatch(args), L"Node"));
    expect_nothing(get(dispatch(args), L"Rect"));
    EXPECT_TRUE(same_value(get(dispatch(args), L"hdc"), pointer_sized(0)));

    auto rect = kelpy::CRect::create();
    for (const wchar_t* edge : {L"Left", L"Top", L"Right", L"Bottom", L"Width", L"Height"})
        EXPECT_EQ(get(dispatch(rect), edge).to_long(), 0) << com::narrow(edge);
}

// Every value field takes a distinct value through IDispatch; each reads back its own value,
// and the C++ field the control reads holds it.
struct ValueField {
    const wchar_t* name;
    Variant value;
    std::function<LONG_PTR()> field;
};

void round_trip(IDispatch* d, const std::vector<ValueField>& fields) {
    for (const auto& f : fields) {
        Call c = put(d, f.name, f.value);
        EXPECT_EQ(c.hr, S_OK) << com::narrow(f.name) << ": " << com::narrow(c.description);
    }
    for (const auto& f : fields) {
        SCOPED_TRACE(com::narrow(f.name));
        Variant back = get(d, f.name);
        EXPECT_TRUE(same_value(back, f.value)) << "type " << back.type();
        Variant as_i8;
        VariantChangeType(as_i8.put(), const_cast<VARIANT*>(f.value.get()), 0, VT_I8);
        EXPECT_EQ(f.field(), LONG_PTR(as_i8.get()->llVal));
    }
}

TEST_F(Records, ValueFieldsRoundTripThroughDispatchByName) {
    const LONG_PTR handle = x64 ? LONG_PTR(0x123456789ABLL) : LONG_PTR(0x12345678);
    auto node = kelpy::TocNode::create();
    round_trip(dispatch(node), {
        {L"TOCNodeType", Variant::from_long(5), [&] { return LONG_PTR(node->TOCNodeType); }},
        {L"Handle", pointer_sized(handle), [&] { return node->Handle; }},
        {L"ShapeType", Variant::from_long(4), [&] { return LONG_PTR(node->ShapeType); }},
        {L"ItemHeight", Variant::from_long(21), [&] { return LONG_PTR(node->ItemHeight); }},
        {L"SymbolHeight", Variant::from_long(-16), [&] { return LONG_PTR(node->SymbolHeight); }},
        {L"SymbolWidth", Variant::from_long(LONG_MAX), [&] { return LONG_PTR(node->SymbolWidth); }},
        {L"Index", Variant::from_long(LONG_MIN), [&] { return LONG_PTR(node->Index); }},
        {L"Index2", Variant::from_long(3), [&] { return LONG_PTR(node->Index2); }},
        {L"LayerType", Variant::from_long(1), [&] { return LONG_PTR(node->LayerType); }},
        {L"RasterRendererType", Variant::from_long(2), [&] { return LONG_PTR(node->RasterRendererType); }},
        {L"FeatureRendererType", Variant::from_long(7), [&] { return LONG_PTR(node->FeatureRendererType); }},
    });

    auto rect = kelpy::CRect::create();
    round_trip(dispatch(rect), {
        {L"Left", Variant::from_long(-3), [&] { return LONG_PTR(rect->Left); }},
        {L"Top", Variant::from_long(8), [&] { return LONG_PTR(rect->Top); }},
        {L"Right", Variant::from_long(40), [&] { return LONG_PTR(rect->Right); }},
        {L"Bottom", Variant::from_long(30), [&] { return LONG_PTR(rect->Bottom); }},
    });

    auto args = kelpy::CustomDrawEventArgs::create();
    round_trip(dispatch(args), {
        {L"hdc", pointer_sized(handle + 1), [&] { return args->hdc; }},
        {L"SkipDefault", Variant::from_bool(true), [&] { return LONG_PTR(args->SkipDefault ? -1 : 0); }},
        {L"ItemHeight", Variant::from_long(17), [&] { return LONG_PTR(args->ItemHeight); }},
    });

    auto hit = kelpy::TreeViewHitTestInfo::create();
    round_trip(dispatch(hit), {
        {L"TreeviewHitTest", Variant::from_long(4 | 64), [&] { return LONG_PTR(hit->TreeviewHitTest); }},
    });
}

TEST_F(Records, ObjectFieldsArePutByReferenceAndRefuseObjectsOfAnotherKind) {
    auto node = kelpy::TocNode::create();
    IDispatch* n = dispatch(node);
    ComPtr<StandIn> layer = stand_in({IID_ILayer, IID_IGroupLayer});

    EXPECT_EQ(putref(n, L"GroupLayer", layer->unknown()).hr, S_OK);
    EXPECT_EQ(putref(n, L"Layer", layer->unknown()).hr, S_OK);
    EXPECT_TRUE(com::same_object(get(n, L"GroupLayer").get()->pdispVal, layer->unknown()));
    EXPECT_TRUE(com::same_object(get(n, L"Layer").get()->pdispVal, layer->unknown()));
    EXPECT_TRUE(com::same_object(node->GroupLayer.get(), layer->unknown()));

    // A layer is not a symbol; a rectangle is not a layer. Nothing is stored.
    EXPECT_TRUE(FAILED(putref(n, L"Symbol", layer->unknown()).hr));
    EXPECT_FALSE(node->Symbol);
    auto rect = kelpy::CRect::create();
    EXPECT_TRUE(FAILED(putref(n, L"Layer", rect->unknown()).hr));
    EXPECT_TRUE(com::same_object(node->Layer.get(), layer->unknown()));

    // Nothing clears a field.
    EXPECT_EQ(putref(n, L"GroupLayer", nullptr).hr, S_OK);
    EXPECT_FALSE(node->GroupLayer);
    expect_nothing(get(n, L"GroupLayer"));

    auto args = kelpy::CustomDrawEventArgs::create();
    IDispatch* a = dispatch(args);
    EXPECT_EQ(putref(a, L"Node", node->unknown()).hr, S_OK);
    EXPECT_EQ(putref(a, L"Rect", rect->unknown()).hr, S_OK);
    EXPECT_TRUE(com::same_object(get(a, L"Node").get()->pdispVal, node->unknown()));
    EXPECT_EQ(args->Rect.get(), rect.get());
    // The control reads a rectangle's fields directly, so another implementation of _CRect is
    // refused with a type mismatch rather than taken for one of ours.
    Call foreign = putref(a, L"Rect", stand_in({IID__CRect})->unknown());
    EXPECT_EQ(foreign.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(foreign.scode, com::CTL_E_TYPEMISMATCH);
    EXPECT_EQ(args->Rect.get(), rect.get());
    EXPECT_EQ(putref(a, L"Rect", nullptr).hr, S_OK);
    EXPECT_FALSE(args->Rect);

    auto hit = kelpy::TreeViewHitTestInfo::create();
    EXPECT_EQ(putref(dispatch(hit), L"Node", node->unknown()).hr, S_OK);
    EXPECT_TRUE(com::same_object(hit->Node.get(), node->unknown()));
}

TEST_F(Records, RectangleSizesAreIntegerVariantsAndMayBeNegative) {
    auto rect = kelpy::CRect::create();
    rect->Left = 10;
    rect->Right = 4;
    rect->Top = -5;
    rect->Bottom = 20;
    Variant w = get(dispatch(rect), L"Width");
    Variant h = get(dispatch(rect), L"Height");
    EXPECT_EQ(w.type(), VT_I4);
    EXPECT_EQ(w.get()->lVal, -6);
    EXPECT_EQ(h.type(), VT_I4);
    EXPECT_EQ(h.get()->lVal, 25);
    rect->Left = LONG_MIN;
    rect->Right = -1;
    EXPECT_EQ(get(dispatch(rect), L"Width").get()->lVal, LONG_MAX);  // the widest that fits
}

TEST_F(Records, RectangleSizeOutsideThirtyTwoBitsIsTheOverflowErrorWithErrorInfo) {
    auto rect = kelpy::CRect::create();
    rect->Left = LONG_MIN;
    rect->Right = 1;

    // Through the vtable: the status, and the error info that ISupportErrorInfo vouches for.
    VARIANT v;
    EXPECT_EQ(rect->get_Width(&v), CTL_E_OVERFLOW);
    EXPECT_EQ(v.vt, VT_EMPTY);
    ComPtr<ISupportErrorInfo> support = ComPtr<IUnknown>(rect->unknown()).as<ISupportErrorInfo>();
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__CRect), S_OK);
    IErrorInfo* raw = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &raw), S_OK);
    ComPtr<IErrorInfo> info = ComPtr<IErrorInfo>::attach(raw);
    com::Bstr description;
    GUID iid{};
    info->GetDescription(description.put());
    info->GetGUID(&iid);
    EXPECT_EQ(description.str(), L"Overflow");
    EXPECT_EQ(iid, IID__CRect);

    // Through IDispatch: the exception carries the same error.
    Call c = invoke(dispatch(rect), L"Width", DISPATCH_PROPERTYGET);
    EXPECT_EQ(c.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(c.scode, CTL_E_OVERFLOW);
    EXPECT_EQ(c.description, L"Overflow");

    rect->Top = LONG_MAX;
    rect->Bottom = -2;
    EXPECT_EQ(invoke(dispatch(rect), L"Height", DISPATCH_PROPERTYGET).scode, CTL_E_OVERFLOW);
}

TEST(Server, CanUnloadOnlyWhenNoObjectLivesAndNoLockIsHeld) {
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    {
        auto node = kelpy::TocNode::create();
        EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
        auto rect = kelpy::CRect::create();
        node = nullptr;
        EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    com::Module::lock(true);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    com::Module::lock(false);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

}  // namespace
