// Positions of the tree's mouse events: the events report twips, the handlers work in the tree's
// client pixels.
#pragma once
#include <windows.h>

namespace kelpy::interact {

// twips / twipsPerPixel, rounded to the nearest whole pixel, halves to the even neighbour. A
// division that has no finite answer is the automation runtime's error: a zero divisor is
// "Division by zero" (0 / 0 is the overflow error), and so is a result outside the 32-bit range.
LONG PixelsFromTwips(float twips, float twipsPerPixel);
// The client pixels of an event's position in twips, at the screen's twips per pixel.
POINT PixelsOf(float x, float y);

}  // namespace kelpy::interact
