// The one error type of the project: an HRESULT with a source and a description. Procedures
// throw it (check, raise); COM boundaries turn it back into an HRESULT plus IErrorInfo.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <olectl.h>
#include <stdexcept>
#include <string>

namespace com {

// Status codes of the Visual Basic runtime family that the control's callers know.
constexpr HRESULT CTL_E_SUBSCRIPTOUTOFRANGE = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 9);
constexpr HRESULT CTL_E_TYPEMISMATCH = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 13);
constexpr HRESULT CTL_E_OBJECTNOTSET = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 91);
constexpr HRESULT CTL_E_KEYNOTUNIQUE = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 35602);
constexpr HRESULT CTL_E_ELEMENTNOTFOUND = MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, 35601);
// An object changed under an operation that had begun on it (the SDK's E_CHANGED_STATE, which
// the MinGW headers lack).
constexpr HRESULT E_CHANGED_STATE = HRESULT(0x8000000CL);

class ComError : public std::exception {
public:
    ComError(HRESULT hr, std::wstring source = {}, std::wstring description = {});
    HRESULT hr() const noexcept { return hr_; }
    const std::wstring& source() const noexcept { return source_; }
    const std::wstring& description() const noexcept { return description_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    HRESULT hr_;
    std::wstring source_, description_;
    std::string narrow_;
};

// The error of a failed HRESULT with the error info that the failing callee left on this
// thread (source and description), if any; the info is taken.
ComError error_of(HRESULT hr);
// Throws error_of(hr) for a failed HRESULT.
void check(HRESULT hr);
[[noreturn]] void raise(HRESULT hr, std::wstring description = {}, std::wstring source = {});

// A readable text for an HRESULT: the description if known, else the system message, else hex.
std::wstring describe(HRESULT hr);

}  // namespace com
