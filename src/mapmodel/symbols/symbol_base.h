// The symbol protocol for our symbols. SetupDC saves the whole state of the DC and lets the
// symbol select its tools (a Session, made from the symbol's settings at that moment); Draw
// draws shapes with them; ResetDC puts the DC back exactly as it was and deletes the tools.
// QueryBoundary draws the shape off screen (twice, on white and on black, so that no colour
// escapes) and answers the rectangle of the pixels touched: the boundary is what Draw paints.
// A symbol that paints like one measured before answers from the memo (boundary_memo.h).
#pragma once
#include <memory>
#include <optional>
#include "com/boundary.h"
#include "mapmodel/display/mapping.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/support.h"
#include "mapmodel/symbols/boundary_memo.h"
#include "mapmodel/symbols/device.h"
#include "win/dib_canvas.h"

namespace mapmodel {

// The tools of one symbol selected into one DC.
class Session {
public:
    Session(HDC dc, const Mapping& m) : dc_(dc), mapping_(m) {}
    virtual ~Session() = default;
    virtual void draw(const Shape& shape) = 0;

protected:
    HDC dc_;
    Mapping mapping_;
};

// A width or a size in points that a symbol can have: from 0 to 1000.
double valid_points(double points, const wchar_t* what);

// A rectangle that surely holds every pixel the symbol can paint for a shape.
using Estimate = PixelBox;

// The pixels that begin(dc, mapping)->draw(shape) touches, found by drawing inside `estimate`.
template <class Begin>
PixelBox measure(HDC like, const Mapping& m, const Shape& shape, const Estimate& estimate, Begin&& begin);
// The pixels of [0, width) x [0, height) that are not white on the first canvas or not black on
// the second.
PixelBox scan_painted(const win::DibCanvas& on_white, const win::DibCanvas& on_black, long width, long height);

// Two off-screen canvases of at least the size asked for, kept between measurements (making
// DCs and bitmaps costs more than the drawing); held by one measurement at a time.
class ScratchCanvases {
public:
    ScratchCanvases(long width, long height);
    ~ScratchCanvases();
    ScratchCanvases(const ScratchCanvases&) = delete;
    ScratchCanvases& operator=(const ScratchCanvases&) = delete;
    win::DibCanvas& canvas(int i);
};
// Larger estimates are answered as they are, without drawing.
constexpr long kMeasuredPixelsLimit = 1L << 22;

// ISymbol for Self, which gives:
//   std::unique_ptr<Session> begin(HDC, const Mapping&) const;
//   Estimate estimate(const Mapping&, const Shape&) const;
//   std::optional<Likeness> likeness() const;   (nullopt: measured every time)
template <class Self>
class SymbolBase : public Dispatch<ISymbol> {
public:
    STDMETHODIMP SetupDC(LONG_PTR hdc, ITransformation* transformation) override {
        return boundary(__uuidof(ISymbol), [&] {
            if (session_) com::raise(E_UNEXPECTED, L"The symbol is already set up on a device context; call ResetDC first");
            HDC dc = reinterpret_cast<HDC>(hdc);
            if (!dc) com::raise(E_INVALIDARG, L"The device context is null");
            Mapping m = Mapping::of(transformation, dc);
            saved_.emplace(dc);
            try {
                session_ = self().begin(dc, m);
            } catch (...) {
                saved_.reset();
                throw;
            }
        });
    }
    STDMETHODIMP Draw(IGeometry* geometry) override {
        return boundary(__uuidof(ISymbol), [&] {
            if (!session_) com::raise(E_UNEXPECTED, L"Draw needs a device context: call SetupDC first");
            session_->draw(read_shape(required(geometry, L"The geometry")));
        });
    }
    // Without a SetupDC there is nothing to put back.
    STDMETHODIMP ResetDC() override {
        return boundary(__uuidof(ISymbol), [&] { release_dc(); });
    }
    STDMETHODIMP QueryBoundary(LONG_PTR hdc, ITransformation* transformation, IGeometry* geometry,
                               IPolygon* boundary) override {
        return mapmodel::boundary(__uuidof(ISymbol), [&] {
            required(boundary, L"The boundary polygon");
            HDC dc = reinterpret_cast<HDC>(hdc);
            Mapping m = Mapping::of(transformation, dc);
            Shape shape = read_shape(required(geometry, L"The geometry"));
            const std::optional<Likeness> like = self().likeness();
            BoundaryMemo& memo = BoundaryMemo::shared();
            const std::optional<PixelBox> kept = like ? memo.find(*like, m, shape) : std::nullopt;
            const PixelBox box = kept ? *kept
                                      : measure(dc, m, shape, self().estimate(m, shape),
                                                [this](HDC d, const Mapping& mm) { return self().begin(d, mm); });
            if (like && !kept) memo.keep(*like, m, shape, box);
            std::vector<Vec> ring;
            if (!box.empty()) {
                ring = {{double(box.left), double(box.top)}, {double(box.right), double(box.top)},
                        {double(box.right), double(box.bottom)}, {double(box.left), double(box.bottom)}};
            }
            write_ring(boundary, ring);
        });
    }

protected:
    ~SymbolBase() { release_dc(); }

private:
    Self& self() { return *static_cast<Self*>(this); }
    // The DC's state comes back first, then the tools, no longer selected, are deleted.
    void release_dc() noexcept {
        saved_.reset();
        session_.reset();
    }
    std::unique_ptr<Session> session_;
    std::optional<win::SavedState> saved_;
};

template <class Begin>
PixelBox measure(HDC, const Mapping& m, const Shape& shape, const Estimate& estimate, Begin&& begin) {
    if (shape.empty() || estimate.empty()) return {};
    if (double(estimate.width()) * double(estimate.height()) > double(kMeasuredPixelsLimit)) return estimate;
    Mapping shifted = m.translated(-double(estimate.left), -double(estimate.top));
    ScratchCanvases scratch(estimate.width(), estimate.height());
    const COLORREF backgrounds[2] = {RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int i = 0; i < 2; ++i) {
        win::DibCanvas& canvas = scratch.canvas(i);
        canvas.fill(backgrounds[i], estimate.width(), estimate.height());
        std::unique_ptr<Session> session;  // deleted after the DC has let go of its tools
        {
            win::SavedState saved(canvas.dc());
            session = begin(canvas.dc(), shifted);
            session->draw(shape);
        }
    }
    PixelBox painted = scan_painted(scratch.canvas(0), scratch.canvas(1), estimate.width(), estimate.height());
    if (painted.empty()) return {};
    return {painted.left + estimate.left, painted.top + estimate.top, painted.right + estimate.left,
            painted.bottom + estimate.top};
}

}  // namespace mapmodel
