// Numbers of the control's picture resources, shared by kelpy.rc (control/resources) and the
// code that loads them (the item images, the drag cursors, the registration).
#pragma once

// The item images of imlTOC, in list order ("plus", "minus", "disconnected", "checked",
// "unchecked", "root", "mixed"): 16 x 16 bitmaps, magenta is transparent.
#define KELPY_BITMAP_ITEM_PLUS 201
#define KELPY_BITMAP_ITEM_MINUS 202
#define KELPY_BITMAP_ITEM_DISCONNECTED 203
#define KELPY_BITMAP_ITEM_CHECKED 204
#define KELPY_BITMAP_ITEM_UNCHECKED 205
#define KELPY_BITMAP_ITEM_ROOT 206
#define KELPY_BITMAP_ITEM_MIXED 207
// The same images drawn for 24 and 32 pixels (144 and 192 dpi): the 16-pixel picture's number
// plus these.
#define KELPY_BITMAP_ITEM_OFFSET_24 100
#define KELPY_BITMAP_ITEM_OFFSET_32 200

// The drag cursors: the drop would place the layer above, below, or there is no drop target.
// Each holds images of 32, 48 and 64 pixels.
#define KELPY_CURSOR_DRAG_UP 101
#define KELPY_CURSOR_DRAG_DOWN 102
#define KELPY_CURSOR_DRAG_BOTH 103

// The picture a form designer shows in its toolbox for the control.
#define KELPY_BITMAP_TOOLBOX 30000
