// The classes of the classified renderers (class breaks and raster classify): a list by
// position, each class with an upper break value, a label and a symbol (held by reference);
// and the COM face the two renderers share over it.
#pragma once
#include <string>
#include <vector>
#include "mapmodel/renderers/class_visibility.h"
#include "mapmodel/renderers/renderer_base.h"
#include "mapmodel/revision.h"

namespace mapmodel {

// The property that counts a classified renderer's classes, which its two interfaces name
// differently.
template <class I>
struct ClassCount;
template <>
struct ClassCount<IClassBreaksRenderer> {
    static constexpr auto get = &IClassBreaksRenderer::get_BreakCount;
    static constexpr auto put = &IClassBreaksRenderer::put_BreakCount;
};
template <>
struct ClassCount<IRasterClassifyRenderer> {
    static constexpr auto get = &IRasterClassifyRenderer::get_ClassCount;
    static constexpr auto put = &IRasterClassifyRenderer::put_ClassCount;
};

class ClassList {
public:
    struct Class {
        double upper = 0;
        std::wstring label;
        com::ComPtr<ISymbol> symbol;
        bool hidden = false;
    };

    // The breaks and symbols of a classified renderer of any make, read through its interface
    // I: the count, then class by class its break and its symbol, and which classes are hidden
    // when the renderer answers IClassVisibility.
    template <class I>
    static ClassList read(I* renderer) {
        ClassList list;
        long n = 0;
        com::check((renderer->*ClassCount<I>::get)(&n));
        auto visibility = com::ComPtr<I>(renderer).template query<IClassVisibility>();
        for (long i = 0; i < n; ++i) {
            Class& c = list.classes_.emplace_back();
            com::check(renderer->get_Break(i, &c.upper));
            com::check(renderer->get_Symbol(i, c.symbol.put()));
            if (visibility) {
                VARIANT_BOOL visible = VARIANT_TRUE;
                com::check(visibility->get_ClassVisible(i, &visible));
                c.hidden = !com::is_true(visible);
            }
        }
        return list;
    }

    long count() const { return long(classes_.size()); }
    // New classes come empty; dropped classes go with their symbols.
    void resize(long n);
    Class& at(long index);
    // The class a value falls in: the first whose break is at or above it; -1 for a value above
    // the last break.
    long class_of(double value) const;
    // The symbol of the class a value falls in; Nothing for no class or a hidden one.
    com::ComPtr<ISymbol> symbol_for(double value) const;

private:
    std::vector<Class> classes_;
};

// What both classified renderers answer through their interface I: the field, and each class's
// break, label and symbol. Each renderer names its count property, served by count and resize.
// A change of the field, a break or the classes is a new revision of Self (which is Revised).
template <class Self, class I>
class ClassifiedRenderer : public Dispatch<I> {
public:
    STDMETHODIMP get_Field(BSTR* name) override { return boundary(kIid, [&] { give_text(name, field_); }); }
    STDMETHODIMP put_Field(BSTR name) override {
        return boundary(kIid, [&] {
            field_ = com::view(name);
            static_cast<Self*>(this)->revised();
        });
    }
    STDMETHODIMP get_Break(long index, double* v) override {
        return boundary(kIid, [&] { out(v) = classes_.at(index).upper; });
    }
    STDMETHODIMP put_Break(long index, double v) override {
        return boundary(kIid, [&] {
            classes_.at(index).upper = finite(v, L"A break");
            static_cast<Self*>(this)->revised();
        });
    }
    STDMETHODIMP get_Label(long index, BSTR* label) override {
        return boundary(kIid, [&] { give_text(label, classes_.at(index).label); });
    }
    STDMETHODIMP put_Label(long index, BSTR label) override {
        return boundary(kIid, [&] { classes_.at(index).label = com::view(label); });
    }
    STDMETHODIMP get_Symbol(long index, ISymbol** s) override {
        return boundary(kIid, [&] { give(s, classes_.at(index).symbol); });
    }
    STDMETHODIMP putref_Symbol(long index, ISymbol* s) override {
        return boundary(kIid, [&] { classes_.at(index).symbol = s; });
    }

    // For ClassVisibility.
    long class_count() const { return classes_.count(); }
    bool& hidden(long index) { return classes_.at(index).hidden; }

protected:
    static constexpr const IID& kIid = __uuidof(I);
    HRESULT count(long* n) { return boundary(kIid, [&] { out(n) = classes_.count(); }); }
    HRESULT resize(long n) {
        return boundary(kIid, [&] {
            classes_.resize(n);
            static_cast<Self*>(this)->revised();
        });
    }

private:
    std::wstring field_;
    ClassList classes_;
};

}  // namespace mapmodel
