#include "kelpy/draw/symbol_factories.h"
#include <cstdint>
#include "com/class_objects.h"
#include "com/error.h"

namespace kelpy::draw {

namespace {
// The error CreateTransFromDC raises (and catches) for a device context without a resolution.
constexpr HRESULT E_NO_RESOLUTION = HRESULT(0x80041B5E);
constexpr wchar_t no_resolution_source[] = L"TOC.CreateTransFromDC";
constexpr wchar_t no_resolution_description[] = L"Could not retrieve Resolution from device context.";

// A 32-bit whole-number sum; a result outside the range is the overflow error.
LONG checked_sum(LONG a, LONG b) {
    const int64_t sum = int64_t(a) + int64_t(b);
    if (sum < INT32_MIN || sum > INT32_MAX) com::raise(CTL_E_OVERFLOW);
    return LONG(sum);
}
}  // namespace

com::ComPtr<ITransformation> CreateTransFromDC(LONG_PTR hdc, LONG width, LONG height) {
    // Every error of the steps below ends here: the caller sees only a missing transformation.
    try {
        auto envelope = com::create_instance<IEnvelope>(CLSID_Envelope);
        com::check(envelope->PutCoords(0.0, 0.0, double(width), double(height)));
        const RECT device{0, 0, width, height};
        const int resolution = GetDeviceCaps(reinterpret_cast<HDC>(hdc), LOGPIXELSY);
        if (resolution == 0) com::raise(E_NO_RESOLUTION, no_resolution_description, no_resolution_source);
        auto transformation = com::create_instance<IDisplayTransformation>(CLSID_DisplayTransformation);
        com::check(transformation->put_Bounds(envelope.get()));
        com::check(transformation->put_VisibleBounds(envelope.get()));
        com::check(transformation->SetDeviceFrame(device.left, device.top, device.right, device.bottom));
        com::check(transformation->put_Resolution(double(resolution)));
        return transformation.as<ITransformation>();
    } catch (const com::ComError&) {
        return {};
    }
}

com::ComPtr<IGeometry> CreateSymbolGeometry(LONG x, LONG y, LONG width, LONG height, LONG shapeType) {
    switch (shapeType) {
    case GeometryPoint: {
        auto point = com::create_instance<IPoint>(CLSID_Point);
        com::check(point->PutCoords(x + width / 2.0, y + height / 2.0));
        return point.as<IGeometry>();
    }
    case GeometryPolyline: {
        // A horizontal line across the rectangle at half its height: the end takes its y from
        // the start as the start holds it.
        auto from = com::create_instance<IPoint>(CLSID_Point);
        com::check(from->PutCoords(double(x), y + height / 2.0));
        auto to = com::create_instance<IPoint>(CLSID_Point);
        com::check(to->put_X(double(checked_sum(x, width))));
        double fromY = 0;
        com::check(from->get_Y(&fromY));
        com::check(to->put_Y(fromY));
        auto line = com::create_instance<ILine>(CLSID_Line);
        com::check(line->putref_FromPoint(from.get()));
        com::check(line->putref_ToPoint(to.get()));
        return line.as<IGeometry>();
    }
    case GeometryPolygon: {
        const LONG right = checked_sum(x, width);
        const LONG top = checked_sum(y, height);
        auto envelope = com::create_instance<IEnvelope>(CLSID_Envelope);
        com::check(envelope->PutCoords(double(x), double(y), double(right), double(top)));
        return envelope.as<IGeometry>();
    }
    default:
        return {};
    }
}

}  // namespace kelpy::draw
