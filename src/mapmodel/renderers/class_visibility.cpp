#include "mapmodel/renderers/class_visibility.h"

namespace mapmodel {

void check_class(long index, long count) {
    if (index >= 0 && index < count) return;
    const std::wstring range = count == 0 ? L"the renderer has no classes"
                               : count == 1 ? L"the renderer has one class, 0"
                                            : L"the renderer's classes are 0 to " + std::to_wstring(count - 1);
    com::raise(E_INVALIDARG, L"Class " + std::to_wstring(index) + L" is out of range: " + range);
}

}  // namespace mapmodel
