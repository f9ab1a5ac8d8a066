// Variant: the owner of one VARIANT.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string_view>
#include "com/error.h"

namespace com {

class Variant {
public:
    Variant() noexcept { VariantInit(&v_); }
    Variant(const Variant& o) : Variant() { check(VariantCopy(&v_, const_cast<VARIANT*>(&o.v_))); }
    Variant(const VARIANT& o) : Variant() { check(VariantCopy(&v_, const_cast<VARIANT*>(&o))); }
    Variant(Variant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    ~Variant() { VariantClear(&v_); }
    Variant& operator=(Variant o) noexcept { std::swap(v_, o.v_); return *this; }

    static Variant from_long(LONG value) noexcept { Variant r; r.v_.vt = VT_I4; r.v_.lVal = value; return r; }
    static Variant from_bool(bool value) noexcept { Variant r; r.v_.vt = VT_BOOL; r.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; return r; }
    static Variant from_double(double value) noexcept { Variant r; r.v_.vt = VT_R8; r.v_.dblVal = value; return r; }
    static Variant from_string(std::wstring_view s);
    // Holds a new reference to the object (VT_DISPATCH when it has IDispatch, else VT_UNKNOWN).
    static Variant from_object(IUnknown* p) noexcept;

    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }
    VARIANT* put() noexcept { VariantClear(&v_); return &v_; }
    VARTYPE type() const noexcept { return v_.vt; }
    // Moves the content out (for [out] parameters).
    void detach_to(VARIANT* out) noexcept { *out = v_; VariantInit(&v_); }

    // Conversions in the automation sense; a failed conversion is an error (type mismatch).
    LONG to_long() const;
    double to_double() const;
    bool to_bool() const;
    std::wstring to_string() const;

private:
    VARIANT v_;
};

}  // namespace com
