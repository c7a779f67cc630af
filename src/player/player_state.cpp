#include "player/player_state.h"

#include "animation/region_table.h"
#include "player/player_settings.h"

namespace zephlet {

int32_t SettingsLength = 0;
std::string SettingsFileName;
std::string GifFileName;
std::string MusicFileName;
std::string MusicReserveFileName;
std::vector<uint8_t> SoundClip;
int32_t CapturedFrames = 0;
bool StripReady = false;
bool BeginSoundPending = false;

void ResetPlayerState() {
  PlayerSettings = TPlayerSettings{};
  SettingsLength = 0;
  SettingsFileName.clear();
  GifFileName.clear();
  MusicFileName.clear();
  MusicReserveFileName.clear();
  SoundClip.clear();
  CapturedFrames = 0;
  StripReady = false;
  BeginSoundPending = false;
  RegionTable.clear();
}

}  // namespace zephlet
