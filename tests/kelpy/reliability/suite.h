// What the reliability suites share: their program's frame (OLE, the tree view's classes, the
// map model registered, a clear line for an error that ends the suite) and the control hosted as
// a person meets it, in a topmost window of our own container, with mouse input going to it.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include "com/ptr.h"
#include "control_host.h"
#include "kelpy/control/toc.h"

namespace suite {

// Runs `body` as the suite `name`'s program: its result is the exit code; 2 when the frame
// cannot be set up or a map-model error ends the suite.
int main(const char* name, const std::function<int()>& body);

// A TOC control in a topmost host window of `width` x `height` pixels; the mouse pointer goes
// to the screen's corner when it is destroyed.
class HostedToc {
public:
    HostedToc(int width, int height);
    ~HostedToc();
    HostedToc(const HostedToc&) = delete;
    HostedToc& operator=(const HostedToc&) = delete;

    kelpy::Toc& toc() const { return *toc_.get(); }
    HWND tree() const { return GetWindow(toc_->hWnd(), GW_CHILD); }
    host::ControlHost& host() const { return *host_; }
    // Binds the control to `map` and runs the messages that follow.
    void show(IMap* map);

private:
    com::ComPtr<kelpy::Toc> toc_;
    std::unique_ptr<host::ControlHost> host_;
};

}  // namespace suite
