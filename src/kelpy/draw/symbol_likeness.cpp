#include "kelpy/draw/symbol_likeness.h"
#include <cmath>
#include <functional>
#include "com/error.h"
#include "com/ptr.h"
#include "com/symbol_likeness.h"

namespace kelpy::draw {

namespace {
// More numbers than any symbol of the model needs (a gradient of 1000 bands): beyond, none.
constexpr ULONG most_settings = 4096;
}  // namespace

size_t SymbolLikeness::hash() const noexcept {
    // Equal settings hash alike (0.0 and -0.0 compare and hash equal); others may collide,
    // which costs only a comparison.
    size_t h = settings.size();
    for (double v : settings) h = h * 1000003u ^ std::hash<double>()(v);
    return h;
}

std::optional<SymbolLikeness> LikenessOf(ISymbol* symbol) {
    if (!symbol) return std::nullopt;
    com::ComPtr<ISymbolLikeness> hands;
    if (FAILED(symbol->QueryInterface(__uuidof(ISymbolLikeness), hands.put_void())) || !hands) return std::nullopt;
    // A wrapper that hands every query it does not know on to a model symbol it holds answers
    // with that symbol's interface: another object, which does not paint what the wrapper does.
    if (!com::same_object(symbol, hands.get())) return std::nullopt;

    SymbolLikeness like;
    like.settings.resize(32);  // most symbols need fewer; a gradient's or a chart's colours more
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG count = 0;
        const HRESULT hr = hands->GetLikeness(symbol, ULONG(like.settings.size()), like.settings.data(), &count);
        com::check(hr);  // a symbol that fails to say how it paints would fail to paint too
        if (hr != S_OK) return std::nullopt;
        if (count <= like.settings.size()) {
            like.settings.resize(count);
            for (double v : like.settings)
                if (std::isnan(v)) return std::nullopt;  // no two readings of it would compare equal
            return like;
        }
        if (count > most_settings) return std::nullopt;
        like.settings.resize(count);
    }
    return std::nullopt;  // it grew between the two questions
}

}  // namespace kelpy::draw
