#include "player/player_settings.h"

#include <gtest/gtest.h>

#include "player/settings_text.h"

namespace zephlet {
namespace {

TPlayerSettings Parse(const std::string& text) {
  return ParsePlayerSettings(SettingsText(text));
}

TEST(PlayerSettings, DefaultsOfAnEmptyText) {
  const TPlayerSettings s = Parse("");
  EXPECT_EQ(s.Mode, "None");
  EXPECT_EQ(s.Speed, 500);
  EXPECT_EQ(s.Radius, 100);
  EXPECT_EQ(s.Am, 20);
  EXPECT_TRUE(s.Clockwise);
  EXPECT_EQ(s.StartPosition, "TaskBar");
  EXPECT_EQ(s.MoveDir, "");
  EXPECT_FALSE(s.BGMusic);
  EXPECT_FALSE(s.OtherSnd);
  EXPECT_EQ(s.RgnNum, 0);
  EXPECT_TRUE(s.RgnSizes.empty());
}

TEST(PlayerSettings, ReadsTheSampleCharacter) {
  const TPlayerSettings s = Parse(
      "[Version]\r\nAniPlayerVer=1.1\r\nBuildVer=1.1\r\n"
      "[Rgn]\r\nRgnNum=1\r\nRgn0=4176\r\nRgnAllSize=4176\r\n"
      "[Gif]\r\nGifSize=951\r\n"
      "[Sound]\r\nBGMusic=1\r\nExitAtEnd=0\r\nBGMusicExt=.mid\r\nBGMusicSize=19009\r\nOtherSnd="
      "0\r\n"
      "[Move]\r\nMode=Hor\r\nSpeed=25\r\nStep=0\r\nAm=0\r\nRadius=0\r\nBound=0\r\nFullScreen=1\r\n"
      "StartPosition=TaskBar\r\nMoveDir=Right\r\nClockwise=0\r\nTrackMouse=0\r\n"
      "[Messages]\r\nHint=Hello!\r\n[Menu]\r\nUrl=http://example.com/\r\n");
  EXPECT_EQ(s.RgnNum, 1);
  EXPECT_EQ(s.RgnSizes, std::vector<int32_t>{4176});
  EXPECT_EQ(s.RgnAllSize, 4176);
  EXPECT_EQ(s.GifSize, 951);
  EXPECT_TRUE(s.BGMusic);
  EXPECT_EQ(s.BGMusicSize, 19009);
  EXPECT_EQ(s.BGMusicExt, ".mid");
  EXPECT_EQ(s.Mode, "Hor");
  EXPECT_EQ(s.Speed, 25);
  EXPECT_TRUE(s.FullScreen);
  EXPECT_FALSE(s.Clockwise);
  EXPECT_EQ(s.MoveDir, "Right");
  EXPECT_EQ(s.Hint, "Hello!");
  EXPECT_EQ(s.Url, "http://example.com/");
  EXPECT_EQ(s.Email, "");
}

TEST(PlayerSettings, SwitchesAreNumbers) {
  EXPECT_FALSE(Parse("[Sound]\r\nBGMusic=True").BGMusic);
  EXPECT_TRUE(Parse("[Sound]\r\nBGMusic=1").BGMusic);
  EXPECT_TRUE(Parse("[Sound]\r\nBGMusic=-1").BGMusic);
  EXPECT_EQ(Parse("[Move]\r\nSpeed=0x19").Speed, 25);
  EXPECT_EQ(Parse("[Move]\r\nSpeed=$19").Speed, 25);
  EXPECT_EQ(Parse("[Move]\r\nSpeed=25ms").Speed, 500);
  EXPECT_EQ(Parse("[move]\r\nspeed=7").Speed, 7);
}

TEST(PlayerSettings, SoundKeysAreReadOnlyWhenTheirSwitchIsOn) {
  const std::string sound_keys =
      "SndSize=10\r\nSndLength=20\r\nPlayMoveover=1\r\nPlayBegin=1\r\nPlayOnClick=1\r\n"
      "PlayRandom=1\r\nExitAtEnd=1\r\nBGMusicSize=30\r\nBGMusicExt=.mp3\r\n";
  const TPlayerSettings off = Parse("[Sound]\r\nOtherSnd=0\r\nBGMusic=0\r\n" + sound_keys);
  EXPECT_EQ(off.SndSize, 0);
  EXPECT_EQ(off.SndLength, 0);
  EXPECT_FALSE(off.PlayMoveover || off.PlayBegin || off.PlayOnClick || off.PlayRandom);
  EXPECT_FALSE(off.ExitAtEnd);
  EXPECT_EQ(off.BGMusicSize, 0);
  EXPECT_EQ(off.BGMusicExt, "");

  const TPlayerSettings on = Parse("[Sound]\r\nOtherSnd=1\r\nBGMusic=1\r\n" + sound_keys);
  EXPECT_EQ(on.SndSize, 10);
  EXPECT_EQ(on.SndLength, 20);
  EXPECT_TRUE(on.PlayMoveover && on.PlayBegin && on.PlayOnClick && on.PlayRandom);
  EXPECT_TRUE(on.ExitAtEnd);
  EXPECT_EQ(on.BGMusicSize, 30);
  EXPECT_EQ(on.BGMusicExt, ".mp3");

  EXPECT_EQ(Parse("[Sound]\r\nBGMusic=1").BGMusicExt, ".mid");
}

TEST(PlayerSettings, RegionEntrySizes) {
  EXPECT_EQ(Parse("[Rgn]\r\nRgnNum=3\r\nRgn0=48\r\nRgn1=64").RgnSizes,
            (std::vector<int32_t>{48, 64, 0}));
  // The eleventh entry's key ends in 10; keys with leading zeros are not entry keys.
  std::string text = "[Rgn]\r\nRgnNum=11\r\nRgn10=5\r\nRgn01=9\r\n";
  EXPECT_EQ(Parse(text).RgnSizes, (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}));
  EXPECT_TRUE(Parse("[Rgn]\r\nRgnNum=-4\r\nRgn0=48").RgnSizes.empty());
  // A hostile count is cut to what any character could use.
  EXPECT_EQ(Parse("[Rgn]\r\nRgnNum=2147483647").RgnSizes.size(),
            static_cast<size_t>(kMaxRegionEntries));
}

}  // namespace
}  // namespace zephlet
