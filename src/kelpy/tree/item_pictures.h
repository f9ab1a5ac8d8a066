// The picture of an item image for the size the image list holds. Each item image is drawn at
// 16, 24 and 32 pixels (96, 144 and 192 dpi); a list of another size gets the largest drawing
// that fits, centred on the transparent colour, never an enlarged one.
#pragma once
#include <windows.h>
#include "win/handles.h"

namespace kelpy::tree {

// The picture `size` x `size` pixels of the item image whose 16-pixel resource is `id`; null
// when the library has no such picture.
win::Bitmap ItemPicture(int id, int size, COLORREF transparent);

}  // namespace kelpy::tree
