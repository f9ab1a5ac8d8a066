#include "kelpy/tree/legend_rows.h"

namespace kelpy {

platform::NodePtr LegendRows::Add(std::wstring_view text, ::TOCNodeType type, const Fill& fill) {
    platform::NodePtr node =
        nodes_.Add({.relative = layerKey_, .relationship = platform::Relationship::Child, .text = text});
    com::ComPtr<TocNode> record = newRecord_(node, type);
    fill(*record.get());
    node->Tag(record);
    if (record->Symbol) measure_(node);
    return node;
}

}  // namespace kelpy
