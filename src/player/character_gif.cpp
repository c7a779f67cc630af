// The character's GIF in the image control.
#include <cstring>

#include "player/file_io.h"
#include "player/form.h"
#include "player/player_errors.h"

namespace zephlet {

void TFrmMain::LoadCharacterGif(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  // Until the GIF reader is wired in, only the signature is checked.
  if (bytes.size() < 13 ||
      (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0))
    throw PlayerError("Image is not a GIF");
}

void TFrmMain::ReleaseCharacterGif() {}
void TFrmMain::StopImagePainters() {}

}  // namespace zephlet
