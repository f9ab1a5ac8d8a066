// A symbol chosen for a legend row goes into the renderer of the row's layer, at the place the
// row stands for.
#pragma once
#include "com/ptr.h"
#include "kelpy/model/records.h"

namespace kelpy::tree {

// Writes the symbol where the record says (its kind fields, not the renderer's actual class):
// the simple renderer's symbol takes `symbol`, a class of the other kinds takes the record's own
// Symbol. Answers true when a class took it, which the map shows after a redraw; a position
// beyond the renderer's current counts, and every kind without symbols to write, write nothing.
bool WriteRendererSymbol(const com::ComPtr<ISymbol>& symbol, const TocNode& record);

}  // namespace kelpy::tree
