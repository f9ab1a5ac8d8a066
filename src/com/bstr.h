// Bstr: the owner of one BSTR.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include <string_view>
#include <utility>

namespace com {

class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(std::wstring_view s);
    explicit Bstr(const wchar_t* s) : Bstr(std::wstring_view(s ? s : L"")) {}
    Bstr(const Bstr& o);
    Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr& operator=(Bstr o) noexcept { std::swap(b_, o.b_); return *this; }

    static Bstr attach(BSTR b) noexcept { Bstr r; r.b_ = b; return r; }
    BSTR detach() noexcept { return std::exchange(b_, nullptr); }
    // Another copy for an [out] parameter.
    BSTR copy() const;
    BSTR get() const noexcept { return b_; }
    BSTR* put() noexcept { SysFreeString(b_); b_ = nullptr; return &b_; }
    // The string itself for an [in, out] parameter: the callee may free it and store another.
    BSTR* inout() noexcept { return &b_; }

    size_t length() const noexcept { return b_ ? SysStringLen(b_) : 0; }
    bool empty() const noexcept { return length() == 0; }
    std::wstring_view view() const noexcept { return {b_ ? b_ : L"", length()}; }
    std::wstring str() const { return std::wstring(view()); }

private:
    BSTR b_ = nullptr;
};

// A new BSTR (for [out] parameters) from a string; throws E_OUTOFMEMORY.
BSTR alloc_bstr(std::wstring_view s);
std::wstring_view view(BSTR b) noexcept;

// UTF-8 and ANSI conversions used at the edges (documents, GDI's ANSI text).
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view w);
std::string to_ansi(std::wstring_view w);

}  // namespace com
