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

STDMETHODIMP ModelInfo::get_Calls(long* n) {
    return com::boundary(__uuidof(IModelInfo), [&] { out(n) = faults::calls(); });
}

STDMETHODIMP ModelInfo::get_FailedCall(BSTR* text) {
    return com::boundary(__uuidof(IModelInfo), [&] { give_text(text, faults::failed_call()); });
}

}  // namespace mapmodel
