// Fuzzes the whole start-up path of a player file: the payload found from the
// file's end, the settings text, the region block and the temporary files.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/headless/headless_platform.h"
#include "player/player_settings.h"
#include "player/player_state.h"
#include "player/program.h"
#include "player/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zephlet;
  // The bytes as a settings text on their own.
  ParsePlayerSettings(SettingsText(std::string_view(reinterpret_cast<const char*>(data), size)));

  // The bytes as a whole player file.
  headless::HeadlessPlatform& platform = headless::Headless();
  static const std::string own_path = platform.TempDirectory() + "character.exe";
  std::FILE* f = std::fopen(own_path.c_str(), "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  platform.own_path = own_path;
  platform.message_boxes.clear();
  platform.quit_requested = false;
  ResetPlayerState();
  RunPlayer();
  return 0;
}
