// What measuring a legend row's swatch needs beside the control: the shape a row's symbol is
// measured on, what a measure finds (before anything of it is written), and the memo of one
// rebuild.
#pragma once
#include <windows.h>
#include <exception>
#include <optional>
#include <unordered_map>
#include "com/ptr.h"
#include "win/handles.h"
#include "kelpy/model/records.h"
#include "kelpy/draw/symbol_likeness.h"
#include "kelpy/platform/dpi.h"
#include "kelpy/tree/swatch_measurer.h"

namespace kelpy::draw {

// The rectangle (x, y, width, height) and the shape type of the shape a row's symbol is
// measured on.
struct MeasuringShape {
    LONG x = 0, y = 0, width = 0, height = 0, shapeType = 0;
    friend bool operator==(const MeasuringShape&, const MeasuringShape&) = default;
};
MeasuringShape measuring_shape(const TocNode& record);
// The shape at a resolution: measuring_shape gives it at 96 dpi.
MeasuringShape scaled(const MeasuringShape& shape, platform::Dpi dpi);

using tree::SwatchMeasure;

// MeasureMemo: what rebuilds have measured. A rebuild asks every symbol once for its boundary
// on a shape, however many rows show it (a host's symbols may be slow to answer), and measures
// through one device context of the tree window. Across rebuilds the memo keeps what symbols
// measured by their likeness (symbol_likeness.h: every setting that places a pixel, as the map
// model's own symbols hand it over), so that a rebuild after a drop or a toggle asks each such
// symbol for its likeness instead of measuring it again; a symbol whose settings changed finds
// nothing, and a symbol without a likeness (a host's own) is measured in every rebuild. Outside
// a rebuild every measure asks the symbol.
class MeasureMemo {
public:
    // Makes the memo work for as long as it lives: from the start of a rebuild to its end.
    class Rebuild {
    public:
        Rebuild(MeasureMemo& memo, HWND tree) noexcept : memo_(memo) { memo_.start(tree); }
        ~Rebuild() { memo_.stop(); }
        Rebuild(const Rebuild&) = delete;
        Rebuild& operator=(const Rebuild&) = delete;

    private:
        MeasureMemo& memo_;
    };

    bool active() const noexcept { return tree_ != nullptr; }
    // The rebuild's device context of the tree window, got at its first use.
    HDC dc();
    // What the symbol gave on this shape earlier in the rebuild (an empty result counts), or
    // null when it was not measured yet.
    const std::optional<SwatchMeasure>* find(ISymbol* symbol, const MeasuringShape& shape) const;
    void keep(ISymbol* symbol, const MeasuringShape& shape, const std::optional<SwatchMeasure>& measure);
    // What a symbol of this likeness measured on this shape at this resolution in a rebuild, or
    // null; a measure is kept for its likeness only when it holds no failure.
    const SwatchMeasure* find_alike(const SymbolLikeness& like, const MeasuringShape& shape, int dpi) const;
    void keep_alike(SymbolLikeness like, const MeasuringShape& shape, int dpi, const SwatchMeasure& measure);

    // Likenesses kept at most: beyond, new ones are measured every time.
    static constexpr size_t most_alike = 2048;

private:
    void start(HWND tree) noexcept;
    void stop() noexcept;

    // A symbol is known by its identity (its IUnknown), held so that it cannot be replaced by
    // another object at the same address while the rebuild runs.
    struct Key {
        com::ComPtr<IUnknown> symbol;
        MeasuringShape shape;
        friend bool operator==(const Key& a, const Key& b) { return a.symbol.get() == b.symbol.get() && a.shape == b.shape; }
    };
    struct Hash {
        size_t operator()(const Key& k) const noexcept;
    };
    static com::ComPtr<IUnknown> identity(ISymbol* symbol);

    struct AlikeKey {
        SymbolLikeness like;
        MeasuringShape shape;
        int dpi = 0;
        friend bool operator==(const AlikeKey&, const AlikeKey&) = default;
    };
    struct AlikeHash {
        size_t operator()(const AlikeKey& k) const noexcept;
    };

    HWND tree_ = nullptr;
    std::optional<win::WindowDC> dc_;
    std::unordered_map<Key, std::optional<SwatchMeasure>, Hash> measured_;
    std::unordered_map<AlikeKey, SwatchMeasure, AlikeHash> alike_;
};

}  // namespace kelpy::draw
