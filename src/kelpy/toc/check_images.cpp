#include "kelpy/toc/check_images.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/model/members.h"

namespace kelpy::toc {

namespace {
bool visible(ILayer* layer) {
    VARIANT_BOOL v = VARIANT_FALSE;
    com::check(layer->get_Visible(&v));
    return com::is_true(v);
}
}  // namespace

const wchar_t* ImageOf(Check check) noexcept {
    switch (check) {
    case Check::None: break;
    case Check::Checked: return L"checked";
    case Check::Unchecked: return L"unchecked";
    case Check::Mixed: return L"mixed";
    case Check::Disconnected: return L"disconnected";
    }
    return L"";
}

Check CheckImages::Of(ILayer* layer, bool layerRow) {
    if (layerRow) {
        VARIANT_BOOL valid = VARIANT_FALSE;
        com::check(layer->get_Valid(&valid));
        if (!com::is_true(valid)) return Check::Disconnected;
    }
    if (!visible(layer)) return Check::Unchecked;
    if (mixed_ && !AllVisibleBelow(layer)) return Check::Mixed;
    return Check::Checked;
}

bool CheckImages::AllVisibleBelow(ILayer* layer) {
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!members) return true;
    com::ComPtr<IUnknown> identity = members.as<IUnknown>();
    if (auto it = below_.find(identity.get()); it != below_.end()) return it->second.all_visible;
    bool all = true;
    for (const auto& member : MembersOf(layer)) {
        all = visible(member.get()) && AllVisibleBelow(member.get());
        if (!all) break;
    }
    IUnknown* key = identity.get();
    below_.emplace(key, Found{std::move(identity), all});
    return all;
}

}  // namespace kelpy::toc
