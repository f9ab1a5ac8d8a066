// The screen as the control's container reports it: twips per pixel, horizontally and
// vertically (1440 twips make an inch; 15 twips per pixel at 96 dots per inch).
#pragma once

namespace kelpy::platform {

float TwipsPerPixelX();
float TwipsPerPixelY();

}  // namespace kelpy::platform
