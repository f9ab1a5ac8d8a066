// The item images the builder gives its items, by key: "plus", "minus", "disconnected",
// "checked", "unchecked", "root" and "mixed" (a group whose members are not all visible, with
// mixed group checks), loaded in this order from the library's bitmap resources (magenta
// transparent) into the tree's image list, drawn for the list's size.
#pragma once
#include "kelpy/platform/image_list.h"

namespace kelpy::tree {

void LoadItemImages(platform::ImageList& images);

}  // namespace kelpy::tree
