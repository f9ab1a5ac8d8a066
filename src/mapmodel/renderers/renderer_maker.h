// Renderers made from a feature class's attribute values (RendererMaker, IRendererMaker), and the
// symbols they and the readers of data files give each shape type: a fill with a thin grey
// outline for polygons, a line for polylines, a round marker for points.
//  - Unique values: one class per distinct text of the field, sorted (as the system sorts texts,
//    then by code units), coloured in turn from a fixed qualitative palette of 12 colours. At
//    most 256 classes: with more values, the 255 first in order keep their classes and the rest
//    are drawn by one class labelled "Other" (keyed by the first of them, and also the default
//    symbol). Features without a value (Empty, Null, an empty text) are "Other" too.
//  - Class breaks: 5 classes by quantiles of a numeric field (fewer when values repeat so much
//    that breaks coincide), from the lowest value up, coloured from light to dark.
#pragma once
#include <string_view>
#include "com/object.h"
#include "mapmodel/support.h"

namespace mapmodel {

// A symbol of this colour for features of the shape type.
com::ComPtr<ISymbol> symbol_for_shape(long shape_type, COLORREF color);
// The renderer a layer read from a data file starts with: one symbol in the shape type's colour.
com::ComPtr<IFeatureRenderer> default_renderer(long shape_type);

com::ComPtr<IFeatureRenderer> unique_values(IFeatureClass* features, std::wstring_view field);
com::ComPtr<IFeatureRenderer> class_breaks(IFeatureClass* features, std::wstring_view field);

class RendererMaker final : public com::ComObject<RendererMaker, Dispatch<IRendererMaker>, com::SupportErrorInfo> {
public:
    STDMETHODIMP UniqueValues(IFeatureClass* features, BSTR field, IFeatureRenderer** renderer) override;
    STDMETHODIMP ClassBreaks(IFeatureClass* features, BSTR field, IFeatureRenderer** renderer) override;
};

}  // namespace mapmodel
