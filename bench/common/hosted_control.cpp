#include "bench/common/hosted_control.h"
#include <commctrl.h>
#include "com/error.h"
#include "com_server.h"
#include "control_host.h"

namespace bench {

HostedControl::HostedControl(int width, int height) {
    auto control = host::object_from_library(CLSID_TOC, L"kelpy.dll");
    host::HostOptions options;
    options.userMode = true;
    options.width = width;
    options.height = height;
    options.topmost = true;
    host_ = std::make_unique<host::ControlHost>(control.get(), options);
    toc_ = control.as<_TOC>();
}

HostedControl::~HostedControl() { host_->close(); }

void HostedControl::show(IMap* map) {
    IMap* argument = map;
    com::check(toc_->Initialize(&argument));
}

void HostedControl::reset() { com::check(toc_->Reset()); }

HWND HostedControl::tree() const { return GetWindow(host_->controlWindow(), GW_CHILD); }

long HostedControl::count() const { return long(SendMessageW(tree(), TVM_GETCOUNT, 0, 0)); }

}  // namespace bench
