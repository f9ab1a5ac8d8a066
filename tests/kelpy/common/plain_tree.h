// PlainTree: the control's tree subsystems without the control, for the tests of tree/ and draw/:
// a top-level test window holding the tree (the tree-view object model, with the item images
// and the tree styles of the run-time start-up), the item painter answering the tree's custom
// draw, and the tree builder with its expanded-state memory, which follows the user's expanding
// and collapsing as the control's does.
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/model/items.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/tree_view.h"
#include "kelpy/tree/tree_builder.h"

namespace test {

class PlainTree final : private kelpy::platform::TreeViewEvents {
public:
    struct Options {
        int width = 300;
        int height = 400;
    };
    PlainTree() : PlainTree(Options{}) {}
    explicit PlainTree(Options options);
    ~PlainTree();
    PlainTree(const PlainTree&) = delete;
    PlainTree& operator=(const PlainTree&) = delete;

    kelpy::platform::TreeView& view() noexcept { return tree_; }
    kelpy::tree::TreeBuilder& builder() noexcept { return builder_; }
    kelpy::draw::ItemPainter& painter() noexcept { return painter_; }
    HWND window() const noexcept { return window_; }
    HWND tree() const noexcept { return tree_.hWnd(); }

    // Builds the tree from this map (an empty, hidden tree for Nothing) and keeps the map;
    // answers the rebuild's status, its failure described in the thread's error info.
    HRESULT initialize(IMap* map);
    // Builds the tree again from the map kept.
    HRESULT reset();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    void Expand(const kelpy::NodePtr& node) override { builder_.RememberExpanded(node); }
    void Collapse(const kelpy::NodePtr& node) override { builder_.RememberExpanded(node); }

    kelpy::platform::ImageList images_;
    kelpy::platform::TreeView tree_;
    kelpy::draw::ItemPainter painter_{tree_};
    kelpy::tree::TreeBuilder builder_{tree_, painter_};
    com::ComPtr<IMap> map_;
    HWND window_ = nullptr;
};

}  // namespace test
