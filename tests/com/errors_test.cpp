#include <gtest/gtest.h>
#include "com/boundary.h"
#include "com/bstr.h"
#include "com/object.h"
#include "com/ptr.h"

using namespace com;

TEST(Errors, BoundaryTurnsTheErrorIntoAStatusAndErrorInfo) {
    HRESULT hr = boundary(IID_IDispatch, [] { raise(CTL_E_OVERFLOW, L"Too big", L"TOC.Test"); });
    EXPECT_EQ(hr, CTL_E_OVERFLOW);
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    Bstr source, description;
    info->GetSource(source.put());
    info->GetDescription(description.put());
    GUID g{};
    info->GetGUID(&g);
    info->Release();
    EXPECT_EQ(source.str(), L"TOC.Test");
    EXPECT_EQ(description.str(), L"Too big");
    EXPECT_EQ(g, IID_IDispatch);
}

TEST(Errors, CheckCarriesTheCalleesErrorInfo) {
    (void)boundary(GUID_NULL, [] { raise(E_INVALIDARG, L"Bad index", L"Map.Layer"); });
    try {
        check(E_INVALIDARG);
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.hr(), E_INVALIDARG);
        EXPECT_EQ(e.source(), L"Map.Layer");
        EXPECT_EQ(e.description(), L"Bad index");
    }
}

TEST(Errors, OtherExceptionsBecomeStatusesToo) {
    EXPECT_EQ(boundary(GUID_NULL, [] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(boundary(GUID_NULL, [] { throw std::runtime_error("x"); }), E_FAIL);
    EXPECT_EQ(boundary(GUID_NULL, [] {}), S_OK);
}

TEST(Errors, KnownControlErrorsHaveTheirTexts) {
    EXPECT_EQ(ComError(CTL_E_KEYNOTUNIQUE).description(), L"Key is not unique in collection");
    EXPECT_EQ(ComError(CTL_E_TYPEMISMATCH).description(), L"Type mismatch");
}

namespace {
// An object whose construction fails the way the test chooses.
struct Failing final : ComObject<Failing, IUnknown> {
    static inline int how = 0;
    Failing() {
        if (how == 0) raise(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND), L"No picture \"root\"");
        throw std::bad_alloc();
    }
};

std::wstring error_description() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    Bstr text;
    info->GetDescription(text.put());
    return text.str();
}
}  // namespace

TEST(Errors, AFailedConstructionReportsItsOwnError) {
    ComPtr<IUnknown> made;
    Failing::how = 0;
    EXPECT_EQ(Failing::create_for(IID_IUnknown, made.put_void()), HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(error_description(), L"No picture \"root\"");
    EXPECT_FALSE(made);
    Failing::how = 1;
    EXPECT_EQ(Failing::create_for(IID_IUnknown, made.put_void()), E_OUTOFMEMORY);
    EXPECT_EQ(Module::live_objects(), 0);
}

TEST(Errors, NothingAskedForAnInterfaceIsObjectVariableNotSet) {
    try {
        ComPtr<IUnknown>().as<IDispatch>();
        FAIL();
    } catch (const ComError& e) {
        EXPECT_EQ(e.hr(), CTL_E_OBJECTNOTSET);
        EXPECT_EQ(e.description(), L"Object variable not set");
    }
}
