// The model of the table of contents: the rows the control shows for a map, in the tree's order
// (each row before its children, children in order), with no window. A row is what one tree item
// shows (text, image, bold, check, expanded state, height) and the record the item carries, and
// it has an identity that holds from one reading of the map to the next: the tree window is
// filled from the rows, and two models tell what changed between them (toc_changes.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/toc/check_images.h"
#include "kelpy/toc/node_states.h"

namespace kelpy::toc {

// What tells a class apart from its renderer's other classes: its value (unique values), its
// break (class breaks, classified rasters) or its value text (raster unique values); nothing for
// a row that names no class (a heading, the simple renderer's one symbol, a composite's band).
using ClassKey = std::variant<std::monostate, std::wstring, double>;
// Equal keys; breaks compare by their bits, so that every key equals itself.
bool SameKey(const ClassKey& a, const ClassKey& b) noexcept;
size_t HashOf(const ClassKey& key) noexcept;

// The identity of a row. The root and the holder are one each. A group or layer row is its
// layer's COM identity and its place among the rows of the same type and identity before it (a
// layer object the map shows twice has two rows). A legend row is its layer row's identity, its
// type and its class's key, and its place among the rows of that legend with the same type and
// key before it; not its position in the legend, so a class keeps its identity when classes are
// added before it.
struct RowId {
    com::ComPtr<IUnknown> layer = {};  // the identity of the row's layer (a legend row's: its layer's)
    ClassKey key = {};            // a legend row's class
    ::TOCNodeType type = ::TOCNodeType::Root;
    uint32_t place = 0;           // among rows of the same type and layer; a legend row: its layer row's
    uint32_t key_place = 0;       // a legend row: among the rows of its legend of the same type and key

    friend bool operator==(const RowId& a, const RowId& b) noexcept {
        return a.type == b.type && a.layer.get() == b.layer.get() && a.place == b.place && a.key_place == b.key_place &&
               SameKey(a.key, b.key);
    }
};
struct RowIdHash {
    size_t operator()(const RowId& id) const noexcept;
};

struct Row {
    RowId id = {};
    std::wstring key = {};       // the item's key in the tree: "root", "holder", "gl<i>[.<j>...]" for a
                                 // group, "l<digits>" for a layer; none for a legend row
    std::wstring text = {};
    // The record its item carries (its layer, group layer, class and measures); none for a row
    // whose fields could not be read when reading the map failed.
    com::ComPtr<TocNode> record = {};
    const wchar_t* image = L"";  // the key of its image (and selected image) in the tree's image list
    int32_t parent = -1;         // the parent row's index; -1 at the top level
    uint32_t children = 0;       // how many rows have this one as their parent
    int32_t rows = 1;            // the height in standard rows
    Check check = Check::None;   // a group or layer row's check (its image)
    bool bold = false;
    bool expanded_at_add = false;  // the expanded state the item gets with its insertion
    bool expanded = false;         // the state it shows once its children are in
};

class Toc {
public:
    const std::vector<Row>& rows() const noexcept { return rows_; }
    size_t size() const noexcept { return rows_.size(); }
    bool empty() const noexcept { return rows_.empty(); }
    const Row& operator[](size_t i) const { return rows_[i]; }
    Row& operator[](size_t i) { return rows_[i]; }

    // Adds a row as the last child of its parent (which comes before it); answers its index.
    size_t Add(Row row);
    void Clear() noexcept { rows_.clear(); }

    // The expanded-state memory's snapshot of the rows: one entry per row with children, in
    // order, with its text and expanded state.
    std::vector<NodeState> Snapshot() const;

private:
    std::vector<Row> rows_;
};

}  // namespace kelpy::toc
