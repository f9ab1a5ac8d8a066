// SwatchCache: the painted swatches of the legend rows painted lately, so that a repaint
// copies a row's pixels instead of having its symbol draw itself again (a new bitmap, a
// transformation, a shape and the symbol's tools for every row of every paint otherwise).
//
// A swatch is kept for a row's record together with all that its pixels depend on: the
// symbol object, the swatch's size and the shape it is drawn on, and the format of the surface
// (a swatch is copied only to a surface whose compatible bitmaps have the same true-colour
// format and resolution as the one it was drawn for, so the copied pixels are the pixels the
// symbol would paint). A row whose symbol or size changed is drawn anew. The rebuild clears the
// cache; a symbol object changed in place shows its new look from the next rebuild on, as the
// rest of the legend does.
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

    // Copies the row's swatch to (x, y) of dc when one is kept for this look and dc's format;
    // false when the swatch must be drawn.
    bool copy(const TocNode* record, const SwatchLook& look, HDC dc, int x, int y);
    // Keeps the swatch just drawn for dc: look.width x look.height pixels at (0, 0) of source.
    void keep(const com::ComPtr<TocNode>& record, const SwatchLook& look, HDC dc, HDC source);
    // Forgets every swatch (and gives back the records and symbols held for them); the cells
    // stay for the swatches to come.
    void clear() noexcept;
    size_t size() const noexcept { return index_.size(); }

private:
    struct Entry {
        com::ComPtr<TocNode> record;
        com::ComPtr<ISymbol> symbol;  // held, so that no other symbol can take its address
        SwatchLook look;
        unsigned long long used = 0;
    };
    bool make_cells(HDC like, const SurfaceFormat& format);
    void drop_cells() noexcept;
    POINT place(int slot) const { return {(slot % columns) * cell, (slot / columns) * cell}; }

    std::optional<SurfaceFormat> format_;
    win::MemoryDC cells_dc_;
    win::Bitmap cells_;
    std::optional<win::Selection> selected_;
    std::vector<Entry> entries_;
    std::unordered_map<const TocNode*, int> index_;
    unsigned long long clock_ = 0;
};

}  // namespace kelpy::draw
