// The record classes of the control: TOCNode (one per tree item), CRect, CustomDrawEventArgs and
// TreeViewHitTestInfo. They are real COM objects (dual interfaces, for hosts that see them
// through IDispatch) whose fields the control reads and writes directly from C++.
#pragma once
#include <string>
#include "kelpy/model/typelib.h"
#include "com/object.h"
#include "com/ptr.h"

namespace kelpy {

class TocNode final : public com::ComObject<TocNode, Dispatch<_TOCNode>, com::SupportErrorInfo> {
public:
    // Fields, in declaration order. A new record reads as a feature item with a simple renderer.
    com::ComPtr<IGroupLayer> GroupLayer;
    com::ComPtr<ISymbol> Symbol;
    ::TOCNodeType TOCNodeType = ::TOCNodeType::Root;
    com::ComPtr<ILayer> Layer;
    LONG_PTR Handle = 0;
    LONG ShapeType = 0;
    LONG ItemHeight = 0;
    LONG SymbolHeight = 0;
    LONG SymbolWidth = 0;
    LONG Index = 0;
    LONG Index2 = 0;
    ::LayerType LayerType = ::LayerType::FeatureLayer;
    ::RasterRendererType RasterRendererType = ::RasterRendererType::RGB;
    ::FeatureRendererType FeatureRendererType = ::FeatureRendererType::Simple;

    // Beside the record's interface, what the control shows with its row (draw/row_marks.h):
    // whether the map leaves the row's layer undrawn at its present scale (the scale, and the
    // range that rules it out, for the tip), and the row's feature count or its state.
    bool OutOfScale = false;
    double MapScale = 0;
    double RangeMinimum = 0;
    double RangeMaximum = 0;
    LONG FeatureCount = -1;

    // The TocNode behind v, or empty when v is not one of our records.
    static com::ComPtr<TocNode> own(IUnknown* v) noexcept;
    // Answers the private interface id by which own() recognises our records.
    void* query_more(REFIID riid) noexcept;

    STDMETHODIMP get_GroupLayer(IGroupLayer** v) override;
    STDMETHODIMP putref_GroupLayer(IGroupLayer* v) override;
    STDMETHODIMP get_Symbol(ISymbol** v) override;
    STDMETHODIMP putref_Symbol(ISymbol* v) override;
    STDMETHODIMP get_TOCNodeType(::TOCNodeType* v) override;
    STDMETHODIMP put_TOCNodeType(::TOCNodeType v) override;
    STDMETHODIMP get_Layer(ILayer** v) override;
    STDMETHODIMP putref_Layer(ILayer* v) override;
    STDMETHODIMP get_Handle(LONG_PTR* v) override;
    STDMETHODIMP put_Handle(LONG_PTR v) override;
    STDMETHODIMP get_ShapeType(GeometryType* v) override;
    STDMETHODIMP put_ShapeType(GeometryType v) override;
    STDMETHODIMP get_ItemHeight(LONG* v) override;
    STDMETHODIMP put_ItemHeight(LONG v) override;
    STDMETHODIMP get_SymbolHeight(LONG* v) override;
    STDMETHODIMP put_SymbolHeight(LONG v) override;
    STDMETHODIMP get_SymbolWidth(LONG* v) override;
    STDMETHODIMP put_SymbolWidth(LONG v) override;
    STDMETHODIMP get_Index(LONG* v) override;
    STDMETHODIMP put_Index(LONG v) override;
    STDMETHODIMP get_Index2(LONG* v) override;
    STDMETHODIMP put_Index2(LONG v) override;
    STDMETHODIMP get_LayerType(::LayerType* v) override;
    STDMETHODIMP put_LayerType(::LayerType v) override;
    STDMETHODIMP get_RasterRendererType(::RasterRendererType* v) override;
    STDMETHODIMP put_RasterRendererType(::RasterRendererType v) override;
    STDMETHODIMP get_FeatureRendererType(::FeatureRendererType* v) override;
    STDMETHODIMP put_FeatureRendererType(::FeatureRendererType v) override;
};

class CRect final : public com::ComObject<CRect, Dispatch<_CRect>, com::SupportErrorInfo> {
public:
    LONG Left = 0, Top = 0, Right = 0, Bottom = 0;

    // Right - Left and Bottom - Top; a difference outside the signed 32-bit range is the
    // overflow error.
    LONG Width() const;
    LONG Height() const;

    // The CRect behind v, or empty when v is not one of our rectangles.
    static com::ComPtr<CRect> own(_CRect* v) noexcept;
    // Answers the private interface id by which own() recognises our rectangles.
    void* query_more(REFIID riid) noexcept;

    STDMETHODIMP get_Left(LONG* v) override;
    STDMETHODIMP put_Left(LONG v) override;
    STDMETHODIMP get_Top(LONG* v) override;
    STDMETHODIMP put_Top(LONG v) override;
    STDMETHODIMP get_Right(LONG* v) override;
    STDMETHODIMP put_Right(LONG v) override;
    STDMETHODIMP get_Bottom(LONG* v) override;
    STDMETHODIMP put_Bottom(LONG v) override;
    STDMETHODIMP get_Width(VARIANT* v) override;
    STDMETHODIMP get_Height(VARIANT* v) override;
};

class CustomDrawEventArgs final
    : public com::ComObject<CustomDrawEventArgs, Dispatch<_CustomDrawEventArgs>, com::SupportErrorInfo> {
public:
    com::ComPtr<IDispatch> Node;  // the tree item being drawn, or Nothing
    com::ComPtr<CRect> Rect;
    LONG_PTR hdc = 0;
    bool SkipDefault = false;
    LONG ItemHeight = 0;

    STDMETHODIMP get_Node(IDispatch** v) override;
    STDMETHODIMP putref_Node(IDispatch* v) override;
    STDMETHODIMP get_Rect(_CRect** v) override;
    STDMETHODIMP putref_Rect(_CRect* v) override;
    STDMETHODIMP get_hdc(LONG_PTR* v) override;
    STDMETHODIMP put_hdc(LONG_PTR v) override;
    STDMETHODIMP get_SkipDefault(VARIANT_BOOL* v) override;
    STDMETHODIMP put_SkipDefault(VARIANT_BOOL v) override;
    STDMETHODIMP get_ItemHeight(LONG* v) override;
    STDMETHODIMP put_ItemHeight(LONG v) override;
};

class TreeViewHitTestInfo final
    : public com::ComObject<TreeViewHitTestInfo, Dispatch<_TreeViewHitTestInfo>, com::SupportErrorInfo> {
public:
    com::ComPtr<IDispatch> Node;  // the item under the point, or Nothing
    ::TreeviewHitTestCode TreeviewHitTest = static_cast<::TreeviewHitTestCode>(-1);  // no hit test made

    STDMETHODIMP get_Node(IDispatch** v) override;
    STDMETHODIMP putref_Node(IDispatch* v) override;
    STDMETHODIMP get_TreeviewHitTest(::TreeviewHitTestCode* v) override;
    STDMETHODIMP put_TreeviewHitTest(::TreeviewHitTestCode v) override;
};

// What lies at a point of the control, for a host's own menus and tips (_TOC2's ItemAt): read
// only by the host; the control fills the fields.
class TocItemInfo final : public com::ComObject<TocItemInfo, Dispatch<_TOCItemInfo>, com::SupportErrorInfo> {
public:
    ::TOCItemKind Kind = ::TOCItemKind::ItemNone;
    ::TOCItemPart Part = ::TOCItemPart::PartNone;
    com::ComPtr<ILayer> Layer;
    LONG ClassIndex = -1;
    std::wstring Text;

    STDMETHODIMP get_Kind(::TOCItemKind* v) override;
    STDMETHODIMP get_Part(::TOCItemPart* v) override;
    STDMETHODIMP get_Layer(ILayer** v) override;
    STDMETHODIMP get_ClassIndex(LONG* v) override;
    STDMETHODIMP get_Text(BSTR* v) override;
};

}  // namespace kelpy
