#include "kelpy/platform/dpi_font.h"
#include <utility>

namespace kelpy::platform {

void DpiFont::Apply(HWND window, Dpi dpi) {
    const auto current = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!scaled_ || current != scaled_.get()) own_ = current;  // a new window, or a font set since
    const Dpi system = Dpi::System();
    if (dpi == system) {
        if (scaled_ && current == scaled_.get()) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(own_), TRUE);
        scaled_.reset();
        return;
    }
    LOGFONTW look{};
    HGDIOBJ base = own_ ? static_cast<HGDIOBJ>(own_) : GetStockObject(DEFAULT_GUI_FONT);
    if (!GetObjectW(base, sizeof look, &look)) return;
    look.lfHeight = MulDiv(look.lfHeight, dpi.value(), system.value());
    win::Font font(CreateFontIndirectW(&look));
    if (!font) return;  // the window keeps the font it has
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    scaled_ = std::move(font);
}

}  // namespace kelpy::platform
