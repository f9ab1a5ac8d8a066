#include "kelpy/model/members.h"
#include <algorithm>
#include <string>
#include "com/error.h"

namespace kelpy {

std::vector<com::ComPtr<ILayer>> MembersOf(ILayer* layer) {
    std::vector<com::ComPtr<ILayer>> out;
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!members) return out;
    LONG count = 0;
    com::check(members->get_Count(&count));
    out.reserve(size_t(std::max<LONG>(count, 0)));
    for (LONG i = 0; i < count; ++i) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(i, member.put()));
        if (!member)
            com::raise(com::CTL_E_OBJECTNOTSET, L"A group layer answered Nothing for its member " + std::to_wstring(i));
        out.push_back(std::move(member));
    }
    return out;
}

}  // namespace kelpy
