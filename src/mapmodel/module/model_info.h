// ModelInfo: facts about the running model, for hosts and leak tests.
#pragma once
#include "com/object.h"
#include "mapmodel/support.h"

namespace mapmodel {

class ModelInfo final : public com::ComObject<ModelInfo, Dispatch<IModelInfo>, com::SupportErrorInfo> {
public:
    // Objects of the model alive now, this one not counted.
    STDMETHODIMP get_LiveObjects(long* n) override;
    // Its own calls are not counted.
    STDMETHODIMP FailCall(long call, long status) override;
    STDMETHODIMP FailCalls(long call, long count, long status) override;
    STDMETHODIMP get_Calls(long* n) override;
    STDMETHODIMP get_FailedCall(BSTR* text) override;
};

}  // namespace mapmodel
