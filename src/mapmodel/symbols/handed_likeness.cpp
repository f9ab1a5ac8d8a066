#include "mapmodel/symbols/handed_likeness.h"
#include <algorithm>
#include "mapmodel/symbols/line_symbol.h"
#include "mapmodel/symbols/stroke.h"

namespace mapmodel {

void LikenessWriter::line(ILineSymbol* line) {
    if (!line) {
        number(0);
        return;
    }
    com::ComPtr<LineSymbol> ours = LineSymbol::of(line);
    const Stroke s = ours ? ours->stroke() : stroke_of(line);
    number(1);
    color(s.color);
    number(s.width);
    number(double(s.style));
}

HRESULT hand_likeness(IUnknown* own, IUnknown* asked, ULONG capacity, double* settings, ULONG* count,
                      const std::function<void(LikenessWriter&)>& write) noexcept {
    HRESULT answer = S_OK;
    const HRESULT done = com::boundary(__uuidof(ISymbolLikeness), [&] {
        if (!count) com::raise(E_POINTER, L"A result pointer is null");
        *count = 0;
        // Asked for another object (a wrapper that handed the query on to us): ours is not its.
        if (!asked || asked != own) {
            answer = S_FALSE;
            return;
        }
        LikenessWriter w;
        write(w);
        const std::vector<double>& numbers = w.numbers();
        *count = ULONG(numbers.size());
        if (*count <= capacity) {
            if (!settings) com::raise(E_POINTER, L"The settings pointer is null");
            std::copy(numbers.begin(), numbers.end(), settings);
        }
    });
    return FAILED(done) ? done : answer;
}

}  // namespace mapmodel
