#include "control_events.h"
#include "com/boundary.h"
#include "com/error.h"
#include "com/object.h"

namespace viewer {

namespace {
// The control's events by dispatch id.
constexpr DISPID on_context_menu = 1, on_symbol_selector = 2, on_drag_layer = 3, on_before_refresh_map = 4;

// The i-th argument in the order the event declares them (DISPPARAMS holds them last first),
// which must be a by-reference argument of type `vt`.
VARIANTARG& argument(const DISPPARAMS& params, UINT i, VARTYPE vt) {
    if (i >= params.cArgs) com::raise(DISP_E_BADPARAMCOUNT, L"An event of the control came with too few arguments");
    VARIANTARG& arg = params.rgvarg[params.cArgs - 1 - i];
    if (arg.vt != (vt | VT_BYREF)) com::raise(DISP_E_TYPEMISMATCH, L"An event of the control came with an argument of another type");
    return arg;
}

// Hands a by-reference Boolean to the handler as a bool and writes back what it left there.
template <class F>
void with_cancel(VARIANTARG& arg, F&& call) {
    bool cancel = *arg.pboolVal != VARIANT_FALSE;
    call(cancel);
    *arg.pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

template <class I>
com::ComPtr<I> object_of(VARIANTARG& arg) {
    return *arg.ppdispVal ? com::ComPtr<IDispatch>(*arg.ppdispVal).query<I>() : com::ComPtr<I>();
}
}  // namespace

class ControlEvents::Sink final : public com::ComObject<Sink, IDispatch> {
public:
    explicit Sink(ControlEventHandler& handler) noexcept : handler_(&handler) {}
    void Detach() noexcept { handler_ = nullptr; }

    void* query_more(REFIID riid) noexcept { return riid == DIID___TOC ? static_cast<IDispatch*>(this) : nullptr; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (!params) return E_POINTER;
        return com::guarded([&] {
            if (!handler_) return;
            switch (id) {
            case on_context_menu:
                handler_->OnContextMenu(::TOCNodeType(*argument(*params, 0, VT_I4).plVal));
                break;
            case on_symbol_selector:
                with_cancel(argument(*params, 0, VT_BOOL), [&](bool& cancel) {
                    handler_->OnSymbolSelector(cancel, object_of<ISymbol>(argument(*params, 1, VT_DISPATCH)).get());
                });
                break;
            case on_drag_layer:
                with_cancel(argument(*params, 0, VT_BOOL), [&](bool& cancel) {
                    handler_->OnDragLayer(cancel, object_of<ILayer>(argument(*params, 1, VT_DISPATCH)).get());
                });
                break;
            case on_before_refresh_map:
                with_cancel(argument(*params, 0, VT_BOOL), [&](bool& cancel) { handler_->OnBeforeRefreshMap(cancel); });
                break;
            default:
                break;  // an event this host does not know
            }
        });
    }

private:
    ControlEventHandler* handler_;
};

ControlEvents::ControlEvents(IUnknown* control, ControlEventHandler& handler)
    : sink_(Sink::create(handler)) {
    auto container = com::ComPtr<IUnknown>(control).as<IConnectionPointContainer>();
    com::check(container->FindConnectionPoint(DIID___TOC, point_.put()));
    com::check(point_->Advise(sink_->unknown(), &cookie_));
}

ControlEvents::~ControlEvents() {
    sink_->Detach();
    point_->Unadvise(cookie_);
}

}  // namespace viewer
