// The settings' effects on the form.
#include <gtest/gtest.h>

#include <memory>

#include "animation/region_table.h"
#include "player/file_io.h"
#include "player/player_settings.h"
#include "player_fixture.h"

namespace zephlet::testing {
namespace {

class ReadSettingsTest : public PlayerTest {
 protected:
  TFrmMain& ReadText(const std::string& text) {
    const std::string path = program_dir_ + "/settings.ini";
    WriteWholeFile(path, ToBytes(text));
    form().ReadSettings(path);
    return form();
  }
  TFrmMain& form() { return *form_; }
  void NewForm() { form_ = std::make_unique<TFrmMain>(); }
  std::unique_ptr<TFrmMain> form_ = std::make_unique<TFrmMain>();
};

TEST_F(ReadSettingsTest, MissingFileChangesNothing) {
  form().ReadSettings(program_dir_ + "/none.ini");
  EXPECT_EQ(PlayerSettings.Speed, 0);
  EXPECT_EQ(PlayerSettings.StartPosition, "");
  EXPECT_TRUE(form().MnuHomepage.Visible);
  EXPECT_TRUE(form().MnuBGMSwitch.Enabled);
  EXPECT_TRUE(RegionTable.empty());
}

TEST_F(ReadSettingsTest, MenuItemsFollowUrlAndEmail) {
  struct Case {
    const char* menu;
    bool homepage, email, separator;
  } cases[] = {
      {"", false, false, false},
      {"[Menu]\r\nUrl=\r\nEmail=\r\n", false, false, false},
      {"[Menu]\r\nUrl=http://a/\r\n", true, false, true},
      {"[Menu]\r\nEmail=a@b\r\n", false, true, true},
      {"[Menu]\r\nUrl=http://a/\r\nEmail=a@b\r\n", true, true, true},
  };
  for (const Case& c : cases) {
    NewForm();
    ReadText(c.menu);
    EXPECT_EQ(form().MnuHomepage.Visible, c.homepage) << c.menu;
    EXPECT_EQ(form().MnuEmailauthor.Visible, c.email) << c.menu;
    EXPECT_EQ(form().MnuNemail.Visible, c.separator) << c.menu;
  }
}

TEST_F(ReadSettingsTest, MusicItemNeedsMusicAndAWaveDevice) {
  ReadText("[Sound]\r\nBGMusic=1");
  EXPECT_TRUE(form().MnuBGMSwitch.Enabled);
  EXPECT_TRUE(form().MnuBGMSwitch.Checked);

  NewForm();
  platform().wave_out_devices = 0;
  ReadText("[Sound]\r\nBGMusic=1");
  EXPECT_FALSE(form().MnuBGMSwitch.Enabled);
  EXPECT_FALSE(form().MnuBGMSwitch.Checked);

  NewForm();
  platform().wave_out_devices = 2;
  ReadText("[Sound]\r\nBGMusic=0");
  EXPECT_FALSE(form().MnuBGMSwitch.Enabled);
}

TEST_F(ReadSettingsTest, RandomSoundTimerNeedsTheEffect) {
  ReadText("[Sound]\r\nOtherSnd=0\r\nPlayRandom=1\r\nPlayBegin=1");
  EXPECT_FALSE(form().TimerRPlay.Enabled);
  EXPECT_FALSE(PlayerSettings.PlayBegin);
  ReadText("[Sound]\r\nOtherSnd=1\r\nPlayRandom=1");
  EXPECT_TRUE(form().TimerRPlay.Enabled);
}

TEST_F(ReadSettingsTest, RegionEntriesAndHint) {
  ReadText("[Rgn]\r\nRgnNum=3\r\nRgn0=48\r\nRgn1=64\r\n[Messages]\r\nHint=Hi there");
  ASSERT_EQ(RegionTable.size(), 3u);
  EXPECT_EQ(RegionTable[0].Size, 48);
  EXPECT_EQ(RegionTable[1].Size, 64);
  EXPECT_EQ(RegionTable[2].Size, 0);
  EXPECT_EQ(form().AnimatedImage.Hint, "Hi there");
  EXPECT_TRUE(form().AnimatedImage.ShowHint);
}

TEST_F(ReadSettingsTest, EmptyHintLeavesTheHintOff) {
  ReadText("[Messages]\r\nHint=");
  EXPECT_FALSE(form().AnimatedImage.ShowHint);
}

}  // namespace
}  // namespace zephlet::testing
