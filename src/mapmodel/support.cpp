#include "mapmodel/support.h"
#include "com/dispatch.h"
#include "mapmodel/revision.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

namespace faults {
namespace {
struct Plan {
    long calls = 0;
    long fail_at = 0;
    HRESULT status = E_FAIL;
    long count = 1;
    std::wstring failed;  // what the first failing call was, once it has been made
};
thread_local Plan plan_;
}  // namespace

void plan(long fail_at, HRESULT status, long count) noexcept {
    plan_ = Plan{0, fail_at, status, count, {}};
}

long calls() noexcept { return plan_.calls; }

const std::wstring& failed_call() noexcept { return plan_.failed; }

void on_call(REFIID iid) {
    ++plan_.calls;
    if (plan_.fail_at <= 0 || plan_.calls < plan_.fail_at || plan_.calls - plan_.fail_at >= plan_.count) return;
    // The message names the interface, so that a client's tester can tell which call it was.
    std::wstring name = L"a method";
    try {
        com::ComPtr<ITypeInfo> info = com::type_info(MapModelLib::libid(), MapModelLib::major, MapModelLib::minor, iid);
        com::Bstr text;
        if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, text.put(), nullptr, nullptr, nullptr)))
            name = std::wstring(text.view());
    } catch (const com::ComError&) {
    }
    const std::wstring call = L"Map model call " + std::to_wstring(plan_.calls) + L" (" + name + L")";
    if (plan_.failed.empty()) plan_.failed = call;
    com::raise(plan_.status, call + L" failed on purpose");
}
}  // namespace faults

void check_index(long index, size_t count, std::wstring_view what) {
    if (index < 0 || size_t(index) >= count) {
        com::raise(E_INVALIDARG, L"Index " + std::to_wstring(index) + L" is out of range: " + std::wstring(what) +
                                     L" has " + std::to_wstring(count) + (count == 1 ? L" entry" : L" entries"));
    }
}

void check_count(long count, long limit, std::wstring_view what) {
    if (count < 0 || count > limit) {
        com::raise(E_INVALIDARG, L"The number of " + std::wstring(what) + L" must be between 0 and " +
                                     std::to_wstring(limit) + L", not " + std::to_wstring(count));
    }
}

double finite(double v, std::wstring_view what) {
    if (!std::isfinite(v)) com::raise(E_INVALIDARG, std::wstring(what) + L" must be a finite number");
    return v;
}

std::wstring in_quotes(std::wstring_view text) {
    constexpr size_t kShown = 60;
    if (text.size() <= kShown) return L"\"" + std::wstring(text) + L"\"";
    size_t cut = kShown;
    if (IS_HIGH_SURROGATE(text[cut - 1])) --cut;  // never half a character
    return L"\"" + std::wstring(text.substr(0, cut)) + L"...\" (" + std::to_wstring(text.size()) + L" characters)";
}

ULONGLONG next_revision() noexcept {
    static volatile LONG64 last = 0;
    return ULONGLONG(InterlockedIncrement64(&last));
}

ULONGLONG revision_of(IUnknown* object) noexcept {
    IRevision* r = nullptr;
    if (!object || FAILED(object->QueryInterface(__uuidof(IRevision), reinterpret_cast<void**>(&r))) || !r) return 0;
    ULONGLONG v = r->Revision();
    r->Release();
    return v;
}

}  // namespace mapmodel
