// SolidFillSymbol: fills an area with a colour (solid, hatched or hollow) and draws its
// outline. On an envelope the fill covers the envelope's pixels exactly and a 1-point outline
// adds one pixel on the right and bottom edges: 18 x 18 units at 96 dpi cover 19 x 19 pixels.
#pragma once
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/symbols/fill_base.h"

namespace mapmodel {

class SolidFillSymbol final
    : public com::ComObject<SolidFillSymbol, FillBase<SolidFillSymbol, ISolidFillSymbol>, SymbolBase<SolidFillSymbol>,
                            HandsLikeness<SolidFillSymbol>, Cloneable<SolidFillSymbol>, com::SupportErrorInfo> {
public:
    SolidFillSymbol() = default;
    SolidFillSymbol(COLORREF color, com::ComPtr<ILineSymbol> outline, FillStyle style);

    void* query_more(REFIID riid) noexcept { return fill_interface(riid); }
    com::ComPtr<SolidFillSymbol> duplicate() const;
    std::unique_ptr<Session> begin(HDC dc, const Mapping& m) const;
    using FillBase::estimate;
    std::optional<Likeness> likeness() const;
    void write_likeness(LikenessWriter& w) const;

    STDMETHODIMP get_Style(FillStyle* s) override;
    STDMETHODIMP put_Style(FillStyle s) override;

private:
    FillStyle style_ = FillSolid;
};

}  // namespace mapmodel
