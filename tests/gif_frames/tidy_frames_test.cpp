// The clean-up before display: what each option changes, what it leaves, and its progress.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/tidy_frames.h"

namespace zephlet::test {
namespace {

struct Progress {
  std::vector<std::string> events;
  explicit Progress(TGIFImage& image) {
    image.OnProgress = [this](TGIFObject*, ProgressStage stage, int percent, bool,
                              const ProgressRect&, const std::string& message) {
      const char* names[] = {"start", "run", "end"};
      events.push_back(std::string(names[static_cast<int>(stage)]) + " " + std::to_string(percent) +
                       " " + message);
    };
  }
};

void CleanUp(TGIFImage& image) {
  image.TidyFrames(CleanUpOption, 0, 0, 0);
}

TEST(TidyFrames, SampleCharacterKeepsItsTransparencyAndLosesTheLoopBlock) {
  auto image = LoadImage(CharacterGif());
  Progress progress(*image);
  CleanUp(*image);
  ASSERT_EQ(image->Frames().Count(), 1);
  TGIFSubImage& frame = image->Frames().SubImage(0);
  ASSERT_EQ(frame.ExtensionBlocks.Count(), 1);
  EXPECT_EQ(&frame.ExtensionBlocks.Extension(0), frame.FrameControl);
  EXPECT_TRUE(frame.HasTransparency);
  EXPECT_EQ(frame.FrameControl->DisposalMode(), 2);
  // Total 6, Done 4 when phase 3 reports.
  EXPECT_EQ(progress.events,
            (std::vector<std::string>{"start 0 Optimizing...", "run 67 Optimizing...",
                                      "end 100 Optimizing..."}));
}

TEST(TidyFrames, UnusedTransparencyGoesAndWithItTheOneFramesControlBlock) {
  Bytes pixels = CharacterPixels();
  for (uint8_t& p : pixels) p = p == 15 ? 14 : p;
  ImageDataOptions data;
  data.min_code_size = 4;
  auto image = LoadImage(GifWriter()
                             .Header(186, 32, 16)
                             .NetscapeLoop(0)
                             .GraphicControl(0x09, 3, 15)
                             .Image(0, 0, 186, 32, pixels, 0, 0, data)
                             .Trailer()
                             .Data());
  Progress progress(*image);
  CleanUp(*image);
  ASSERT_EQ(image->Frames().Count(), 1);
  TGIFSubImage& frame = image->Frames().SubImage(0);
  EXPECT_FALSE(frame.HasTransparency);
  EXPECT_EQ(frame.FrameControl, nullptr);
  EXPECT_EQ(frame.ExtensionBlocks.Count(), 0);
  EXPECT_EQ(frame.PixelCount(), 186 * 32);
  EXPECT_EQ(progress.events,
            (std::vector<std::string>{"start 0 Optimizing...", "run 17 Optimizing...",
                                      "run 67 Optimizing...", "end 100 Optimizing..."}));
}

// Two frames on a 200 x 200 screen, the first with its disposal, the second as given,
// then a small third frame apart from both that shows what the second one left behind.
struct DisposalCase {
  const char* name;
  uint8_t first_flags;  // graphic control flags of frame 0 (disposal in bits 2-4)
  uint16_t left, top, width, height;
  int second_flags;  // -1: no graphic control extension
  int expected_disposal;
};

// What the screen shows after each frame of two passes, composed the way frames are
// played: each drawn with its mask, then its area restored to the background (disposal
// 2) or the picture restored to what it was before it (disposal 3).
std::vector<std::vector<graphics::Color>> ShownPictures(TGIFImage& image) {
  constexpr graphics::Color kBackground = graphics::rgb(9, 9, 9);
  graphics::Bitmap screen(image.Width(), image.Height(), graphics::PixelFormat::k32Bit);
  const graphics::Rect all{0, 0, image.Width(), image.Height()};
  screen.canvas().set_brush_color(kBackground);
  screen.canvas().fill_rect(all);
  std::vector<std::vector<graphics::Color>> shown;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < image.Frames().Count(); ++i) {
      TGIFSubImage& frame = image.Frames().SubImage(i);
      const graphics::Bitmap before = screen;
      frame.DrawFrame(screen.canvas(), all, false, true);
      std::vector<graphics::Color> picture;
      for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) picture.push_back(screen.pixel(x, y));
      }
      shown.push_back(std::move(picture));
      const int disposal = frame.FrameControl != nullptr ? frame.FrameControl->DisposalMode() : 1;
      if (disposal == 2) screen.canvas().fill_rect(frame.ScaledFrameRect(all));
      if (disposal == 3) screen = before;
    }
  }
  return shown;
}

class TidyDisposal : public testing::TestWithParam<DisposalCase> {};

TEST_P(TidyDisposal, DropsADisposalOnlyWhenTheNextOpaqueFrameCoversIt) {
  const DisposalCase& c = GetParam();
  GifWriter gif;
  gif.Header(200, 200, 4)
      .GraphicControl(c.first_flags, 5, 3)
      .Image(0, 0, 100, 100, Bytes(10000, 1));
  if (c.second_flags >= 0) gif.GraphicControl(static_cast<uint8_t>(c.second_flags), 5, 3);
  // One pixel of index 3, so that a transparent second frame really shows through.
  Bytes second(size_t{c.width} * c.height, 2);
  second[0] = 3;
  gif.Image(c.left, c.top, c.width, c.height, second);
  gif.Image(190, 190, 10, 10, Bytes(100, 0)).Trailer();
  auto image = LoadImage(gif.Data());
  const auto shown_before = ShownPictures(*image);
  CleanUp(*image);
  ASSERT_EQ(image->Frames().Count(), 3);
  ASSERT_NE(image->Frames().SubImage(0).FrameControl, nullptr);
  EXPECT_EQ(image->Frames().SubImage(0).FrameControl->DisposalMode(), c.expected_disposal);
  // The clean-up never changes what is shown.
  EXPECT_TRUE(ShownPictures(*image) == shown_before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TidyDisposal,
    testing::Values(
        // A small opaque frame drawn after a larger frame that restores its area leaves
        // most of that area to the restore: dropping the disposal would leave the first
        // frame's pixels around the small one. The disposal stays.
        DisposalCase{"SmallerNextFrameKeepsTheDisposal", 0x08, 10, 10, 20, 20, -1, 2},
        // A next opaque frame over all of this one hides its pixels either way.
        DisposalCase{"CoveringNextFrameDropsTheDisposal", 0x08, 0, 0, 200, 200, -1, 0},
        DisposalCase{"ExactlyCoveringDropsRestorePrevious", 0x0C, 0, 0, 100, 100, -1, 0},
        // Not opaque: the first frame would show through.
        DisposalCase{"TransparentNextFrameKeepsIt", 0x08, 0, 0, 200, 200, 0x01, 2},
        // The next frame restores what was before it, which must be the background.
        DisposalCase{"NextFrameRestoringPreviousKeepsIt", 0x08, 0, 0, 200, 200, 0x0C, 2},
        DisposalCase{"DisjointFramesKeepIt", 0x08, 100, 100, 50, 50, -1, 2},
        DisposalCase{"LeaveInPlaceIsNotTouched", 0x04, 0, 0, 200, 200, -1, 1}),
    CaseName{});

TEST(TidyFrames, PhaseThreeDropsBlocksThatCarryNothing) {
  Bytes four(4, 1);
  GifWriter gif;
  gif.Header(2, 2, 4)
      .NetscapeLoop(0)
      .Comment("made by hand")
      .PlainText("hello")
      .Application("SOMEAPP1.0", {{1, 2, 3}})
      .Image(0, 0, 2, 2, four)
      .GraphicControl(0x04, 50, 0)  // delay 50 in a many-frame image: stays
      .Image(0, 0, 2, 2, four)
      .GraphicControl(0x06, 0, 0)  // waits for input: stays
      .Image(0, 0, 2, 2, four)
      .NetscapeLoop(3)             // a second loop block: never read
      .GraphicControl(0x04, 0, 0)  // delay 0, leave in place: freed
      .Image(0, 0, 2, 2, four)
      .GraphicControl(0x04, 0, 0)  // a frame of this block alone: block and frame freed
      .Trailer();
  auto image = LoadImage(gif.Data());
  ASSERT_EQ(image->Frames().Count(), 5);
  CleanUp(*image);
  ASSERT_EQ(image->Frames().Count(), 4);
  const TGIFExtensionList& first = image->Frames().SubImage(0).ExtensionBlocks;
  ASSERT_EQ(first.Count(), 1);
  EXPECT_NE(dynamic_cast<TGIFAppExtNSLoop*>(&first.Extension(0)), nullptr);
  ASSERT_NE(image->Frames().SubImage(1).FrameControl, nullptr);
  EXPECT_EQ(image->Frames().SubImage(1).FrameControl->FrameDelay(), 50);
  ASSERT_NE(image->Frames().SubImage(2).FrameControl, nullptr);
  EXPECT_TRUE(image->Frames().SubImage(2).FrameControl->WaitForInput());
  EXPECT_EQ(image->Frames().SubImage(3).ExtensionBlocks.Count(), 0);
}

TEST(TidyFrames, TheOnlyLoopBlockStaysWhereverItIs) {
  // The painter starts later passes at the frame of the first loop block it meets, so a
  // loop block on frame 3 with none before it is read and must stay.
  Bytes four(4, 1);
  GifWriter gif;
  gif.Header(2, 2, 4);
  for (int i = 0; i < 5; ++i) {
    if (i == 3) gif.NetscapeLoop(2);
    gif.GraphicControl(0x04, 10, 0).Image(0, 0, 2, 2, four);
  }
  auto image = LoadImage(gif.Trailer().Data());
  CleanUp(*image);
  ASSERT_EQ(image->Frames().Count(), 5);
  EXPECT_NE(image->Frames().SubImage(3).ExtensionBlocks.FindFirst<TGIFAppExtNSLoop>(), nullptr);
}

TEST(TidyFrames, EmptyImageDoesNothingAndReportsNothing) {
  TGIFImage image;
  Progress progress(image);
  image.TidyFrames(0xFF, 9, 0, 0);
  EXPECT_TRUE(progress.events.empty());
}

TEST(TidyFrames, ColourReductionNineIsRefusedWithoutCleanUp) {
  auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {0, 1}));
  Progress progress(*image);
  try {
    image->TidyFrames(ColorReductionOption, 9, 0, 0);
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "Invalid reduction method");
  }
  EXPECT_EQ(progress.events.back(), "end 0 Optimizing...");
  EXPECT_NO_THROW(image->TidyFrames(ColorReductionOption | CleanUpOption, 9, 0, 0));
  EXPECT_NO_THROW(image->TidyFrames(ColorReductionOption, 6, 0, 0));
}

TEST(TidyFrames, SortedTableKeepsEveryColourAndReferencedIndex) {
  // Uses: 5 three times, 2 twice, 7 (transparent) once; 0 is the background index.
  const Bytes pixels = {5, 5, 5, 2, 2, 7};
  auto image = LoadImage(GifWriter()
                             .Header(3, 2, 8)
                             .GraphicControl(0x01, 0, 7)
                             .Image(0, 0, 3, 2, pixels)
                             .Trailer()
                             .Data());
  image->TidyFrames(SortColorMapsOption, 0, 0, 0);
  TGIFGlobalColorMap& map = image->GlobalMap();
  ASSERT_EQ(map.EntryCount(), 4);
  EXPECT_TRUE(map.Sorted());
  const int order[] = {5, 2, 7, 0};
  for (int i = 0; i < 4; ++i) {
    uint8_t rgb[3];
    TestColor(order[i], rgb);
    EXPECT_EQ(map.Entry(i).Red, rgb[0]) << i;
    EXPECT_EQ(map.Entry(i).Blue, rgb[2]) << i;
  }
  TGIFSubImage& frame = image->Frames().SubImage(0);
  EXPECT_EQ(Bytes(frame.Pixels(), frame.Pixels() + 6), (Bytes{0, 0, 0, 1, 1, 2}));
  EXPECT_EQ(frame.FrameControl->TransparentIndex(), 2);
  EXPECT_EQ(image->ScreenHeader().BackgroundIndex, 3);
}

TEST(TidyFrames, TrimmedFrameKeepsItsPicture) {
  // A 4 x 4 frame at (1, 1), index 3 transparent, with opaque pixels in rows 1-2,
  // columns 1-2; and a frame restored to the background, which keeps its area.
  const Bytes pixels = {3, 3, 3, 3, 3, 0, 1, 3, 3, 3, 2, 3, 3, 3, 3, 3};
  auto image = LoadImage(GifWriter()
                             .Header(8, 8, 4)
                             .GraphicControl(0x05, 10, 3)
                             .Image(1, 1, 4, 4, pixels)
                             .GraphicControl(0x09, 10, 3)
                             .Image(1, 1, 4, 4, pixels)
                             .Trailer()
                             .Data());
  image->TidyFrames(TrimBordersOption, 0, 0, 0);
  ASSERT_EQ(image->Frames().Count(), 2);
  TGIFSubImage& trimmed = image->Frames().SubImage(0);
  EXPECT_EQ(trimmed.FrameLeft, 2);
  EXPECT_EQ(trimmed.FrameTop, 2);
  EXPECT_EQ(trimmed.FrameWidth, 2);
  EXPECT_EQ(trimmed.FrameHeight, 2);
  EXPECT_EQ(Bytes(trimmed.Pixels(), trimmed.Pixels() + trimmed.PixelCount()), (Bytes{0, 1, 3, 2}));
  EXPECT_EQ(image->Frames().SubImage(1).FrameWidth, 4);
}

TEST(TidyFrames, TrimRemovesAFrameTransparentAllOverAndKeepsItsTime) {
  auto image = LoadImage(GifWriter()
                             .Header(2, 1, 4)
                             .GraphicControl(0x05, 10, 3)
                             .Image(0, 0, 2, 1, {0, 1})
                             .GraphicControl(0x05, 7, 3)
                             .Image(0, 0, 2, 1, {3, 3})
                             .Trailer()
                             .Data());
  image->TidyFrames(TrimBordersOption, 0, 0, 0);
  ASSERT_EQ(image->Frames().Count(), 1);
  EXPECT_EQ(image->Frames().SubImage(0).FrameControl->FrameDelay(), 17);
}

TEST(TidyFrames, RepeatedPixelsBecomeTransparent) {
  // Frame 1 repeats frame 0 at x = 0 and x = 2. Frame 0's control block names index 3,
  // which frame 1 does not use.
  struct Case {
    const char* name;
    uint8_t first_flags;
    Bytes expected;
    int transparent_index;  // of frame 1 afterwards; -1: no control block
    int entries;            // of the global table afterwards
  };
  const Case cases[] = {
      // No other transparent frame: a new table entry, and a control block naming it.
      {"new table entry", 0x04, {4, 2, 4, 1}, 4, 5},
      // Frame 0 is transparent with index 3 of the same table: frame 1 takes it too.
      {"shared transparent index", 0x05, {3, 2, 3, 1}, 3, 4},
      // What frame 0 leaves is restored to the background: nothing repeats.
      {"earlier frame restored to the background", 0x08, {0, 2, 2, 1}, -1, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto image = LoadImage(GifWriter()
                               .Header(4, 1, 4)
                               .GraphicControl(c.first_flags, 10, 3)
                               .Image(0, 0, 4, 1, {0, 1, 2, 0})
                               .Image(0, 0, 4, 1, {0, 2, 2, 1})
                               .Trailer()
                               .Data());
    image->TidyFrames(DropRepeatsOption, 0, 0, 0);
    TGIFSubImage& frame = image->Frames().SubImage(1);
    EXPECT_EQ(Bytes(frame.Pixels(), frame.Pixels() + 4), c.expected);
    EXPECT_EQ(image->GlobalMap().EntryCount(), c.entries);
    if (c.transparent_index < 0) {
      EXPECT_EQ(frame.FrameControl, nullptr);
      continue;
    }
    ASSERT_NE(frame.FrameControl, nullptr);
    EXPECT_TRUE(frame.HasTransparency);
    EXPECT_TRUE(frame.FrameControl->TransparencyFlag());
    EXPECT_EQ(frame.FrameControl->TransparentIndex(), c.transparent_index);
  }
}

}  // namespace
}  // namespace zephlet::test
