#include "mapmodel/display/color_ramp.h"
#include <algorithm>
#include <cmath>

namespace mapmodel {

namespace {
long size_of(IColorRamp* ramp) {
    long n = 0;
    com::check(ramp->get_Size(&n));
    return n;
}

COLORREF color_of_ramp(IColorRamp* ramp, long index) {
    com::ComPtr<IColor> c;
    com::check(ramp->get_Color(index, c.put()));
    return color_of(c.get(), L"A colour of the ramp");
}
}  // namespace

COLORREF ramp_color_at(IColorRamp* ramp, double t) {
    required(ramp, L"The colour ramp");
    long n = size_of(ramp);
    if (n < 1) com::raise(E_INVALIDARG, L"The colour ramp has no colours");
    double pos = std::clamp(t, 0.0, 1.0) * double(n - 1);
    long i = std::min(long(pos), n - 1);
    COLORREF a = color_of_ramp(ramp, i);
    if (i == n - 1) return a;
    return mix(a, color_of_ramp(ramp, i + 1), pos - double(i));
}

// ---- algorithmic

com::ComPtr<AlgorithmicColorRamp> AlgorithmicColorRamp::duplicate() const {
    auto copy = AlgorithmicColorRamp::create(from_, to_);
    copy->size_ = size_;
    copy->name_ = name_;
    return copy;
}

COLORREF AlgorithmicColorRamp::color_at(long index) const {
    long n = size();
    return n == 1 ? from_ : mix(from_, to_, double(index) / double(n - 1));
}

STDMETHODIMP AlgorithmicColorRamp::get_FromColor(IColor** c) {
    return boundary(__uuidof(IAlgorithmicColorRamp), [&] { give(c, make_color(from_)); });
}
STDMETHODIMP AlgorithmicColorRamp::putref_FromColor(IColor* c) {
    return boundary(__uuidof(IAlgorithmicColorRamp), [&] { from_ = color_of(c, L"The start colour"); });
}
STDMETHODIMP AlgorithmicColorRamp::get_ToColor(IColor** c) {
    return boundary(__uuidof(IAlgorithmicColorRamp), [&] { give(c, make_color(to_)); });
}
STDMETHODIMP AlgorithmicColorRamp::putref_ToColor(IColor* c) {
    return boundary(__uuidof(IAlgorithmicColorRamp), [&] { to_ = color_of(c, L"The end colour"); });
}

// ---- multi-part

com::ComPtr<MultiPartColorRamp> MultiPartColorRamp::duplicate() const {
    auto copy = MultiPartColorRamp::create();
    for (const auto& p : parts_) copy->parts_.push_back(clone_of(p.get()));
    copy->size_ = size_;
    copy->name_ = name_;
    return copy;
}

long MultiPartColorRamp::size() const {
    if (size_) return size_;
    long n = 0;
    for (const auto& p : parts_) n += size_of(p.get());
    return std::max(n, 1L);
}

COLORREF MultiPartColorRamp::color_at(long index) const {
    if (parts_.empty()) com::raise(E_INVALIDARG, L"The multi-part colour ramp has no parts");
    long n = size();
    double t = n == 1 ? 0.0 : double(index) / double(n - 1);
    double scaled = t * double(parts_.size());
    size_t k = std::min(size_t(scaled), parts_.size() - 1);
    return ramp_color_at(parts_[k].get(), scaled - double(k));
}

STDMETHODIMP MultiPartColorRamp::AddRamp(IColorRamp* ramp) {
    return boundary(__uuidof(IMultiPartColorRamp), [&] {
        required(ramp, L"The ramp");
        if (holds(ramp, unknown(), &IMultiPartColorRamp::get_RampCount, &IMultiPartColorRamp::get_Ramp))
            com::raise(E_INVALIDARG, L"A colour ramp cannot be a part of itself");
        parts_.push_back(ramp);
    });
}

STDMETHODIMP MultiPartColorRamp::get_RampCount(long* n) {
    return boundary(__uuidof(IMultiPartColorRamp), [&] { out(n) = long(parts_.size()); });
}

STDMETHODIMP MultiPartColorRamp::get_Ramp(long index, IColorRamp** ramp) {
    return boundary(__uuidof(IMultiPartColorRamp), [&] {
        check_index(index, parts_.size(), L"the multi-part ramp");
        give(ramp, parts_[size_t(index)]);
    });
}

}  // namespace mapmodel
