#include "mapmodel/module/model_info.h"
#include "com/boundary.h"

namespace mapmodel {

STDMETHODIMP ModelInfo::get_LiveObjects(long* n) {
    return com::boundary(__uuidof(IModelInfo), [&] { out(n) = long(com::Module::live_objects()) - 1; });
}

}  // namespace mapmodel
