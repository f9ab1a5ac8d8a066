// The expanded-state memory (m_aNodeStates): a dynamic array of NodeState records from index 0,
// which may not be allocated yet. Entries are found by item text (binary comparison; the first
// entry with a text serves every item with that text), in constant time: the rebuild looks up
// every group and layer item.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelpy {

struct NodeState {
    std::wstring Text;
    bool Expanded = false;
};

class NodeStates {
public:
    bool allocated() const noexcept { return entries_.has_value(); }
    // A new array with indexes 0 to `upper`, all entries empty and not expanded.
    void Redim(int16_t upper);
    // The highest index; the subscript-out-of-range error when the array is not allocated.
    int16_t UBound() const;
    // Entry i (subscript out of range outside 0 to UBound).
    const NodeState& operator[](int i) const;
    void Set(int i, std::wstring text, bool expanded);
    void SetExpanded(int i, bool expanded);
    // The index of the first entry with this text.
    std::optional<int16_t> Find(std::wstring_view text) const;
    // The expanded state remembered for an item with this text: its first entry's, expanded when
    // none has the text; the subscript error while the array is not allocated.
    bool Remembered(std::wstring_view text) const;
    // The snapshot of a rebuild, as the rebuild makes it item by item: the array is cut to
    // indexes 0 to 1 at the first entry and grows by one new, empty entry for each further one.
    // So entries 0 to n - 1 become `head` (n entries, at least one) and the trailing entry n is
    // the old entry 1 when n is 1 (an empty one if there was none), else a new, empty one: a
    // state from an earlier tree never comes back after the snapshot.
    void ReplaceHead(std::vector<NodeState> head);

private:
    void check(int i) const;
    void reindex();
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::wstring_view s) const noexcept { return std::hash<std::wstring_view>{}(s); }
    };
    std::optional<std::vector<NodeState>> entries_;
    std::unordered_map<std::wstring, int16_t, Hash, std::equal_to<>> first_;
};

}  // namespace kelpy
