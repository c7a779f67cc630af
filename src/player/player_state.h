// Module-level state of the running player that start-up and shutdown share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zephlet {

extern int32_t SettingsLength;
extern std::string SettingsFileName;
extern std::string GifFileName;
extern std::string MusicFileName;
// The empty file that reserves the music file's temporary name.
extern std::string MusicReserveFileName;
// The sound effect, a whole wave file image kept in memory.
extern std::vector<uint8_t> SoundClip;

// Capture flags of the frame strip.
extern int32_t CapturedFrames;
extern bool StripReady;
extern bool BeginSoundPending;

// Puts every module-level value back to its state before start-up.
void ResetPlayerState();

}  // namespace zephlet
