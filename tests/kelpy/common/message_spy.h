// MessageSpy: the messages a window of this thread is sent, of the kinds asked for, recorded by
// a WH_CALLWNDPROC hook for as long as the spy lives.
#pragma once
#include <windows.h>
#include <vector>

namespace test {

class MessageSpy {
public:
    MessageSpy(HWND window, std::vector<UINT> kinds);
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;
    struct Sent {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
    };
    std::vector<Sent> sent;
    // The messages of one kind.
    std::vector<Sent> of(UINT msg) const;

private:
    static LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp);
    HWND window_;
    std::vector<UINT> kinds_;
    HHOOK hook_ = nullptr;
};

}  // namespace test
