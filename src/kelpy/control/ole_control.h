// OleControl: the OLE control protocol, by which a container embeds a control: its client site,
// the advise sinks, the extent, in-place and UI activation, the view object, persistence and
// the connection points of its events. It knows the control only through the few things a
// container asks of it (its window, its start-up, its picture), which the control supplies by
// overriding the hooks below; the control's class lists this class among its bases and answers
// the protocol's interfaces through Query.
//
// Growing it: another source dispinterface is one more AddEventSource in the control's
// constructor (the first one added is the default source); persisted properties are read and
// written by overriding the Load/Save hooks (the default has none, and MarkDirty tells the
// container that there is something to save); another interface of the control goes on the
// control's class, not here.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>
#include <functional>
#include <memory>
#include <vector>
#include "com/connection_point.h"
#include "com/ptr.h"
#include "kelpy/interact/events.h"

namespace kelpy {

class OleControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IOleControl,
                   public IViewObject2,
                   public IPersistStreamInit,
                   public IPersistPropertyBag,
                   public com::ConnectionPointContainer<OleControl>,
                   public IProvideClassInfo2 {
public:
    // What a container learns about the control before it loads it (also registered): an
    // inside-out control that activates as soon as it is visible, is resized by recomposing,
    // cannot be linked into, and wants its client site before it is initialised.
    static constexpr DWORD MiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                                        OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;

    // The protocol's interface `riid` of this object (the listed ones and their bases), or null.
    void* Query(REFIID riid) noexcept;

    // True once the container has loaded the control (Load) or initialised it as new (InitNew).
    bool Loaded() const noexcept { return m_bLoaded; }
    // True when the start-up found the container in design mode (ambient UserMode False).
    bool DesignMode() const noexcept { return m_bDesignMode; }

    // IOleObject (control/ole_object.cpp)
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR obj) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent, LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject (control/ole_inplace.cpp)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IOleControl (control/ole_inplace.cpp)
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject2 (control/view_object.cpp)
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDC, HDC dc,
                      LPCRECTL bounds, LPCRECTL metafileBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDC,
                             LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag (control/persistence.cpp)
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // IProvideClassInfo2 (control/ole_events.cpp)
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

protected:
    // `clsid`: the control's class, which the container is told and which the type library
    // describes.
    explicit OleControl(const CLSID& clsid) noexcept : clsid_(clsid) {}
    ~OleControl();
    OleControl(const OleControl&) = delete;
    OleControl& operator=(const OleControl&) = delete;

    // ---- what the control supplies
    // The control's window, or null while it has none.
    virtual HWND OleWindow() const noexcept = 0;
    // Creates the control's window inside `parent` at `bounds`; destroys it.
    virtual void OleCreateWindow(HWND parent, const RECT& bounds) = 0;
    virtual void OleDestroyWindow() noexcept = 0;
    // The start-up of the control's window, once the control is loaded and has one, in the mode
    // the container gave at the first start (design mode: the control shows its caption).
    virtual void OleStart(bool designMode) = 0;
    // The container closes the control: it lets go of whatever it hooked.
    virtual void OleClose() noexcept = 0;
    // Paints the control's picture into `dc`, a bitmap of `size` cleared in the window colour.
    virtual void OlePaintPicture(HDC dc, const RECT& size) = 0;
    // The persisted properties, read from and written to the container's stream or property
    // bag. The default: none (loading reads nothing, saving writes nothing).
    virtual void LoadProperties(IStream* stream);
    virtual void SaveProperties(IStream* stream);
    virtual void LoadProperties(IPropertyBag* bag, IErrorLog* log);
    virtual void SaveProperties(IPropertyBag* bag, BOOL saveAll);
    virtual ULONGLONG PropertiesSizeMax() const { return 0; }

    // ---- what the control asks of the protocol
    // A source dispinterface of the control's events, offered as a connection point; the sinks
    // it answers hear nothing while the container freezes events. The first is the default
    // source. `also`: sinks of another object that hear the same events (after the control's
    // own). Called in the control's constructor.
    const EventSinks& AddEventSource(REFIID iid, const EventSinks* also = nullptr);
    // A persisted property changed: the container will be told that there is something to save.
    void MarkDirty() noexcept { m_bDirty = true; }
    // Tells the view and OLE advise sinks that the control's picture changed.
    void NotifyViewChanged() noexcept;

private:
    // The sinks advised on one source's connection point, as the events see them.
    class EventSource final : public EventSinks {
    public:
        EventSource(com::ConnectionPoint& point, const LONG& frozen, const EventSinks* also) noexcept
            : point_(point), frozen_(frozen), also_(also) {}
        void ForEach(const std::function<void(IDispatch*)>& call) const override;
        const IID& iid() const noexcept { return point_.iid(); }

    private:
        com::ConnectionPoint& point_;
        const LONG& frozen_;
        const EventSinks* also_;
    };

    // The container loaded the control or initialised it as new (control/persistence.cpp).
    void OnLoaded();
    // The mode-dependent start-up, once the control is loaded and has its window.
    void UserControl_ReadProperties();
    // The container's ambient UserMode; a container that does not tell means run time.
    bool AmbientUserMode() const;
    // In-place activation on the client site's in-place site: creates the window inside the
    // site's window and starts the control (control/ole_inplace.cpp).
    void ActivateInPlace(IOleClientSite* site, bool uiActivate);
    void DeactivateInPlace();
    // Tells the site's frame and document window which object is UI-active (null: none).
    void ShowActiveObject(IOleInPlaceActiveObject* active);

    const CLSID& clsid_;
    com::ComPtr<IOleClientSite> m_pClientSite;
    com::ComPtr<IOleInPlaceSite> m_pInPlaceSite;
    com::ComPtr<IOleAdviseHolder> m_pOleAdviseHolder;
    com::ComPtr<IAdviseSink> m_pViewAdviseSink;
    DWORD m_viewAdviseAspects = 0;
    DWORD m_viewAdviseFlags = 0;
    SIZEL m_extent{5080, 7620};  // HIMETRIC: 192 x 288 pixels at 96 dpi until the container sets it
    bool m_bLoaded = false;
    bool m_bReadPropertiesDone = false;
    bool m_bDesignMode = false;
    bool m_bInPlaceActive = false;
    bool m_bUIActive = false;
    bool m_bDirty = false;
    LONG m_frozenEvents = 0;
    std::vector<std::unique_ptr<EventSource>> m_eventSources;
};

}  // namespace kelpy
