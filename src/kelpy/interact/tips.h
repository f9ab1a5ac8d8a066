// ItemTips: the tips of the tree's items (tips.cpp).
#pragma once
#include <string>
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_view.h"

namespace kelpy::interact {

class ItemTips {
public:
    ItemTips(const platform::TreeView& tree, const Options& options) noexcept : tree_(tree), options_(options) {}
    std::wstring TipText(const platform::NodePtr& node) const;

private:
    bool LabelCutOff(const platform::NodePtr& node, const TocNode& record) const;

    const platform::TreeView& tree_;
    const Options& options_;
};

}  // namespace kelpy::interact
