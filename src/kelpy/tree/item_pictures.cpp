#include "kelpy/tree/item_pictures.h"
#include "com/module.h"
#include "kelpy/model/resource_ids.h"

namespace kelpy::tree {

namespace {
win::Bitmap load(int id) {
    return win::Bitmap(static_cast<HBITMAP>(
        LoadImageW(com::Module::handle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}
}  // namespace

win::Bitmap ItemPicture(int id, int size, COLORREF transparent) {
    struct Drawn {
        int size, offset;
    };
    static constexpr Drawn drawn[] = {{32, KELPY_BITMAP_ITEM_OFFSET_32}, {24, KELPY_BITMAP_ITEM_OFFSET_24}, {16, 0}};
    for (const Drawn& d : drawn) {
        if (d.size > size && d.size != 16) continue;
        win::Bitmap picture = load(id + d.offset);
        if (!picture) continue;  // an image drawn only at 16 pixels
        if (d.size == size) return picture;

        // A picture of its own size on a transparent square of the list's size, centred (a list
        // smaller than 16 pixels shows the middle of the 16-pixel picture).
        const win::WindowDC screen = win::WindowDC::try_get(nullptr);
        const win::MemoryDC from(CreateCompatibleDC(screen.get()));
        const win::MemoryDC to(CreateCompatibleDC(screen.get()));
        win::Bitmap square(CreateCompatibleBitmap(screen.get(), size, size));
        if (!from || !to || !square) return {};
        {
            const win::Selection source(from.get(), picture.get());
            const win::Selection target(to.get(), square.get());
            const win::Brush background(CreateSolidBrush(transparent));
            const RECT all{0, 0, size, size};
            FillRect(to.get(), &all, background.get());
            const int at = (size - d.size) / 2;
            BitBlt(to.get(), at, at, d.size, d.size, from.get(), 0, 0, SRCCOPY);
        }
        return square;
    }
    return {};
}

}  // namespace kelpy::tree
