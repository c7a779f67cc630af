// Reading the settings file and applying its effects on the form.
#include <string>

#include "animation/region_table.h"
#include "platform/platform.h"
#include "player/file_io.h"
#include "player/form.h"
#include "player/player_settings.h"
#include "player/settings_text.h"

namespace zephlet {

void TFrmMain::ReadSettings(const std::string& path) {
  if (!FileExists(path)) return;
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  const SettingsText text(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  PlayerSettings = ParsePlayerSettings(text);
  const TPlayerSettings& s = PlayerSettings;

  if (s.OtherSnd) TimerRPlay.Enabled = s.PlayRandom;

  if (ThePlatform().WaveOutDeviceCount() > 0 && s.BGMusic) {
    MnuBGMSwitch.Enabled = true;
    MnuBGMSwitch.Checked = true;
  } else {
    MnuBGMSwitch.Enabled = false;
  }

  if (s.Url.empty()) MnuHomepage.Visible = false;
  if (s.Email.empty()) MnuEmailauthor.Visible = false;
  if (s.Url.empty() && s.Email.empty()) MnuNemail.Visible = false;

  for (const int32_t size : s.RgnSizes) RegionTable.push_back(RegionEntry{size, {}});

  if (!s.Hint.empty()) {
    AnimatedImage.Hint = s.Hint;
    AnimatedImage.ShowHint = true;
  }
}

}  // namespace zephlet
