// The context menus of the control's items and the view's commands: a layer's visibility (the
// control's own Space key on the item), renaming it (the control's own F2), zoom to a layer,
// removing a layer, a legend row's symbol
// (the control's own Enter key on the row), zoom to the full extent and refresh.
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include "com/error.h"
#include "com_server.h"
#include "commands.h"
#include "layer_extent.h"
#include "menus.h"
#include "viewer.h"

namespace viewer {

namespace {

std::optional<Extent> view_extent(IMapView* view) {
    com::ComPtr<IEnvelope> envelope;
    com::check(view->get_Extent(envelope.put()));
    return extent_of(envelope.get());
}

// The legend rows of a raster's bands (red, green, blue) and of its stretched ramp have no symbol
// to choose: the control leaves them alone.
bool fixed_legend(ILayer* layer) {
    auto raster = com::ComPtr<ILayer>(layer).query<IRasterLayer>();
    if (!raster) return false;
    com::ComPtr<IRasterRenderer> renderer;
    com::check(raster->get_Renderer(renderer.put()));
    return renderer && (renderer.query<IRasterStretchRenderer>() || renderer.query<IRasterRgbRenderer>());
}

}  // namespace

// The item is found again as the control found it: under the released button, or the selected
// item when a key asked (the control's SelectedLayer is the layer last pressed with the mouse,
// which need not be the selected item's).
void Viewer::OnContextMenuRequest() {
    if (!menu_request_) return;
    const MenuRequest request = *menu_request_;
    menu_request_.reset();
    if (!map_ || !tree_) return;
    HTREEITEM item = request.keyboard ? selected_item(tree_) : item_at(tree_, request.at);
    const auto place = layer_of_item(tree_, item, map_.get());
    if (!place) return;
    POINT at = request.at;
    if (request.keyboard) {  // below the item's text
        RECT r{};
        std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
        if (SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) {
            at = {r.left, r.bottom};
            ClientToScreen(tree_, &at);
        }
    }
    switch (request.type) {
    case ::TOCNodeType::Layer:
    case ::TOCNodeType::GroupLayer:
        if (!place->legend_row) ShowLayerMenu(item, *place, at);
        break;
    case ::TOCNodeType::LayerSymbol:
    case ::TOCNodeType::RendererItem:
        if (place->legend_row) ShowLegendMenu(item, *place, at);
        break;
    default:
        break;  // the root, headings and the last item have no menu
    }
}

void Viewer::ShowLayerMenu(HTREEITEM item, const LayerPlace& place, POINT at) {
    VARIANT_BOOL visible = VARIANT_FALSE;
    com::check(place.layer->get_Visible(&visible));
    Menu menu = make_popup_menu();
    append(menu.get(), MF_STRING | (visible != VARIANT_FALSE ? MF_CHECKED : 0), CmdLayerVisible, L"&Visible");
    append(menu.get(), MF_STRING | (layer_extent(place.layer.get()) ? 0 : MF_GRAYED), CmdZoomToLayer, L"&Zoom to layer");
    append(menu.get(), MF_STRING | (CanColorByField(place.layer.get()) ? 0 : MF_GRAYED), CmdColorByField,
           L"Colour by &field...");
    append(menu.get(), MF_STRING, CmdRenameLayer, L"Re&name (F2)");
    append(menu.get(), MF_SEPARATOR, 0, nullptr);
    append(menu.get(), MF_STRING, CmdRemoveLayer, L"&Remove layer");
    switch (prompts_.PickFromMenu(frame_, menu.get(), at)) {
    case CmdLayerVisible: PressKeyOn(item, VK_SPACE); break;
    case CmdRenameLayer: PressKeyOn(item, VK_F2); break;
    case CmdZoomToLayer: ZoomToLayer(place.layer.get()); break;
    case CmdColorByField: ColorByField(place.layer.get(), at); break;
    case CmdRemoveLayer: RemoveLayer(place); break;
    default: break;
    }
}

void Viewer::ShowLegendMenu(HTREEITEM item, const LayerPlace& place, POINT at) {
    Menu menu = make_popup_menu();
    append(menu.get(), MF_STRING | (fixed_legend(place.layer.get()) ? MF_GRAYED : 0), CmdChangeSymbol,
           L"Change &symbol...");
    if (prompts_.PickFromMenu(frame_, menu.get(), at) == CmdChangeSymbol) PressKeyOn(item, VK_RETURN);
}

// The key goes to the tree as a press of it would: the control acts on its selected item.
void Viewer::PressKeyOn(HTREEITEM item, WORD key) {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SetFocus(tree_);
    const LPARAM scan = LPARAM(MapVirtualKeyW(key, 0 /* MAPVK_VK_TO_VSC */)) << 16;
    SendMessageW(tree_, WM_KEYDOWN, key, scan | 1);
    SendMessageW(tree_, WM_KEYUP, key, scan | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

// Shows `extent` (Nothing: the full extent of the layers). The document changes when what the
// view shows does.
void Viewer::ZoomTo(IEnvelope* extent) {
    if (!map_) return;
    auto view = map_.as<IMapView>();
    const auto before = view_extent(view.get());
    com::check(view->putref_Extent(extent));
    RefreshView();
    if (view_extent(view.get()) != before) SetModified(true);
}

void Viewer::ZoomTo(const Extent& extent) {
    auto envelope = host::create_object<IEnvelope>(CLSID_Envelope, L"mapmodel.dll");
    com::check(envelope->PutCoords(extent.xmin, extent.ymin, extent.xmax, extent.ymax));
    ZoomTo(envelope.get());
}

void Viewer::ZoomToLayer(ILayer* layer) {
    const auto extent = layer_extent(layer);
    if (!extent) return;
    const auto now = view_extent(map_.as<IMapView>().get());
    ZoomTo(with_margin(*extent, now ? *now : *extent));
}

// A layer leaves the map, or its group layer. The control hears of the map's own changes and
// rebuilds its tree by itself; a group layer tells no one, so the control is asked to rebuild.
void Viewer::RemoveLayer(const LayerPlace& place) {
    if (place.group) {
        com::check(place.group->Delete(place.layer.get()));
        com::check(toc_->Reset());
    } else {
        com::check(map_->DeleteLayer(place.layer.get()));
    }
    SetModified(true);
    RefreshView();
    UpdateStatus();
}

void Viewer::RefreshView() {
    if (map_pane_) map_pane_->Refresh();
}

}  // namespace viewer
