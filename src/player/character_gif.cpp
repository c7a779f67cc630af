// The character's GIF in the image control.
#include "gif/gif_image.h"
#include "player/form.h"

namespace zephlet {

void TFrmMain::LoadCharacterGif(const std::string& path) {
  TGIFImage loaded;
  loaded.LoadFromFile(path);
  ImageGIF.Assign(loaded);
}

void TFrmMain::ReleaseCharacterGif() {
  ImageGIF.Picture.reset();
}

// The image paints nothing yet, so it has no painters to stop.
void TFrmMain::StopImagePainters() {}

}  // namespace zephlet
