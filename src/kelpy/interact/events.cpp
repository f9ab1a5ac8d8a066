// The events of __TOC. Every argument goes by reference (VT_BYREF): the sinks may change it,
// and the caller gets back what they left.
#include "kelpy/interact/events.h"
#include "com/vbnum.h"

namespace kelpy {

namespace {
constexpr DISPID id_OnContextMenu = 1;
constexpr DISPID id_OnSymbolSelector = 2;
constexpr DISPID id_OnDragLayer = 3;
constexpr DISPID id_OnBeforeRefreshMap = 4;

VARIANTARG by_ref(LONG* value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_I4 | VT_BYREF;
    v.plVal = value;
    return v;
}

VARIANTARG by_ref(VARIANT_BOOL* value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BOOL | VT_BYREF;
    v.pboolVal = value;
    return v;
}

VARIANTARG by_ref(IDispatch** value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_DISPATCH | VT_BYREF;
    v.ppdispVal = value;
    return v;
}

// An object argument by reference: the slot owns one reference, which a sink may replace (it
// releases the old object and stores a new reference), as by-reference objects go.
template <class I>
class ObjectSlot {
public:
    explicit ObjectSlot(const com::ComPtr<I>& object) {
        if (object) object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&slot_));
    }
    ~ObjectSlot() {
        if (slot_) slot_->Release();
    }
    ObjectSlot(const ObjectSlot&) = delete;
    ObjectSlot& operator=(const ObjectSlot&) = delete;
    IDispatch** get() noexcept { return &slot_; }
    // What the slot holds now, as I (null when it holds another kind of object).
    com::ComPtr<I> value() const { return com::ComPtr<IDispatch>(slot_).template query<I>(); }

private:
    IDispatch* slot_ = nullptr;
};

// Arguments go into DISPPARAMS in reverse order: the last argument first.
template <size_t N>
DISPPARAMS params_of(VARIANTARG (&reversed)[N]) {
    return DISPPARAMS{reversed, nullptr, UINT(N), 0};
}
}  // namespace

void Events::FireEvent(DISPID id, DISPPARAMS& params) {
    if (!sinks_) return;
    sinks_->ForEach([&](IDispatch* sink) {
        // An event reports what is happening; a sink's failure is the sink's own business.
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    });
}

void Events::RaiseOnContextMenu(::TOCNodeType& nodeType) {
    LONG type = LONG(nodeType);
    VARIANTARG args[] = {by_ref(&type)};
    DISPPARAMS params = params_of(args);
    FireEvent(id_OnContextMenu, params);
    nodeType = ::TOCNodeType(type);
}

template <class I>
void Events::RaiseCancellable(DISPID id, bool& cancel, com::ComPtr<I>& object) {
    VARIANT_BOOL c = com::vb(cancel);
    ObjectSlot<I> slot(object);
    VARIANTARG args[] = {by_ref(slot.get()), by_ref(&c)};
    DISPPARAMS params = params_of(args);
    FireEvent(id, params);
    cancel = com::is_true(c);
    object = slot.value();
}

void Events::RaiseOnSymbolSelector(bool& cancel, com::ComPtr<ISymbol>& symbol) {
    RaiseCancellable(id_OnSymbolSelector, cancel, symbol);
}

void Events::RaiseOnDragLayer(bool& cancel, com::ComPtr<ILayer>& layer) { RaiseCancellable(id_OnDragLayer, cancel, layer); }

void Events::RaiseOnBeforeRefreshMap(bool& cancel) {
    VARIANT_BOOL c = com::vb(cancel);
    VARIANTARG args[] = {by_ref(&c)};
    DISPPARAMS params = params_of(args);
    FireEvent(id_OnBeforeRefreshMap, params);
    cancel = com::is_true(c);
}

}  // namespace kelpy
