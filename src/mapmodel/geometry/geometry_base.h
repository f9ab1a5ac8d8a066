// The general geometry interface for our shapes: GeometryBase<Self, I> implements IGeometry's
// members for an interface I derived from it, from what Self tells: geometry_type(),
// bounds() (a Bounds, empty for an empty shape) and set_empty().
#pragma once
#include "com/boundary.h"
#include "mapmodel/geometry/shape.h"
#include "mapmodel/support.h"

namespace mapmodel {

// A new envelope object holding the bounds (defined in envelope.cpp).
com::ComPtr<IEnvelope> make_envelope(const Bounds& b);

template <class Self, class I>
class GeometryBase : public Dispatch<I> {
public:
    STDMETHODIMP get_GeometryType(GeometryType* type) override {
        return boundary(__uuidof(IGeometry), [&] { out(type) = self().geometry_type(); });
    }
    STDMETHODIMP get_Envelope(IEnvelope** envelope) override {
        return boundary(__uuidof(IGeometry), [&] { give(envelope, make_envelope(self().bounds())); });
    }
    STDMETHODIMP get_IsEmpty(VARIANT_BOOL* empty) override {
        return boundary(__uuidof(IGeometry), [&] { give_bool(empty, self().bounds().empty); });
    }
    STDMETHODIMP SetEmpty() override {
        return boundary(__uuidof(IGeometry), [&] { self().set_empty(); });
    }

    // Answers IGeometry (the base of I) for QueryInterface.
    void* geometry_interface(REFIID riid) noexcept {
        if (riid == __uuidof(IGeometry)) return static_cast<IGeometry*>(static_cast<I*>(this));
        return nullptr;
    }

private:
    Self& self() { return *static_cast<Self*>(this); }
};

}  // namespace mapmodel
