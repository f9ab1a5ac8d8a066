// Stand-in for the legend symbol write-back, until it is built: a symbol chosen for a legend
// row is not written back.
#include "kelpy/control/toc.h"

namespace kelpy {

void Toc::SetRendererSymbol(const com::ComPtr<ISymbol>&, const NodePtr&) {}

}  // namespace kelpy
