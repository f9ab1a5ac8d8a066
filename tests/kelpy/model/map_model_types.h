// The map model's type library, which the KELPY type library imports: registered in the test
// prefix so that imported types (ILayer, ISymbol, ...) resolve. Registers mapmodel.dll when it
// is built beside the test program, else the generated mapmodel.tlb.
#pragma once

namespace test {

void register_map_model_types();

}  // namespace test
