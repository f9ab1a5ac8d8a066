// NumberedClasses: a kind of renderer that keeps its classes by number, 0 to its count less one,
// each with a label and a symbol (class breaks, classified rasters). Its legend is its field as
// heading and one row per class with its label; a row's Index is its class's number, and a
// symbol chosen for the row goes to the class of that number.
#pragma once
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::tree {

// A copy of a symbol (made with ICloneable), for a row that must not share the renderer's own.
com::ComPtr<ISymbol> CopyOfSymbol(const com::ComPtr<ISymbol>& symbol);

// What a class row shows: the renderer's own symbol, or a copy of it.
enum class ClassSymbols { Own, Copies };

template <class I, HRESULT (STDMETHODCALLTYPE I::*Count)(LONG*)>
class NumberedClasses final : public RendererKind {
public:
    constexpr NumberedClasses(::LayerType layer, LONG type, SwatchForm form, ClassSymbols symbols) noexcept
        : RendererKind(layer, type, &__uuidof(I), ::TOCNodeType::RendererItem, true, RowLabel::Text, form),
          symbols_(symbols) {}

    std::optional<std::wstring> Heading(const com::ComPtr<IUnknown>& renderer) const override {
        return TextOf([&](BSTR* field) { return renderer.as<I>()->get_Field(field); });
    }
    void Classes(const com::ComPtr<IUnknown>& renderer, const ClassSink& add) const override {
        auto classes = renderer.as<I>();
        LONG count = 0;
        com::check((classes.get()->*Count)(&count));
        com::for_int16(count, [&](int16_t i) {
            const std::wstring label = TextOf([&](BSTR* text) { return classes->get_Label(i, text); });
            add(label, BreakOf(classes, i), [&](TocNode& r) {
                r.Index = i;
                com::ComPtr<ISymbol> own;
                com::check(classes->get_Symbol(i, own.put()));
                r.Symbol = symbols_ == ClassSymbols::Copies ? CopyOfSymbol(own) : own;
            });
        });
    }
    bool Write(const CurrentRenderer& renderer, const com::ComPtr<ISymbol>&, const TocNode& record,
               MissingClass missing) const override {
        auto classes = renderer().as<I>();
        LONG count = 0;
        com::check((classes.get()->*Count)(&count));
        if (record.Index >= count) return NoClass(missing);
        com::check(classes->putref_Symbol(record.Index, record.Symbol.get()));
        return true;
    }
    // A class is told apart by its break.
    std::optional<ClassKey> KeyOf(const CurrentRenderer& renderer, const TocNode& record) const override {
        auto classes = renderer().as<I>();
        LONG count = 0;
        com::check((classes.get()->*Count)(&count));
        if (record.Index < 0 || record.Index >= count) return std::nullopt;
        double bound = 0;
        com::check(classes->get_Break(record.Index, &bound));
        return ClassKey{bound};
    }
    std::optional<ClassPlace> Find(const CurrentRenderer& renderer, const ClassKey& key) const override {
        const double* sought = std::get_if<double>(&key);
        if (!sought) return std::nullopt;
        auto classes = renderer().as<I>();
        LONG count = 0;
        com::check((classes.get()->*Count)(&count));
        Matches matches;
        for (LONG i = 0; i < count; ++i) {
            double bound = 0;
            com::check(classes->get_Break(i, &bound));
            if (bound == *sought) matches.add({i, 0});
        }
        return matches.one();
    }

private:
    // The class's break, its key; none from a renderer that keeps no breaks (a failure of any
    // other kind is the reading's).
    static ClassKey BreakOf(const com::ComPtr<I>& classes, LONG i) {
        double bound = 0;
        const HRESULT hr = classes->get_Break(i, &bound);
        if (hr == E_NOTIMPL) return {};
        com::check(hr);
        return bound;
    }

    ClassSymbols symbols_;
};

}  // namespace kelpy::tree
