// AccessibleTree: the accessible object (IAccessible) of the tree window's client area. It is an
// outline whose children are simple elements, the tree's items, addressed by child ids in the
// order shown (TreeAccess, ItemOrder): each an outline item named by its text, its value its
// depth, its states, location and default action as item_facts.h says. What concerns the client
// area itself (its parent, name, state, place, its siblings) is the system's standard object of
// the window, which this one is made around. Its IDispatch is the Accessibility type library's.
//
// Every call runs on the tree's thread (a client elsewhere calls through COM's proxy); a call
// on another thread is refused (RPC_E_WRONG_THREAD), and so is every call once the control has
// gone (CO_E_OBJNOTCONNECTED).
#pragma once
#include <windows.h>
#include <oleacc.h>
#include <ole2.h>
#include "com/dispatch.h"
#include "com/object.h"
#include "kelpy/access/tree_access.h"

namespace kelpy::access {

// The Accessibility type library (oleacc's). Its id is spelled here: oleacc's import library
// names the ids of its header as functions, not as data.
struct AccessibilityLib {
    static const GUID& libid() {
        static constexpr GUID id = {0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        return id;
    }
    static constexpr WORD major = 1;
    static constexpr WORD minor = 1;
};

class AccessibleTree final
    : public com::ComObject<AccessibleTree, com::Dispatch<IAccessible, AccessibilityLib>, IOleWindow> {
public:
    AccessibleTree(TreeAccess& access, HWND tree);

    HWND window() const noexcept { return window_; }
    // The control is going: every later call fails.
    void Disconnect() noexcept;

    // ---- IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(LONG* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focused) override;
    STDMETHODIMP get_accSelection(VARIANT* selected) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

    // ---- IOleWindow: the tree window (WindowFromAccessibleObject asks for it)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    // Runs a call's body on the tree's thread, with the HRESULT it answers; a failure becomes
    // the HRESULT and the thread's error info.
    template <class Body>
    HRESULT answer(Body&& body) noexcept;
    // The item a child id names, or null for the client area itself (CHILDID_SELF); any other
    // id is E_INVALIDARG.
    NodePtr ItemOf(const VARIANT& child);

    TreeAccess* access_;  // null once disconnected
    com::ComPtr<IAccessible> standard_;
    HWND window_;
    DWORD thread_;
};

}  // namespace kelpy::access
