#include "com/bstr.h"
#include "com/error.h"

namespace com {

Bstr::Bstr(std::wstring_view s) : b_(alloc_bstr(s)) {}
Bstr::Bstr(const Bstr& o) : b_(o.b_ ? alloc_bstr(o.view()) : nullptr) {}

BSTR Bstr::copy() const { return alloc_bstr(view()); }

BSTR alloc_bstr(std::wstring_view s) {
    BSTR b = SysAllocStringLen(s.data(), UINT(s.size()));
    if (!b) raise(E_OUTOFMEMORY);
    return b;
}

std::wstring_view view(BSTR b) noexcept { return {b ? b : L"", b ? SysStringLen(b) : 0}; }

std::wstring widen(std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

static std::string convert(UINT cp, std::wstring_view w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(cp, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string narrow(std::wstring_view w) { return convert(CP_UTF8, w); }
std::string to_ansi(std::wstring_view w) { return convert(CP_ACP, w); }

}  // namespace com
