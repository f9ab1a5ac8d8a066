#include "bench/common/peer_toc.h"
#include "com/bstr.h"
#include "com/error.h"

namespace bench {

namespace {
constexpr int swatch_size = 16;
// The pictures of the image list before the swatches.
enum Picture { checked, unchecked, map_picture };
// The rows of a stretched raster's ramp.
constexpr int ramp_rows = 3;

using com::check;
using com::ComPtr;

// A picture of the image list's size drawn by `paint` on a white ground.
win::Bitmap picture(HDC screen, void (*paint)(HDC, RECT&)) {
    win::MemoryDC dc(CreateCompatibleDC(screen));
    win::Bitmap bitmap(CreateCompatibleBitmap(screen, swatch_size, swatch_size));
    win::Selection selected(dc.get(), bitmap.get());
    RECT r{0, 0, swatch_size, swatch_size};
    FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InflateRect(&r, -2, -2);
    paint(dc.get(), r);
    return bitmap;
}

ComPtr<ISymbol> solid_fill(COLORREF color) {
    auto rgb = ComPtr<IRgbColor>::create(CLSID_RgbColor);
    check(rgb->put_RGB(LONG(color)));
    auto fill = ComPtr<ISolidFillSymbol>::create(CLSID_SolidFillSymbol);
    check(fill->putref_Color(rgb.as<IColor>().get()));
    return fill.as<ISymbol>();
}
}  // namespace

PeerToc::PeerToc(int width, int height) : frame_(width, height) {
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_NONEVENHEIGHT,
                            0, 0, width, height, frame_.hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    // Grows by many pictures at a time: a legend has thousands of swatches.
    images_ = win::ImageList::created(ImageList_Create(swatch_size, swatch_size, ILC_COLOR24, 64, 1024));
    SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.get()));

    const win::WindowDC screen(tree_);
    dc_ = win::MemoryDC(CreateCompatibleDC(screen.get()));
    swatch_ = win::Bitmap(CreateCompatibleBitmap(screen.get(), swatch_size, swatch_size));

    auto bounds = ComPtr<IEnvelope>::create(CLSID_Envelope);
    check(bounds->PutCoords(0, 0, swatch_size, swatch_size));
    auto transformation = ComPtr<IDisplayTransformation>::create(CLSID_DisplayTransformation);
    check(transformation->put_Bounds(bounds.get()));
    check(transformation->put_VisibleBounds(bounds.get()));
    check(transformation->SetDeviceFrame(0, 0, swatch_size, swatch_size));
    check(transformation->put_Resolution(GetDeviceCaps(screen.get(), LOGPIXELSY)));
    transformation_ = transformation.as<ITransformation>();

    auto point = ComPtr<IPoint>::create(CLSID_Point);
    check(point->PutCoords(swatch_size / 2.0, swatch_size / 2.0));
    point_ = point.as<IGeometry>();
    auto from = ComPtr<IPoint>::create(CLSID_Point);
    check(from->PutCoords(1, swatch_size / 2.0));
    auto to = ComPtr<IPoint>::create(CLSID_Point);
    check(to->PutCoords(swatch_size - 1, swatch_size / 2.0));
    auto line = ComPtr<ILine>::create(CLSID_Line);
    check(line->PutCoords(from.get(), to.get()));
    line_ = line.as<IGeometry>();
    auto area = ComPtr<IEnvelope>::create(CLSID_Envelope);
    check(area->PutCoords(2, 2, swatch_size - 2, swatch_size - 2));
    area_ = area.as<IGeometry>();

    bands_[0] = solid_fill(RGB(255, 0, 0));
    bands_[1] = solid_fill(RGB(0, 255, 0));
    bands_[2] = solid_fill(RGB(0, 0, 255));
    gradient_ = ComPtr<IGradientFillSymbol>::create(CLSID_GradientFillSymbol);
    check(gradient_->put_Angle(270.0));
    check(gradient_->put_IntervalCount(swatch_size));
}

void PeerToc::show(IMap* map) {
    map_ = map;
    rebuild();
}

void PeerToc::rebuild() {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // The check pictures and the map's, then one swatch per legend row.
    ImageList_Remove(images_.get(), -1);
    const win::WindowDC screen(tree_);
    ImageList_Add(images_.get(), picture(screen.get(), [](HDC dc, RECT& r) {
                      DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
                  }).get(), nullptr);
    ImageList_Add(images_.get(), picture(screen.get(), [](HDC dc, RECT& r) {
                      DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT);
                  }).get(), nullptr);
    ImageList_Add(images_.get(), picture(screen.get(), [](HDC dc, RECT& r) {
                      FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
                  }).get(), nullptr);
    if (map_) {
        com::Bstr name;
        check(map_->get_Name(name.put()));
        HTREEITEM root = add_item(TVI_ROOT, name.view(), map_picture);
        LONG count = 0;
        check(map_->get_LayerCount(&count));
        for (LONG i = 0; i < count; ++i) {
            ComPtr<ILayer> layer;
            check(map_->get_Layer(i, layer.put()));
            add_layer(root, layer.get());
        }
    }
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
}

HTREEITEM PeerToc::add_item(HTREEITEM parent, std::wstring_view text, int image, int rows) {
    const std::wstring owned(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.itemex.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_INTEGRAL;
    insert.itemex.pszText = const_cast<wchar_t*>(owned.c_str());
    insert.itemex.iImage = insert.itemex.iSelectedImage = image;
    insert.itemex.state = insert.itemex.stateMask = TVIS_EXPANDED;
    insert.itemex.iIntegral = rows;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void PeerToc::add_layer(HTREEITEM parent, ILayer* layer) {
    com::Bstr name;
    check(layer->get_Name(name.put()));
    VARIANT_BOOL visible = VARIANT_FALSE;
    check(layer->get_Visible(&visible));
    HTREEITEM item = add_item(parent, name.view(), visible ? checked : unchecked);
    ComPtr<ILayer> held(layer);
    if (auto members = held.query<ISubLayers>()) {
        LONG count = 0;
        check(members->get_Count(&count));
        for (LONG i = 0; i < count; ++i) {
            ComPtr<ILayer> member;
            check(members->get_Layer(i, member.put()));
            add_layer(item, member.get());
        }
    } else if (held.query<IFeatureRendering>()) {
        add_feature_legend(item, layer);
    } else if (held.query<IRasterLayer>()) {
        add_raster_legend(item, layer);
    }
}

void PeerToc::add_feature_legend(HTREEITEM item, ILayer* layer) {
    auto rendering = ComPtr<ILayer>(layer).as<IFeatureRendering>();
    ComPtr<IFeatureClass> features;
    check(rendering->get_FeatureClass(features.put()));
    LONG shapeType = 0;
    if (features) check(features->get_ShapeType(&shapeType));
    ComPtr<IFeatureRenderer> renderer;
    check(rendering->get_Renderer(renderer.put()));
    if (auto simple = renderer.query<ISimpleRenderer>()) {
        ComPtr<ISymbol> symbol;
        check(simple->get_Symbol(symbol.put()));
        add_row(item, L"", symbol.get(), shapeType);
    } else if (auto breaks = renderer.query<IClassBreaksRenderer>()) {
        com::Bstr field;
        check(breaks->get_Field(field.put()));
        add_item(item, field.view(), I_IMAGENONE);
        LONG count = 0;
        check(breaks->get_BreakCount(&count));
        for (LONG i = 0; i < count; ++i) {
            com::Bstr label;
            check(breaks->get_Label(i, label.put()));
            ComPtr<ISymbol> symbol;
            check(breaks->get_Symbol(i, symbol.put()));
            add_row(item, label.view(), symbol.get(), shapeType);
        }
    } else if (auto unique = renderer.query<IUniqueValueRenderer>()) {
        com::Bstr field;
        check(unique->get_Field(0, field.put()));
        add_item(item, field.view(), I_IMAGENONE);
        LONG count = 0;
        check(unique->get_ValueCount(&count));
        for (LONG i = 0; i < count; ++i) {
            com::Bstr value, label;
            check(unique->get_Value(i, value.put()));
            check(unique->get_Label(value.get(), label.put()));
            ComPtr<ISymbol> symbol;
            check(unique->get_Symbol(value.get(), symbol.put()));
            add_row(item, label.view(), symbol.get(), shapeType);
        }
    } else if (auto chart = renderer.query<IChartRenderer>()) {
        ComPtr<IChartSymbol> symbol;
        check(chart->get_ChartSymbol(symbol.put()));
        if (symbol) add_row(item, L"", symbol.as<ISymbol>().get(), shapeType);
    }
}

void PeerToc::add_raster_legend(HTREEITEM item, ILayer* layer) {
    ComPtr<IRasterRenderer> renderer;
    check(ComPtr<ILayer>(layer).as<IRasterLayer>()->get_Renderer(renderer.put()));
    if (renderer.query<IRasterRgbRenderer>()) {
        add_item(item, L"RGB Composite", I_IMAGENONE);
        add_row(item, L"Red: Band_1", bands_[0].get(), GeometryPolygon);
        add_row(item, L"Green: Band_2", bands_[1].get(), GeometryPolygon);
        add_row(item, L"Blue: Band_3", bands_[2].get(), GeometryPolygon);
    } else if (auto stretch = renderer.query<IRasterStretchRenderer>()) {
        ComPtr<IColorRamp> ramp;
        check(stretch->get_ColorRamp(ramp.put()));
        check(gradient_->putref_ColorRamp(ramp.get()));
        add_row(item, L"High - Low", gradient_.as<ISymbol>().get(), GeometryPolygon, ramp_rows);
    } else if (auto unique = renderer.query<IRasterUniqueValueRenderer>()) {
        com::Bstr field;
        check(unique->get_Field(field.put()));
        add_item(item, field.view(), I_IMAGENONE);
        LONG classes = 0;
        check(unique->get_ClassCount(&classes));
        for (LONG i = 0; i < classes; ++i) {
            LONG values = 0;
            check(unique->get_ValueCount(i, &values));
            for (LONG j = 0; j < values; ++j) {
                com::Bstr text;
                check(unique->get_Text(i, j, text.put()));
                ComPtr<ISymbol> symbol;
                check(unique->get_Symbol(i, j, symbol.put()));
                add_row(item, text.view(), symbol.get(), GeometryPolygon);
            }
        }
    } else if (auto classify = renderer.query<IRasterClassifyRenderer>()) {
        com::Bstr field;
        check(classify->get_Field(field.put()));
        add_item(item, field.view(), I_IMAGENONE);
        LONG classes = 0;
        check(classify->get_ClassCount(&classes));
        for (LONG i = 0; i < classes; ++i) {
            com::Bstr label;
            check(classify->get_Label(i, label.put()));
            ComPtr<ISymbol> symbol;
            check(classify->get_Symbol(i, symbol.put()));
            add_row(item, label.view(), symbol.get(), GeometryPolygon);
        }
    }
}

void PeerToc::add_row(HTREEITEM item, std::wstring_view label, ISymbol* symbol, LONG shapeType, int rows) {
    add_item(item, label, symbol ? draw_swatch(symbol, shapeType) : I_IMAGENONE, rows);
}

int PeerToc::draw_swatch(ISymbol* symbol, LONG shapeType) {
    IGeometry* shape = shapeType == GeometryPoint ? point_.get() : shapeType == GeometryPolyline ? line_.get() : area_.get();
    {
        win::Selection selected(dc_.get(), swatch_.get());
        RECT all{0, 0, swatch_size, swatch_size};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        check(symbol->SetupDC(reinterpret_cast<LONG_PTR>(dc_.get()), transformation_.get()));
        const HRESULT drawn = symbol->Draw(shape);
        check(symbol->ResetDC());
        check(drawn);
    }  // the image list copies the bitmap once no context holds it
    return ImageList_Add(images_.get(), swatch_.get(), nullptr);
}

}  // namespace bench
