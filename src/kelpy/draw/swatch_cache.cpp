#include "kelpy/draw/swatch_cache.h"

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

bool SwatchCache::copy(const TocNode* record, const SwatchLook& look, HDC dc, int x, int y) {
    auto it = index_.find(record);
    if (it == index_.end()) return false;
    Entry& e = entries_[size_t(it->second)];
    if (!(e.look == look) || !format_ || SurfaceFormat::of(dc) != format_) return false;
    const POINT at = place(it->second);
    if (!BitBlt(dc, x, y, look.width, look.height, cells_dc_.get(), at.x, at.y, SRCCOPY)) return false;
    e.used = ++clock_;
    return true;
}

void SwatchCache::keep(const com::ComPtr<TocNode>& record, const SwatchLook& look, HDC dc, HDC source) {
    if (!record || look.width <= 0 || look.height <= 0 || look.width > cell || look.height > cell) return;
    const std::optional<SurfaceFormat> format = SurfaceFormat::of(dc);
    if (!format) return;
    if (format_ != format && !make_cells(dc, *format)) return;

    // The row's own cell, else a free one, else the least recently painted.
    int slot;
    if (auto it = index_.find(record.get()); it != index_.end()) {
        slot = it->second;
    } else if (entries_.size() < size_t(capacity)) {
        slot = int(entries_.size());
        entries_.emplace_back();
    } else {
        slot = 0;
        for (int i = 1; i < capacity; ++i)
            if (entries_[size_t(i)].used < entries_[size_t(slot)].used) slot = i;
        index_.erase(entries_[size_t(slot)].record.get());
    }
    Entry& e = entries_[size_t(slot)];
    index_[record.get()] = slot;
    e.record = record;
    e.symbol = look.symbol;
    e.look = look;
    e.used = ++clock_;
    const POINT at = place(slot);
    if (!BitBlt(cells_dc_.get(), at.x, at.y, look.width, look.height, source, 0, 0, SRCCOPY)) {
        index_.erase(record.get());
        e = Entry{};
    }
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

void SwatchCache::clear() noexcept {
    index_.clear();
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
