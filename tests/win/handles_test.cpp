#include <gtest/gtest.h>
#include <utility>
#include "win/dib_canvas.h"
#include "win/handles.h"

namespace {
bool exists(HGDIOBJ object) { return GetObjectType(object) != 0; }
}  // namespace

TEST(Handles, OnlyTheLastOwnerDeletesAMovedHandle) {
    win::Brush first(CreateSolidBrush(RGB(1, 2, 3)));
    const HBRUSH brush = first.get();
    {
        win::Brush second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), brush);
        win::Brush third;
        third = std::move(second);
        EXPECT_TRUE(exists(brush));
    }
    EXPECT_FALSE(exists(brush));
    win::Pen kept(CreatePen(PS_SOLID, 1, 0));
    HPEN released = kept.release();
    kept.reset();
    EXPECT_TRUE(exists(released)) << "a released handle is the caller's";
    DeleteObject(released);
}

TEST(Handles, AFailedCreationRaisesOnlyWhereAsked) {
    try {
        (void)win::Bitmap::created(nullptr);
        FAIL() << "no error";
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.hr(), E_OUTOFMEMORY);
        EXPECT_EQ(e.description(), L"Could not create a GDI object");
    }
    const win::Bitmap tolerated(nullptr);
    EXPECT_FALSE(tolerated);
    win::File none(CreateFileW(L"Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(none) << "INVALID_HANDLE_VALUE is no file";
    EXPECT_TRUE(none.close());
    EXPECT_FALSE(win::WindowDC::try_get(reinterpret_cast<HWND>(0x1234)));
    EXPECT_THROW(win::WindowDC(reinterpret_cast<HWND>(0x1234)), com::ComError);
}

TEST(Handles, ACanvasFillsAndReadsBackItsPixels) {
    win::DibCanvas canvas(4, 3);
    canvas.fill(RGB(255, 255, 255));
    canvas.fill(RGB(10, 20, 30), 2, 1);
    EXPECT_EQ(canvas.pixel(1, 0), RGB(10, 20, 30));
    EXPECT_EQ(canvas.pixel(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.row(0)[0] & 0xFFFFFF, 0x0A141Eu);
    SetPixel(canvas.dc(), 3, 2, RGB(0, 0, 255));
    EXPECT_EQ(canvas.pixel(3, 2), RGB(0, 0, 255));
    EXPECT_THROW(win::DibCanvas(0, 3), com::ComError);
}
