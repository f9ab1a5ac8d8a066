// Small helpers shared by the model's COM methods: results into [out] parameters, checks of
// arguments with clear errors, and creation of our own objects.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include "com/boundary.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"
#include "com/vbnum.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

// The model's calls on this thread: each method counts itself on entry, and call `fail_at`
// (counted from 1; 0: none) and the `count - 1` after it fail before they do anything, with the
// status `status`. ModelInfo sets it, so that a client can be tried with any model call failing.
namespace faults {
void plan(long fail_at, HRESULT status, long count = 1) noexcept;
long calls() noexcept;
// "Map model call N (interface)" once the failing call has been made, "" before.
const std::wstring& failed_call() noexcept;
void on_call(REFIID iid);  // raises when this call (of the interface iid) is the one to fail
}  // namespace faults

// Every method of the model runs its body here: the call is counted (and may fail on purpose),
// and an exception becomes the call's HRESULT and error info.
template <class F>
HRESULT boundary(REFIID iid, F&& body) noexcept {
    return com::boundary(iid, [&] {
        faults::on_call(iid);
        body();
    });
}

// The slot of an [out] parameter; a null pointer is an error.
template <class T>
T& out(T* p) {
    if (!p) com::raise(E_POINTER, L"A result pointer is null");
    return *p;
}

// Hands out a new reference (or Nothing) through an [out, retval] object parameter.
template <class I, class P>
void give(I** slot, const P& object) {
    I*& o = out(slot);
    o = nullptr;
    if (object) {
        com::ComPtr<I> typed = object.template as<I>();
        o = typed.detach();
    }
}

inline void give_text(BSTR* slot, std::wstring_view text) {
    BSTR& o = out(slot);
    o = nullptr;
    o = com::alloc_bstr(text);
}

inline void give_bool(VARIANT_BOOL* slot, bool v) { out(slot) = com::vb(v); }

// An argument that must not be Nothing.
template <class I>
I* required(I* p, std::wstring_view what) {
    if (!p) com::raise(E_POINTER, std::wstring(what) + L" is Nothing");
    return p;
}

// A position in [0, count); raises E_INVALIDARG naming the collection otherwise.
void check_index(long index, size_t count, std::wstring_view what);
// A count that a collection can take: 0 .. limit.
void check_count(long count, long limit, std::wstring_view what);
// A real number that is finite.
double finite(double v, std::wstring_view what);
// A text as an error message quotes it: in quotation marks, and a long one cut short (the
// message says how long it was), so that a huge value cannot make a huge message.
std::wstring in_quotes(std::wstring_view text);

// A value of an enumeration that must be one of `members`; raises E_INVALIDARG otherwise, naming
// the value as `what` (L"line style").
template <class E>
E one_of(E v, std::initializer_list<E> members, std::wstring_view what) {
    for (E m : members)
        if (m == v) return v;
    com::raise(E_INVALIDARG, L"Unknown " + std::wstring(what) + L" " + std::to_wstring(long(v)));
}

// Whether `whole` is `part` or holds it at any depth of composites: a composite answers Parts,
// through which `count` and `item` list what it holds.
template <class Parts, class I>
bool holds(I* whole, IUnknown* part, HRESULT (STDMETHODCALLTYPE Parts::*count)(long*),
           HRESULT (STDMETHODCALLTYPE Parts::*item)(long, I**)) {
    if (com::same_object(whole, part)) return true;
    auto parts = com::ComPtr<I>(whole).template query<Parts>();
    if (!parts) return false;
    long n = 0;
    com::check((parts.get()->*count)(&n));
    for (long i = 0; i < n; ++i) {
        com::ComPtr<I> p;
        com::check((parts.get()->*item)(i, p.put()));
        if (p && holds(p.get(), part, count, item)) return true;
    }
    return false;
}

// A deep copy of an object through ICloneable, as the interface I; Nothing stays Nothing.
template <class I>
com::ComPtr<I> clone_of(I* object) {
    if (!object) return nullptr;
    com::ComPtr<ICloneable> source = com::ComPtr<I>(object).template as<ICloneable>();
    com::ComPtr<ICloneable> copy;
    com::check(source->Clone(copy.put()));
    return copy.template as<I>();
}

}  // namespace mapmodel
