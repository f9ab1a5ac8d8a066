// PieChartSymbol: a pie of Size points across, its slices in proportion to their weights,
// starting at the top and running counter-clockwise, each outlined in dark grey. It is drawn at
// a point (at the centre of any other shape), in the same square as a marker of that size.
// A pie without weight shows its circle only.
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/symbols/handed_likeness.h"
#include "mapmodel/symbols/symbol_base.h"

namespace mapmodel {

class PieChartSymbol final : public com::ComObject<PieChartSymbol, Dispatch<IChartSymbol>, SymbolBase<PieChartSymbol>,
                                                    HandsLikeness<PieChartSymbol>, Cloneable<PieChartSymbol>,
                                                    com::SupportErrorInfo> {
public:
    struct Slice {
        COLORREF color;
        double weight;
    };
    struct Settings {
        double size = 16.0;
        std::vector<Slice> slices;
    };
    PieChartSymbol() = default;
    explicit PieChartSymbol(Settings s) : s_(std::move(s)) {}

    com::ComPtr<PieChartSymbol> duplicate() const { return PieChartSymbol::create(s_); }
    std::unique_ptr<Session> begin(HDC dc, const Mapping& m) const;
    Estimate estimate(const Mapping& m, const Shape& s) const;
    // The size and every slice's weight (pies of more slices than that holds are measured
    // every time).
    std::optional<Likeness> likeness() const;
    void write_likeness(LikenessWriter& w) const;

    STDMETHODIMP get_Size(double* points) override;
    STDMETHODIMP put_Size(double points) override;
    STDMETHODIMP AddSlice(IColor* color, double weight) override;
    STDMETHODIMP get_SliceCount(long* n) override;
    STDMETHODIMP get_SliceColor(long index, IColor** c) override;
    STDMETHODIMP get_SliceWeight(long index, double* weight) override;

private:
    Settings s_;
};

}  // namespace mapmodel
