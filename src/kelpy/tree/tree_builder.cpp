// The rebuild: the tree is thrown away and built again from the map.
#include "kelpy/tree/tree_builder.h"
#include <utility>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/model/items.h"

namespace kelpy::tree {

namespace {
constexpr wchar_t root_key[] = L"root";
constexpr wchar_t holder_key[] = L"holder";
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
    if (!map) return;

    // 5. The root, named after the map, bold.
    com::Bstr mapName;
    com::check(map->get_Name(mapName.put()));
    NodePtr root = nodes.Add({.key = root_key, .text = mapName.view(), .image = L"root", .selected_image = L"root",
                              .look = {.bold = true}});
    root->Bold(true);
    root->Tag(NewNodeRecord(root, ::TOCNodeType::Root));

    // 6. The map's layers in their order: group layers with their members, other layers.
    CheckImages checks(options_.mixedGroupChecks);
    LONG count = 0;
    com::check(map->get_LayerCount(&count));
    com::for_int16(count, [&](int16_t i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The map answered Nothing for its layer " + std::to_wstring(i));
        if (layer.query<IGroupLayer>()) AddGroupLayerNode(layer, root_key, L"gl" + std::to_wstring(i), nullptr, checks);
        else AddLayerNode(layer, root_key, nullptr, checks);
    });

    // 7. The holder, the drop place below all layers.
    NodePtr holder = nodes.Add({.key = holder_key});
    holder->Tag(NewNodeRecord(holder, ::TOCNodeType::Holder));

    // 8. The root is always expanded after a rebuild.
    nodes.Item(root_key)->Expanded(true);

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

void TreeBuilder::AddGroupLayerNode(const com::ComPtr<ILayer>& layer, const std::wstring& parentKey,
                                    const std::wstring& key, const com::ComPtr<IGroupLayer>& parentGroup,
                                    CheckImages& checks) {
    // a. The group and its member list are views of the same object.
    auto group = layer.as<IGroupLayer>();
    auto members = layer.as<ISubLayers>();
    // b-d. The group item, with its visibility as its image.
    const wchar_t* image = checks.Of(layer.get(), false);
    com::Bstr name;
    com::check(layer->get_Name(name.put()));
    NodePtr node = tvwTOC.Nodes().Add({.relative = parentKey, .relationship = platform::Relationship::Child, .key = key,
                                       .text = name.view(), .image = image, .selected_image = image,
                                       .look = {.expanded = ExpandedAtAdd(name.view())}});
    // e. The remembered state, set before the members are added; it holds once they are.
    node->Expanded(GetSavedExpanded(node->Text()));
    // f. The record.
    com::ComPtr<TocNode> record = NewNodeRecord(node, ::TOCNodeType::GroupLayer);
    record->Layer = layer;
    record->GroupLayer = parentGroup;
    node->Tag(record);
    // g. The members, whatever their kind, under the group item; a group among them is a group
    // item of its own when nested groups are shown.
    LONG count = 0;
    com::check(members->get_Count(&count));
    com::for_int16(count, [&](int16_t j) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(j, member.put()));
        if (!member)
            com::raise(com::CTL_E_OBJECTNOTSET, L"The group layer " + name.str() +
                                                    L" answered Nothing for its member " + std::to_wstring(j));
        if (options_.showNestedGroups && member.query<IGroupLayer>())
            AddGroupLayerNode(member, key, key + L"." + std::to_wstring(j), group, checks);
        else
            AddLayerNode(member, key, group, checks);
    });
}

void TreeBuilder::HideTree(bool bHide) {
    HWND tree = tvwTOC.window();
    LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
    const bool hidden = !(style & WS_VISIBLE);
    if (hidden != bHide) style ^= WS_VISIBLE;
    // The style bit alone keeps the tree from painting, without any show or hide messages.
    SetWindowLongPtrW(tree, GWL_STYLE, style);
}

bool TreeBuilder::GetSavedExpanded(std::wstring_view text) {
    m_aNodeStates.UBound();  // the memory must exist
    if (auto i = m_aNodeStates.Find(text)) return m_aNodeStates[*i].Expanded;
    return true;
}

// The first record of the memory with the item's text takes the item's state as the tree shows
// it now; an item whose text has no record changes nothing.
void TreeBuilder::RememberExpanded(const NodePtr& node) {
    if (m_bResetting) return;
    m_aNodeStates.UBound();  // the memory must exist
    if (auto i = m_aNodeStates.Find(node->Text())) m_aNodeStates.SetExpanded(*i, node->Expanded());
}

// One entry per item with children, in the order of adding, and the trailing entry as it was.
void TreeBuilder::TakeSnapshot() {
    platform::NodeCollection& nodes = tvwTOC.Nodes();
    std::vector<NodeState> snapshot;
    const int16_t itemCount = nodes.Count();
    for (int k = 1; k <= itemCount; ++k) {
        NodePtr node = nodes.Item(k);
        if (node->Children() > 0) snapshot.push_back({node->Text(), node->Expanded()});
    }
    if (!snapshot.empty()) m_aNodeStates.ReplaceHead(std::move(snapshot));
}

void TreeBuilder::RenameItem(const NodePtr& node, std::wstring_view text) {
    if (m_sSelectName == node->Text()) m_sSelectName = text;
    node->Text(text);
    TakeSnapshot();
}

void TreeBuilder::FollowVisibility() {
    if (m_bResetting) return;
    CheckImages checks(options_.mixedGroupChecks);
    const platform::NodeCollection& nodes = tvwTOC.Nodes();
    // One reading per layer, and a message only for an item whose image changes.
    for (size_t k = 1; k <= nodes.size(); ++k) {
        NodePtr node = nodes.Item(long(k));
        com::ComPtr<TocNode> record = TagOf(node);
        if (!record || !record->Layer) continue;
        const ::TOCNodeType type = record->TOCNodeType;
        if (type != ::TOCNodeType::Layer && type != ::TOCNodeType::GroupLayer) continue;
        const wchar_t* image = checks.Of(record->Layer.get(), type == ::TOCNodeType::Layer);
        if (node->Image() != image) node->Image(image);
        if (node->SelectedImage() != image) node->SelectedImage(image);
    }
}

bool TreeBuilder::ExpandedAtAdd(std::wstring_view text) {
    return m_aNodeStates.allocated() ? GetSavedExpanded(text) : false;
}

com::ComPtr<TocNode> TreeBuilder::NewNodeRecord(const NodePtr& node, ::TOCNodeType type) {
    com::ComPtr<TocNode> record = TocNode::create();
    record->TOCNodeType = type;
    record->Handle = GetNodeHandle(tvwTOC, node);
    return record;
}

void TreeBuilder::CreateMemory() {
    m_aNodeStates.Redim(1);
    m_aNodeStates.Set(0, L"", true);
    m_aNodeStates.Set(1, L"", false);
}

}  // namespace kelpy::tree
