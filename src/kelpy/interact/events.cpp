// The events of __TOC and __TOC2. Every argument goes by reference (VT_BYREF): the sinks may
// change it, and the caller gets back what they left.
#include "kelpy/interact/events.h"
#include "com/bstr.h"
#include "com/vbnum.h"
#include "kelpy/platform/held.h"

namespace kelpy {

namespace {
constexpr DISPID id_OnContextMenu = 1;
constexpr DISPID id_OnSymbolSelector = 2;
constexpr DISPID id_OnDragLayer = 3;
constexpr DISPID id_OnBeforeRefreshMap = 4;
constexpr DISPID id_OnLayerRenaming = 1;  // of __TOC2
constexpr DISPID id_OnActionFailed = 2;   // of __TOC2

// An argument by reference: a VARIANT of type `vt` pointing at the caller's `value` (every
// by-reference VARIANT keeps its pointer in the same place, whatever it points at).
template <class T>
VARIANTARG by_ref(VARTYPE vt, T* value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = vt | VT_BYREF;
    v.byref = value;
    return v;
}

// Arguments go into DISPPARAMS in reverse order: the last argument first.
template <size_t N>
DISPPARAMS params_of(VARIANTARG (&reversed)[N]) {
    return DISPPARAMS{reversed, nullptr, UINT(N), 0};
}
}  // namespace

LONG ErrNumber(HRESULT hr) noexcept {
    return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? LONG(HRESULT_CODE(hr)) : LONG(hr);
}

void Events::FireEvent(const EventSinks* sinks, DISPID id, DISPPARAMS& params, const platform::NodePtr& item) {
    if (!sinks) return;
    {
        const platform::Held<EventOwner> held(owner_);
        sinks->ForEach([&](IDispatch* sink) {
            // An event reports what is happening; a sink's failure is the sink's own business.
            sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        });
        if (owner_ && !owner_->Present()) throw ActionAbandoned();  // `held` may be the last reference
    }
    if (item && item->removed()) throw ActionAbandoned();
}

void Events::RaiseOnContextMenu(::TOCNodeType& nodeType) {
    LONG type = LONG(nodeType);
    VARIANTARG args[] = {by_ref(VT_I4, &type)};
    DISPPARAMS params = params_of(args);
    FireEvent(id_OnContextMenu, params);
    nodeType = ::TOCNodeType(type);
}

template <class I>
void Events::RaiseCancellable(DISPID id, bool& cancel, com::ComPtr<I>& object, const platform::NodePtr& item) {
    // The object goes as a reference of the slot's own, which a sink may replace (releasing the
    // old object and storing a new reference), as by-reference objects go.
    VARIANT_BOOL c = com::vb(cancel);
    com::ComPtr<IDispatch> slot = object.template query<IDispatch>();
    VARIANTARG args[] = {by_ref(VT_DISPATCH, slot.inout()), by_ref(VT_BOOL, &c)};
    DISPPARAMS params = params_of(args);
    FireEvent(id, params, item);
    cancel = com::is_true(c);
    object = slot.template query<I>();
}

void Events::RaiseOnSymbolSelector(bool& cancel, com::ComPtr<ISymbol>& symbol) {
    RaiseCancellable(id_OnSymbolSelector, cancel, symbol, nullptr);
}

void Events::RaiseOnDragLayer(bool& cancel, com::ComPtr<ILayer>& layer, const platform::NodePtr& item) {
    RaiseCancellable(id_OnDragLayer, cancel, layer, item);
}

void Events::RaiseOnBeforeRefreshMap(bool& cancel) {
    VARIANT_BOOL c = com::vb(cancel);
    VARIANTARG args[] = {by_ref(VT_BOOL, &c)};
    DISPPARAMS params = params_of(args);
    FireEvent(id_OnBeforeRefreshMap, params);
    cancel = com::is_true(c);
}

void Events::RaiseOnLayerRenaming(com::ComPtr<ILayer>& layer, std::wstring& newName, bool& cancel) {
    VARIANT_BOOL c = com::vb(cancel);
    com::ComPtr<IDispatch> slot = layer.query<IDispatch>();
    com::Bstr name(newName);
    VARIANTARG args[] = {by_ref(VT_BOOL, &c), by_ref(VT_BSTR, name.inout()), by_ref(VT_DISPATCH, slot.inout())};
    DISPPARAMS params = params_of(args);
    FireEvent(sinks2_, id_OnLayerRenaming, params);
    cancel = com::is_true(c);
    newName = name.view();
    layer = slot.query<ILayer>();
}

void Events::RaiseOnActionFailed(const std::wstring& action, const com::ComError& failure) {
    com::Bstr what(action);
    LONG number = ErrNumber(failure.hr());
    com::Bstr description(failure.description().empty() ? com::describe(failure.hr()) : failure.description());
    VARIANTARG args[] = {by_ref(VT_BSTR, description.inout()), by_ref(VT_I4, &number), by_ref(VT_BSTR, what.inout())};
    DISPPARAMS params = params_of(args);
    FireEvent(sinks2_, id_OnActionFailed, params);
}

}  // namespace kelpy
