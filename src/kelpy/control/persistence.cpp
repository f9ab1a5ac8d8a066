// IPersistStreamInit and IPersistPropertyBag: the container loads the control from its saved
// state or initialises it as new. The control has no persistent properties, so loading reads
// nothing and saving writes nothing; what matters is that either one starts the control.
#include "com/boundary.h"
#include "kelpy/control/toc.h"

namespace kelpy {

STDMETHODIMP Toc::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_TOC;
    return S_OK;
}

STDMETHODIMP Toc::IsDirty() { return S_FALSE; }

STDMETHODIMP Toc::Load(IStream* stream) {
    return com::boundary(IID_IPersistStreamInit, [&] {
        if (!stream) com::raise(E_POINTER);
        OnLoaded();
    });
}

STDMETHODIMP Toc::Save(IStream* stream, BOOL) {
    return stream ? S_OK : E_POINTER;
}

STDMETHODIMP Toc::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

// Both persistence interfaces have InitNew: a control created without saved state.
STDMETHODIMP Toc::InitNew() {
    return com::boundary(IID_IPersistStreamInit, [&] { OnLoaded(); });
}

STDMETHODIMP Toc::Load(IPropertyBag* bag, IErrorLog*) {
    return com::boundary(IID_IPersistPropertyBag, [&] {
        if (!bag) com::raise(E_POINTER);
        OnLoaded();
    });
}

STDMETHODIMP Toc::Save(IPropertyBag* bag, BOOL, BOOL) {
    return bag ? S_OK : E_POINTER;
}

}  // namespace kelpy
