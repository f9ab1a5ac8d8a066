// The control's pictures: the item images by key and order, drawn with magenta transparent and
// shown on the tree's items; the drag cursors by number; the toolbox picture.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <iterator>
#include <map>
#include <set>
#include "com/module.h"
#include "kelpy/control/container_fixture.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/model/resource_ids.h"

namespace {

constexpr DWORD magenta = 0xFF00FF;
constexpr DWORD black = 0x000000, white = 0xFFFFFF, yellow = 0xFFFF00, red = 0xFF0000;

// A bitmap resource of this program's resources, as 32-bit pixels.
host::Pixels resource_bitmap(int id) {
    const win::Bitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(com::Module::handle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return {};
    BITMAP info{};
    GetObjectW(bitmap.get(), sizeof info, &info);
    win::DibCanvas canvas(info.bmWidth, info.bmHeight);
    const win::MemoryDC source(CreateCompatibleDC(canvas.dc()));
    const win::Selection selected(source.get(), bitmap.get());
    BitBlt(canvas.dc(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    return host::pixels_of(canvas);
}

const std::pair<const wchar_t*, int> item_images[] = {
    {L"plus", KELPY_BITMAP_ITEM_PLUS},         {L"minus", KELPY_BITMAP_ITEM_MINUS},
    {L"disconnected", KELPY_BITMAP_ITEM_DISCONNECTED}, {L"checked", KELPY_BITMAP_ITEM_CHECKED},
    {L"unchecked", KELPY_BITMAP_ITEM_UNCHECKED}, {L"root", KELPY_BITMAP_ITEM_ROOT},
    {L"mixed", KELPY_BITMAP_ITEM_MIXED},
};

std::set<DWORD> colours_of(const host::Pixels& p) { return {p.data.begin(), p.data.end()}; }

TEST(ItemImages, KeysInListOrder) {
    auto toc = test::new_control();
    const auto& images = toc->images();
    ASSERT_EQ(images.Count(), int(std::size(item_images)));
    for (int i = 0; i < images.Count(); ++i) EXPECT_EQ(images.KeyAt(i), item_images[i].first);
    EXPECT_EQ(images.width(), 16);
    EXPECT_EQ(images.height(), 16);
    // Every key the control writes on items is there.
    for (const wchar_t* key : {L"root", L"checked", L"unchecked", L"disconnected", L"mixed"}) EXPECT_TRUE(images.Contains(key));
}

// Each picture drawn from the image list shows the background where the resource is magenta,
// and the resource's own colours everywhere else.
TEST(ItemImages, DrawWithMagentaTransparent) {
    auto toc = test::new_control();
    const auto& images = toc->images();
    const DWORD background = 0x123456;
    for (int i = 0; i < int(std::size(item_images)); ++i) {
        const host::Pixels picture = resource_bitmap(item_images[i].second);
        ASSERT_EQ(picture.width, 16) << i;
        ASSERT_EQ(picture.height, 16) << i;
        win::DibCanvas canvas(16, 16);
        HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
        RECT all{0, 0, 16, 16};
        FillRect(canvas.dc(), &all, brush);
        DeleteObject(brush);
        ASSERT_TRUE(ImageList_Draw(images.handle(), i, canvas.dc(), 0, 0, ILD_NORMAL));
        const host::Pixels drawn = host::pixels_of(canvas);
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const DWORD want = picture.at(x, y) == magenta ? background : picture.at(x, y);
                transparent += picture.at(x, y) == magenta;
                ASSERT_EQ(drawn.at(x, y), want) << item_images[i].first << " at " << x << ", " << y;
            }
        EXPECT_GT(transparent, 40) << item_images[i].first;  // a picture on a magenta ground
    }
}

TEST(ItemImages, PicturesUseTheirColours) {
    const host::Pixels checked = resource_bitmap(KELPY_BITMAP_ITEM_CHECKED);
    const host::Pixels unchecked = resource_bitmap(KELPY_BITMAP_ITEM_UNCHECKED);
    // An 11 x 11 black box, white inside; the tick only in "checked".
    for (int i = 2; i <= 12; ++i) {
        EXPECT_EQ(unchecked.at(i, 2), black);
        EXPECT_EQ(unchecked.at(i, 12), black);
        EXPECT_EQ(unchecked.at(2, i), black);
        EXPECT_EQ(unchecked.at(12, i), black);
    }
    EXPECT_EQ(colours_of(unchecked), (std::set<DWORD>{magenta, black, white}));
    EXPECT_EQ(colours_of(checked), (std::set<DWORD>{magenta, black, white}));
    int tick = 0;
    for (int y = 3; y <= 11; ++y)
        for (int x = 3; x <= 11; ++x) tick += checked.at(x, y) == black;
    EXPECT_GT(tick, 10);

    EXPECT_EQ(colours_of(resource_bitmap(KELPY_BITMAP_ITEM_ROOT)), (std::set<DWORD>{magenta, black, yellow}));
    EXPECT_EQ(colours_of(resource_bitmap(KELPY_BITMAP_ITEM_DISCONNECTED)),
              (std::set<DWORD>{magenta, white, 0x848484, 0xC6C6C6, red}));
    for (int id : {KELPY_BITMAP_ITEM_PLUS, KELPY_BITMAP_ITEM_MINUS})
        EXPECT_EQ(colours_of(resource_bitmap(id)), (std::set<DWORD>{magenta, white, black, 0x848284}));
    // Plus and minus differ by the vertical bar only.
    const host::Pixels plus = resource_bitmap(KELPY_BITMAP_ITEM_PLUS), minus = resource_bitmap(KELPY_BITMAP_ITEM_MINUS);
    int differ = 0;
    for (size_t i = 0; i < plus.data.size(); ++i) differ += plus.data[i] != minus.data[i];
    EXPECT_EQ(differ, 4);
}

// The tree shows each item's picture left of its label, magenta showing the tree's background.
TEST(ItemImages, TreeItemsShowTheirPictures) {
    auto toc = test::new_control();
    host::ControlHost host(toc.get()->unknown(), test::options(240, 200));
    auto map = test::make_map(L"Bay", {test::make_layer(test::LayerKind::Plain, L"Shown"), test::make_layer(test::LayerKind::Plain, L"Hidden", false),
                                       test::make_layer(test::LayerKind::Plain, L"Broken", true, false)});
    IMap* argument = map.get();
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
    const host::Pixels shot = host.render();
    HWND tree = toc->tree().hWnd();

    std::map<std::wstring, int> expected = {{L"Bay", KELPY_BITMAP_ITEM_ROOT},
                                            {L"Shown", KELPY_BITMAP_ITEM_CHECKED},
                                            {L"Hidden", KELPY_BITMAP_ITEM_UNCHECKED},
                                            {L"Broken", KELPY_BITMAP_ITEM_DISCONNECTED}};
    int found = 0;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextVisible(tree, item)) {
        wchar_t text[64] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = 64;
        TreeView_GetItem(tree, &tv);
        auto it = expected.find(text);
        if (it == expected.end()) continue;
        RECT label{};
        TreeView_GetItemRect(tree, item, &label, TRUE);
        const host::Pixels picture = resource_bitmap(it->second);
        // The picture sits just left of the label, centred on the item's height; look for it
        // there. Its last column may be covered by the label's own rectangle, and a row that
        // falls outside the tree is not drawn; neither is compared.
        bool match = false;
        for (int left = label.left - 24; left <= label.left - 14 && !match; ++left)
            for (int top = label.top - 3; top <= label.top + 2 && !match; ++top) {
                if (left < 0 || left + 16 > shot.width || top + 16 > shot.height) continue;
                match = true;
                for (int y = std::max(0, -top); y < 16 && match; ++y)
                    for (int x = 0; x < 15 && match; ++x) {
                        // Magenta shows what is behind (background, or the tree's lines).
                        const DWORD got = shot.at(left + x, top + y);
                        match = picture.at(x, y) == magenta ? got != magenta : got == picture.at(x, y);
                    }
            }
        EXPECT_TRUE(match) << "the picture of " << std::string(text, text + wcslen(text));
        ++found;
    }
    EXPECT_EQ(found, 4);
}

TEST(Cursors, LoadByNumberWithTheirHotSpotAtTheTip) {
    std::vector<std::vector<BYTE>> masks;
    for (int id : {KELPY_CURSOR_DRAG_UP, KELPY_CURSOR_DRAG_DOWN, KELPY_CURSOR_DRAG_BOTH}) {
        HCURSOR cursor = LoadCursorW(com::Module::handle(), MAKEINTRESOURCEW(id));
        ASSERT_NE(cursor, nullptr) << id;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, 0u);
        EXPECT_EQ(info.yHotspot, 0u);
        EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        EXPECT_EQ(mask.bmHeight, 64);  // AND mask over XOR picture
        std::vector<BYTE> bits(size_t(mask.bmWidthBytes) * size_t(mask.bmHeight));
        GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data());
        // The tip of the arrow is drawn (not transparent) at the hot spot.
        EXPECT_EQ(bits[0] & 0x80, 0) << id;
        masks.push_back(bits);
        DeleteObject(info.hbmMask);
    }
    EXPECT_NE(masks[0], masks[1]);
    EXPECT_NE(masks[0], masks[2]);
    EXPECT_NE(masks[1], masks[2]);
}

TEST(Toolbox, SixteenColourPictureOnSilver) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(com::Module::handle(), MAKEINTRESOURCEW(KELPY_BITMAP_TOOLBOX),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBmih.biWidth, 16);
    EXPECT_EQ(std::abs(dib.dsBmih.biHeight), 15);
    EXPECT_EQ(dib.dsBmih.biBitCount, 4);
    DeleteObject(bitmap);
    const host::Pixels p = resource_bitmap(KELPY_BITMAP_TOOLBOX);
    EXPECT_EQ(p.at(15, 14), 0xC0C0C0u);                  // silver ground
    EXPECT_EQ(p.at(3, 3), 0x000080u);                    // blue title bar
    EXPECT_TRUE(colours_of(p).count(0xFFFF00));          // the yellow pencil
}

}  // namespace
