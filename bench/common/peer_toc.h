// PeerToc: the table of contents that a host's developer writes instead of using the control,
// the way such code is usually written: a plain tree view (no hooks, no custom draw) holding the
// map, its layers and group layers with a check picture for their visibility, and under each
// layer its legend, whose swatches are pictures in the tree's image list, drawn once per rebuild
// by each class's symbol at the row's size and shown by the tree itself. It reads the map through
// the same model calls that the control's legend needs: names, visibility, renderer kinds,
// classes, labels and symbols.
//
// Its rows have the heights the control gives them (a stretched raster's ramp three standard
// rows, every other row one), so that a window of either tree shows the same rows.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string_view>
#include "bench/common/bare_tree.h"
#include "com/ptr.h"
#include "mapmodel.h"
#include "win/handles.h"

namespace bench {

class PeerToc {
public:
    // A tree of this size filling a frame of its own.
    PeerToc(int width, int height);
    HWND tree() const noexcept { return tree_; }
    long count() const { return long(SendMessageW(tree_, TVM_GETCOUNT, 0, 0)); }

    // Shows this map: the tree built from it.
    void show(IMap* map);
    // Builds the tree again from the map: every item and every swatch anew.
    void rebuild();

private:
    HTREEITEM add_item(HTREEITEM parent, std::wstring_view text, int image, int rows = 1);
    void add_layer(HTREEITEM parent, ILayer* layer);
    void add_feature_legend(HTREEITEM item, ILayer* layer);
    void add_raster_legend(HTREEITEM item, ILayer* layer);
    // A legend row: its label beside its symbol's swatch.
    void add_row(HTREEITEM item, std::wstring_view label, ISymbol* symbol, LONG shapeType, int rows = 1);
    // The symbol drawn on a swatch of the image list's size; its picture's index.
    int draw_swatch(ISymbol* symbol, LONG shapeType);

    Frame frame_;
    HWND tree_;
    win::ImageList images_;
    com::ComPtr<IMap> map_;
    // What drawing a swatch needs, made once: a memory context holding a white bitmap of the
    // swatch's size, the transformation of one world unit to one pixel, and the three shapes
    // that symbols are drawn on.
    win::MemoryDC dc_;
    win::Bitmap swatch_;
    com::ComPtr<ITransformation> transformation_;
    com::ComPtr<IGeometry> point_, line_, area_;
    // The symbols the peer makes itself, once: the fills of a composite's three bands, and the
    // gradient that shows a stretched raster's ramp (given each ramp in turn).
    com::ComPtr<ISymbol> bands_[3];
    com::ComPtr<IGradientFillSymbol> gradient_;
};

}  // namespace bench
