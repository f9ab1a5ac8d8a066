// TreeBuilder: builds the control's tree from the map — it reads the model of the table of
// contents (toc/reading.h: the root named after the map, group and layer rows, legends, the
// holder) and fills the tree with one item per row — and keeps the expanded-state memory that
// carries the user's expanded and collapsed items from one rebuild to the next. Between rebuilds
// it has the check images follow the layers' visibility, and the model follow what changes in
// the tree (a rename, the user's expanding and collapsing). It works on the tree-view object
// model; a swatch measurer (the item painter) measures the legend rows as they are read.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include "com/ptr.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/tree_view.h"
#include "kelpy/toc/node_states.h"
#include "kelpy/toc/toc.h"
#include "kelpy/tree/swatch_measurer.h"

namespace kelpy::tree {

using platform::NodePtr;

class TreeBuilder {
public:
    TreeBuilder(platform::TreeView& tree, SwatchMeasurer& measurer, const Options& options = Options::defaults()) noexcept
        : tvwTOC(tree), measurer_(measurer), options_(options) {}
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;

    // Throws the tree away and builds it again from `map` (an empty, hidden tree without one).
    // While a Batch is held, the rebuild waits for its end.
    void Rebuild(const com::ComPtr<IMap>& map);

    // Holds the rebuilds asked while it lives: a change made of several model calls, each of
    // which may notify, rebuilds the tree once at its end, from the map the last request named.
    // End() rebuilds (a failure of that rebuild goes to the caller); a batch left without End()
    // (a failure ended the change) rebuilds when asked, and what that rebuild meets is dropped:
    // the failure that ended the change is the one to report. Batches nest; the outermost one
    // rebuilds.
    class Batch {
    public:
        explicit Batch(TreeBuilder& builder) noexcept : builder_(&builder) { ++builder.held_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        void End();

    private:
        // Ends the hold; true when this batch is to rebuild now.
        bool Release() noexcept;
        TreeBuilder* builder_;  // null once ended
    };
    // Hides the tree (or shows it again) through its style bit alone, without moving it.
    void HideTree(bool bHide);
    // The expanded state remembered for an item with this text (expanded when none is); the
    // subscript error while the memory does not exist.
    bool GetSavedExpanded(std::wstring_view text);
    // Creates the memory with its two empty entries (the control's first start does).
    void CreateMemory();

    // What the interaction tells the builder between rebuilds: the text of the item that the
    // next rebuild selects (the root when empty), and an item the user expanded or collapsed,
    // whose state the memory takes (nothing while a rebuild sets the states itself).
    void SelectAfterRebuild(std::wstring_view name) { m_sSelectName = name; }
    void RememberExpanded(const NodePtr& node);
    // An item's text changes between rebuilds (a layer renamed in place). The memory is taken
    // from the tree again, as a rebuild takes it, so that the item keeps its expanded state under
    // its new text; a select-name that named the item names it still.
    void RenameItem(const NodePtr& node, std::wstring_view text);
    // Gives every layer and group item the check image its layer calls for now (check_images.h),
    // changing only the items whose image differs: after the user or the host changed the
    // visibility of layers, which no map notification reports. Nothing while a rebuild runs.
    void FollowVisibility();

    // True from the start of a rebuild to its end, whichever way it ends: the tree's expand and
    // collapse events change no memory then. The guard holds the flag for as long as it lives.
    class Running {
    public:
        explicit Running(TreeBuilder& builder) noexcept : flag_(builder.m_bResetting) { flag_ = true; }
        ~Running() { flag_ = false; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        bool& flag_;
    };
    bool resetting() const noexcept { return m_bResetting; }

    // The expanded-state memory (tools and tests read and seed it).
    NodeStates& states() noexcept { return m_aNodeStates; }
    // The model the tree shows: row i is the tree's item i + 1, in the order of adding.
    const toc::Toc& model() const noexcept { return model_; }

private:
    // One item per row of the model, in its order, each with its record (which gets the item's
    // handle), and then the expanded state of each row whose state differs from its insertion's.
    void Fill();
    // The row an item of the tree shows; none for an item that is not the tree's.
    toc::Row* RowOf(const platform::Node& node) noexcept;
    // The model takes the expanded states the items show (the user's expanding and collapsing
    // reaches only them), and the memory its snapshot.
    void TakeSnapshot();

    platform::TreeView& tvwTOC;
    SwatchMeasurer& measurer_;
    const Options& options_;
    bool m_bResetting = false;
    int held_ = 0;               // batches alive
    bool asked_ = false;         // a rebuild was asked while they held
    com::ComPtr<IMap> asked_map_;
    std::wstring m_sSelectName;
    NodeStates m_aNodeStates;
    toc::Toc model_;
};

}  // namespace kelpy::tree
