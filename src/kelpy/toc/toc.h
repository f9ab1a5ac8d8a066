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
// A class's key as a row keeps it, in eight bytes: a break's bits, a 64-bit digest of a value's
// characters, 0 for none. Two classes whose keys have the same digest are told apart by their
// place, as two equal keys are.
uint64_t DigestOf(const ClassKey& key) noexcept;

// The identity of a row. The root and the holder are one each. A group or layer row is its
// layer's COM identity and its place among the rows of the same type and identity before it (a
// layer object the map shows twice has two rows). A legend row is its layer row's identity, its
// type and its class's key, and its place among the rows of that legend with the same type and
// key before it; not its position in the legend, so a class keeps its identity when classes are
// added before it.
struct RowId {
    com::ComPtr<IUnknown> layer = {};  // the identity of the row's layer (a legend row's: its layer's)
    uint64_t key = 0;                  // a legend row's class (DigestOf)
    ::TOCNodeType type = ::TOCNodeType::Root;
    uint32_t place = 0;      // among rows of the same type and layer; a legend row: its layer row's
    uint32_t key_place = 0;  // a legend row: among the rows of its legend of the same type and key

    friend bool operator==(const RowId& a, const RowId& b) noexcept {
        return a.type == b.type && a.layer.get() == b.layer.get() && a.place == b.place && a.key == b.key &&
               a.key_place == b.key_place;
    }
};
struct RowIdHash {
    size_t operator()(const RowId& id) const noexcept;
};

// A row is kept small (the model lives beside the tree's own items): its tree key and its
// image follow from its type, its number and its check rather than being kept.
struct Row {
    RowId id = {};
    std::wstring text = {};
    // The record its item carries (its layer, group layer, class and measures); none for a row
    // whose fields could not be read when reading the map failed.
    com::ComPtr<TocNode> record = {};
    int32_t parent = -1;         // the parent row's index; -1 at the top level
    uint32_t children = 0;       // how many rows have this one as their parent
    int32_t rows = 1;            // the height in standard rows
    uint32_t number = 0;         // in its tree key: a layer's drawn number, a group's position
    Check check = Check::None;   // a group or layer row's check (its image)
    bool bold = false;
    bool expanded_at_add = false;  // the expanded state the item gets with its insertion
    bool expanded = false;         // the state it shows once its children are in

    // The key of its image (and selected image) in the tree's image list: "root" for the root,
    // its check's for a group or layer row, none for the others.
    const wchar_t* image() const noexcept;
};

class Toc {
public:
    const std::vector<Row>& rows() const noexcept { return rows_; }
    size_t size() const noexcept { return rows_.size(); }
    bool empty() const noexcept { return rows_.empty(); }
    const Row& operator[](size_t i) const { return rows_[i]; }
    Row& operator[](size_t i) { return rows_[i]; }

    // The tree key of row i: "root", "holder", "gl<i>" for a group of the map and its group's
    // key and ".<j>" for a group in a group, "l<digits>" for a layer; none for a legend row.
    std::wstring KeyOf(size_t i) const;

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
