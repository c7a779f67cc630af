// Writing a player file: the player program with the payload appended.
//
//   program | sound | music | regions | GIF | settings text | settings length
//
// The settings text gets the size keys of the pieces it is given, so that the
// player finds every piece from the end of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephlet::pack {

using Bytes = std::vector<uint8_t>;

struct PlayerFileParts {
  Bytes program;
  std::string settings;
  Bytes gif;
  std::vector<Bytes> regions;  // one region data entry per frame
  std::optional<Bytes> sound;  // wave file image
  std::optional<Bytes> music;  // music file
};

// Sets `key` in the first section named `section` (any letter case) to `value`:
// the first line holding the key is rewritten, else a line is added at the end
// of that section, else the section is appended.
std::string SetSettingsKey(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value);

// Splits a run of region data entries (each a 32-byte header followed by its
// rectangles). Throws std::runtime_error on a damaged entry.
std::vector<Bytes> SplitRegionData(const Bytes& data);

// The settings text with GifSize, RgnAllSize, RgnNum, Rgn<n>, and SndSize and
// BGMusicSize when those pieces are given.
std::string FillSizeKeys(const PlayerFileParts& parts);

// The whole player file.
Bytes BuildPlayerFile(const PlayerFileParts& parts);

}  // namespace zephlet::pack
