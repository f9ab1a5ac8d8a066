// The window hooks (basTOC): the handled/result contract, registration and its end.
#include <gtest/gtest.h>
#include <functional>
#include <vector>
#include "com/object.h"
#include "kelpy/model/typelib.h"
#include "kelpy/platform/window_hooks.h"

using namespace kelpy;

namespace {

constexpr UINT probe = WM_APP + 1;
constexpr UINT changed = WM_APP + 2;
constexpr LRESULT previous_answer = 7;

struct Received {
    HWND window;
    UINT msg;
    LPARAM lp;
};
std::vector<Received> received;  // messages that reached the windows' own procedure

LRESULT CALLBACK own_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == probe || msg == changed) {
        received.push_back({window, msg, lp});
        return previous_answer;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

HWND make_window() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = own_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KelpyHookTest";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, L"KelpyHookTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

using Hook = std::function<HRESULT(LONG_PTR* hWnd, LONG* msg, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* result,
                                   VARIANT_BOOL* handled)>;

// A control whose two hooks the test chooses; it records which hook saw which message.
class FakeToc final : public com::ComObject<FakeToc, _TOC>, public platform::HookTarget {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return ComObject::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return ComObject::Release(); }
    Hook tree, ctrl;
    std::vector<std::pair<char, UINT>> calls;

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_SelectedLayer(ILayer**) override { return E_NOTIMPL; }
    STDMETHODIMP TreeWndProc(LONG_PTR* h, LONG* m, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* r, VARIANT_BOOL* d) override {
        return call('t', tree, h, m, wp, lp, r, d);
    }
    STDMETHODIMP CtrlWndProc(LONG_PTR* h, LONG* m, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* r, VARIANT_BOOL* d) override {
        return call('c', ctrl, h, m, wp, lp, r, d);
    }
    STDMETHODIMP Initialize(IMap**) override { return E_NOTIMPL; }
    STDMETHODIMP Reset() override { return E_NOTIMPL; }
    ULONG refs() { AddRef(); return Release(); }

private:
    HRESULT call(char which, Hook& hook, LONG_PTR* h, LONG* m, LONG_PTR* wp, LONG_PTR* lp, LONG_PTR* r, VARIANT_BOOL* d) {
        if (UINT(*m) == probe || UINT(*m) == changed) calls.emplace_back(which, UINT(*m));
        // The contract's starting values.
        if (*r != 0 || *d != VARIANT_FALSE) return E_UNEXPECTED;
        return hook ? hook(h, m, wp, lp, r, d) : S_OK;
    }
};

class WindowHooks : public ::testing::Test {
protected:
    HWND tree = make_window();
    HWND ctrl = make_window();
    com::ComPtr<FakeToc> toc = FakeToc::create();

    void SetUp() override { received.clear(); }
    void TearDown() override {
        basTOC::UnhookWindows(toc.get());
        DestroyWindow(tree);
        DestroyWindow(ctrl);
    }
    static WNDPROC proc_of(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }
    static LRESULT send(HWND window, UINT msg = probe, LPARAM lp = 0) { return SendMessageW(window, msg, 0, lp); }
};

TEST_F(WindowHooks, AHandledMessageAnswersTheHooksResultAndNeverReachesThePreviousProcedure) {
    toc->tree = [](LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR* result, VARIANT_BOOL* handled) {
        *result = 5;
        *handled = VARIANT_TRUE;
        return S_OK;
    };
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), 5);
    EXPECT_TRUE(received.empty());
}

TEST_F(WindowHooks, AnUnhandledMessageGoesOnAndANonZeroResultReplacesTheAnswer) {
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), previous_answer);
    toc->ctrl = [](LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR* result, VARIANT_BOOL*) {
        *result = 1;
        return S_OK;
    };
    EXPECT_EQ(send(ctrl), 1);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].window, tree);
    EXPECT_EQ(received[1].window, ctrl);
    EXPECT_EQ(toc->calls, (std::vector<std::pair<char, UINT>>{{'t', probe}, {'c', probe}}));
}

TEST_F(WindowHooks, TheHookMayChangeTheMessageBeforeItGoesOn) {
    toc->tree = [](LONG_PTR*, LONG* msg, LONG_PTR*, LONG_PTR* lp, LONG_PTR*, VARIANT_BOOL*) {
        *msg = LONG(changed);
        *lp = 42;
        return S_OK;
    };
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), previous_answer);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].msg, changed);
    EXPECT_EQ(received[0].lp, 42);
}

TEST_F(WindowHooks, AFailingHookStillLetsTheMessageGoOn) {
    toc->tree = [](LONG_PTR*, LONG*, LONG_PTR*, LONG_PTR*, LONG_PTR*, VARIANT_BOOL*) { return E_FAIL; };
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), previous_answer);
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(WindowHooks, AZeroControlWindowHooksOnlyTheTreeAndUnhookingTwiceRestoresOnce) {
    const WNDPROC tree_proc = proc_of(tree), ctrl_proc = proc_of(ctrl);
    basTOC::HookWindows(toc.get(), tree, nullptr);
    EXPECT_EQ(proc_of(tree), &basTOC::TreeSubclassProc);
    EXPECT_EQ(proc_of(ctrl), ctrl_proc);
    basTOC::UnhookWindows(toc.get());
    EXPECT_EQ(proc_of(tree), tree_proc);
    EXPECT_FALSE(basTOC::IsRegistered(toc.get()));
    // Someone else subclasses the tree now: a second unhook leaves it alone.
    SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    basTOC::UnhookWindows(toc.get());
    EXPECT_EQ(proc_of(tree), &DefWindowProcW);
    SetWindowLongPtrW(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tree_proc));
}

TEST_F(WindowHooks, HookingAWindowAgainReplacesItsRegistration) {
    const WNDPROC own = proc_of(tree);
    basTOC::HookWindows(toc.get(), tree, ctrl);
    // The same windows again: no procedure becomes its own previous one.
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), previous_answer);
    EXPECT_EQ(toc->calls.size(), 1u);
    // Another control takes the tree window: the first registration ends for both its windows.
    auto other = FakeToc::create();
    HWND other_ctrl = make_window();
    basTOC::HookWindows(other.get(), tree, other_ctrl);
    EXPECT_EQ(proc_of(ctrl), own);
    EXPECT_EQ(basTOC::RegisteredControl(tree), other.get());
    EXPECT_EQ(basTOC::RegisteredControl(ctrl), nullptr);
    EXPECT_FALSE(basTOC::IsRegistered(toc.get()));
    EXPECT_EQ(send(tree), previous_answer);
    EXPECT_EQ(other->calls.size(), 1u);
    basTOC::UnhookWindows(other.get());
    EXPECT_EQ(proc_of(tree), own);
    DestroyWindow(other_ctrl);
}

// Two controls on one thread (a host showing two maps): each keeps its own hooks, and ending
// one registration, by unhooking or by the windows going, leaves the other alone.
TEST_F(WindowHooks, SeveralControlsOnOneThreadEachKeepTheirHooks) {
    const WNDPROC own = proc_of(tree);
    HWND other_tree = make_window(), other_ctrl = make_window();
    auto other = FakeToc::create();
    basTOC::HookWindows(toc.get(), tree, ctrl);
    basTOC::HookWindows(other.get(), other_tree, other_ctrl);
    EXPECT_EQ(basTOC::RegisteredControl(ctrl), toc.get());
    EXPECT_EQ(basTOC::RegisteredControl(other_ctrl), other.get());
    for (HWND w : {tree, ctrl, other_tree, other_ctrl}) EXPECT_EQ(send(w), previous_answer);
    EXPECT_EQ(toc->calls, (std::vector<std::pair<char, UINT>>{{'t', probe}, {'c', probe}}));
    EXPECT_EQ(other->calls, (std::vector<std::pair<char, UINT>>{{'t', probe}, {'c', probe}}));

    basTOC::UnhookWindows(other.get());
    EXPECT_EQ(proc_of(other_tree), own);
    EXPECT_EQ(proc_of(tree), &basTOC::TreeSubclassProc);
    EXPECT_EQ(send(ctrl), previous_answer);
    EXPECT_EQ(toc->calls.size(), 3u);

    basTOC::HookWindows(other.get(), other_tree, other_ctrl);
    DestroyWindow(other_tree);
    DestroyWindow(other_ctrl);
    EXPECT_FALSE(basTOC::IsRegistered(other.get()));
    EXPECT_EQ(send(tree), previous_answer);
    EXPECT_EQ(toc->calls.size(), 4u);
    EXPECT_EQ(received.size(), 6u);
}

TEST_F(WindowHooks, TheRegistrationHoldsNoReferenceAndEndsWithTheWindows) {
    const ULONG before = toc->refs();
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(toc->refs(), before);
    DestroyWindow(tree);
    EXPECT_EQ(basTOC::RegisteredControl(ctrl), toc.get());  // the control window is still hooked
    DestroyWindow(ctrl);
    EXPECT_FALSE(basTOC::IsRegistered(toc.get()));
    tree = ctrl = nullptr;
}

TEST_F(WindowHooks, HooksMaySendMessagesAndUnhookWhileTheyRun) {
    int depth = 0;
    toc->tree = [&](LONG_PTR* h, LONG* msg, LONG_PTR*, LONG_PTR*, LONG_PTR* result, VARIANT_BOOL*) {
        if (UINT(*msg) != probe) return S_OK;
        if (++depth == 1) {
            // A nested message to the same window, then the end of the registration.
            EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(*h), probe, 0, 0), previous_answer);
            basTOC::UnhookWindows(toc.get());
            *result = 0;
        }
        return S_OK;
    };
    const WNDPROC own = proc_of(tree);
    basTOC::HookWindows(toc.get(), tree, ctrl);
    EXPECT_EQ(send(tree), previous_answer);
    EXPECT_EQ(received.size(), 2u);  // the nested message and the first one both went on
    EXPECT_EQ(proc_of(tree), own);
}

}  // namespace
