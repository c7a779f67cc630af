#include "graphics/masked_blit.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/mask_bits.h"

namespace zephlet::graphics {
namespace {

constexpr Color kDest = rgb(0x11, 0x22, 0x33);

// A 3 x 2 frame of palette indices 0..5 and a mask marking indices 1 and 5 transparent.
struct Frame {
  PaletteHandle palette = make_palette(std::vector<Rgb>{
      {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}});
  Bitmap bitmap{3, 2, PixelFormat::k8Bit, palette};
  Bitmap mask;

  Frame() {
    MaskBits bits(3, 2);
    for (std::int32_t y = 0; y < 2; ++y) {
      std::vector<std::uint8_t> indices;
      for (std::int32_t x = 0; x < 3; ++x) indices.push_back(static_cast<std::uint8_t>(3 * y + x));
      std::copy(indices.begin(), indices.end(), bitmap.row(y));
      bits.mark_row(y, indices, 1);
      bits.mark_row(y, indices, 5);
    }
    mask = make_monochrome_bitmap(bits);
  }
  Color color(std::int32_t index) const { return palette->color(static_cast<std::size_t>(index)); }
};

Bitmap destination(std::int32_t w, std::int32_t h) {
  Bitmap b(w, h, PixelFormat::k32Bit);
  b.canvas().set_brush_color(kDest);
  b.canvas().fill_rect({0, 0, w, h});
  return b;
}

std::vector<Color> pixels_of(const Bitmap& b) {
  std::vector<Color> out;
  for (std::int32_t y = 0; y < b.height(); ++y) {
    for (std::int32_t x = 0; x < b.width(); ++x) out.push_back(b.pixel(x, y));
  }
  return out;
}

TEST(MaskedStretchBlit, BothMethodsKeepTheDestinationWhereTheMaskIsSet) {
  const Frame f;
  const Color d = kDest;
  const std::vector<Color> expected = {d, d,          d,          d,          d,  //
                                       d, f.color(0), d,          f.color(2), d,  //
                                       d, f.color(3), f.color(4), d,          d};
  for (const MaskedBlitMethod method :
       {MaskedBlitMethod::kAuto, MaskedBlitMethod::kSinglePass, MaskedBlitMethod::kTwoPass}) {
    Bitmap dst = destination(5, 3);
    dst.canvas().set_text_color(rgb(1, 2, 3));
    dst.canvas().set_background_color(rgb(4, 5, 6));
    int changes = 0;
    dst.set_on_change([&](Bitmap&) { ++changes; });
    const MaskedBlitMethod used = masked_stretch_blit(dst.canvas(), {1, 1, 4, 3}, f.bitmap,
                                                      {0, 0, 3, 2}, f.mask, 0, 0, method);
    EXPECT_EQ(used, method == MaskedBlitMethod::kTwoPass ? MaskedBlitMethod::kTwoPass
                                                         : MaskedBlitMethod::kSinglePass);
    EXPECT_EQ(pixels_of(dst), expected) << static_cast<int>(method);
    EXPECT_EQ(changes, 0);  // the calling drawing step reports the change
    EXPECT_EQ(dst.canvas().text_color(), rgb(1, 2, 3));
    EXPECT_EQ(dst.canvas().background_color(), rgb(4, 5, 6));
  }
}

TEST(MaskedStretchBlit, StretchingUsesTheTwoPassMethodWithTheSamePixelMapping) {
  const Frame f;
  Bitmap dst = destination(6, 2);
  EXPECT_EQ(masked_stretch_blit(dst.canvas(), {0, 0, 6, 2}, f.bitmap, {0, 0, 3, 2}, f.mask, 0, 0,
                                MaskedBlitMethod::kSinglePass),
            MaskedBlitMethod::kTwoPass);
  const std::vector<Color> expected = {f.color(0), f.color(0), kDest,      kDest,
                                       f.color(2), f.color(2), f.color(3), f.color(3),
                                       f.color(4), f.color(4), kDest,      kDest};
  EXPECT_EQ(pixels_of(dst), expected);
}

TEST(MaskedStretchBlit, MaskOffsetAndPixelsOutsideSourceOrMask) {
  const Frame f;
  // Source rectangle (1, 0, 3, 2) with the mask read from (1, 0); the last column of the
  // source rectangle lies outside the source and keeps the destination.
  for (const MaskedBlitMethod method :
       {MaskedBlitMethod::kSinglePass, MaskedBlitMethod::kTwoPass}) {
    Bitmap dst = destination(3, 2);
    masked_stretch_blit(dst.canvas(), {0, 0, 3, 2}, f.bitmap, {1, 0, 4, 2}, f.mask, 1, 0, method);
    EXPECT_EQ(pixels_of(dst),
              (std::vector<Color>{kDest, f.color(2), kDest, f.color(4), kDest, kDest}))
        << static_cast<int>(method);
  }
  // A mask smaller than the source: the pixels it does not cover are opaque.
  const Bitmap small_mask(1, 1, PixelFormat::k1Bit);  // one transparent pixel
  for (const MaskedBlitMethod method :
       {MaskedBlitMethod::kSinglePass, MaskedBlitMethod::kTwoPass}) {
    Bitmap dst = destination(3, 2);
    masked_stretch_blit(dst.canvas(), {0, 0, 3, 2}, f.bitmap, {0, 0, 3, 2}, small_mask, 0, 0,
                        method);
    EXPECT_EQ(pixels_of(dst), (std::vector<Color>{kDest, f.color(1), f.color(2), f.color(3),
                                                  f.color(4), f.color(5)}));
  }
}

TEST(MaskedStretchBlit, TiledStepReportsOneChangeAndKeepsOtherPendingChanges) {
  const Frame f;
  Bitmap dst = destination(6, 2);
  int changes = 0;
  dst.set_on_change([&](Bitmap&) { ++changes; });
  // A drawing step of two tiles, then its one report.
  for (const std::int32_t left : {0, 3}) {
    masked_stretch_blit(dst.canvas(), {left, 0, left + 3, 2}, f.bitmap, {0, 0, 3, 2}, f.mask, 0, 0);
  }
  dst.canvas().changed();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dst.pixel(3, 0), f.color(0));
  EXPECT_EQ(dst.pixel(4, 0), kDest);
  // Inside an open update, a change made before the transfer is still reported.
  dst.canvas().begin_update();
  dst.canvas().fill_rect({0, 0, 1, 1});
  masked_stretch_blit(dst.canvas(), {0, 0, 0, 2}, f.bitmap, {0, 0, 3, 2}, f.mask, 0, 0);
  dst.canvas().end_update();
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace zephlet::graphics
