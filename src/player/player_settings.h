// Every value of the character's settings text, one field per key, named after
// the key. Written once by ReadSettings at start-up and only read afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zephlet {

class SettingsText;

struct TPlayerSettings {
  // [Rgn], [Gif]
  int32_t RgnAllSize = 0;
  int32_t GifSize = 0;
  // [Sound]
  bool OtherSnd = false;
  int32_t SndSize = 0;
  int32_t SndLength = 0;
  bool PlayMoveover = false;
  bool PlayBegin = false;
  bool PlayOnClick = false;
  bool PlayRandom = false;
  bool BGMusic = false;
  bool ExitAtEnd = false;
  int32_t BGMusicSize = 0;
  std::string BGMusicExt;
  // [Move]
  std::string Mode;
  int32_t Speed = 0;
  int32_t Radius = 0;
  int32_t Am = 0;
  bool FullScreen = false;
  bool Bound = false;
  bool TrackMouse = false;
  bool Clockwise = false;
  std::string MoveDir;
  std::string StartPosition;
  // [Menu]
  std::string Url;
  std::string Email;
  // [Rgn]
  int32_t RgnNum = 0;
  std::vector<int32_t> RgnSizes;  // "Rgn" + n for n from 0 to RgnNum - 1
  // [Messages]
  std::string Hint;
};

// No character has anywhere near this many frames; a larger RgnNum is cut to
// it so that a hostile settings text cannot make the player allocate without bound.
constexpr int32_t kMaxRegionEntries = 65536;

// Reads the settings from parsed text by the character's key table, with the
// keys that depend on OtherSnd and BGMusic read only when those are on.
TPlayerSettings ParsePlayerSettings(const SettingsText& text);

// The module-level settings of the running player.
extern TPlayerSettings PlayerSettings;

}  // namespace zephlet
