#include "player_file_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "player/player_settings.h"
#include "player/settings_text.h"

namespace zephlet::pack {
namespace {

TEST(SetSettingsKey, RewritesAddsOrAppends) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"[Gif]\r\nGifSize=1\r\n", "[Gif]\r\nGifSize=951\r\n"},
      {"[gif]\r\ngifsize=1\r\nGifSize=2\r\n", "[gif]\r\nGifSize=951\r\nGifSize=2\r\n"},
      {"[Gif]\r\nOther=1\r\n\r\n[Move]\r\n", "[Gif]\r\nOther=1\r\nGifSize=951\r\n\r\n[Move]\r\n"},
      {"[Move]\r\nMode=Hor", "[Move]\r\nMode=Hor\r\n[Gif]\r\nGifSize=951\r\n"},
      {"", "[Gif]\r\nGifSize=951\r\n"},
      {"[Gif]\r\n;GifSize=1\r\n", "[Gif]\r\n;GifSize=1\r\nGifSize=951\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SetSettingsKey(c.text, "Gif", "GifSize", "951"), c.expected);
}

Bytes Region(uint32_t rects) {
  Bytes data(32 + 16 * rects, 0);
  data[0] = 32;
  data[4] = 1;
  data[8] = static_cast<uint8_t>(rects);
  data[12] = static_cast<uint8_t>(16 * rects);
  return data;
}

TEST(SplitRegionData, SplitsByHeaderAndRejectsDamage) {
  Bytes run = Region(2);
  const Bytes second = Region(0);
  run.insert(run.end(), second.begin(), second.end());
  const auto entries = SplitRegionData(run);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].size(), 64u);
  EXPECT_EQ(entries[1].size(), 32u);

  Bytes cut = Region(3);
  cut.resize(60);
  EXPECT_THROW(SplitRegionData(cut), std::runtime_error);
  Bytes bad_header = Region(1);
  bad_header[0] = 40;
  EXPECT_THROW(SplitRegionData(bad_header), std::runtime_error);
}

TEST(BuildPlayerFile, SizeKeysLetThePlayerFindEveryPiece) {
  PlayerFileParts parts;
  parts.program = {1, 2, 3, 0, 0, 0, 0};
  parts.settings = "[Sound]\r\nOtherSnd=1\r\nBGMusic=1\r\n";
  parts.gif = Bytes(20, 'g');
  parts.regions = {Region(1), Region(2)};
  parts.sound = Bytes(5, 's');
  parts.music = Bytes(7, 'm');
  const Bytes file = BuildPlayerFile(parts);

  const uint32_t length = file[file.size() - 4] | file[file.size() - 3] << 8 |
                          file[file.size() - 2] << 16 |
                          static_cast<uint32_t>(file[file.size() - 1]) << 24;
  const std::string text(file.end() - 4 - length, file.end() - 4);
  const TPlayerSettings s = ParsePlayerSettings(SettingsText(text));
  EXPECT_EQ(s.GifSize, 20);
  EXPECT_EQ(s.RgnAllSize, 48 + 64);
  EXPECT_EQ(s.RgnSizes, (std::vector<int32_t>{48, 64}));
  EXPECT_EQ(s.SndSize, 5);
  EXPECT_EQ(s.BGMusicSize, 7);
  EXPECT_EQ(file.size(), parts.program.size() + 5 + 7 + 48 + 64 + 20 + length + 4);
  // The sound clip directly follows the program.
  EXPECT_EQ(file[parts.program.size()], 's');
}

}  // namespace
}  // namespace zephlet::pack
