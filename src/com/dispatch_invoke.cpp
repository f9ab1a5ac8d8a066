// Invoke through the type library, with the object arguments of interface parameters made into
// what the method takes. Script engines pass a variable by reference as a variant
// (VT_VARIANT | VT_BYREF) and an expression by value; the type library's own Invoke takes
// neither for a parameter such as `[in, out] IMap**`, and for an object it does take, it passes
// the caller's IDispatch on without asking the object for the parameter's interface. Here every
// object argument of an interface parameter (by value, by reference, or in a variant by
// reference) is asked for the parameter's interface: an object that lacks it is a type
// mismatch (the argument's position goes to `argerr`), Nothing stays Nothing. The method gets
// the interface by value or by reference, as it takes it; what it leaves in a parameter by
// reference goes back to the caller's variable when the caller passed one.
#include "com/dispatch.h"
#include <memory>
#include <optional>
#include <vector>

namespace com {

namespace {

// A parameter of an interface type, as the type library describes it.
struct InterfaceParameter {
    IID iid{};
    VARTYPE vt = VT_UNKNOWN;  // VT_DISPATCH or VT_UNKNOWN, as the type library's Invoke takes it
    bool byref = false;       // IFoo** rather than IFoo*
    bool in = true;           // the caller's object goes in (not a pure [out])
};

class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, FUNCDESC* desc) noexcept : info_(info), desc_(desc) {}
    ~FuncDesc() { if (desc_) info_->ReleaseFuncDesc(desc_); }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    const FUNCDESC* operator->() const noexcept { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_;
};

class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) noexcept : info_(info) {
        if (FAILED(info->GetTypeAttr(&attr_))) attr_ = nullptr;
    }
    ~TypeAttr() { if (attr_) info_->ReleaseTypeAttr(attr_); }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    const TYPEATTR* get() const noexcept { return attr_; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

// The description of the member that `id` and `flags` call, or null.
std::unique_ptr<FuncDesc> find_function(ITypeInfo* info, DISPID id, WORD flags) {
    TypeAttr attr(info);
    if (!attr.get()) return nullptr;
    for (UINT i = 0; i < attr.get()->cFuncs; ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(i, &desc)) || !desc) continue;
        auto f = std::make_unique<FuncDesc>(info, desc);
        if (desc->memid == id && (WORD(desc->invkind) & flags)) return f;
    }
    return nullptr;
}

std::optional<InterfaceParameter> interface_parameter(ITypeInfo* info, const ELEMDESC& e) {
    const TYPEDESC* t = &e.tdesc;
    if (t->vt != VT_PTR || !t->lptdesc) return std::nullopt;
    t = t->lptdesc;
    InterfaceParameter p;
    if (t->vt == VT_PTR && t->lptdesc) {
        p.byref = true;
        t = t->lptdesc;
    }
    if (t->vt != VT_USERDEFINED) return std::nullopt;
    ComPtr<ITypeInfo> referenced;
    if (FAILED(info->GetRefTypeInfo(t->hreftype, referenced.put())) || !referenced) return std::nullopt;
    TypeAttr attr(referenced.get());
    if (!attr.get()) return std::nullopt;
    const TYPEKIND kind = attr.get()->typekind;
    if (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) return std::nullopt;
    p.iid = attr.get()->guid;
    p.vt = kind == TKIND_DISPATCH || (attr.get()->wTypeFlags & TYPEFLAG_FDISPATCHABLE) ? VT_DISPATCH : VT_UNKNOWN;
    const USHORT f = e.paramdesc.wParamFlags;
    p.in = (f & PARAMFLAG_FIN) || !(f & PARAMFLAG_FOUT);
    return p;
}

// An argument that carries an object: by value, by reference, or in a variant by reference.
// `variant` or `slot` is the caller's storage that a result may go back to (both null when the
// object came by value).
struct ObjectArgument {
    IUnknown* object = nullptr;
    VARIANT* variant = nullptr;  // the caller's variant (VT_VARIANT | VT_BYREF)
    IUnknown** slot = nullptr;   // the caller's object pointer (VT_DISPATCH/VT_UNKNOWN | VT_BYREF)
    VARTYPE slot_vt = VT_EMPTY;
};

std::optional<ObjectArgument> object_argument(VARIANTARG& arg) {
    ObjectArgument a;
    switch (arg.vt) {
    case VT_DISPATCH:
    case VT_UNKNOWN:
        a.object = arg.punkVal;
        return a;
    case VT_DISPATCH | VT_BYREF:
    case VT_UNKNOWN | VT_BYREF:
        if (!arg.ppunkVal) return std::nullopt;
        a.object = *arg.ppunkVal;
        a.slot = arg.ppunkVal;
        a.slot_vt = VARTYPE(arg.vt & ~VT_BYREF);
        return a;
    case VT_VARIANT | VT_BYREF: {
        VARIANT* inner = arg.pvarVal;
        if (!inner || (inner->vt != VT_DISPATCH && inner->vt != VT_UNKNOWN)) return std::nullopt;
        a.object = inner->punkVal;
        a.variant = inner;
        return a;
    }
    default:
        return std::nullopt;
    }
}

// The object that a method left in a parameter by reference goes back where the caller's
// object came from, as the kind of pointer that was there.
void write_back(const ObjectArgument& a, IUnknown* result) {
    if (a.variant) {
        VariantClear(a.variant);
        if (ComPtr<IDispatch> dispatch = ComPtr<IUnknown>(result).query<IDispatch>()) {
            a.variant->vt = VT_DISPATCH;
            a.variant->pdispVal = dispatch.detach();
        } else if (result) {
            a.variant->vt = VT_UNKNOWN;
            a.variant->punkVal = ComPtr<IUnknown>(result).detach();
        } else {
            a.variant->vt = VT_DISPATCH;
            a.variant->pdispVal = nullptr;
        }
    } else if (a.slot) {
        ComPtr<IUnknown> value;
        if (result) {
            const IID& wanted = a.slot_vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
            result->QueryInterface(wanted, value.put_void());
        }
        // The caller's slot takes the new reference; its old one is released.
        ComPtr<IUnknown>::attach(std::exchange(*a.slot, value.detach()));
    }
}

// One argument as the method gets it, and the caller's argument it came from.
struct Replacement {
    size_t position = 0;         // in rgvarg
    ObjectArgument from;
    InterfaceParameter parameter;
    ComPtr<IUnknown> object = nullptr;  // the argument's object as the parameter's interface
    IUnknown* given = nullptr;   // what the method was given (to see whether it changed it)
};

bool carries_object(const DISPPARAMS& params) noexcept {
    for (UINT k = 0; k < params.cArgs; ++k) {
        const VARTYPE vt = params.rgvarg[k].vt;
        if ((vt & ~VT_BYREF) == VT_DISPATCH || (vt & ~VT_BYREF) == VT_UNKNOWN || vt == (VT_VARIANT | VT_BYREF))
            return true;
    }
    return false;
}

// The parameter that argument k stands for (positional arguments come last first; named ones
// carry their parameter's position, the value of a property put the last one).
LONG parameter_of(const DISPPARAMS& params, UINT k, SHORT parameters) noexcept {
    if (k < params.cNamedArgs) {
        const DISPID named = params.rgdispidNamedArgs[k];
        return named == DISPID_PROPERTYPUT ? parameters - 1 : named;
    }
    return LONG(params.cArgs) - 1 - LONG(k);
}

}  // namespace

HRESULT invoke(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* excep, UINT* argerr) noexcept {
    if (!params || !carries_object(*params)) return info->Invoke(object, id, flags, params, result, excep, argerr);
    try {
        std::unique_ptr<FuncDesc> function = find_function(info, id, flags);
        if (!function) return info->Invoke(object, id, flags, params, result, excep, argerr);

        std::vector<VARIANTARG> arguments(params->rgvarg, params->rgvarg + params->cArgs);
        std::vector<Replacement> replaced;
        replaced.reserve(params->cArgs);

        for (UINT k = 0; k < params->cArgs; ++k) {
            const LONG p = parameter_of(*params, k, (*function)->cParams);
            if (p < 0 || p >= (*function)->cParams) continue;
            const ELEMDESC& e = (*function)->lprgelemdescParam[p];
            if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) continue;
            std::optional<InterfaceParameter> parameter = interface_parameter(info, e);
            if (!parameter) continue;
            std::optional<ObjectArgument> argument = object_argument(arguments[k]);
            if (!argument) continue;

            Replacement r{k, *argument, *parameter};
            if (parameter->in && argument->object) {
                if (FAILED(argument->object->QueryInterface(parameter->iid, r.object.put_void())) || !r.object) {
                    r.object = nullptr;
                    if (argerr) *argerr = k;
                    return DISP_E_TYPEMISMATCH;
                }
            }
            r.given = r.object.get();
            replaced.push_back(std::move(r));
        }
        // The arguments point at the replacements' objects, which stay put from here on.
        for (Replacement& r : replaced) {
            VARIANTARG& a = arguments[r.position];
            VariantInit(&a);
            if (r.parameter.byref) {
                a.vt = VARTYPE(r.parameter.vt | VT_BYREF);
                a.ppunkVal = r.object.inout();
            } else {
                a.vt = r.parameter.vt;
                a.punkVal = r.object.get();
            }
        }

        DISPPARAMS forwarded = *params;
        forwarded.rgvarg = arguments.data();
        const HRESULT hr = info->Invoke(object, id, flags, &forwarded, result, excep, argerr);
        if (SUCCEEDED(hr)) {
            for (Replacement& r : replaced)
                if (r.parameter.byref && r.object.get() != r.given) write_back(r.from, r.object.get());
        }
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace com
