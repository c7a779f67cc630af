// The frame capture's place in start-up and shutdown.
#include "player/form.h"

namespace zephlet {

void TFrmMain::AddDirectPaintOption() {}

// Painting the frames into the strip is not built yet: the character is loaded
// but never shown.
void TFrmMain::StartCapture() {}

void TFrmMain::StopAnimation() {}
void TFrmMain::ReleaseCaptureBitmaps() {}

}  // namespace zephlet
