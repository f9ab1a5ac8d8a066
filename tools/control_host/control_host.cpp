#include "control_host.h"
#include <objidl.h>
#include "app_window.h"
#include "com/error.h"
#include "com/object.h"

namespace host {

namespace {
constexpr wchar_t window_class[] = L"KelpyControlHost";
constexpr LONG himetric_per_inch = 2540;


// An empty property bag: the saved state of a control that saved no properties.
class EmptyPropertyBag final : public com::ComObject<EmptyPropertyBag, IPropertyBag> {
public:
    STDMETHODIMP Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return E_INVALIDARG; }
    STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return S_OK; }
};

void load(IUnknown* control, Persistence how) {
    com::ComPtr<IUnknown> unknown(control);
    switch (how) {
    case Persistence::InitNew:
        com::check(unknown.as<IPersistStreamInit>()->InitNew());
        break;
    case Persistence::StreamLoad: {
        // The saved state of a control with no properties: an empty stream.
        com::ComPtr<IStream> stream;
        com::check(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
        com::check(unknown.as<IPersistStreamInit>()->Load(stream.get()));
        break;
    }
    case Persistence::PropertyBagLoad: {
        auto bag = EmptyPropertyBag::create();
        com::check(unknown.as<IPersistPropertyBag>()->Load(bag.get(), nullptr));
        break;
    }
    }
}
}  // namespace

ControlHost::ControlHost(IUnknown* control, const HostOptions& options) {
    if (!control) com::raise(E_POINTER, L"No control to host");
    register_window_class(window_class, DefWindowProcW, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr,
                          L"the host window class");
    RECT frame{0, 0, options.width, options.height};
    const DWORD style = (options.parent ? WS_CHILD | WS_CLIPSIBLINGS : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN |
                        (options.visible ? WS_VISIBLE : 0);
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(options.topmost ? WS_EX_TOPMOST : 0, window_class, L"KELPY control host", style,
                              options.position.x, options.position.y, frame.right - frame.left,
                              frame.bottom - frame.top, options.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not create the host window");
    try {
        site_ = ControlSite::create(window_, options.userMode);
        object_ = com::ComPtr<IUnknown>(control).as<IOleObject>();
        DWORD status = 0;
        object_->GetMiscStatus(DVASPECT_CONTENT, &status);
        IOleClientSite* clientSite = site_.get();
        if (status & OLEMISC_SETCLIENTSITEFIRST) com::check(object_->SetClientSite(clientSite));
        load(control, options.persistence);
        if (!(status & OLEMISC_SETCLIENTSITEFIRST)) com::check(object_->SetClientSite(clientSite));
        object_->SetHostNames(L"KELPY control host", nullptr);
        RECT client{};
        GetClientRect(window_, &client);
        site_->position(client);
        SIZEL extent{MulDiv(client.right, himetric_per_inch, 96), MulDiv(client.bottom, himetric_per_inch, 96)};
        object_->SetExtent(DVASPECT_CONTENT, &extent);
        com::check(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0, window_, &client));
    } catch (...) {
        close();
        DestroyWindow(window_);
        throw;
    }
}

ControlHost::~ControlHost() {
    close();
    if (window_) DestroyWindow(window_);
}

void ControlHost::close() {
    if (!object_) return;
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_.reset();
}

HWND ControlHost::controlWindow() const {
    if (!object_) return nullptr;
    HWND window = nullptr;
    auto ole_window = object_.query<IOleWindow>();
    if (!ole_window || FAILED(ole_window->GetWindow(&window))) return nullptr;
    return window;
}

void ControlHost::resize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE, 0);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    layout();
}

void ControlHost::place(const RECT& bounds) {
    MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
    layout();
}

void ControlHost::layout() {
    if (!object_) return;
    RECT client{};
    GetClientRect(window_, &client);
    site_->position(client);
    SIZEL extent{MulDiv(client.right, himetric_per_inch, 96), MulDiv(client.bottom, himetric_per_inch, 96)};
    object_->SetExtent(DVASPECT_CONTENT, &extent);
    if (auto in_place = object_.query<IOleInPlaceObject>()) com::check(in_place->SetObjectRects(&client, &client));
}

Pixels ControlHost::render() const {
    if (!object_) com::raise(E_UNEXPECTED, L"The control is closed");
    RECT client{};
    GetClientRect(window_, &client);
    win::DibCanvas canvas(client.right, client.bottom);
    RECTL bounds{0, 0, client.right, client.bottom};
    com::check(object_.as<IViewObject>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.dc(), &bounds,
                                               nullptr, nullptr, 0));
    return pixels_of(canvas);
}

}  // namespace host
