// Renaming a layer in place, while the host allows it (AllowRename): F2 on the selected layer or
// group item, or a second click on its label, opens the tree's own label edit; the root, the
// holder and legend rows are never edited. Enter confirms; Escape or a click elsewhere ends the
// edit and writes nothing (platform/label_edit.h). A confirmed name that is empty or only blanks
// is refused. Otherwise the host hears of it first (OnLayerRenaming: it may change the name or
// cancel), then the name goes to the layer, and the item shows the name the layer reports after
// that. A layer that refuses the name keeps its old one, and so does the item; the failure is
// reported as every failure of the tree's events is.
#include <cwctype>
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/interact/rename.h"
#include "kelpy/model/items.h"
#include "kelpy/tree/tree_builder.h"

namespace kelpy::interact {

namespace {
bool renamable(const TocNode& record) noexcept {
    const ::TOCNodeType type = record.TOCNodeType;
    return (type == ::TOCNodeType::Layer || type == ::TOCNodeType::GroupLayer) && record.Layer;
}

bool blank(std::wstring_view name) noexcept {
    for (wchar_t c : name)
        if (!std::iswspace(c)) return false;
    return true;
}
}  // namespace

bool LayerRename::RenameSelected() {
    platform::NodePtr node = tree_.Nodes().FromHandle(tree_.caret());
    if (!node) return false;
    com::ComPtr<TocNode> record = TagOf(node);
    if (!record || !renamable(*record.get())) return false;
    return tree_.StartLabelEdit(node);
}

// Only the selected item is edited (a second click edits the item that is selected already), and
// never while a drag runs.
void LayerRename::BeforeLabelEdit(const platform::NodePtr& node, bool& cancel, bool dragging) {
    com::ComPtr<TocNode> record = TagOf(node);
    cancel = !options_.allowRename || dragging || !record || !renamable(*record.get()) ||
             node->handle() != tree_.caret();
}

void LayerRename::AfterLabelEdit(const platform::NodePtr& node, std::wstring_view text) {
    ReportFailure(events_, L"rename", [&] { RenameLayer(node, text); });
}

void LayerRename::RenameLayer(const platform::NodePtr& node, std::wstring_view text) {
    com::ComPtr<TocNode> record = RecordOf(node);
    if (!renamable(*record.get())) return;
    com::ComPtr<ILayer> layer = record->Layer;
    // 1. A blank name is refused before anyone hears of it.
    std::wstring name(text);
    if (blank(name)) return;
    // 2. The host may change the name, or cancel; a blank name it leaves is refused too.
    bool cancel = false;
    com::ComPtr<ILayer> offered = layer;  // what the host stores here is not used
    events_.RaiseOnLayerRenaming(offered, name, cancel);
    if (cancel || blank(name)) return;
    // 3. The layer takes the name (or fails, and keeps its own), and is the one acted on.
    com::check(layer->put_Name(com::Bstr(name).get()));
    selected_ = layer;
    // 4. The item shows what the layer reports now. A host that rebuilt the tree while it was
    // asked has items that show the old name: the tree is built again.
    com::Bstr now;
    com::check(layer->get_Name(now.put()));
    if (node->removed()) {
        builder_.Rebuild(map_);
        return;
    }
    builder_.RenameItem(node, now.view());
}

}  // namespace kelpy::interact
