// LayerRename: renaming a layer in place (rename.cpp).
#pragma once
#include <string_view>
#include "com/ptr.h"
#include "kelpy/interact/events.h"
#include "kelpy/model/options.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::tree {
class TreeBuilder;
}

namespace kelpy::interact {

class LayerRename {
public:
    LayerRename(platform::TreeView& tree, tree::TreeBuilder& builder, const com::ComPtr<IMap>& map,
                com::ComPtr<ILayer>& selectedLayer, Events& events, const Options& options) noexcept
        : tree_(tree), builder_(builder), map_(map), selected_(selectedLayer), events_(events), options_(options) {}

    // F2: edits the selected layer's name; true when the edit started.
    bool RenameSelected();
    // The tree asks before an edit starts (`dragging`: a drag runs), and hands over its text.
    void BeforeLabelEdit(const platform::NodePtr& node, bool& cancel, bool dragging);
    void AfterLabelEdit(const platform::NodePtr& node, std::wstring_view text);

private:
    void RenameLayer(const platform::NodePtr& node, std::wstring_view text);

    platform::TreeView& tree_;
    tree::TreeBuilder& builder_;
    const com::ComPtr<IMap>& map_;
    com::ComPtr<ILayer>& selected_;
    Events& events_;
    const Options& options_;
};

}  // namespace kelpy::interact
