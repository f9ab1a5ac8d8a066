// AddLayerNode: one layer's item, with its visibility image and its legend.
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/tree/legend_rows.h"
#include "kelpy/tree/legends.h"
#include "kelpy/tree/tree_builder.h"
#include "kelpy/platform/random.h"

namespace kelpy::tree {

void TreeBuilder::AddLayerNode(const com::ComPtr<ILayer>& layer, const std::wstring& parentKey,
                               const com::ComPtr<IGroupLayer>& groupLayer, CheckImages& checks) {
    if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"There is no layer to add");
    // 1. The image: "disconnected" for a layer that is not valid, else its visibility.
    const wchar_t* image = checks.Of(layer.get(), true);
    // 2-4. A new random key, the name, and the item as the parent's last child. The item gets
    // the expanded state of step 7 right away, which spares the tree one message per item.
    const std::wstring key = NewLayerKey();
    com::Bstr name;
    com::check(layer->get_Name(name.put()));
    const bool expanded = ExpandedAtAdd(name.view());
    NodePtr node = tvwTOC.Nodes().Add({.relative = parentKey, .relationship = platform::Relationship::Child,
                                       .key = key, .text = name.view(), .image = image, .selected_image = image,
                                       .look = {.expanded = expanded}});
    // 5. The record.
    com::ComPtr<TocNode> record = NewNodeRecord(node, ::TOCNodeType::Layer);
    record->Layer = layer;
    record->GroupLayer = groupLayer;
    node->Tag(record);
    // 6. The legend of the layer's kind; other kinds of layers have none.
    try {
        LegendRowInserter rows(tvwTOC, key, measurer_);
        AddLegend(layer, *record.get(), rows);
    } catch (...) {
        // A failed legend ends the procedure before step 7, so the item keeps no state of it.
        if (expanded) {
            try {
                node->Expanded(false);
            } catch (...) {
                // the legend's error is the one to report
            }
        }
        throw;
    }
    // 7. The remembered expanded state (already given at step 4, unless the memory is missing,
    // in which case this is where the rebuild fails).
    node->Expanded(GetSavedExpanded(node->Text()));
}

std::wstring TreeBuilder::NewLayerKey() {
    for (;;) {
        const double draw = double(platform::Rnd()) * 1000000.0 + 1.0;
        std::wstring key = L"l" + std::to_wstring(com::round_half_even(draw));
        if (!tvwTOC.Nodes().Contains(key)) return key;
    }
}

}  // namespace kelpy::tree
