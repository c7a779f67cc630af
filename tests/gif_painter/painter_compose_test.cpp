// What a painter shows, frame by frame: the disposal table, restores from the backdrop
// or with the background colour, clearing at the start and tiling. Synchronous painters
// on an instant clock; every picture is the target as its change notification saw it.
#include <gtest/gtest.h>

#include "painter_fixture.h"

namespace zephlet::painter_test {
namespace {

using Picture = std::vector<graphics::Color>;

Picture Row(std::initializer_list<int> entries) {
  Picture picture;
  for (int e : entries) picture.push_back(e < 0 ? W : Entry(e));
  return picture;
}

struct ComposeCase {
  const char* name;
  std::vector<FrameDef> frames;
  uint16_t options;
  std::vector<Picture> shown;  // the target after each painted frame
};

// A 4 x 1 screen; background entry 0; white target (-1 in the rows below).
const ComposeCase kComposeCases[] = {
    {"leave in place, then restore to background",
     {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 1},
      {.left = 1, .width = 2, .pixels = {2, 2}, .disposal = 2},
      {.left = 3, .width = 1, .pixels = {3}, .disposal = 0}},
     AnimateOption,
     {Row({1, 1, 1, 1}), Row({1, 2, 2, 1}), Row({1, 0, 0, 3})}},
    {"restore to previous after leave in place draws on the target",
     {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 1},
      {.left = 0, .width = 2, .pixels = {2, 2}, .disposal = 3},
      {.left = 3, .width = 1, .pixels = {3}, .disposal = 1}},
     AnimateOption,
     {Row({1, 1, 1, 1}), Row({2, 2, 1, 1}), Row({1, 1, 1, 3})}},
    {"restore to previous after restore to background or previous shows Scratch",
     {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 2},
      {.left = 1, .width = 1, .pixels = {2}, .disposal = 3},
      {.left = 3, .width = 1, .pixels = {3}, .disposal = 3},
      {.left = 0, .width = 1, .pixels = {1}, .disposal = 1}},
     AnimateOption,
     {Row({1, 1, 1, 1}), Row({0, 2, 0, 0}), Row({0, 0, 0, 3}), Row({1, 0, 0, 0})}},
    {"undefined disposal values leave the frame in place",
     {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 2},
      {.left = 0, .width = 1, .pixels = {2}, .disposal = 5},
      {.left = 1, .width = 1, .pixels = {3}, .disposal = 3},
      {.left = 3, .width = 1, .pixels = {1}, .disposal = 7}},
     AnimateOption,
     {Row({1, 1, 1, 1}), Row({2, 0, 0, 0}), Row({2, 3, 0, 0}), Row({2, 0, 0, 1})}},
    {"transparent frames restore from the backdrop",
     {{.left = 0, .width = 4, .pixels = {1, 0, 2, 1}, .disposal = 2, .transparent = 0},
      {.left = 2, .width = 1, .pixels = {3}, .disposal = 1}},
     AnimateOption | TransparentOption,
     {Row({1, -1, 2, 1}), Row({-1, -1, 3, -1})}},
    {"without the option the same frames are opaque and restore to the background",
     {{.left = 0, .width = 4, .pixels = {1, 0, 2, 1}, .disposal = 2, .transparent = 0},
      {.left = 2, .width = 1, .pixels = {3}, .disposal = 1}},
     AnimateOption,
     {Row({1, 0, 2, 1}), Row({0, 0, 3, 0})}},
    {"frames without buffers accumulate on the target",
     {{.left = 0, .width = 2, .pixels = {1, 2}, .control = false},
      {.left = 1, .width = 2, .pixels = {3, 3}, .disposal = 1}},
     AnimateOption,
     {Row({1, 2, -1, -1}), Row({1, 3, 3, -1})}},
    {"without AnimateOption one frame is painted",
     {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}},
      {.left = 0, .width = 4, .pixels = {2, 2, 2, 2}}},
     TransparentOption,
     {Row({1, 1, 1, 1})}},
};

TEST(PainterCompose, DisposalTable) {
  InstantClock clock;
  ClockScope scope(clock);
  for (const ComposeCase& c : kComposeCases) {
    SCOPED_TRACE(c.name);
    auto image = LoadImage(MakeGif(4, 1, c.frames));
    RecordingTarget target(4, 1);
    EXPECT_EQ(image->StartPainter(target.bitmap.canvas(), target.Whole(), c.options), nullptr);
    EXPECT_EQ(target.pictures, c.shown);
    EXPECT_EQ(image->Painters.Count(), 0u);
  }
}

// Records the disposal buffers as they stand when each frame is done.
TEST(PainterCompose, BuffersFollowTheDisposals) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(
      MakeGif(4, 1,
              {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 1},
               {.left = 0, .width = 2, .pixels = {2, 2}, .disposal = 3},
               {.left = 2, .width = 2, .pixels = {3, 0}, .disposal = 2, .transparent = 0}}));
  std::vector<Picture> composites;
  bool has_backdrop = false;
  image->OnFrameDone = [&](TGIFPainter* painter) {
    const graphics::Bitmap* composite = painter->Composite();
    ASSERT_NE(composite, nullptr);
    ASSERT_NE(painter->Scratch(), nullptr);
    has_backdrop = painter->Backdrop() != nullptr;
    Picture p;
    for (int32_t x = 0; x < 4; ++x) p.push_back(composite->pixel(x, 0));
    composites.push_back(p);
  };
  RecordingTarget target(4, 1);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption | TransparentOption);
  EXPECT_TRUE(has_backdrop);
  // Frame 1 (restore to previous) never reaches Composite; frame 2's area goes back to
  // the backdrop (white) once it was shown.
  EXPECT_EQ(composites,
            (std::vector<Picture>{Row({1, 1, 1, 1}), Row({1, 1, 1, 1}), Row({1, 1, -1, -1})}));
  EXPECT_EQ(target.pictures.back(), Row({1, 1, 3, 1}));
}

TEST(PainterCompose, ClearAtStartRestoresFrameZerosAreaOnEveryPass) {
  InstantClock clock;
  ClockScope scope(clock);
  // Two passes (loop count 2). Frame 0 has a transparent pixel over which frame 1's
  // pixel stays unless frame 0's area is cleared first.
  const test::Bytes gif =
      MakeGif(4, 1,
              {{.left = 0, .width = 2, .pixels = {1, 3}, .disposal = 1, .transparent = 3},
               {.left = 1, .width = 1, .pixels = {2}, .disposal = 1}},
              2);
  for (const bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "ClearAtStartOption" : "without");
    auto image = LoadImage(gif);
    RecordingTarget target(4, 1);
    const uint16_t options =
        AnimateOption | LoopOption | TransparentOption | (clear ? ClearAtStartOption : uint16_t{0});
    image->StartPainter(target.bitmap.canvas(), target.Whole(), options);
    ASSERT_EQ(target.pictures.size(), 4u);
    EXPECT_EQ(target.pictures[1], Row({1, 2, -1, -1}));
    EXPECT_EQ(target.pictures[2], clear ? Row({1, -1, -1, -1}) : Row({1, 2, -1, -1}));
  }
}

TEST(PainterCompose, TilesRepeatFramesAndRestores) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(4, 1,
                                 {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 1},
                                  {.left = 1, .width = 1, .pixels = {2}, .disposal = 2},
                                  {.left = 3, .width = 1, .pixels = {3}, .disposal = 1}}));
  RecordingTarget target(8, 2);
  image->StartPainter(target.bitmap.canvas(), target.Whole(), AnimateOption | TileOption);
  const auto twice = [](std::initializer_list<int> row) {
    Picture p = Row(row);
    Picture line = p;
    line.insert(line.end(), p.begin(), p.end());
    Picture both = line;
    both.insert(both.end(), line.begin(), line.end());
    return both;
  };
  // One notification per frame although each frame is drawn as four tiles.
  EXPECT_EQ(target.pictures,
            (std::vector<Picture>{twice({1, 1, 1, 1}), twice({1, 2, 1, 1}), twice({1, 0, 1, 3})}));

  // Frames drawn straight onto the target (no buffers), masked, tile by tile: still one
  // notification each.
  auto plain = LoadImage(MakeGif(4, 1,
                                 {{.left = 0, .width = 2, .pixels = {1, 0}, .transparent = 0},
                                  {.left = 2, .width = 2, .pixels = {2, 2}}}));
  RecordingTarget plain_target(8, 2);
  plain->StartPainter(plain_target.bitmap.canvas(), plain_target.Whole(),
                      AnimateOption | TileOption | TransparentOption);
  EXPECT_EQ(plain_target.pictures,
            (std::vector<Picture>{twice({1, -1, -1, -1}), twice({1, -1, 2, 2})}));
}

// Without tiling the frames are scaled into the target rectangle, and so is the restore.
TEST(PainterCompose, FramesAndRestoresScaleIntoTheRectangle) {
  InstantClock clock;
  ClockScope scope(clock);
  auto image = LoadImage(MakeGif(4, 1,
                                 {{.left = 0, .width = 4, .pixels = {1, 1, 1, 1}, .disposal = 1},
                                  {.left = 1, .width = 1, .pixels = {2}, .disposal = 2},
                                  {.left = 3, .width = 1, .pixels = {3}, .disposal = 1}}));
  RecordingTarget target(10, 1);
  image->StartPainter(target.bitmap.canvas(), {2, 0, 10, 1}, AnimateOption);
  EXPECT_EQ(target.pictures.back(), Row({-1, -1, 1, 1, 0, 0, 1, 1, 3, 3}));
}

}  // namespace
}  // namespace zephlet::painter_test
