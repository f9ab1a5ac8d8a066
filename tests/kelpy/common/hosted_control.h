// HostedControl: a TOC control in a top-level test window, as a container has it at run time:
// the control's window with its tree, started (tree shown, the windows' input handled,
// expanded-state memory made) unless asked otherwise. The fixture holds one reference to the control.
//
// Tests use the control's public interface (api()) and its subsystems (toc().builder(),
// painter(), interaction(), events(), tree()).
#pragma once
#include <windows.h>
#include "com/ptr.h"
#include "kelpy/control/toc.h"

namespace test {

class HostedControl {
public:
    struct Options {
        bool start = true;  // the run-time start-up
        int width = 300;
        int height = 400;
    };
    HostedControl() : HostedControl(Options{}) {}
    explicit HostedControl(Options options);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    kelpy::Toc& toc() const { return *toc_.get(); }
    _TOC* api() const { return toc_.get(); }
    HWND window() const { return toc_->hWnd(); }
    HWND tree() const;

    // _TOC.Initialize with a map or Nothing; answers its status.
    HRESULT initialize(IMap* map);
    HRESULT reset() { return toc_->Reset(); }

    // Gives up the fixture's reference (the window stays as long as the control lives).
    void release() { toc_.reset(); }

private:
    com::ComPtr<kelpy::Toc> toc_;
};

// The live objects of this test program's COM classes (controls, items, records, fakes).
long live_objects();

}  // namespace test
