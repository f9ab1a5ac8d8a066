// The edge between our C++ and COM/Windows callers: runs a body, turns every exception into an
// HRESULT and, for COM methods, into an IErrorInfo on the thread. Nothing escapes.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <new>
#include <exception>
#include "com/error.h"

namespace com {

// Publishes e as the thread's error info (source, description, interface).
HRESULT publish(const ComError& e, REFIID iid) noexcept;
// The exception being handled (call it inside a catch block) as a ComError: another exception
// type becomes E_OUTOFMEMORY, E_FAIL with its text, or E_UNEXPECTED.
ComError current_error() noexcept;
HRESULT publish_current_exception(REFIID iid) noexcept;

// Runs body(); on success clears the thread's error info and answers S_OK.
template <class F>
HRESULT boundary(REFIID iid, F&& body) noexcept {
    try {
        body();
        SetErrorInfo(0, nullptr);
        return S_OK;
    } catch (...) {
        return publish_current_exception(iid);
    }
}

// For window procedures and callbacks: runs body() and reports whether it failed.
template <class F>
HRESULT guarded(F&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        return publish_current_exception(GUID_NULL);
    }
}

}  // namespace com
