#include "kelpy/common/hosted_control.h"
#include <gtest/gtest.h>
#include "com/module.h"

namespace test {

HostedControl::HostedControl(Options options)
    : toc_(kelpy::Toc::create()) {
    RECT bounds{0, 0, options.width, options.height};
    toc_->CreateControlWindow(nullptr, bounds);
    if (options.start) toc_->StartRunTime();
}

HostedControl::~HostedControl() {
    if (toc_) toc_->DestroyControlWindow();
}

HWND HostedControl::tree() const { return GetWindow(toc_->hWnd(), GW_CHILD); }

HRESULT HostedControl::initialize(IMap* map) {
    IMap* argument = map;
    return toc_->Initialize(&argument);
}

long live_objects() { return com::Module::live_objects(); }

}  // namespace test
