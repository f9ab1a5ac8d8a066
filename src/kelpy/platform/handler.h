// Runs an event handler or callback that Windows calls (window procedures, hooks, timers):
// nothing may escape into Windows, so a failure is stopped here and written to the debugger's
// output, the only place left to report it.
#pragma once
#include <windows.h>
#include <string>
#include "com/boundary.h"
#include "com/error.h"

namespace kelpy::platform {

// An action that ended because the host let go of the control (or removed the item acted on)
// while it heard of an event: no failure, so nothing is reported.
constexpr HRESULT E_ACTION_ABANDONED = MAKE_SCODE(SEVERITY_ERROR, FACILITY_ITF, 0x0A01);

void report_failure(const wchar_t* where, const com::ComError& e) noexcept;
// A failure that a COM call returned, with the error info it left on the thread.
void report_failure(const wchar_t* where, HRESULT hr) noexcept;

template <class F>
HRESULT run_handler(const wchar_t* where, F&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (...) {
        const com::ComError e = com::current_error();
        report_failure(where, e);
        return e.hr();
    }
}

}  // namespace kelpy::platform
