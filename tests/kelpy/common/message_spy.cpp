#include "kelpy/common/message_spy.h"
#include <algorithm>
#include <utility>

namespace test {

namespace {
thread_local MessageSpy* active_spy = nullptr;
}  // namespace

MessageSpy::MessageSpy(HWND window, std::vector<UINT> kinds) : window_(window), kinds_(std::move(kinds)) {
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, hook, nullptr, GetCurrentThreadId());
    active_spy = this;
}

MessageSpy::~MessageSpy() {
    active_spy = nullptr;
    UnhookWindowsHookEx(hook_);
}

std::vector<MessageSpy::Sent> MessageSpy::of(UINT msg) const {
    std::vector<Sent> r;
    for (const Sent& s : sent)
        if (s.msg == msg) r.push_back(s);
    return r;
}

LRESULT CALLBACK MessageSpy::hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && active_spy) {
        const auto& m = *reinterpret_cast<const CWPSTRUCT*>(lp);
        MessageSpy& spy = *active_spy;
        if (m.hwnd == spy.window_ && std::find(spy.kinds_.begin(), spy.kinds_.end(), m.message) != spy.kinds_.end())
            spy.sent.push_back({m.message, m.wParam, m.lParam});
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace test
