#include "control_events.h"
#include "com/boundary.h"
#include "com/error.h"
#include "com/object.h"

namespace viewer {

namespace {
// The control's events by dispatch id.
constexpr DISPID on_context_menu = 1, on_symbol_selector = 2, on_drag_layer = 3, on_before_refresh_map = 4;
constexpr DISPID on_layer_renaming = 1, on_action_failed = 2;  // of __TOC2

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

std::wstring text_of(const VARIANTARG& arg) {
    return std::wstring(*arg.pbstrVal ? *arg.pbstrVal : L"", SysStringLen(*arg.pbstrVal));
}

template <class I>
com::ComPtr<I> object_of(VARIANTARG& arg) {
    return *arg.ppdispVal ? com::ComPtr<IDispatch>(*arg.ppdispVal).query<I>() : com::ComPtr<I>();
}
}  // namespace

class ControlEvents::Sink final : public com::ComObject<Sink, IDispatch> {
public:
    Sink(ControlEventHandler& handler, REFIID source) noexcept : handler_(&handler), source_(source) {}
    void Detach() noexcept { handler_ = nullptr; }

    void* query_more(REFIID riid) noexcept { return riid == source_ ? static_cast<IDispatch*>(this) : nullptr; }
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
            if (source_ == DIID___TOC2) return Invoke2(id, *params);
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
    void Invoke2(DISPID id, const DISPPARAMS& params) {
        if (id == on_action_failed) {
            handler_->OnActionFailed(text_of(argument(params, 0, VT_BSTR)), *argument(params, 1, VT_I4).plVal,
                                     text_of(argument(params, 2, VT_BSTR)));
            return;
        }
        if (id != on_layer_renaming) return;  // an event this host does not know
        VARIANTARG& name = argument(params, 1, VT_BSTR);
        std::wstring text = text_of(name);
        with_cancel(argument(params, 2, VT_BOOL), [&](bool& cancel) {
            handler_->OnLayerRenaming(object_of<ILayer>(argument(params, 0, VT_DISPATCH)).get(), text, cancel);
        });
        BSTR written = SysAllocStringLen(text.data(), UINT(text.size()));
        if (!written) com::raise(E_OUTOFMEMORY, L"Out of memory for a layer's new name");
        SysFreeString(*name.pbstrVal);
        *name.pbstrVal = written;
    }

    ControlEventHandler* handler_;
    IID source_;
};

ControlEvents::ControlEvents(IUnknown* control, ControlEventHandler& handler)
    : first_(Advise(control, DIID___TOC, handler)) {
    try {
        second_ = Advise(control, DIID___TOC2, handler);
    } catch (...) {
        first_.sink->Detach();
        first_.point->Unadvise(first_.cookie);
        throw;
    }
}

ControlEvents::Connection ControlEvents::Advise(IUnknown* control, REFIID source, ControlEventHandler& handler) {
    Connection c{Sink::create(handler, source)};
    auto container = com::ComPtr<IUnknown>(control).as<IConnectionPointContainer>();
    com::check(container->FindConnectionPoint(source, c.point.put()));
    com::check(c.point->Advise(c.sink->unknown(), &c.cookie));
    return c;
}

ControlEvents::~ControlEvents() {
    for (Connection* c : {&first_, &second_}) {
        c->sink->Detach();
        c->point->Unadvise(c->cookie);
    }
}

}  // namespace viewer
