// The kinds of renderer whose legends the control shows, in one table. For each kind it knows
// how the legend is read (a heading and one row per class, or a single swatch row), whether a
// person can choose a symbol for its rows, how a chosen symbol goes back into the renderer, and
// how its rows are drawn. A legend row's record says which kind it was read from (its layer
// type and its renderer type); the readers, the symbol write-back, the painter and the
// interaction all ask here.
#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include "com/ptr.h"
#include "kelpy/model/records.h"
#include "kelpy/model/typelib.h"
#include "kelpy/toc/legend_rows.h"

namespace kelpy::tree {

using toc::LegendRows;

// What a class row shows beside its swatch.
enum class RowLabel {
    None,      // nothing (the swatch row of a simple renderer, and every row that is no class)
    Text,      // the item's text
    RampEnds,  // "High" and "Low" at the ends of a colour ramp
};

// The shape a row's symbol is measured and drawn on.
enum class SwatchForm {
    LayerShape,  // the shape type of the layer's features
    Square,      // an area
    Ramp,        // a tall bar (a colour ramp)
};

// What a write does with a class the renderer no longer holds (a position beyond its counts).
enum class MissingClass {
    Skip,  // writes nothing: the row's legend is older than the renderer, as the row shows it
    Fail,  // an error: the symbol someone chose for that class has nowhere to go
};

// What tells a class apart from its renderer's other classes (toc.h).
using toc::ClassKey;
// Where a renderer holds a class now: a record's Index and Index2.
struct ClassPlace {
    LONG index = 0, index2 = 0;
};

class RendererKind {
public:
    // One class of a legend as a reader finds it: its text, its key, and what it writes into its
    // row's record (the class's position and symbol).
    using Fill = std::function<void(TocNode&)>;
    using ClassSink = std::function<void(std::wstring_view text, const ClassKey& key, const Fill& fill)>;
    // The renderer the row's layer draws with now, fetched when a kind needs it (an error when
    // the layer has none).
    using CurrentRenderer = std::function<com::ComPtr<IUnknown>()>;

    ::LayerType layer;         // the kind of layer the renderer draws
    LONG type;                 // its FeatureRendererType or RasterRendererType
    const IID* renderer;       // the interface by which a renderer shows it is of this kind
                               // (null: a kind whose legend the control does not show)
    ::TOCNodeType rows;        // the type of its class rows
    bool choosable;            // a person may choose a symbol for its class rows
    RowLabel label;            // what its class rows show beside the swatch
    SwatchForm form;           // the shape its swatches are measured and drawn on

    // Whether this kind shows the legend of the renderer (the first kind of the layer's type in
    // the table's order that does decides).
    bool Reads(const com::ComPtr<IUnknown>& renderer) const;
    // The legend's heading, read before its classes; none for a kind without one.
    virtual std::optional<std::wstring> Heading(const com::ComPtr<IUnknown>& renderer) const;
    // The legend's classes in order, each handed on as it is read.
    virtual void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const;
    // Writes `symbol` (the simple renderer's) or the record's own Symbol (a class's) into the
    // renderer of the record's layer, at the class the record names. True when a class took
    // it, which the map shows after a redraw.
    virtual bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>& symbol, const TocNode& record,
                       MissingClass missing) const;

    // The key of the class at the record's place, read from the renderer now; none when the
    // renderer holds no class there.
    virtual std::optional<ClassKey> KeyOf(const CurrentRenderer& renderer, const TocNode& record) const;
    // Where the one class with this key is now; none when no class has it, or more than one.
    virtual std::optional<ClassPlace> Find(const CurrentRenderer& renderer, const ClassKey& key) const;

    // A class the renderer no longer holds: nothing written (false), or the failure.
    static bool NoClass(MissingClass missing);

    // The places of the classes that have the key sought, as a Find counts them.
    class Matches {
    public:
        void add(ClassPlace place) noexcept {
            ++count_;
            place_ = place;
        }
        // The one place; none when no class or several have the key.
        std::optional<ClassPlace> one() const noexcept { return count_ == 1 ? std::optional(place_) : std::nullopt; }

    private:
        int count_ = 0;
        ClassPlace place_;
    };

protected:
    constexpr RendererKind(::LayerType layer, LONG type, const IID* renderer, ::TOCNodeType rows, bool choosable,
                           RowLabel label, SwatchForm form) noexcept
        : layer(layer), type(type), renderer(renderer), rows(rows), choosable(choosable), label(label), form(form) {}
    // The text a getter answers (a renderer's field, a class's label).
    static std::wstring TextOf(const std::function<HRESULT(BSTR*)>& get);
    ~RendererKind() = default;
};

// The kind a legend row (a heading, a swatch or a class row) was read from; null for every other
// row and for a kind the table does not know.
const RendererKind* KindOf(const TocNode& record);
// Whether the row is a legend row with a swatch (the simple renderer's swatch or a class).
bool IsSwatchRow(const TocNode& record);
// Whether a person may choose a symbol for the row (a click on its swatch, Enter on it).
bool CanChooseSymbol(const TocNode& record);
// What the row shows beside its swatch.
RowLabel LabelOf(const TocNode& record);
// The shape the row's symbol is measured and drawn on.
SwatchForm SwatchFormOf(const TocNode& record);

// The legend of a layer of this type, read from its renderer row by row: the first kind of the
// table that reads the renderer decides; a renderer of no known kind shows no rows. Every row
// is marked with the layer, its kind and the features' shape type.
void ReadLegend(::LayerType layerType, const com::ComPtr<IUnknown>& renderer, const com::ComPtr<ILayer>& layer,
                LONG shapeType, LegendRows& rows);

// Writes the symbol where the record says (its kind fields, not the renderer's actual class):
// the simple renderer's symbol takes `symbol`, a class of the other kinds takes the record's own
// Symbol. Answers true when a class took it; every kind without symbols to write writes nothing.
bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record,
                         MissingClass missing = MissingClass::Skip);
// The renderer the record's layer draws with now (its identity), or Nothing for a layer without
// one or of a kind without renderers.
com::ComPtr<IUnknown> RendererOf(const TocNode& record);

// A legend row's class as a choice of its symbol begins: the renderer the row was made from and
// the class's key in it, so that a symbol confirmed after a rebuild (while the choice was open)
// goes to that class wherever the renderer holds it by then, not to whatever class took its place.
struct NotedClass {
    com::ComPtr<IUnknown> renderer;
    std::optional<ClassKey> key;  // none: the renderer held no class at the row's place
};
// Never fails: a renderer that cannot say its class's key leaves it unknown.
NotedClass NoteClass(const TocNode& record);
// Writes the record's Symbol into the noted class for a row that a rebuild removed; the record's
// place becomes the class's place now. An error when the layer draws with another renderer than
// the noted one, or that renderer holds no class (or more than one) of the noted key.
void WriteToNotedClass(TocNode& record, const NotedClass& noted);

// The two symbols the control makes itself, for the rows of a composite's bands and of a
// stretched ramp: a solid colour patch (0x00BBGGRR) and a patch of the ramp.
com::ComPtr<ISymbol> CreateFillSymbol(LONG color);
com::ComPtr<ISymbol> CreateGradientSymbol(const com::ComPtr<IColorRamp>& ramp);

// The table: the kinds of each layer type, in the order in which they are asked
// (feature_kinds.cpp and raster_kinds.cpp).
std::span<const RendererKind* const> FeatureKinds();
std::span<const RendererKind* const> RasterKinds();

}  // namespace kelpy::tree
