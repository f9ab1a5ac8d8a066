// The likeness our symbols hand the control (com/symbol_likeness.h): every setting that decides
// the pixels a symbol paints, where as well as in which colours, written in a fixed order per
// class after the class's kind. (The boundary memo's Likeness holds only what places pixels.)
// What a symbol draws with from other objects (a fill's outline, a gradient's ramp) is written as
// the symbol reads it when it draws, whoever's object it is.
#pragma once
#include <windows.h>
#include <functional>
#include <vector>
#include "com/boundary.h"
#include "com/symbol_likeness.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

class LikenessWriter {
public:
    void number(double v) { out_.push_back(v); }
    void color(COLORREF c) { number(double(c)); }
    // A line as it draws now: a 0 for Nothing, else a 1, its colour, width and style.
    void line(ILineSymbol* line);
    const std::vector<double>& numbers() const noexcept { return out_; }

private:
    std::vector<double> out_;
};

// GetLikeness of a symbol whose own ISymbol is `own`: `write` writes its likeness.
HRESULT hand_likeness(IUnknown* own, IUnknown* asked, ULONG capacity, double* settings, ULONG* count,
                      const std::function<void(LikenessWriter&)>& write) noexcept;

// ISymbolLikeness for Self, which gives:
//   void write_likeness(LikenessWriter&) const;   (its kind first, then its settings)
template <class Self>
class HandsLikeness : public ISymbolLikeness {
public:
    using interface_type = ISymbolLikeness;
    STDMETHODIMP GetLikeness(IUnknown* asked, ULONG capacity, double* settings, ULONG* count) override {
        Self& self = *static_cast<Self*>(this);
        return hand_likeness(static_cast<ISymbol*>(&self), asked, capacity, settings, count,
                             [&](LikenessWriter& w) { self.write_likeness(w); });
    }
};

}  // namespace mapmodel
