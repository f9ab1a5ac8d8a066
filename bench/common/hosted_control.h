// The control as a host application has it: made by the class factory of the kelpy.dll beside
// the program and embedded through the OLE control protocol in a host window of its own
// (tools/control_host), reached only through its public interface.
#pragma once
#include <windows.h>
#include <memory>
#include "com/ptr.h"
#include "kelpy.h"

namespace host {
class ControlHost;
}

namespace bench {

class HostedControl {
public:
    // A host window with this client size at the screen's top left, above every window that
    // is not topmost (so that the pointer finds the tree there), the control active in it.
    HostedControl(int width, int height);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    // Initialize with this map (or none).
    void show(IMap* map);
    // Reset: the tree built again from the map.
    void reset();
    const com::ComPtr<_TOC>& toc() const noexcept { return toc_; }
    // The control's tree window (the child of its own window).
    HWND tree() const;
    long count() const;

private:
    std::unique_ptr<host::ControlHost> host_;
    com::ComPtr<_TOC> toc_;
};

}  // namespace bench
