// Frame bitmaps, masks and palettes: their pixels, where their colours come from, and
// when the caches are dropped.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "gif/extensions.h"
#include "gif/frame_bitmap.h"
#include "gif/gif_error.h"

namespace zephlet::test {
namespace {

using graphics::PaletteEntry;

PaletteEntry TestEntry(int i, uint8_t flags) {
  uint8_t rgb[3];
  TestColor(i, rgb);
  return {rgb[0], rgb[1], rgb[2], flags};
}

// Mask bit of pixel (x, y): 1 = transparent.
bool MaskBit(const graphics::Bitmap& mask, int x, int y) {
  return mask.pixel_value(x, y) != 0;
}

TEST(FrameBitmap, CharacterFrameDirectKeepsIndicesAndGlobalColours) {
  const DisplayDepth depth(32);
  auto image = LoadImage(CharacterGif());
  TGIFSubImage& frame = image->Frames().SubImage(0);
  const Bytes pixels = CharacterPixels();

  const graphics::Bitmap* bitmap = frame.FrameBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->pixel_format(), graphics::PixelFormat::k8Bit);
  ASSERT_EQ(bitmap->width(), 186);
  ASSERT_EQ(bitmap->height(), 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 186; ++x) {
      ASSERT_EQ(bitmap->pixel_value(x, y), pixels[static_cast<size_t>(y * 186 + x)])
          << x << "," << y;
    }
  }
  // The colour table: the 16 global colours, then zero entries up to 256.
  ASSERT_NE(bitmap->palette(), nullptr);
  const auto entries = bitmap->palette()->entries();
  ASSERT_EQ(entries.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(entries[static_cast<size_t>(i)], i < 16 ? TestEntry(i, 0) : PaletteEntry{}) << i;
  }
  // No local table: the frame keeps no palette of its own.
  EXPECT_EQ(frame.PaletteHandle, nullptr);

  // The mask: one bit per pixel, 1 where the index is 15; rows of 24 bytes whose
  // padding bits stay 0.
  ASSERT_NE(frame.MaskBitmap, nullptr);
  const graphics::Bitmap& mask = *frame.MaskBitmap;
  EXPECT_EQ(mask.pixel_format(), graphics::PixelFormat::k1Bit);
  ASSERT_EQ(mask.width(), 186);
  ASSERT_EQ(mask.height(), 32);
  EXPECT_EQ(mask.stride(), 24u);
  int transparent = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 186; ++x) {
      const bool expected = pixels[static_cast<size_t>(y * 186 + x)] == 15;
      transparent += expected ? 1 : 0;
      ASSERT_EQ(MaskBit(mask, x, y), expected) << x << "," << y;
    }
    EXPECT_EQ(mask.row(y)[23] & 0x3F, 0) << "padding of row " << y;
  }
  EXPECT_GT(transparent, 0);
  EXPECT_FALSE(frame.MaskWanted);
  EXPECT_TRUE(frame.MaskReady());
}

TEST(FrameBitmap, CharacterFrameOnPalettedDisplayIsDitheredOntoTheCube) {
  const DisplayDepth depth(8);
  auto image = LoadImage(CharacterGif());
  ASSERT_TRUE(image->IsDithering());
  TGIFSubImage& frame = image->Frames().SubImage(0);
  const Bytes pixels = CharacterPixels();

  const graphics::Bitmap* bitmap = frame.FrameBitmap();
  ASSERT_NE(bitmap, nullptr);
  const auto entries = bitmap->palette()->entries();
  ASSERT_EQ(entries.size(), 256u);
  EXPECT_EQ(entries[0], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(entries[36 * 5 + 6 * 2 + 1], (PaletteEntry{255, 102, 51, 0}));
  EXPECT_EQ(entries[215], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(entries[216], PaletteEntry{});

  // Transparent colour 15 is (15, 240, 105): F = round(6 * 240 / 51) + 105 div 51 +
  // round(36 * 15 / 51) + 1 = 28 + 2 + 11 + 1.
  constexpr uint32_t kFill = 42;
  ASSERT_NE(frame.MaskBitmap, nullptr);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 186; ++x) {
      const bool transparent = pixels[static_cast<size_t>(y * 186 + x)] == 15;
      ASSERT_EQ(MaskBit(*frame.MaskBitmap, x, y), transparent);
      if (transparent) {
        ASSERT_EQ(bitmap->pixel_value(x, y), kFill) << x << "," << y;
      } else {
        ASSERT_LT(bitmap->pixel_value(x, y), 216u) << x << "," << y;
      }
    }
  }
}

// A 5 x 3 frame over four chosen colours, dithered by the diffusion rules (serpentine
// rows, sixteenths rounded by (e + 8) / 16 toward zero, clamping); the expected indices
// were worked out from those rules outside this code.
struct DitherCase {
  const char* name;
  int control_flags;  // -1: no graphic control extension
  std::vector<std::vector<uint32_t>> expected;
};

class DitheredBitmap : public testing::TestWithParam<DitherCase> {};

TEST_P(DitheredBitmap, FollowsTheDiffusionRules) {
  const DisplayDepth depth(8);
  const Bytes pixels = {0, 0, 1, 2, 3, 1, 0, 0, 3, 2, 2, 2, 0, 0, 1};
  auto image = LoadImage(OneFrameGif(5, 3, 0, 0, 5, 3, pixels, GetParam().control_flags, 3));
  TGIFGlobalColorMap& map = image->GlobalMap();
  map.SetEntry(0, {40, 40, 40});
  map.SetEntry(1, {200, 100, 30});
  map.SetEntry(2, {130, 250, 77});
  map.SetEntry(3, {255, 0, 128});
  map.Changed();

  TGIFSubImage& frame = image->Frames().SubImage(0);
  const graphics::Bitmap* bitmap = frame.FrameBitmap();
  ASSERT_NE(bitmap, nullptr);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(bitmap->pixel_value(x, y),
                GetParam().expected[static_cast<size_t>(y)][static_cast<size_t>(x)])
          << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DitheredBitmap,
    testing::Values(
        DitherCase{
            "Opaque", -1, {{0, 43, 156, 97, 182}, {156, 43, 7, 183, 103}, {103, 134, 43, 43, 156}}},
        // Index 3 is transparent: its pixels hold F = 0 + 2 + 180 + 1 = 183 for
        // (255, 0, 128), pass no error on, and the error around them changes.
        DitherCase{"TransparentPixelsHoldTheFixedIndex",
                   0x01,
                   {{0, 43, 156, 97, 183}, {156, 37, 7, 183, 103}, {103, 140, 42, 37, 156}}}),
    CaseName{});

TEST(FrameBitmap, RebuildWithoutWantedMaskDithersTransparentPixelsLikeTheOthers) {
  const DisplayDepth depth(8);
  const Bytes pixels = {0, 0, 1, 2, 3, 1, 0, 0, 3, 2, 2, 2, 0, 0, 1};
  auto image = LoadImage(OneFrameGif(5, 3, 0, 0, 5, 3, pixels, 0x01, 3));
  TGIFGlobalColorMap& map = image->GlobalMap();
  map.SetEntry(0, {40, 40, 40});
  map.SetEntry(1, {200, 100, 30});
  map.SetEntry(2, {130, 250, 77});
  map.SetEntry(3, {255, 0, 128});
  map.Changed();
  TGIFSubImage& frame = image->Frames().SubImage(0);
  ASSERT_NE(frame.FrameBitmap(), nullptr);
  ASSERT_NE(frame.MaskBitmap, nullptr);

  // The mask exists and is no longer wanted: the next build makes none and so dithers
  // the transparent pixels too, as the opaque case does.
  frame.FreeFrameBitmap();
  const graphics::Bitmap* bitmap = frame.FrameBitmap();
  EXPECT_EQ(bitmap->pixel_value(4, 0), 182u);
  EXPECT_EQ(bitmap->pixel_value(1, 1), 43u);
  EXPECT_EQ(bitmap->pixel_value(3, 1), 183u);
  EXPECT_EQ(bitmap->pixel_value(2, 2), 43u);
  EXPECT_NE(frame.MaskBitmap, nullptr);
}

// Colours: a local table's own palette, the global one, the cube, or the missing-table error.
TEST(FramePalette, ComesFromTheLocalTableTheImageOrTheCube) {
  const DisplayDepth depth(32);
  {
    // A local table of 4: the frame's own palette, kept as PaletteHandle, no-collapse flags.
    const Bytes gif = GifWriter()
                          .Header(2, 1, 2)
                          .Image(0, 0, 2, 1, {3, 1}, 0x80 | TableSizeCode(4), 4)
                          .Trailer()
                          .Data();
    auto image = LoadImage(gif);
    TGIFSubImage& frame = image->Frames().SubImage(0);
    const graphics::PaletteHandle palette = frame.FramePalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette, frame.PaletteHandle);
    EXPECT_EQ(palette->version(), 0x300);
    ASSERT_EQ(palette->entry_count(), 4u);
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(palette->entries()[static_cast<size_t>(i)], TestEntry(i, 0x04));
    // The built bitmap then answers with its own colour table.
    const graphics::Bitmap* bitmap = frame.FrameBitmap();
    EXPECT_EQ(frame.FramePalette(), bitmap->palette());
    EXPECT_EQ(bitmap->palette()->color(3), graphics::rgb(3, 252, 21));
  }
  {
    // No local table: the image's palette of the global table, not stored in the frame.
    auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {0, 1}));
    TGIFSubImage& frame = image->Frames().SubImage(0);
    const graphics::PaletteHandle palette = frame.FramePalette();
    EXPECT_EQ(palette, image->ImagePalette());
    EXPECT_EQ(palette, image->SharedPalette);
    EXPECT_EQ(frame.PaletteHandle, nullptr);
    ASSERT_EQ(palette->entry_count(), 4u);
    EXPECT_EQ(palette->entries()[1], TestEntry(1, 0x04));
  }
  {
    // Dithering: the 216-entry cube.
    const DisplayDepth paletted(8);
    auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {0, 1}));
    const graphics::PaletteHandle palette = image->Frames().SubImage(0).FramePalette();
    ASSERT_EQ(palette->entry_count(), 216u);
    EXPECT_EQ(palette->entries()[36 * 1 + 6 * 2 + 3], (PaletteEntry{51, 102, 153, 0}));
  }
}

TEST(FramePalette, NoTableAnywhereRaisesTheMissingTableError) {
  const DisplayDepth depth(32);
  auto image = LoadImage(GifWriter().Header(2, 1).Image(0, 0, 2, 1, {0, 1}).Trailer().Data());
  TGIFSubImage& frame = image->Frames().SubImage(0);
  try {
    frame.FrameBitmap();
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), "No global or local color table defined");
  }
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  EXPECT_THROW(image->ImagePalette(), GIFException);
  // An image without frames and tables has no palette, and no error.
  TGIFImage empty;
  EXPECT_EQ(empty.ImagePalette(), nullptr);
}

TEST(FramePalette, ImagePaletteOfFrameZerosLocalTableIsNotStored) {
  const DisplayDepth depth(32);
  const Bytes gif = GifWriter()
                        .Header(2, 1)
                        .Image(0, 0, 2, 1, {0, 1}, 0x80 | TableSizeCode(2), 2)
                        .Trailer()
                        .Data();
  auto image = LoadImage(gif);
  const graphics::PaletteHandle palette = image->ImagePalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette, image->Frames().SubImage(0).PaletteHandle);
  EXPECT_EQ(image->SharedPalette, nullptr);
}

TEST(FramePalette, TheDrawCacheAnswersFirstAndANewImagePaletteDropsIt) {
  const DisplayDepth depth(32);
  auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {0, 1}));
  const graphics::PaletteHandle shared = image->ImagePalette();
  image->DrawCache = std::make_unique<graphics::Bitmap>(2, 1, graphics::PixelFormat::k8Bit,
                                                        graphics::copy_palette(shared));
  EXPECT_EQ(image->ImagePalette(), image->DrawCache->palette());
  std::vector<TGIFObject*> changes;
  image->OnChange = [&](TGIFObject* sender) { changes.push_back(sender); };

  image->SetImagePalette(shared);  // the same palette: nothing happens
  EXPECT_NE(image->DrawCache, nullptr);
  image->SetImagePalette(WebCubePalette());
  EXPECT_EQ(image->DrawCache, nullptr);
  EXPECT_TRUE(image->PaletteModified);
  EXPECT_EQ(changes, std::vector<TGIFObject*>{image.get()});
  EXPECT_EQ(image->ImagePalette()->entry_count(), 216u);
}

TEST(FramePalette, DitheringFollowsTheOptionsAndTheDisplay) {
  struct Case {
    uint16_t options;
    int depth;
    bool dithering;
  };
  const Case cases[] = {
      {0x060F, 32, false}, {0x060F, 9, false}, {0x060F, 8, true},  {0x064F, 1, true},
      {0x0200, 32, true},  {0x0400, 8, false}, {0x0000, 8, false},
  };
  for (const Case& c : cases) {
    const DisplayDepth depth(c.depth);
    TGIFImage image;
    image.PaintOptions = c.options;
    EXPECT_EQ(image.IsDithering(), c.dithering)
        << std::hex << c.options << " at " << std::dec << c.depth;
    EXPECT_EQ(PalettedDisplay(), c.depth < 9);
  }
}

struct ProgressLog {
  std::vector<std::string> events;
  TGIFObject* last_sender = nullptr;
  void Attach(TGIFImage& image) {
    image.OnProgress = [this](TGIFObject* sender, ProgressStage stage, int percent, bool redraw,
                              const ProgressRect&, const std::string& message) {
      const char* names[] = {"start", "run", "end"};
      events.push_back(std::string(names[static_cast<int>(stage)]) + " " + std::to_string(percent) +
                       (redraw ? " redraw " : " ") + message);
      last_sender = sender;
    };
  }
};

TEST(FrameBitmap, ReportsProgressEveryThirtyTwoRows) {
  const DisplayDepth depth(32);
  auto image = LoadImage(OneFrameGif(3, 70, 0, 0, 3, 70, Bytes(210, 1)));
  ProgressLog log;
  log.Attach(*image);
  TGIFSubImage& frame = image->Frames().SubImage(0);
  ASSERT_NE(frame.FrameBitmap(), nullptr);
  EXPECT_EQ(log.events, (std::vector<std::string>{"start 0 Rendering...", "run 0 Rendering...",
                                                  "run 46 Rendering...", "run 91 Rendering...",
                                                  "end 100 Rendering..."}));
  EXPECT_EQ(log.last_sender, &frame);
  // Built once: the next call reports nothing.
  log.events.clear();
  frame.FrameBitmap();
  EXPECT_TRUE(log.events.empty());
}

TEST(FrameBitmap, AbandonedBuildAnswersNoneAndOtherErrorsPropagate) {
  const DisplayDepth depth(32);
  auto image = LoadImage(OneFrameGif(2, 2, 0, 0, 2, 2, {0, 1, 2, 3}));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  std::vector<std::string> ends;
  int raise = 1;  // 1: silent abort, 2: another error, 0: none
  image->OnProgress = [&](TGIFObject*, ProgressStage stage, int percent, bool, const ProgressRect&,
                          const std::string&) {
    if (stage == ProgressStage::Ending) ends.push_back(std::to_string(percent));
    if (stage != ProgressStage::Running) return;
    if (raise == 1) throw SilentAbort();
    if (raise == 2) throw std::runtime_error("handler failed");
  };
  EXPECT_EQ(frame.FrameBitmap(), nullptr);
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  raise = 2;
  EXPECT_THROW(frame.FrameBitmap(), std::runtime_error);
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  raise = 0;
  EXPECT_NE(frame.FrameBitmap(), nullptr);
  EXPECT_EQ(ends, (std::vector<std::string>{"0", "0", "100"}));
}

TEST(FrameMask, NoMaskWhenNoPixelIsTransparent) {
  const DisplayDepth depth(32);
  struct Case {
    const char* name;
    int control_flags;
  };
  for (const Case& c : {Case{"no transparency", -1}, Case{"index 3 unused", 0x01}}) {
    SCOPED_TRACE(c.name);
    auto image = LoadImage(OneFrameGif(2, 2, 0, 0, 2, 2, {0, 1, 2, 0}, c.control_flags, 3));
    TGIFSubImage& frame = image->Frames().SubImage(0);
    int builds = 0;
    image->OnProgress = [&](TGIFObject*, ProgressStage stage, int, bool, const ProgressRect&,
                            const std::string&) { builds += stage == ProgressStage::Starting; };
    ASSERT_NE(frame.FrameBitmap(), nullptr);
    EXPECT_EQ(frame.MaskBitmap, nullptr);
    EXPECT_FALSE(frame.MaskReady());
    EXPECT_FALSE(frame.MaskReady());
    EXPECT_EQ(builds, 1) << "MaskReady must not rebuild once the mask was attempted";
  }
}

TEST(FrameCaches, DroppedWhenWhatTheyWereMadeFromChanges) {
  const DisplayDepth depth(32);
  auto image = LoadImage(OneFrameGif(4, 2, 1, 0, 2, 2, {0, 1, 3, 3}, 0x01, 3));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  ASSERT_TRUE(frame.MaskReady());
  ASSERT_NE(frame.CachedBitmap, nullptr);

  // A move keeps both; a new size drops both and wants a new mask.
  frame.SetFrameBounds(2, 0, 2, 2);
  EXPECT_NE(frame.CachedBitmap, nullptr);
  EXPECT_NE(frame.MaskBitmap, nullptr);
  frame.SetFrameBounds(2, 0, 4, 1);
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  EXPECT_EQ(frame.MaskBitmap, nullptr);
  EXPECT_TRUE(frame.MaskWanted);
  frame.SetFrameBounds(1, 0, 2, 2);

  // FreeFrameMask asks for a new mask, which MaskReady builds with a new bitmap.
  ASSERT_TRUE(frame.MaskReady());
  frame.FreeFrameMask();
  EXPECT_TRUE(frame.MaskWanted);
  EXPECT_NE(frame.CachedBitmap, nullptr);
  EXPECT_TRUE(frame.MaskReady());
  EXPECT_NE(frame.MaskBitmap, nullptr);

  // A changed global table drops the image palette and the bitmaps drawn with it.
  ASSERT_NE(image->ImagePalette(), nullptr);
  image->GlobalMap().SetEntry(0, {9, 9, 9});
  image->GlobalMap().Changed();
  EXPECT_EQ(image->SharedPalette, nullptr);
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  EXPECT_EQ(frame.FrameBitmap()->palette()->color(0), graphics::rgb(9, 9, 9));

  // A copy has the bitmap but not the mask, and builds the mask on its first masked use.
  TGIFSubImage copy(image.get());
  copy.Assign(frame);
  ASSERT_NE(copy.CachedBitmap, nullptr);
  EXPECT_NE(copy.CachedBitmap.get(), frame.CachedBitmap.get());
  EXPECT_EQ(copy.MaskBitmap, nullptr);
  EXPECT_TRUE(copy.MaskReady());

  // Clearing drops both.
  frame.Clear();
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  EXPECT_EQ(frame.MaskBitmap, nullptr);
  EXPECT_TRUE(frame.MaskWanted);
}

TEST(FrameCaches, NewFramePaletteDropsTheBitmapAndAsksForARedraw) {
  const DisplayDepth depth(32);
  const Bytes gif = GifWriter()
                        .Header(2, 1, 2)
                        .Image(0, 0, 2, 1, {3, 1}, 0x80 | TableSizeCode(4), 4)
                        .Trailer()
                        .Data();
  auto image = LoadImage(gif);
  TGIFSubImage& frame = image->Frames().SubImage(0);
  std::vector<TGIFObject*> changes;
  image->OnChange = [&](TGIFObject* sender) { changes.push_back(sender); };
  ProgressLog log;
  log.Attach(*image);

  ASSERT_NE(frame.FrameBitmap(), nullptr);
  const graphics::PaletteHandle own = frame.PaletteHandle;
  ASSERT_NE(own, nullptr);
  frame.SetFramePalette(own);  // the same palette: nothing happens
  EXPECT_NE(frame.CachedBitmap, nullptr);
  EXPECT_TRUE(changes.empty());

  // A changed local table drops palette and bitmap and marks the palette modified.
  frame.LocalMap.SetEntry(3, {1, 2, 3});
  frame.LocalMap.Changed();
  EXPECT_EQ(frame.PaletteHandle, nullptr);
  EXPECT_EQ(frame.CachedBitmap, nullptr);
  EXPECT_TRUE(image->PaletteModified);
  EXPECT_EQ(changes, std::vector<TGIFObject*>{&frame});

  // The rebuild asks for a redraw and fires the image's change notification.
  log.events.clear();
  EXPECT_EQ(frame.FrameBitmap()->palette()->color(3), graphics::rgb(1, 2, 3));
  EXPECT_EQ(log.events.back(), "end 100 redraw Rendering...");
  EXPECT_EQ(changes, (std::vector<TGIFObject*>{&frame, &frame}));
}

TEST(FrameCaches, OptionsReachOnlyBitmapsBuiltAfterwards) {
  auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {1, 2}));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  {
    const DisplayDepth depth(32);
    ASSERT_EQ(frame.FrameBitmap()->palette()->entries()[1], TestEntry(1, 0));
  }
  const DisplayDepth paletted(8);
  EXPECT_EQ(frame.FrameBitmap()->palette()->entries()[1], TestEntry(1, 0));
  frame.FreeFrameBitmap();
  image->SetImagePalette(nullptr);
  EXPECT_EQ(frame.FrameBitmap()->palette()->entries()[1], (PaletteEntry{0, 0, 51, 0}));
}

}  // namespace
}  // namespace zephlet::test
