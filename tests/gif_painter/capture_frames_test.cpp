// zephlet-gifinfo --frames: the capture's first pass written as BMP files.
#include "capture_frames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/bmp.h"
#include "painter_fixture.h"

namespace zephlet::painter_test {
namespace {

namespace fs = std::filesystem;

class CaptureFrames : public ::testing::Test {
 protected:
  CaptureFrames()
      : dir_(fs::temp_directory_path() /
             ("zephlet-capture-" +
              std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~CaptureFrames() override { fs::remove_all(dir_); }

  std::string WriteGif(const test::Bytes& bytes) {
    const fs::path path = dir_ / "in.gif";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::vector<graphics::Color> Picture(const std::string& name) {
    std::ifstream in(dir_ / "out" / name, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const graphics::Bitmap bitmap = graphics::read_bmp(bytes);
    EXPECT_EQ(bitmap.bits_per_pixel(), 24);
    std::vector<graphics::Color> colors;
    for (int32_t x = 0; x < bitmap.width(); ++x) colors.push_back(bitmap.pixel(x, 0));
    return colors;
  }
  std::string Out() {
    fs::create_directories(dir_ / "out");
    return (dir_ / "out").string();
  }
  size_t Written() {
    const fs::path out = dir_ / "out";
    return fs::exists(out) ? static_cast<size_t>(std::distance(fs::directory_iterator(out), {}))
                           : 0;
  }

  fs::path dir_;
};

// A threaded capture: each picture of the first pass once, as the white capture bitmap
// showed it, and nothing of the second pass.
TEST_F(CaptureFrames, WritesEveryPictureOfTheFirstPass) {
  const std::string gif =
      WriteGif(MakeGif(2, 1,
                       {{.left = 0, .width = 2, .pixels = {1, 3}, .disposal = 2, .transparent = 3},
                        {.left = 0, .width = 2, .pixels = {3, 2}, .disposal = 1, .transparent = 3},
                        {.left = 0, .width = 2, .pixels = {1, 1}, .disposal = 1}},
                       0));
  EXPECT_EQ(WriteCapturedFrames(Out(), gif), 0);
  EXPECT_EQ(Written(), 3u);
  EXPECT_EQ(Picture("frame-000.bmp"), (std::vector<graphics::Color>{Entry(1), W}));
  EXPECT_EQ(Picture("frame-001.bmp"), (std::vector<graphics::Color>{W, Entry(2)}));
  EXPECT_EQ(Picture("frame-002.bmp"), (std::vector<graphics::Color>{Entry(1), Entry(1)}));
  EXPECT_EQ(RunningPainterThreads(), 0);
}

TEST_F(CaptureFrames, ALoadErrorWritesNothing) {
  const test::Bytes not_a_gif = {'P', 'N', 'G', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (const std::string& file : {WriteGif(not_a_gif), (dir_ / "missing.gif").string()}) {
    EXPECT_EQ(WriteCapturedFrames(Out(), file), 1) << file;
    EXPECT_EQ(Written(), 0u);
  }
}

}  // namespace
}  // namespace zephlet::painter_test
