// A symbol chosen for a legend row goes into the renderer of the row's layer, at the place the
// row stands for.
#pragma once
#include "com/ptr.h"
#include "kelpy/model/records.h"

namespace kelpy::tree {

// What a write does with a class the renderer no longer holds (a position beyond its counts).
enum class MissingClass {
    Skip,  // writes nothing: the row's legend is older than the renderer, as the row shows it
    Fail,  // an error: the symbol someone chose for that class has nowhere to go
};

// Writes the symbol where the record says (its kind fields, not the renderer's actual class):
// the simple renderer's symbol takes `symbol`, a class of the other kinds takes the record's own
// Symbol. Answers true when a class took it, which the map shows after a redraw; every kind
// without symbols to write writes nothing.
bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record,
                         MissingClass missing = MissingClass::Skip);

// The renderer the record's layer draws with now (its identity), or Nothing for a layer without
// one or of a kind without renderers.
com::ComPtr<IUnknown> RendererOf(const TocNode& record);

}  // namespace kelpy::tree
