#include "kelpy/model/records.h"
#include "com/boundary.h"
#include "com/bstr.h"
#include "com/vbnum.h"

namespace kelpy {

namespace {
template <class T, class U>
HRESULT out_value(T* out, const U& v) {
    if (!out) return E_POINTER;
    *out = static_cast<T>(v);
    return S_OK;
}

template <class I, class P>
HRESULT out_object(I** out, const P& p) {
    if (!out) return E_POINTER;
    *out = com::ComPtr<I>(p.get()).detach();
    return S_OK;
}

template <class T, class V>
HRESULT in_value(T& field, V v) {
    field = static_cast<T>(v);
    return S_OK;
}

template <class I>
HRESULT in_object(com::ComPtr<I>& field, I* v) {
    field = v;
    return S_OK;
}
}  // namespace

// ---- TOCNode

// An interface id that only TocNode answers, with the object itself.
static constexpr GUID own_record_iid = {0x4e0b7a61, 0x93c2, 0x4d58, {0xa1, 0x6e, 0x27, 0xd4, 0x0b, 0x95, 0xc3, 0x18}};

void* TocNode::query_more(REFIID riid) noexcept { return riid == own_record_iid ? this : nullptr; }

com::ComPtr<TocNode> TocNode::own(IUnknown* v) noexcept { return com::self_of<TocNode>(v, own_record_iid); }

STDMETHODIMP TocNode::get_GroupLayer(IGroupLayer** v) { return out_object(v, GroupLayer); }
STDMETHODIMP TocNode::putref_GroupLayer(IGroupLayer* v) { return in_object(GroupLayer, v); }
STDMETHODIMP TocNode::get_Symbol(ISymbol** v) { return out_object(v, Symbol); }
STDMETHODIMP TocNode::putref_Symbol(ISymbol* v) { return in_object(Symbol, v); }
STDMETHODIMP TocNode::get_TOCNodeType(::TOCNodeType* v) { return out_value(v, TOCNodeType); }
STDMETHODIMP TocNode::put_TOCNodeType(::TOCNodeType v) { return in_value(TOCNodeType, v); }
STDMETHODIMP TocNode::get_Layer(ILayer** v) { return out_object(v, Layer); }
STDMETHODIMP TocNode::putref_Layer(ILayer* v) { return in_object(Layer, v); }
STDMETHODIMP TocNode::get_Handle(LONG_PTR* v) { return out_value(v, Handle); }
STDMETHODIMP TocNode::put_Handle(LONG_PTR v) { return in_value(Handle, v); }
STDMETHODIMP TocNode::get_ShapeType(GeometryType* v) { return out_value(v, ShapeType); }
STDMETHODIMP TocNode::put_ShapeType(GeometryType v) { return in_value(ShapeType, v); }
STDMETHODIMP TocNode::get_ItemHeight(LONG* v) { return out_value(v, ItemHeight); }
STDMETHODIMP TocNode::put_ItemHeight(LONG v) { return in_value(ItemHeight, v); }
STDMETHODIMP TocNode::get_SymbolHeight(LONG* v) { return out_value(v, SymbolHeight); }
STDMETHODIMP TocNode::put_SymbolHeight(LONG v) { return in_value(SymbolHeight, v); }
STDMETHODIMP TocNode::get_SymbolWidth(LONG* v) { return out_value(v, SymbolWidth); }
STDMETHODIMP TocNode::put_SymbolWidth(LONG v) { return in_value(SymbolWidth, v); }
STDMETHODIMP TocNode::get_Index(LONG* v) { return out_value(v, Index); }
STDMETHODIMP TocNode::put_Index(LONG v) { return in_value(Index, v); }
STDMETHODIMP TocNode::get_Index2(LONG* v) { return out_value(v, Index2); }
STDMETHODIMP TocNode::put_Index2(LONG v) { return in_value(Index2, v); }
STDMETHODIMP TocNode::get_LayerType(::LayerType* v) { return out_value(v, LayerType); }
STDMETHODIMP TocNode::put_LayerType(::LayerType v) { return in_value(LayerType, v); }
STDMETHODIMP TocNode::get_RasterRendererType(::RasterRendererType* v) { return out_value(v, RasterRendererType); }
STDMETHODIMP TocNode::put_RasterRendererType(::RasterRendererType v) { return in_value(RasterRendererType, v); }
STDMETHODIMP TocNode::get_FeatureRendererType(::FeatureRendererType* v) { return out_value(v, FeatureRendererType); }
STDMETHODIMP TocNode::put_FeatureRendererType(::FeatureRendererType v) { return in_value(FeatureRendererType, v); }

// ---- CRect

static LONG checked_difference(LONG a, LONG b) {
    long long d = static_cast<long long>(a) - b;
    if (d < INT32_MIN || d > INT32_MAX) com::raise(CTL_E_OVERFLOW);
    return static_cast<LONG>(d);
}

LONG CRect::Width() const { return checked_difference(Right, Left); }
LONG CRect::Height() const { return checked_difference(Bottom, Top); }

static HRESULT out_difference(VARIANT* v, LONG (CRect::*measure)() const, const CRect* r) {
    if (!v) return E_POINTER;
    VariantInit(v);
    return com::boundary(__uuidof(_CRect), [&] {
        LONG d = (r->*measure)();
        v->vt = VT_I4;
        v->lVal = d;
    });
}

// An interface id that only CRect answers, with the object itself.
static constexpr GUID own_rect_iid = {0x1c90832d, 0x0f71, 0x46d4, {0xb2, 0xf4, 0xc0, 0x98, 0x47, 0x8d, 0xb9, 0x29}};

void* CRect::query_more(REFIID riid) noexcept { return riid == own_rect_iid ? this : nullptr; }

com::ComPtr<CRect> CRect::own(_CRect* v) noexcept { return com::self_of<CRect>(v, own_rect_iid); }

STDMETHODIMP CRect::get_Left(LONG* v) { return out_value(v, Left); }
STDMETHODIMP CRect::put_Left(LONG v) { return in_value(Left, v); }
STDMETHODIMP CRect::get_Top(LONG* v) { return out_value(v, Top); }
STDMETHODIMP CRect::put_Top(LONG v) { return in_value(Top, v); }
STDMETHODIMP CRect::get_Right(LONG* v) { return out_value(v, Right); }
STDMETHODIMP CRect::put_Right(LONG v) { return in_value(Right, v); }
STDMETHODIMP CRect::get_Bottom(LONG* v) { return out_value(v, Bottom); }
STDMETHODIMP CRect::put_Bottom(LONG v) { return in_value(Bottom, v); }
STDMETHODIMP CRect::get_Width(VARIANT* v) { return out_difference(v, &CRect::Width, this); }
STDMETHODIMP CRect::get_Height(VARIANT* v) { return out_difference(v, &CRect::Height, this); }

// ---- CustomDrawEventArgs

STDMETHODIMP CustomDrawEventArgs::get_Node(IDispatch** v) { return out_object(v, Node); }
STDMETHODIMP CustomDrawEventArgs::putref_Node(IDispatch* v) { return in_object(Node, v); }
STDMETHODIMP CustomDrawEventArgs::get_Rect(_CRect** v) { return out_object(v, Rect); }
STDMETHODIMP CustomDrawEventArgs::putref_Rect(_CRect* v) {
    // Only our own rectangles can be held here: the control reads their fields directly.
    return com::boundary(__uuidof(_CustomDrawEventArgs), [&] {
        com::ComPtr<CRect> own = CRect::own(v);
        if (v && !own) com::raise(com::CTL_E_TYPEMISMATCH);
        Rect = own;
    });
}
STDMETHODIMP CustomDrawEventArgs::get_hdc(LONG_PTR* v) { return out_value(v, hdc); }
STDMETHODIMP CustomDrawEventArgs::put_hdc(LONG_PTR v) { return in_value(hdc, v); }
STDMETHODIMP CustomDrawEventArgs::get_SkipDefault(VARIANT_BOOL* v) { return out_value(v, com::vb(SkipDefault)); }
STDMETHODIMP CustomDrawEventArgs::put_SkipDefault(VARIANT_BOOL v) { SkipDefault = com::is_true(v); return S_OK; }
STDMETHODIMP CustomDrawEventArgs::get_ItemHeight(LONG* v) { return out_value(v, ItemHeight); }
STDMETHODIMP CustomDrawEventArgs::put_ItemHeight(LONG v) { return in_value(ItemHeight, v); }

// ---- TreeViewHitTestInfo

STDMETHODIMP TreeViewHitTestInfo::get_Node(IDispatch** v) { return out_object(v, Node); }
STDMETHODIMP TreeViewHitTestInfo::putref_Node(IDispatch* v) { return in_object(Node, v); }
STDMETHODIMP TreeViewHitTestInfo::get_TreeviewHitTest(::TreeviewHitTestCode* v) { return out_value(v, TreeviewHitTest); }
STDMETHODIMP TreeViewHitTestInfo::put_TreeviewHitTest(::TreeviewHitTestCode v) { return in_value(TreeviewHitTest, v); }

// ---- TOCItemInfo

STDMETHODIMP TocItemInfo::get_Kind(::TOCItemKind* v) { return out_value(v, Kind); }
STDMETHODIMP TocItemInfo::get_Part(::TOCItemPart* v) { return out_value(v, Part); }
STDMETHODIMP TocItemInfo::get_Layer(ILayer** v) { return out_object(v, Layer); }
STDMETHODIMP TocItemInfo::get_ClassIndex(LONG* v) { return out_value(v, ClassIndex); }
STDMETHODIMP TocItemInfo::get_Text(BSTR* v) {
    return com::boundary(IID__TOCItemInfo, [&] {
        if (!v) com::raise(E_POINTER);
        *v = com::Bstr(Text).detach();
    });
}

}  // namespace kelpy
