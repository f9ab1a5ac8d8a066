// SwatchCache: the painted swatches of the legend rows painted lately, so that a repaint
// copies a row's pixels instead of having its symbol draw itself again (a new bitmap, a
// transformation, a shape and the symbol's tools for every row of every paint otherwise), and a
// rebuild's first paint copies the swatches of the rows before it that paint alike.
//
// A swatch is kept only for a symbol that hands over its likeness (symbol_likeness.h: the map
// model's own symbols), with all that its pixels depend on: that likeness, the swatch's size and
// the shape it is drawn on, and the format of the surface (a swatch is copied only to a surface
// whose compatible bitmaps have the same true-colour format and resolution as the one it was
// drawn for, so the copied pixels are the pixels the symbol would paint). A row finds its swatch
// in two ways:
//   - by the row, once it has been painted since the rebuild: the same symbol object, size and
//     shape as then (no question to the symbol). A symbol object changed in place therefore
//     shows its new look from the next rebuild on, as the rest of the legend does.
//   - by likeness, at its first paint after a rebuild: the symbol's likeness is read anew, so a
//     symbol whose colour, size, kind or any other setting changed finds no old swatch.
// A symbol without a likeness (a host's own, which may draw from settings no interface shows)
// is drawn at every paint.
//
// At most `capacity` swatches are kept, a few screens' worth of rows, the least recently
// painted going first; they live in the cells of one bitmap, so that the cache holds two GDI
// objects whatever its size. Swatches larger than a cell are drawn every time.
#pragma once
#include <windows.h>
#include <optional>
#include <unordered_map>
#include <vector>
#include "com/ptr.h"
#include "win/handles.h"
#include "kelpy/draw/symbol_likeness.h"
#include "kelpy/model/records.h"

namespace kelpy::draw {

// The rectangle (x, y, width, height) and the shape type a row's symbol is drawn on, in the
// world units of the swatch (one unit per pixel, y up).
struct SwatchShape {
    LONG x = 0, y = 0, width = 0, height = 0, shapeType = 0;
    friend bool operator==(const SwatchShape&, const SwatchShape&) = default;
};

// What a swatch's pixels depend on, besides the surface.
struct SwatchLook {
    ISymbol* symbol = nullptr;
    LONG width = 0, height = 0;
    SwatchShape shape;
    friend bool operator==(const SwatchLook&, const SwatchLook&) = default;
};

// The format of the bitmaps compatible with a device context, where it is one that a copy
// keeps exactly (24 or 32 bits per pixel); nothing for other surfaces (palettes, metafiles).
struct SurfaceFormat {
    int bits = 0, planes = 0, resolution = 0;
    bool dib = false;
    DWORD compression = 0, masks[3] = {};
    static std::optional<SurfaceFormat> of(HDC dc) noexcept;
    friend bool operator==(const SurfaceFormat&, const SurfaceFormat&) = default;
};

class SwatchCache {
public:
    static constexpr int cell = 64;       // pixels, both ways
    static constexpr int columns = 16;
    static constexpr int capacity = 128;  // swatches

    SwatchCache() = default;
    SwatchCache(const SwatchCache&) = delete;
    SwatchCache& operator=(const SwatchCache&) = delete;

    // Copies the row's swatch to (x, y) of dc when one is kept for its look and dc's format;
    // false when the swatch must be drawn. Reads the symbol's likeness when the row was not
    // painted since the rebuild and leaves it in `likeness` for keep (none: not to be kept).
    bool copy(const com::ComPtr<TocNode>& record, const SwatchLook& look, HDC dc, int x, int y,
              std::optional<SymbolLikeness>& likeness);
    // Keeps the swatch just drawn for dc: look.width x look.height pixels at (0, 0) of source;
    // nothing is kept without a likeness.
    void keep(const com::ComPtr<TocNode>& record, const SwatchLook& look, std::optional<SymbolLikeness> likeness,
              HDC dc, HDC source);
    // A rebuild: the rows painted so far are forgotten (and their records and symbols given
    // back); the swatches stay, to be found by likeness.
    void forget_rows() noexcept;
    // Forgets every swatch and every row; the cells stay for the swatches to come.
    void clear() noexcept;
    size_t size() const noexcept { return by_likeness_.size(); }

private:
    // A swatch found by likeness: the symbol's, the swatch's size and the shape.
    struct Key {
        SymbolLikeness like;
        LONG width = 0, height = 0;
        SwatchShape shape;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const noexcept;
    };
    struct Entry {
        std::optional<Key> key;        // none: its key was taken by a newer swatch
        unsigned long long stamp = 0;  // new for every swatch the cell takes
        unsigned long long used = 0;
    };
    // A row painted since the rebuild, with what it was painted for and the cell that holds it.
    struct Row {
        com::ComPtr<TocNode> record;  // held, so that no other record can take its address
        com::ComPtr<ISymbol> symbol;  // held, so that no other symbol can take its address
        SwatchLook look;
        int slot = 0;
        unsigned long long stamp = 0;
    };
    // Rows remembered at most (a whole tree may be scrolled through); beyond, they are found
    // by likeness again.
    static constexpr size_t most_rows = 8 * capacity;

    bool blit(int slot, const SwatchLook& look, HDC dc, int x, int y);
    void bind(const com::ComPtr<TocNode>& record, const SwatchLook& look, int slot);
    int free_slot();
    bool make_cells(HDC like, const SurfaceFormat& format);
    void drop_cells() noexcept;
    POINT place(int slot) const { return {(slot % columns) * cell, (slot / columns) * cell}; }

    std::optional<SurfaceFormat> format_;
    win::MemoryDC cells_dc_;
    win::Bitmap cells_;
    std::optional<win::Selection> selected_;
    std::vector<Entry> entries_;
    std::unordered_map<Key, int, KeyHash> by_likeness_;
    std::unordered_map<const TocNode*, Row> rows_;
    unsigned long long clock_ = 0;
};

}  // namespace kelpy::draw
