// RasterClassifyRenderer: raster cells by classes of a numeric range; class i holds the values
// up to break i, with a label and a symbol (held by reference).
#pragma once
#include "com/object.h"
#include "mapmodel/renderers/class_list.h"

namespace mapmodel {

class RasterClassifyRenderer final
    : public com::ComObject<RasterClassifyRenderer, ClassifiedRenderer<RasterClassifyRenderer, IRasterClassifyRenderer>,
                            RendererBase<RasterClassifyRenderer, IRasterRenderer>, ClassVisibility<RasterClassifyRenderer>,
                            Revised, com::SupportErrorInfo> {
public:
    static constexpr const wchar_t* kDescription = L"Classified";

    STDMETHODIMP get_ClassCount(long* n) override { return count(n); }
    STDMETHODIMP put_ClassCount(long n) override { return resize(n); }
};

}  // namespace mapmodel
