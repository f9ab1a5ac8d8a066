#include "mapmodel/module/model_info.h"
#include "com/boundary.h"

namespace mapmodel {

STDMETHODIMP ModelInfo::get_LiveObjects(long* n) {
    return com::boundary(__uuidof(IModelInfo), [&] { out(n) = long(com::Module::live_objects()) - 1; });
}

STDMETHODIMP ModelInfo::FailCall(long call, long status) {
    return com::boundary(__uuidof(IModelInfo), [&] {
        if (call < 0) com::raise(E_INVALIDARG, L"The call to fail must be 0 or more");
        faults::plan(call, status >= 0 ? E_FAIL : HRESULT(status));
    });
}

STDMETHODIMP ModelInfo::FailCalls(long call, long count, long status) {
    return com::boundary(__uuidof(IModelInfo), [&] {
        if (call < 0) com::raise(E_INVALIDARG, L"The call to fail must be 0 or more");
        if (count < 1) com::raise(E_INVALIDARG, L"The calls to fail must be 1 or more");
        faults::plan(call, status >= 0 ? E_FAIL : HRESULT(status), count);
    });
}

STDMETHODIMP ModelInfo::get_Calls(long* n) {
    return com::boundary(__uuidof(IModelInfo), [&] { out(n) = faults::calls(); });
}

STDMETHODIMP ModelInfo::get_FailedCall(BSTR* text) {
    return com::boundary(__uuidof(IModelInfo), [&] { give_text(text, faults::failed_call()); });
}

}  // namespace mapmodel
