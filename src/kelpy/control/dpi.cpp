// The control follows the resolution of the window it lives in: when its window is made, and
// when the window's resolution changes while it lives (the window moved to a monitor of another
// resolution: WM_DPICHANGED_AFTERPARENT for a child window, WM_DPICHANGED for a top-level one).
// Everything designed in pixels at 96 dpi is then made again for the new resolution: the item
// images drawn for the size, the tree's indent and font (its row height follows the images and
// the font), the swatches and rows of the legend (the tree is rebuilt when it shows a map), and
// the drag cursors (chosen for the tree's resolution when shown).
#include "kelpy/control/toc.h"
#include <commctrl.h>
#include "com/error.h"
#include "kelpy/tree/item_images.h"

namespace kelpy {

namespace {
// The sizes of the item images and of the tree's indent at 96 dpi.
constexpr int item_image_size = 16;
constexpr int tree_indent = 19;
}  // namespace

void Toc::FollowDpi() {
    HWND tree = tvwTOC.hWnd();
    if (!tree) return;
    const platform::Dpi dpi = platform::Dpi::Of(m_hWnd);
    const bool changed = dpi != m_painter.dpi();
    const int size = dpi(item_image_size);
    if (imlTOC.width() != size) {
        tvwTOC.SetImageList(nullptr);  // the tree never holds the list that is replaced
        imlTOC.Resize(size, size);
        tree::LoadItemImages(imlTOC);
        tvwTOC.SetImageList(&imlTOC);
    }
    m_dpiFont.Apply(tree, dpi);
    SendMessageW(tree, TVM_SETINDENT, WPARAM(dpi(tree_indent)), 0);
    m_painter.SetDpi(dpi);
    // The legend's rows are measured again for the new resolution.
    if (changed && m_bWindowStarted && m_pMap) com::check(Reset());
}

}  // namespace kelpy
