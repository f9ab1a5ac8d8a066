#include <gtest/gtest.h>
#include "com/boundary.h"
#include "com/bstr.h"
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
