// ComPtr: the owner of one counted COM reference.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <type_traits>
#include <utility>
#include "com/error.h"

namespace com {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference to p.
    ComPtr(T* p) noexcept : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& o) noexcept : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    // An owner of a class that derives from T: a new reference, or the one it held.
    template <class U>
        requires(!std::is_same_v<U, T> && std::is_convertible_v<U*, T*>)
    ComPtr(const ComPtr<U>& o) noexcept : ComPtr(static_cast<T*>(o.get())) {}
    template <class U>
        requires(!std::is_same_v<U, T> && std::is_convertible_v<U*, T*>)
    ComPtr(ComPtr<U>&& o) noexcept : p_(o.detach()) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& o) noexcept { ComPtr(o).swap(*this); return *this; }
    ComPtr& operator=(ComPtr&& o) noexcept { ComPtr(std::move(o)).swap(*this); return *this; }
    ComPtr& operator=(T* p) noexcept { ComPtr(p).swap(*this); return *this; }
    ComPtr& operator=(std::nullptr_t) noexcept { reset(); return *this; }

    // Adopts a reference that the caller already owns.
    static ComPtr attach(T* p) noexcept { ComPtr r; r.p_ = p; return r; }
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    void reset() noexcept { if (T* p = std::exchange(p_, nullptr)) p->Release(); }
    void swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** put() noexcept { reset(); return &p_; }
    // For in-out parameters (a by-reference argument): the slot with what it holds; the callee
    // may release that reference and store another one, which this owner then holds.
    T** inout() noexcept { return &p_; }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    // Another interface of the same object, or empty when it lacks it.
    template <class U>
    ComPtr<U> query() const noexcept {
        ComPtr<U> r;
        if (p_) p_->QueryInterface(__uuidof(U), r.put_void());
        return r;
    }
    // Another interface of the same object; an error when it lacks it, and the "Object
    // variable not set" error (91) when there is no object.
    template <class U>
    ComPtr<U> as() const {
        if (!p_) raise(CTL_E_OBJECTNOTSET);
        ComPtr<U> r;
        check(p_->QueryInterface(__uuidof(U), r.put_void()));
        if (!r) raise(CTL_E_OBJECTNOTSET);
        return r;
    }
    // Creates an in-process object of a registered class.
    static ComPtr create(REFCLSID clsid) {
        ComPtr r;
        check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(T), r.put_void()));
        if (!r) raise(CTL_E_OBJECTNOTSET, L"The class made no object");
        return r;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }

private:
    T* p_ = nullptr;
};

// True when a and b are the same COM object (identity through IUnknown).
bool same_object(IUnknown* a, IUnknown* b) noexcept;

}  // namespace com
