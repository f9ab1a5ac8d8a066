// IPersistStreamInit and IPersistPropertyBag: the container loads the control from its saved
// state or initialises it as new, and either one starts it: once the control is loaded and has
// its window, the start-up asks the container for its user mode (the first time) and the
// control starts its window in that mode. The persisted properties are the control's (its
// Load/Save hooks); without any, loading reads nothing and saving writes nothing.
#include "com/boundary.h"
#include "com/variant.h"
#include "kelpy/control/ole_control.h"

namespace kelpy {

STDMETHODIMP OleControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP OleControl::IsDirty() { return m_bDirty ? S_OK : S_FALSE; }

STDMETHODIMP OleControl::Load(IStream* stream) {
    return com::boundary(IID_IPersistStreamInit, [&] {
        if (!stream) com::raise(E_POINTER);
        LoadProperties(stream);
        OnLoaded();
    });
}

STDMETHODIMP OleControl::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    return com::boundary(IID_IPersistStreamInit, [&] {
        SaveProperties(stream);
        if (clearDirty) m_bDirty = false;
    });
}

STDMETHODIMP OleControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = PropertiesSizeMax();
    return S_OK;
}

// Both persistence interfaces have InitNew: a control created without saved state.
STDMETHODIMP OleControl::InitNew() {
    return com::boundary(IID_IPersistStreamInit, [&] { OnLoaded(); });
}

STDMETHODIMP OleControl::Load(IPropertyBag* bag, IErrorLog* log) {
    return com::boundary(IID_IPersistPropertyBag, [&] {
        if (!bag) com::raise(E_POINTER);
        LoadProperties(bag, log);
        OnLoaded();
    });
}

STDMETHODIMP OleControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
    if (!bag) return E_POINTER;
    return com::boundary(IID_IPersistPropertyBag, [&] {
        SaveProperties(bag, saveAll);
        if (clearDirty) m_bDirty = false;
    });
}

void OleControl::LoadProperties(IStream*) {}
void OleControl::SaveProperties(IStream*) {}
void OleControl::LoadProperties(IPropertyBag*, IErrorLog*) {}
void OleControl::SaveProperties(IPropertyBag*, BOOL) {}

void OleControl::OnLoaded() {
    m_bLoaded = true;
    // The start-up needs the windows; without one it waits for in-place activation.
    if (OleWindow()) UserControl_ReadProperties();
}

void OleControl::UserControl_ReadProperties() {
    // The mode is the container's answer at the first start; every later window of the control
    // starts in the same mode.
    if (!m_bReadPropertiesDone) {
        m_bDesignMode = !AmbientUserMode();
        m_bReadPropertiesDone = true;
    }
    OleStart(m_bDesignMode);
    NotifyViewChanged();
}

bool OleControl::AmbientUserMode() const {
    if (!m_pClientSite) return true;
    auto ambient = m_pClientSite.query<IDispatch>();
    if (!ambient) return true;
    DISPPARAMS none{};
    com::Variant mode;
    if (FAILED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               mode.put(), nullptr, nullptr)))
        return true;
    if (mode.type() == VT_EMPTY) return true;
    return mode.to_bool();
}

}  // namespace kelpy
