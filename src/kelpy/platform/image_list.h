// ImageList: the owner of a native image list whose pictures are addressed by string keys, in
// the order in which they were added (the tree's items name their pictures by key).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <string_view>
#include <vector>
#include "win/handles.h"

namespace kelpy::platform {

class ImageList {
public:
    // A list of width x height pictures in 24-bit colour; pixels of `transparent` are masked.
    ImageList(int width, int height, COLORREF transparent);

    // Appends a picture under a new key (the bitmap is copied; the caller keeps it). A key that
    // is already taken is the "key is not unique" error, and nothing is added.
    void Add(std::wstring_view key, HBITMAP picture);
    // Removes every picture and key.
    void Clear();
    // Removes every picture and key and holds width x height pictures from now on (a new native
    // list: a tree showing the old one must be given the list again).
    void Resize(int width, int height);

    // The native position (from 0) of the picture with this key; an unknown key is the
    // "element not found" error.
    int IndexOf(std::wstring_view key) const;
    bool Contains(std::wstring_view key) const noexcept;
    // The key at a native position (from 0).
    const std::wstring& KeyAt(int index) const;
    int Count() const noexcept { return int(keys_.size()); }

    HIMAGELIST handle() const noexcept { return list_.get(); }
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    COLORREF transparent() const noexcept { return transparent_; }

private:
    win::ImageList list_;
    int width_, height_;
    COLORREF transparent_;
    std::vector<std::wstring> keys_;
};

}  // namespace kelpy::platform
