#include "player/player_settings.h"

#include <algorithm>
#include <string>

#include "player/settings_text.h"

namespace zephlet {

TPlayerSettings PlayerSettings;

TPlayerSettings ParsePlayerSettings(const SettingsText& text) {
  TPlayerSettings s;
  s.RgnAllSize = text.ReadInteger("Rgn", "RgnAllSize", 0);
  s.GifSize = text.ReadInteger("Gif", "GifSize", 0);
  s.OtherSnd = text.ReadBool("Sound", "OtherSnd", false);
  if (s.OtherSnd) {
    s.SndSize = text.ReadInteger("Sound", "SndSize", 0);
    s.SndLength = text.ReadInteger("Sound", "SndLength", 0);
    s.PlayMoveover = text.ReadBool("Sound", "PlayMoveover", false);
    s.PlayBegin = text.ReadBool("Sound", "PlayBegin", false);
    s.PlayOnClick = text.ReadBool("Sound", "PlayOnClick", false);
    s.PlayRandom = text.ReadBool("Sound", "PlayRandom", false);
  }
  s.BGMusic = text.ReadBool("Sound", "BGMusic", false);
  if (s.BGMusic) {
    s.ExitAtEnd = text.ReadBool("Sound", "ExitAtEnd", false);
    s.BGMusicSize = text.ReadInteger("Sound", "BGMusicSize", 0);
    s.BGMusicExt = text.ReadString("Sound", "BGMusicExt", ".mid");
  } else {
    s.BGMusicSize = 0;
  }
  s.Mode = text.ReadString("Move", "Mode", "None");
  s.Speed = text.ReadInteger("Move", "Speed", 500);
  s.Radius = text.ReadInteger("Move", "Radius", 100);
  s.Am = text.ReadInteger("Move", "Am", 20);
  s.FullScreen = text.ReadBool("Move", "FullScreen", false);
  s.Bound = text.ReadBool("Move", "Bound", false);
  s.TrackMouse = text.ReadBool("Move", "TrackMouse", false);
  s.Clockwise = text.ReadBool("Move", "Clockwise", true);
  s.MoveDir = text.ReadString("Move", "MoveDir", "");
  s.StartPosition = text.ReadString("Move", "StartPosition", "TaskBar");
  s.Url = text.ReadString("Menu", "Url", "");
  s.Email = text.ReadString("Menu", "Email", "");
  s.RgnNum = text.ReadInteger("Rgn", "RgnNum", 0);
  const int32_t entries = std::clamp(s.RgnNum, 0, kMaxRegionEntries);
  s.RgnSizes.reserve(static_cast<size_t>(entries));
  for (int32_t n = 0; n < entries; ++n)
    s.RgnSizes.push_back(text.ReadInteger("Rgn", "Rgn" + std::to_string(n), 0));
  s.Hint = text.ReadString("Messages", "Hint", "");
  return s;
}

}  // namespace zephlet
