// The container services: version, random fractions, timer, image list.
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include "com/error.h"
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/random.h"
#include "kelpy/platform/timer.h"
#include "kelpy/platform/tree_host.h"
#include "kelpy/platform/version.h"

using namespace kelpy::platform;

namespace {

TEST(Services, TheVersionComesFromTheVersionResource) {
    LibraryVersion v = Version();
    EXPECT_EQ(v.major, KELPY_VERSION_MAJOR);
    EXPECT_EQ(v.minor, KELPY_VERSION_MINOR);
    EXPECT_EQ(v.revision, KELPY_VERSION_REVISION);
}

TEST(Services, RandomFractionsLieInTheUnitIntervalAndRepeatPerThread) {
    std::vector<float> here, there;
    std::thread([&] {
        for (int i = 0; i < 1000; ++i) there.push_back(Rnd());
    }).join();
    std::thread([&] {
        for (int i = 0; i < 1000; ++i) here.push_back(Rnd());
    }).join();
    EXPECT_EQ(here, there);  // every thread starts from the same seed
    for (float f : here) {
        EXPECT_GE(f, 0.0f);
        EXPECT_LT(f, 1.0f);
    }
    EXPECT_GT(std::set<float>(here.begin(), here.end()).size(), 990u);
    {
        ScopedRandomSource fixed([] { return 0.25f; });
        EXPECT_EQ(Rnd(), 0.25f);
    }
    EXPECT_NE(Rnd(), 0.25f);
}

TEST(Services, ATimerTicksOnItsWindowOnlyWhileEnabled) {
    test::TreeHost host;
    Timer timer(77, 10);
    timer.Attach(host.parent);
    auto ticks = [&](int ms) {
        int n = 0;
        const DWORD end = GetTickCount() + DWORD(ms);
        MSG msg;
        while (GetTickCount() < end) {
            while (PeekMessageW(&msg, host.parent, WM_TIMER, WM_TIMER, PM_REMOVE))
                if (msg.wParam == 77) ++n;
            Sleep(2);
        }
        return n;
    };
    EXPECT_EQ(ticks(60), 0);
    timer.Enabled(true);
    EXPECT_GT(ticks(80), 0);
    timer.Enabled(false);
    EXPECT_EQ(ticks(60), 0);
}

TEST(Services, ImagesAreAddressedByKeyAndMagentaIsTransparent) {
    ImageList list(16, 16, RGB(255, 0, 255));
    for (const wchar_t* key : {L"plus", L"minus", L"root"}) list.Add(key, test::solid_picture(RGB(0, 0, 0)).get());
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf(L"root"), 2);
    EXPECT_EQ(list.KeyAt(1), L"minus");
    const win::Bitmap bmp = test::solid_picture(RGB(0, 0, 0));
    try {
        list.Add(L"plus", bmp.get());
        ADD_FAILURE();
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.hr(), com::CTL_E_KEYNOTUNIQUE);
    }
    EXPECT_EQ(list.Count(), 3);
    try {
        list.IndexOf(L"Root");
        ADD_FAILURE();
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.hr(), com::CTL_E_ELEMENTNOTFOUND);
    }
    // Drawn on white: the magenta corner shows the white, the rest is black.
    const win::WindowDC screen(nullptr);
    const win::MemoryDC dc(CreateCompatibleDC(screen.get()));
    const win::Bitmap target(CreateCompatibleBitmap(screen.get(), 16, 16));
    const win::Selection selected(dc.get(), target.get());
    RECT all{0, 0, 16, 16};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list.handle(), 0, dc.get(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 10, 10), RGB(0, 0, 0));
}

}  // namespace
