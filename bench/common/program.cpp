#include "bench/common/program.h"
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include "bench/common/map_model.h"
#include "com/error.h"

namespace bench {

int run_program(const char* name, int argc, char** argv, const std::function<void(int runs, Figures&)>& measure) {
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int rc = 0;
    if (!use_map_model()) {
        std::fprintf(stderr, "%s: cannot register mapmodel.dll beside the program\n", name);
        rc = 1;
    } else {
        try {
            Figures figures;
            measure(runs, figures);
            figures.print();
        } catch (const com::ComError& e) {
            std::fprintf(stderr, "%s: %s\n", name, e.what());
            rc = 1;
        }
    }
    OleUninitialize();
    return rc;
}

}  // namespace bench
