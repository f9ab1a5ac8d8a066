// The rebuild: the tree is thrown away, the model read again from the map, and the tree filled
// from it.
#include "kelpy/tree/tree_builder.h"
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>
#include <vector>
#include "kelpy/model/items.h"
#include "kelpy/toc/check_images.h"
#include "kelpy/toc/reading.h"
#include "kelpy/tree/legends.h"

namespace kelpy::tree {

namespace {
constexpr wchar_t root_key[] = L"root";
}  // namespace

bool TreeBuilder::Batch::Release() noexcept {
    TreeBuilder* builder = std::exchange(builder_, nullptr);
    if (!builder || --builder->held_ > 0 || !builder->asked_) return false;
    builder->asked_ = false;
    return true;
}

TreeBuilder::Batch::~Batch() {
    TreeBuilder* builder = builder_;
    if (!Release()) return;
    try {
        builder->Rebuild(std::exchange(builder->asked_map_, nullptr));
    } catch (...) {
        // the failure that ended the change is the one to report
    }
}

void TreeBuilder::Batch::End() {
    TreeBuilder* builder = builder_;
    if (Release()) builder->Rebuild(std::exchange(builder->asked_map_, nullptr));
}

void TreeBuilder::Rebuild(const com::ComPtr<IMap>& map) {
    if (held_ > 0) {
        asked_ = true;
        asked_map_ = map;
        return;
    }
    platform::NodeCollection& nodes = tvwTOC.Nodes();
    // 1-3. Hidden while it is built; the native tree lays its items out once, at the end.
    // Every symbol is asked for its boundary once, whatever the number of rows showing it.
    // What the frame shows is noted for the repaint at the end (any paint it waits for is made
    // first).
    Running running(*this);
    tvwTOC.PaintPendingFrame();
    const platform::TreeView::FrameLook frame = tvwTOC.frame_look();
    HideTree(true);
    platform::TreeView::LayoutBatch batch(tvwTOC);
    SwatchMeasurer::Rebuild measuring(measurer_);
    nodes.Clear();
    // 4. Without a map the tree stays empty and hidden.
    if (!map) {
        model_.Clear();
        return;
    }

    // 5-8. The model, read from the map, and the tree filled from it: the rows read before a
    // failure are shown as far as they were read, and the failure is the rebuild's.
    std::exception_ptr failure;
    try {
        toc::Read(map, {options_, m_aNodeStates, measurer_, &AddLegend}, model_);
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        Fill();
    } catch (...) {
        if (!failure) throw;
    }
    if (failure) std::rethrow_exception(failure);

    // 9. The snapshot of the expanded-state memory.
    TakeSnapshot();
    batch.end();

    // 10. The selection: the first item named by the select-name, or the root.
    if (!m_sSelectName.empty()) {
        const int16_t n = nodes.Count();
        for (int k = 1; k <= n; ++k) {
            NodePtr node = nodes.Item(k);
            if (node->Text() != m_sSelectName) continue;
            node->Selected(true);
            node->EnsureVisible();
            break;
        }
    } else {
        nodes.Item(root_key)->Selected(true);
    }

    // 11-13. Shown again, and its items repainted as a whole at its next paint (which hiding and
    // showing the window would also bring about, at the cost of moving it twice). Hiding by the
    // style bit leaves the screen as it was, so the frame (border and scroll bars, whose themed
    // drawing costs as much as the rows) is repainted, at once, only when it shows something
    // else now: the tree was hidden before, or a scroll bar changed.
    HideTree(false);
    tvwTOC.Invalidate(!(tvwTOC.frame_look() == frame));
}

void TreeBuilder::Fill() {
    platform::NodeCollection& nodes = tvwTOC.Nodes();
    const std::vector<toc::Row>& rows = model_.rows();
    // The keys of the rows that have any, while the items are added (a row's parent comes first).
    std::vector<std::wstring> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const toc::Row& row = rows[i];
        const bool child = row.parent >= 0;
        keys[i] = model_.KeyOf(i);
        const wchar_t* image = row.image();
        NodePtr node = nodes.Add({.relative = child ? std::wstring_view(keys[size_t(row.parent)]) : std::wstring_view(),
                                  .relationship = child ? std::optional(platform::Relationship::Child) : std::nullopt,
                                  .key = keys[i],
                                  .text = row.text,
                                  .image = image,
                                  .selected_image = image,
                                  .look = {.bold = row.bold, .expanded = row.expanded_at_add, .rows = row.rows}});
        if (!row.record) continue;
        row.record->Handle = GetNodeHandle(tvwTOC, node);
        node->Tag(row.record);
    }
    // The states that differ from the insertion's: the root's, expanded once all its rows are
    // in, and a layer's whose legend failed.
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].expanded != rows[i].expanded_at_add) nodes.Item(long(i + 1))->Expanded(rows[i].expanded);
}

void TreeBuilder::HideTree(bool bHide) {
    HWND tree = tvwTOC.window();
    LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
    const bool hidden = !(style & WS_VISIBLE);
    if (hidden != bHide) style ^= WS_VISIBLE;
    // The style bit alone keeps the tree from painting, without any show or hide messages.
    SetWindowLongPtrW(tree, GWL_STYLE, style);
}

bool TreeBuilder::GetSavedExpanded(std::wstring_view text) { return m_aNodeStates.Remembered(text); }

// The item's row and the first record of the memory with the item's text take the item's state
// as the tree shows it now; an item whose text has no record changes no record.
void TreeBuilder::RememberExpanded(const NodePtr& node) {
    if (m_bResetting) return;
    if (toc::Row* row = RowOf(*node.get())) row->expanded = node->Expanded();
    m_aNodeStates.UBound();  // the memory must exist
    if (auto i = m_aNodeStates.Find(node->Text())) m_aNodeStates.SetExpanded(*i, node->Expanded());
}

// One entry per item with children, in the order of adding, and the trailing entry as it was.
void TreeBuilder::TakeSnapshot() {
    const platform::NodeCollection& nodes = tvwTOC.Nodes();
    const size_t shown = std::min(model_.size(), nodes.size());
    for (size_t i = 0; i < shown; ++i) model_[i].expanded = nodes.Item(long(i + 1))->Expanded();
    std::vector<NodeState> snapshot = model_.Snapshot();
    if (!snapshot.empty()) m_aNodeStates.ReplaceHead(std::move(snapshot));
}

void TreeBuilder::RenameItem(const NodePtr& node, std::wstring_view text) {
    if (m_sSelectName == node->Text()) m_sSelectName = text;
    node->Text(text);
    if (toc::Row* row = RowOf(*node.get())) row->text = text;
    TakeSnapshot();
}

toc::Row* TreeBuilder::RowOf(const platform::Node& node) noexcept {
    const long position = tvwTOC.Nodes().PositionOf(node);
    return position > 0 && size_t(position) <= model_.size() ? &model_[size_t(position - 1)] : nullptr;
}

void TreeBuilder::FollowVisibility() {
    if (m_bResetting) return;
    toc::CheckImages checks(options_.mixedGroupChecks);
    const platform::NodeCollection& nodes = tvwTOC.Nodes();
    // One reading per layer, and a message only for an item whose image changes.
    const size_t shown = std::min(model_.size(), nodes.size());
    for (size_t i = 0; i < shown; ++i) {
        toc::Row& row = model_[i];
        const ::TOCNodeType type = row.id.type;
        if (!row.record || !row.record->Layer) continue;
        if (type != ::TOCNodeType::Layer && type != ::TOCNodeType::GroupLayer) continue;
        row.check = checks.Of(row.record->Layer.get(), type == ::TOCNodeType::Layer);
        const wchar_t* image = row.image();
        NodePtr node = nodes.Item(long(i + 1));
        if (node->Image() != image) node->Image(image);
        if (node->SelectedImage() != image) node->SelectedImage(image);
    }
}

void TreeBuilder::CreateMemory() {
    m_aNodeStates.Redim(1);
    m_aNodeStates.Set(0, L"", true);
    m_aNodeStates.Set(1, L"", false);
}

}  // namespace kelpy::tree
