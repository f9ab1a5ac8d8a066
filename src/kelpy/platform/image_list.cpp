#include "kelpy/platform/image_list.h"
#include <algorithm>
#include "com/error.h"

namespace kelpy::platform {

namespace {
win::ImageList create_list(int width, int height) {
    return win::ImageList::created(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 8, 8));
}
}  // namespace

ImageList::ImageList(int width, int height, COLORREF transparent)
    : list_(create_list(width, height)),
      width_(width),
      height_(height),
      transparent_(transparent) {}

void ImageList::Add(std::wstring_view key, HBITMAP picture) {
    if (Contains(key)) com::raise(com::CTL_E_KEYNOTUNIQUE);
    // ImageList_AddMasked changes the masked pixels of the bitmap it is given; it gets a copy.
    const win::Bitmap copy(static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0)));
    if (!copy) com::raise(E_INVALIDARG, L"The picture for the image \"" + std::wstring(key) + L"\" is not a bitmap");
    int index = ImageList_AddMasked(list_.get(), copy.get(), transparent_);
    if (index < 0) com::raise(E_FAIL, L"The image list did not take the picture \"" + std::wstring(key) + L"\"");
    keys_.emplace_back(key);
}

void ImageList::Clear() {
    ImageList_RemoveAll(list_.get());
    keys_.clear();
}

void ImageList::Resize(int width, int height) {
    list_ = create_list(width, height);
    keys_.clear();
    width_ = width;
    height_ = height;
}

int ImageList::IndexOf(std::wstring_view key) const {
    auto it = std::find(keys_.begin(), keys_.end(), key);
    if (it == keys_.end())
        com::raise(com::CTL_E_ELEMENTNOTFOUND, L"The image list has no image with the key \"" + std::wstring(key) + L"\"");
    return int(it - keys_.begin());
}

bool ImageList::Contains(std::wstring_view key) const noexcept {
    return std::find(keys_.begin(), keys_.end(), key) != keys_.end();
}

const std::wstring& ImageList::KeyAt(int index) const {
    if (index < 0 || index >= Count()) com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE);
    return keys_[size_t(index)];
}

}  // namespace kelpy::platform
