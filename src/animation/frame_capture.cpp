// The frame capture's place in start-up and shutdown.
#include "gif/gif_image.h"
#include "player/form.h"

namespace zephlet {

// Bit 6 of the paint options: images created from here on paint directly.
void TFrmMain::AddDirectPaintOption() {
  DefaultPaintOptions |= 64;
}

// Painting the frames into the strip is not built yet: the character is loaded
// but never shown.
void TFrmMain::StartCapture() {}

void TFrmMain::StopAnimation() {}
void TFrmMain::ReleaseCaptureBitmaps() {}

}  // namespace zephlet
