#include "tree_text.h"

namespace snapshot {

const wchar_t* node_type_name(::TOCNodeType type) {
    switch (type) {
    case ::TOCNodeType::Root: return L"Root";
    case ::TOCNodeType::Layer: return L"Layer";
    case ::TOCNodeType::LayerSymbol: return L"LayerSymbol";
    case ::TOCNodeType::GroupLayer: return L"GroupLayer";
    case ::TOCNodeType::RendererName: return L"RendererName";
    case ::TOCNodeType::RendererItem: return L"RendererItem";
    case ::TOCNodeType::Holder: return L"Holder";
    }
    return L"?";
}

std::wstring tree_text(const std::vector<kelpy::Toc::ItemDescription>& items) {
    std::wstring out;
    for (const auto& item : items) {
        out.append(size_t(item.depth) * 2, L' ');
        out += item.text.empty() ? L"(no text)" : item.text;
        out += L"  [key " + (item.key.empty() ? std::wstring(L"-") : item.key);
        out += L", image " + (item.image.empty() ? std::wstring(L"-") : item.image);
        out += L", ";
        out += item.hasRecord ? node_type_name(item.type) : L"no record";
        out += item.expanded ? L", expanded]\n" : L", collapsed]\n";
    }
    return out;
}

}  // namespace snapshot
