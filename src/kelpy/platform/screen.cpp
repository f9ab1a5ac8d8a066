#include "kelpy/platform/screen.h"
#include "win/handles.h"

namespace kelpy::platform {

namespace {
// The screen's logical resolution does not change while a process runs, so it is read once.
struct ScreenResolution {
    int x = 96, y = 96;
    ScreenResolution() {
        if (const win::WindowDC dc = win::WindowDC::try_get(nullptr)) {
            x = GetDeviceCaps(dc.get(), LOGPIXELSX);
            y = GetDeviceCaps(dc.get(), LOGPIXELSY);
        }
    }
};

const ScreenResolution& resolution() {
    static const ScreenResolution r;
    return r;
}
}  // namespace

float TwipsPerPixelX() { return 1440.0f / float(resolution().x); }
float TwipsPerPixelY() { return 1440.0f / float(resolution().y); }

}  // namespace kelpy::platform
