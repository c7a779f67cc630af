// Start-up step 11: reading the payload from the end of the player's own file.
#include <exception>

#include "animation/region_table.h"
#include "platform/platform.h"
#include "player/common.h"
#include "player/file_io.h"
#include "player/form.h"
#include "player/payload_file.h"
#include "runtime/file_errors.h"
#include "player/player_settings.h"
#include "player/player_state.h"

namespace zephlet {
namespace {

// The sound clip ends where the music clip (or the region block) begins. A
// clip that does not lie inside the file is left empty; start-up goes on.
std::vector<uint8_t> ReadSoundClip(PayloadFile& file, int64_t end, int32_t size) {
  if (size <= 0 || !file.Contains(end - size, size)) return {};
  return file.Read(end - size, size);
}

}  // namespace

void TFrmMain::ReadPayload() {
  // Failures up to the GIF file are reported to the user (FormCreate).
  PayloadFile file(ThePlatform().OwnPath());
  SettingsLength = file.ReadTrailingLength();
  if (SettingsLength < 0) throw StreamReadError();
  const int64_t settings_start = file.Size() - 4 - SettingsLength;
  {
    const std::vector<uint8_t> text = file.Read(settings_start, SettingsLength);
    SettingsFileName = MakeTempFileName();
    WriteWholeFile(SettingsFileName, text);
  }
  ReadSettings(SettingsFileName);
  const TPlayerSettings& s = PlayerSettings;

  const int64_t gif_start = settings_start - s.GifSize;
  {
    const std::vector<uint8_t> gif = file.Read(gif_start, s.GifSize);
    GifFileName = MakeTempFileName();
    if (GifFileName.empty()) {
      // Without the GIF there is nothing to show and no menu to end the
      // player with: end it rather than leave an invisible process behind.
      Close();
      return;
    }
    WriteWholeFile(GifFileName, gif);
  }

  // From here on a failure closes the window without a message.
  try {
    LoadCharacterGif(GifFileName);

    const int64_t region_start = gif_start - s.RgnAllSize;
    LoadRegionBlock(file.Read(region_start, s.RgnAllSize));

    const int64_t music_start = region_start - s.BGMusicSize;  // BGMusicSize is 0 when off
    if (s.BGMusic) {
      const std::vector<uint8_t> music = file.Read(music_start, s.BGMusicSize);
      MusicReserveFileName = MakeTempFileName();
      // Without a temporary name the music is not written; it then fails to start.
      if (!MusicReserveFileName.empty()) {
        MusicFileName = MusicReserveFileName + s.BGMusicExt;
        WriteWholeFile(MusicFileName, music);
      }
    }
    if (s.OtherSnd) SoundClip = ReadSoundClip(file, music_start, s.SndSize);

    StartCapture();
  } catch (const std::exception&) {
    Close();
  }
}

}  // namespace zephlet
