#include "kelpy/reliability/suite.h"
#include <commctrl.h>
#include <ole2.h>
#include <cstdio>
#include "com/error.h"
#include "common/registration.h"
#include "user_input.h"

namespace suite {

int main(const char* name, const std::function<int()>& body) {
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    int rc = 2;
    try {
        test::register_library(L"mapmodel.dll");
        rc = body();
    } catch (const com::ComError& e) {
        std::printf("%s: %s\n", name, e.what());
    }
    OleUninitialize();
    return rc;
}

HostedToc::HostedToc(int width, int height) {
    toc_ = kelpy::Toc::create();
    host::HostOptions options;
    options.userMode = true;
    options.width = width;
    options.height = height;
    options.position = {40, 20};
    options.topmost = true;
    host_ = std::make_unique<host::ControlHost>(toc_->unknown(), options);
}

HostedToc::~HostedToc() {
    host::move_mouse({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

void HostedToc::show(IMap* map) {
    IMap* argument = map;
    com::check(toc_->Initialize(&argument));
    host::pump_messages();
}

}  // namespace suite
