#include "kelpy/draw/swatch_cache.h"
#include <functional>
#include <utility>

namespace kelpy::draw {

std::optional<SurfaceFormat> SurfaceFormat::of(HDC dc) noexcept {
    SurfaceFormat f;
    switch (GetObjectType(dc)) {
    case OBJ_MEMDC: {
        // A bitmap compatible with a memory context has the format of the bitmap selected in it.
        HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
        DIBSECTION dib{};
        const int size = bitmap ? GetObjectW(bitmap, sizeof dib, &dib) : 0;
        if (size == int(sizeof(DIBSECTION))) {
            f.dib = true;
            f.compression = dib.dsBmih.biCompression;
            for (int i = 0; i < 3; ++i) f.masks[i] = dib.dsBitfields[i];
        } else if (size < int(sizeof(BITMAP))) {
            return std::nullopt;
        }
        f.bits = dib.dsBm.bmBitsPixel;
        f.planes = dib.dsBm.bmPlanes;
        break;
    }
    case OBJ_DC:
        f.bits = GetDeviceCaps(dc, BITSPIXEL);
        f.planes = GetDeviceCaps(dc, PLANES);
        break;
    default:
        return std::nullopt;  // metafiles and anything else: drawn every time
    }
    f.resolution = GetDeviceCaps(dc, LOGPIXELSY);
    if (f.planes != 1 || (f.bits != 24 && f.bits != 32) || f.resolution <= 0) return std::nullopt;
    return f;
}

size_t SwatchCache::KeyHash::operator()(const Key& k) const noexcept {
    size_t h = k.like.hash();
    for (LONG v : {k.width, k.height, k.shape.x, k.shape.y, k.shape.width, k.shape.height, k.shape.shapeType})
        h = h * 1000003u ^ std::hash<LONG>()(v);
    return h;
}

bool SwatchCache::copy(const com::ComPtr<TocNode>& record, const SwatchLook& look, HDC dc, int x, int y,
                       std::optional<SymbolLikeness>& likeness) {
    likeness.reset();
    const bool same_format = format_ && SurfaceFormat::of(dc) == format_;
    // The row as painted since the rebuild, when its cell still holds that swatch (only rows of
    // symbols with a likeness are kept).
    if (auto it = rows_.find(record.get()); same_format && it != rows_.end()) {
        const Row& row = it->second;
        if (row.symbol.get() == look.symbol && row.look == look && entries_[size_t(row.slot)].stamp == row.stamp)
            return blit(row.slot, look, dc, x, y);
    }
    // Else a swatch of any row that paints alike; a symbol without a likeness is drawn.
    likeness = LikenessOf(look.symbol);
    if (!likeness || !same_format) return false;
    auto found = by_likeness_.find(Key{*likeness, look.width, look.height, look.shape});
    if (found == by_likeness_.end() || !blit(found->second, look, dc, x, y)) return false;
    bind(record, look, found->second);
    return true;
}

bool SwatchCache::blit(int slot, const SwatchLook& look, HDC dc, int x, int y) {
    const POINT at = place(slot);
    if (!BitBlt(dc, x, y, look.width, look.height, cells_dc_.get(), at.x, at.y, SRCCOPY)) return false;
    entries_[size_t(slot)].used = ++clock_;
    return true;
}

void SwatchCache::bind(const com::ComPtr<TocNode>& record, const SwatchLook& look, int slot) {
    if (rows_.size() >= most_rows) rows_.clear();
    rows_.insert_or_assign(record.get(), Row{record, look.symbol, look, slot, entries_[size_t(slot)].stamp});
}

int SwatchCache::free_slot() {
    // A free cell, else the least recently painted one, whose swatch is let go.
    if (entries_.size() < size_t(capacity)) {
        entries_.emplace_back();
        return int(entries_.size()) - 1;
    }
    int slot = 0;
    for (int i = 1; i < capacity; ++i)
        if (entries_[size_t(i)].used < entries_[size_t(slot)].used) slot = i;
    Entry& e = entries_[size_t(slot)];
    if (e.key) by_likeness_.erase(*e.key);
    e = Entry{};
    return slot;
}

void SwatchCache::keep(const com::ComPtr<TocNode>& record, const SwatchLook& look,
                       std::optional<SymbolLikeness> likeness, HDC dc, HDC source) {
    if (!record || !likeness || look.width <= 0 || look.height <= 0 || look.width > cell || look.height > cell) return;
    const std::optional<SurfaceFormat> format = SurfaceFormat::of(dc);
    if (!format) return;
    if (format_ != format && !make_cells(dc, *format)) return;

    const int slot = free_slot();
    const POINT at = place(slot);
    if (!BitBlt(cells_dc_.get(), at.x, at.y, look.width, look.height, source, 0, 0, SRCCOPY)) return;
    Entry& e = entries_[size_t(slot)];
    e.stamp = ++clock_;
    e.used = e.stamp;
    Key key{std::move(*likeness), look.width, look.height, look.shape};
    // A swatch kept before for the same key gives its place in the index to this one.
    if (auto old = by_likeness_.find(key); old != by_likeness_.end()) entries_[size_t(old->second)].key.reset();
    by_likeness_.insert_or_assign(key, slot);
    e.key = std::move(key);
    bind(record, look, slot);
}

bool SwatchCache::make_cells(HDC like, const SurfaceFormat& format) {
    drop_cells();
    cells_dc_.reset(CreateCompatibleDC(like));
    cells_.reset(CreateCompatibleBitmap(like, columns * cell, (capacity + columns - 1) / columns * cell));
    if (!cells_dc_ || !cells_) {
        drop_cells();
        return false;
    }
    selected_.emplace(cells_dc_.get(), cells_.get());
    format_ = format;
    return true;
}

void SwatchCache::forget_rows() noexcept { rows_.clear(); }

void SwatchCache::clear() noexcept {
    rows_.clear();
    by_likeness_.clear();
    entries_.clear();
}

void SwatchCache::drop_cells() noexcept {
    clear();
    selected_.reset();  // the bitmap leaves its context before either is deleted
    cells_.reset();
    cells_dc_.reset();
    format_.reset();
}

}  // namespace kelpy::draw
