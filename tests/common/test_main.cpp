// The main of every test program: one single-threaded apartment with OLE for the whole run.
#include <gtest/gtest.h>
#include <ole2.h>
#include <commctrl.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int rc = RUN_ALL_TESTS();
    OleUninitialize();
    return rc;
}
