// Line: a straight segment from one point to another. The segment keeps the coordinates of
// the points it is given (not the point objects); its points read back as new point objects.
#pragma once
#include <optional>
#include "com/object.h"
#include "mapmodel/cloneable.h"
#include "mapmodel/geometry/geometry_base.h"

namespace mapmodel {

class Line final : public com::ComObject<Line, GeometryBase<Line, ILine>, Cloneable<Line>, com::SupportErrorInfo> {
public:
    Line() = default;
    Line(std::optional<Vec> from, std::optional<Vec> to) : from_(from), to_(to) {}

    void* query_more(REFIID riid) noexcept;
    GeometryType geometry_type() const { return GeometryLine; }
    // Empty until both ends are set.
    Bounds bounds() const;
    void set_empty() { from_.reset(); to_.reset(); }
    com::ComPtr<Line> duplicate() const { return Line::create(from_, to_); }

    STDMETHODIMP get_FromPoint(IPoint** p) override;
    STDMETHODIMP putref_FromPoint(IPoint* p) override;
    STDMETHODIMP get_ToPoint(IPoint** p) override;
    STDMETHODIMP putref_ToPoint(IPoint* p) override;
    STDMETHODIMP get_Length(double* v) override;
    STDMETHODIMP PutCoords(IPoint* from, IPoint* to) override;

private:
    std::optional<Vec> from_, to_;
};

}  // namespace mapmodel
