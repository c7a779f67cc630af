// Finding the payload's pieces from the end of the player file at start-up.
#include <gtest/gtest.h>

#include <memory>

#include "animation/region_table.h"
#include "player/player_settings.h"
#include "player/program.h"
#include "player_fixture.h"

namespace zephlet::testing {
namespace {

// Pads a settings text with a comment line to exactly `size` bytes.
std::string PadSettings(std::string text, size_t size) {
  text += ";";
  text.resize(size - 2, 'x');
  return text + "\r\n";
}

class PayloadTest : public PlayerTest {
 protected:
  // Runs the start-up sequence on a form and leaves it open for inspection.
  TFrmMain& Start(const Bytes& file) {
    WriteOwnFile(file);
    form_ = std::make_unique<TFrmMain>();
    form_->FormCreate();
    return *form_;
  }
  std::unique_ptr<TFrmMain> form_;
};

TEST_F(PayloadTest, PiecesOfTheThousandByteExample) {
  // Bytes 0-395 player, 396-595 regions, 596-895 GIF, 896-995 settings, 996-999 length.
  Bytes program(396, 0xEE);
  Bytes regions(200);
  for (size_t i = 0; i < regions.size(); ++i) regions[i] = static_cast<uint8_t>(i);
  const Bytes gif = TinyGif(300);
  const std::string settings = PadSettings(
      "[Gif]\r\nGifSize=300\r\n[Rgn]\r\nRgnAllSize=200\r\nRgnNum=2\r\nRgn0=120\r\nRgn1=80\r\n",
      100);
  const Bytes file = PlayerFile(program, Concat({regions, gif}), settings);
  ASSERT_EQ(file.size(), 1000u);

  TFrmMain& form = Start(file);
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(platform().message_boxes.empty());
  EXPECT_EQ(SettingsLength, 100);
  EXPECT_EQ(ReadFile(SettingsFileName), ToBytes(settings));
  EXPECT_EQ(ReadFile(GifFileName), gif);
  ASSERT_EQ(RegionTable.size(), 2u);
  EXPECT_EQ(RegionTable[0].Data, Bytes(regions.begin(), regions.begin() + 120));
  EXPECT_EQ(RegionTable[1].Data, Bytes(regions.begin() + 120, regions.end()));
  EXPECT_TRUE(SoundClip.empty());
  EXPECT_TRUE(MusicFileName.empty());

  form.Close();
  EXPECT_TRUE(platform().TempFiles().empty());
}

TEST_F(PayloadTest, MusicSizeCountsOnlyWhenMusicIsOn) {
  // BGMusic off with a size given: the sound clip lies just ahead of the regions.
  const Bytes sound = ToBytes("RIFF-sound");
  const std::string settings =
      "[Gif]\r\nGifSize=35\r\n[Sound]\r\nBGMusic=0\r\nBGMusicSize=5\r\nOtherSnd=1\r\nSndSize="
      "10\r\n";
  Start(PlayerFile(ToBytes("program"), Concat({sound, TinyGif()}), settings));
  EXPECT_EQ(SoundClip, sound);
  EXPECT_EQ(PlayerSettings.BGMusicSize, 0);
}

TEST_F(PayloadTest, NoSoundClipWithoutTheEffect) {
  const std::string settings = "[Gif]\r\nGifSize=35\r\n[Sound]\r\nOtherSnd=0\r\nSndSize=4\r\n";
  Start(PlayerFile(ToBytes("program"), Concat({ToBytes("RIFF"), TinyGif()}), settings));
  EXPECT_TRUE(SoundClip.empty());
}

TEST_F(PayloadTest, MusicFileIsTheTemporaryNameWithTheExtension) {
  const Bytes music = ToBytes("MThd-music");
  const Bytes sound = ToBytes("RIFF");
  const std::string settings =
      "[Gif]\r\nGifSize=35\r\n[Sound]\r\nBGMusic=1\r\nBGMusicSize=10\r\nOtherSnd=1\r\nSndSize="
      "4\r\n";
  TFrmMain& form =
      Start(PlayerFile(ToBytes("program"), Concat({sound, music, TinyGif()}), settings));
  ASSERT_FALSE(MusicFileName.empty());
  EXPECT_EQ(MusicFileName, MusicReserveFileName + ".mid");
  EXPECT_EQ(MusicFileName.rfind(platform().TempDirectory() + "zep", 0), 0u);
  EXPECT_EQ(ReadFile(MusicFileName), music);
  EXPECT_EQ(SoundClip, sound);
  form.Close();
  EXPECT_TRUE(platform().TempFiles().empty());
}

TEST_F(PayloadTest, SoundClipOutsideTheFileIsLeftEmpty) {
  const std::string settings = "[Gif]\r\nGifSize=35\r\n[Sound]\r\nOtherSnd=1\r\nSndSize=100000\r\n";
  TFrmMain& form = Start(PlayerFile(ToBytes("program"), TinyGif(), settings));
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(SoundClip.empty());
}

TEST_F(PayloadTest, RegionEntryCutShortKeepsOnlyTheBytesPresent) {
  const std::string settings =
      "[Gif]\r\nGifSize=35\r\n[Rgn]\r\nRgnAllSize=6\r\nRgnNum=2\r\nRgn0=4\r\nRgn1=2147483647\r\n";
  Start(PlayerFile(ToBytes("program"), Concat({ToBytes("abcdef"), TinyGif()}), settings));
  ASSERT_EQ(RegionTable.size(), 2u);
  EXPECT_EQ(RegionTable[0].Data, ToBytes("abcd"));
  EXPECT_EQ(RegionTable[1].Data, ToBytes("ef"));
}

// Whole runs of the player: how each start-up failure ends.
struct FailureCase {
  const char* name;
  Bytes file;
  const char* message;  // nullptr: the player closes without a message
};

Bytes WithSettings(const std::string& settings, const Bytes& pieces = TinyGif()) {
  return PlayerFile(ToBytes("program"), pieces, settings);
}

TEST_F(PayloadTest, StartUpFailuresEndThePlayerAndLeaveNoFiles) {
  const FailureCase cases[] = {
      {"bare player", LittleEndian32(0), nullptr},
      {"empty GIF", WithSettings("[Gif]\r\nGifSize=0\r\n", {}), nullptr},
      {"not a GIF", WithSettings("[Gif]\r\nGifSize=35\r\n", Bytes(35, 'x')), nullptr},
      {"shorter than the length", ToBytes("ab"), "Stream read error."},
      {"settings longer than the file", Concat({ToBytes("abc"), LittleEndian32(1000)}),
       "Stream read error."},
      {"negative settings length", Concat({ToBytes("abc"), LittleEndian32(0xFFFFFFF0u)}),
       "Stream read error."},
      {"huge settings length", Concat({ToBytes("abc"), LittleEndian32(0x7FFFFFFFu)}),
       "Stream read error."},
      {"GIF larger than the file", WithSettings("[Gif]\r\nGifSize=100000\r\n"),
       "Stream read error."},
      {"negative GIF size", WithSettings("[Gif]\r\nGifSize=-5\r\n"), "Stream read error."},
      {"huge GIF size", WithSettings("[Gif]\r\nGifSize=2147483647\r\n"), "Stream read error."},
      {"regions larger than the file",
       WithSettings("[Gif]\r\nGifSize=35\r\n[Rgn]\r\nRgnAllSize=100000\r\n"), nullptr},
      {"negative region size", WithSettings("[Gif]\r\nGifSize=35\r\n[Rgn]\r\nRgnAllSize=-1\r\n"),
       nullptr},
      {"music larger than the file",
       WithSettings("[Gif]\r\nGifSize=35\r\n[Sound]\r\nBGMusic=1\r\nBGMusicSize=2147483647\r\n"),
       nullptr},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    platform().Reset();
    platform().own_path = program_dir_ + "/character.exe";
    ResetPlayerState();
    WriteOwnFile(c.file);
    EXPECT_EQ(RunPlayer(), 0);
    if (c.message == nullptr) {
      EXPECT_TRUE(platform().message_boxes.empty());
    } else {
      ASSERT_EQ(platform().message_boxes.size(), 1u);
      EXPECT_EQ(platform().message_boxes[0].text, c.message);
      EXPECT_EQ(platform().message_boxes[0].caption, "Zephlet");
      EXPECT_EQ(platform().message_boxes[0].flags, mb::kOk | mb::kIconError);
    }
    EXPECT_TRUE(platform().quit_requested);
    EXPECT_FALSE(platform().form_visible);
    EXPECT_TRUE(platform().TempFiles().empty());
  }
}

TEST_F(PayloadTest, MissingOwnFileIsReportedWithItsPath) {
  RunPlayer();
  ASSERT_EQ(platform().message_boxes.size(), 1u);
  EXPECT_EQ(platform().message_boxes[0].text, "Cannot open file " + platform().own_path + ".");
}

TEST_F(PayloadTest, NoTemporaryNames) {
  // None for the settings file: reported; the message ends in a blank, so no full stop.
  WriteOwnFile(WithSettings("[Gif]\r\nGifSize=35\r\n"));
  platform().fail_temp_names_from = 0;
  RunPlayer();
  ASSERT_EQ(platform().message_boxes.size(), 1u);
  EXPECT_EQ(platform().message_boxes[0].text, "Cannot create file ");
  EXPECT_TRUE(platform().TempFiles().empty());

  // None for the GIF file: nothing to show; the player ends quietly.
  platform().Reset();
  platform().own_path = program_dir_ + "/character.exe";
  ResetPlayerState();
  platform().fail_temp_names_from = 1;
  RunPlayer();
  EXPECT_TRUE(platform().message_boxes.empty());
  EXPECT_TRUE(platform().quit_requested);
  EXPECT_TRUE(platform().TempFiles().empty());
}

TEST_F(PayloadTest, FullStopRule) {
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {{"Stream read error", "Stream read error."},
               {"Done.", "Done."},
               {"Path C:\\", "Path C:\\."},
               {"Ends in 9", "Ends in 9."},
               {"Ends in -", "Ends in -"},
               {"", ""}};
  for (const Case& c : cases) {
    platform().message_boxes.clear();
    ShowStartupError(c.message);
    ASSERT_EQ(platform().message_boxes.size(), 1u);
    EXPECT_EQ(platform().message_boxes[0].text, c.shown);
  }
}

}  // namespace
}  // namespace zephlet::testing
