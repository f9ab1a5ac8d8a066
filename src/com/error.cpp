#include "com/error.h"
#include "com/boundary.h"
#include "com/ptr.h"
#include <oleauto.h>
#include <cstdio>

namespace com {

namespace {
std::string to_narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace

ComError::ComError(HRESULT hr, std::wstring source, std::wstring description)
    : hr_(hr), source_(std::move(source)), description_(std::move(description)) {
    if (description_.empty()) description_ = describe(hr);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(hr));
    narrow_ = to_narrow(description_) + " (" + hex + ")";
}

ComError error_of(HRESULT hr) {
    ComPtr<IErrorInfo> info;
    std::wstring source, description;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        BSTR s = nullptr, d = nullptr;
        if (SUCCEEDED(info->GetSource(&s)) && s) source = s;
        if (SUCCEEDED(info->GetDescription(&d)) && d) description = d;
        SysFreeString(s);
        SysFreeString(d);
    }
    return ComError(hr, std::move(source), std::move(description));
}

void check(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    throw error_of(hr);
}

void raise(HRESULT hr, std::wstring description, std::wstring source) {
    throw ComError(hr, std::move(source), std::move(description));
}

std::wstring describe(HRESULT hr) {
    switch (hr) {
    case CTL_E_OVERFLOW: return L"Overflow";
    case CTL_E_TYPEMISMATCH: return L"Type mismatch";
    case CTL_E_SUBSCRIPTOUTOFRANGE: return L"Subscript out of range";
    case CTL_E_OBJECTNOTSET: return L"Object variable not set";
    case CTL_E_KEYNOTUNIQUE: return L"Key is not unique in collection";
    case CTL_E_ELEMENTNOTFOUND: return L"Element not found";
    case CTL_E_INVALIDPROPERTYVALUE: return L"Invalid property value";
    case CTL_E_ILLEGALFUNCTIONCALL: return L"Invalid procedure call or argument";
    default: break;
    }
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::wstring text;
    if (n && buf) {
        text.assign(buf, n);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
            text.pop_back();
    }
    if (buf) LocalFree(buf);
    if (text.empty()) {
        wchar_t hex[32];
        swprintf(hex, 32, L"Error 0x%08lX", static_cast<unsigned long>(hr));
        text = hex;
    }
    return text;
}

HRESULT publish(const ComError& e, REFIID iid) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put())) && create) {
        create->SetGUID(iid);
        create->SetSource(const_cast<LPOLESTR>(e.source().c_str()));
        create->SetDescription(const_cast<LPOLESTR>(e.description().c_str()));
        if (ComPtr<IErrorInfo> info = create.query<IErrorInfo>()) SetErrorInfo(0, info.get());
    }
    return e.hr();
}

ComError current_error() noexcept {
    try {
        throw;
    } catch (const ComError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return ComError(E_OUTOFMEMORY);
    } catch (const std::exception& e) {
        std::wstring d;
        for (const char* p = e.what(); *p; ++p) d += wchar_t(static_cast<unsigned char>(*p));
        return ComError(E_FAIL, L"", d);
    } catch (...) {
        return ComError(E_UNEXPECTED);
    }
}

HRESULT publish_current_exception(REFIID iid) noexcept { return publish(current_error(), iid); }

bool same_object(IUnknown* a, IUnknown* b) noexcept {
    if (a == b) return true;
    if (!a || !b) return false;
    const ComPtr<IUnknown> ua = ComPtr<IUnknown>(a).query<IUnknown>();
    const ComPtr<IUnknown> ub = ComPtr<IUnknown>(b).query<IUnknown>();
    return ua && ua == ub;
}

}  // namespace com
