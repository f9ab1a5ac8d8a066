// Stand-ins for the legends, until they are built: layers show no legend rows, and a symbol
// chosen for a legend row is not written back.
#include "kelpy/control/toc.h"

namespace kelpy {

void Toc::AddFeatureLegend(const com::ComPtr<ILayer>&, const NodePtr&, const std::wstring&) {}

void Toc::AddRasterLegend(const com::ComPtr<ILayer>&, const NodePtr&, const std::wstring&) {}

void Toc::SetRendererSymbol(const com::ComPtr<ISymbol>&, const NodePtr&) {}

}  // namespace kelpy
