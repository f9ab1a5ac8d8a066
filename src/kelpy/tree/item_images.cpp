#include "kelpy/tree/item_images.h"
#include <utility>
#include "com/error.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/tree/item_pictures.h"
#include "win/handles.h"

namespace kelpy::tree {

void LoadItemImages(platform::ImageList& images) {
    static constexpr std::pair<const wchar_t*, int> pictures[] = {
        {L"plus", KELPY_BITMAP_ITEM_PLUS},         {L"minus", KELPY_BITMAP_ITEM_MINUS},
        {L"disconnected", KELPY_BITMAP_ITEM_DISCONNECTED}, {L"checked", KELPY_BITMAP_ITEM_CHECKED},
        {L"unchecked", KELPY_BITMAP_ITEM_UNCHECKED}, {L"root", KELPY_BITMAP_ITEM_ROOT},
        {L"mixed", KELPY_BITMAP_ITEM_MIXED},
    };
    for (const auto& [key, id] : pictures) {
        const win::Bitmap picture = ItemPicture(id, images.width(), images.transparent());
        if (!picture)
            com::raise(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND),
                       L"The library has no picture for the item image \"" + std::wstring(key) + L"\"");
        images.Add(key, picture.get());
    }
}

}  // namespace kelpy::tree
