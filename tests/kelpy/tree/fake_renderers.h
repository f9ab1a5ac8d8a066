// Renderers that the map model does not have: one of a kind the control does not know, and
// renderers that report as many classes as a test wants (with labels but no symbols, so that
// nothing is measured).
#pragma once
#include <windows.h>
#include "com/object.h"
#include "com/ptr.h"
#include "kelpy/model/typelib.h"

namespace test {

// IDispatch without type information, for the fakes below.
template <class Self, class... Interfaces>
class FakeDispatch : public com::ComObject<Self, Interfaces...> {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

// A feature renderer of no kind that the control recognises.
class UnknownFeatureRenderer final : public FakeDispatch<UnknownFeatureRenderer, IFeatureRenderer> {
public:
    static com::ComPtr<IFeatureRenderer> make() { return create(); }
    STDMETHODIMP get_Description(BSTR* text) override;
};

// A raster renderer of no kind that the control recognises.
class UnknownRasterRenderer final : public FakeDispatch<UnknownRasterRenderer, IRasterRenderer> {
public:
    static com::ComPtr<IRasterRenderer> make() { return create(); }
    STDMETHODIMP get_Description(BSTR* text) override;
};

// A unique-value renderer with `count` values "v<i>" labelled "label <i>", without symbols;
// asked for the symbol of value `failing`, it fails.
class ManyValuesRenderer final : public FakeDispatch<ManyValuesRenderer, IFeatureRenderer, IUniqueValueRenderer> {
public:
    ManyValuesRenderer(LONG count, LONG failing) : count_(count), failing_(failing) {}
    static com::ComPtr<IFeatureRenderer> make(LONG count, LONG failing = -1) {
        return create(count, failing);
    }
    STDMETHODIMP get_Description(BSTR* text) override;
    STDMETHODIMP get_FieldCount(LONG* n) override;
    STDMETHODIMP put_FieldCount(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Field(LONG index, BSTR* name) override;
    STDMETHODIMP put_Field(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ValueCount(LONG* n) override;
    STDMETHODIMP get_Value(LONG index, BSTR* value) override;
    STDMETHODIMP AddValue(BSTR, BSTR, ISymbol*) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveValue(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Label(BSTR value, BSTR* label) override;
    STDMETHODIMP put_Label(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Symbol(BSTR value, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(BSTR, ISymbol*) override { return E_NOTIMPL; }
    STDMETHODIMP get_DefaultSymbol(ISymbol** s) override;
    STDMETHODIMP putref_DefaultSymbol(ISymbol*) override { return E_NOTIMPL; }

private:
    LONG count_, failing_;
};

// A classified raster renderer with `count` classes, without symbols.
class ManyClassesRasterRenderer final
    : public FakeDispatch<ManyClassesRasterRenderer, IRasterRenderer, IRasterClassifyRenderer> {
public:
    explicit ManyClassesRasterRenderer(LONG count) : count_(count) {}
    static com::ComPtr<IRasterRenderer> make(LONG count) { return create(count); }
    STDMETHODIMP get_Description(BSTR* text) override;
    STDMETHODIMP get_Field(BSTR* name) override;
    STDMETHODIMP put_Field(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ClassCount(LONG* n) override;
    STDMETHODIMP put_ClassCount(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Break(LONG, double*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Break(LONG, double) override { return E_NOTIMPL; }
    STDMETHODIMP get_Label(LONG index, BSTR* label) override;
    STDMETHODIMP put_Label(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Symbol(LONG index, ISymbol** s) override;
    STDMETHODIMP putref_Symbol(LONG, ISymbol*) override { return E_NOTIMPL; }

private:
    LONG count_;
};

}  // namespace test
