#include "kelpy/common/debug_output.h"
#include <utility>
#include "com/bstr.h"

namespace test {

namespace {
std::wstring text;
bool wide_seen = false;
}  // namespace

DebugOutput::DebugOutput() { handler_ = AddVectoredExceptionHandler(1, &DebugOutput::seen); }
DebugOutput::~DebugOutput() { RemoveVectoredExceptionHandler(handler_); }

std::wstring DebugOutput::take() { return std::exchange(text, std::wstring()); }

LONG CALLBACK DebugOutput::seen(EXCEPTION_POINTERS* e) {
    const EXCEPTION_RECORD& r = *e->ExceptionRecord;
    constexpr DWORD kPrint = 0x40010006, kPrintWide = 0x4001000A;
    if (r.NumberParameters >= 2 && r.ExceptionInformation[1]) {
        const size_t length = size_t(r.ExceptionInformation[0]);
        if (r.ExceptionCode == kPrintWide) {
            text.append(reinterpret_cast<const wchar_t*>(r.ExceptionInformation[1]), length ? length - 1 : 0);
            wide_seen = true;
        } else if (r.ExceptionCode == kPrint && !wide_seen) {
            // Text that came as wide text is passed on again as narrow text: taken once.
            const char* narrow = reinterpret_cast<const char*>(r.ExceptionInformation[1]);
            text.append(com::widen(std::string(narrow, length ? length - 1 : 0)));
        } else if (r.ExceptionCode == kPrint) {
            wide_seen = false;
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace test
