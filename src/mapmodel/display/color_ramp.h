// Colour ramps: a sequence of Size colours. The algorithmic ramp runs in Size steps from one
// colour to another; the multi-part ramp runs through its parts one after another.
#pragma once
#include <vector>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/display/color.h"

namespace mapmodel {

// Size and Name, shared by both ramps; Self gives color_at(index) for 0 <= index < Size.
template <class Self, class I>
class RampBase : public Dispatch<I> {
public:
    STDMETHODIMP get_Size(long* n) override {
        return boundary(__uuidof(IColorRamp), [&] { out(n) = self().size(); });
    }
    STDMETHODIMP put_Size(long n) override {
        return boundary(__uuidof(IColorRamp), [&] {
            if (n < 1 || n > 65536) com::raise(E_INVALIDARG, L"A colour ramp has from 1 to 65536 colours");
            size_ = n;
        });
    }
    STDMETHODIMP get_Color(long index, IColor** c) override {
        return boundary(__uuidof(IColorRamp), [&] {
            check_index(index, size_t(self().size()), L"the colour ramp");
            give(c, make_color(self().color_at(index)));
        });
    }
    STDMETHODIMP get_Name(BSTR* name) override {
        return boundary(__uuidof(IColorRamp), [&] { give_text(name, name_); });
    }
    STDMETHODIMP put_Name(BSTR name) override {
        return boundary(__uuidof(IColorRamp), [&] { name_ = com::view(name); });
    }
    void* ramp_interface(REFIID riid) noexcept {
        if (riid == __uuidof(IColorRamp)) return static_cast<IColorRamp*>(static_cast<I*>(this));
        return nullptr;
    }

protected:
    long size_ = 0;  // 0: the ramp's natural size
    std::wstring name_;

private:
    Self& self() { return *static_cast<Self*>(this); }
};

class AlgorithmicColorRamp final
    : public com::ComObject<AlgorithmicColorRamp, RampBase<AlgorithmicColorRamp, IAlgorithmicColorRamp>,
                            Cloneable<AlgorithmicColorRamp>, com::SupportErrorInfo> {
public:
    AlgorithmicColorRamp() = default;
    AlgorithmicColorRamp(COLORREF from, COLORREF to) : from_(from), to_(to) {}

    void* query_more(REFIID riid) noexcept { return ramp_interface(riid); }
    com::ComPtr<AlgorithmicColorRamp> duplicate() const;
    // Two colours unless set otherwise.
    long size() const { return size_ ? size_ : 2; }
    COLORREF color_at(long index) const;

    STDMETHODIMP get_FromColor(IColor** c) override;
    STDMETHODIMP putref_FromColor(IColor* c) override;
    STDMETHODIMP get_ToColor(IColor** c) override;
    STDMETHODIMP putref_ToColor(IColor* c) override;

private:
    COLORREF from_ = RGB(255, 255, 255), to_ = RGB(0, 0, 0);
};

class MultiPartColorRamp final
    : public com::ComObject<MultiPartColorRamp, RampBase<MultiPartColorRamp, IMultiPartColorRamp>,
                            Cloneable<MultiPartColorRamp>, com::SupportErrorInfo> {
public:
    void* query_more(REFIID riid) noexcept { return ramp_interface(riid); }
    com::ComPtr<MultiPartColorRamp> duplicate() const;
    // The parts' sizes added up, unless set otherwise.
    long size() const;
    COLORREF color_at(long index) const;

    STDMETHODIMP AddRamp(IColorRamp* ramp) override;
    STDMETHODIMP get_RampCount(long* n) override;
    STDMETHODIMP get_Ramp(long index, IColorRamp** ramp) override;

private:
    std::vector<com::ComPtr<IColorRamp>> parts_;
};

// The colour at fraction t (0 = first colour, 1 = last) of any ramp, interpolated between
// its neighbouring colours.
COLORREF ramp_color_at(IColorRamp* ramp, double t);

}  // namespace mapmodel
