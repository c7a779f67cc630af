#include "graphics/canvas.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/raster_op.h"

namespace zephlet::graphics {
namespace {

// A one-row 32-bit bitmap of the given colours.
Bitmap row_of(std::vector<Color> colors, PixelFormat f = PixelFormat::k32Bit) {
  Bitmap b(static_cast<std::int32_t>(colors.size()), 1, f);
  for (std::size_t x = 0; x < colors.size(); ++x)
    b.set_pixel(static_cast<std::int32_t>(x), 0, colors[x]);
  return b;
}

std::vector<Color> colors_of_row(const Bitmap& b, std::int32_t y = 0) {
  std::vector<Color> out;
  for (std::int32_t x = 0; x < b.width(); ++x) out.push_back(b.pixel(x, y));
  return out;
}

TEST(RasterOp, NamedCodesMatchTheirTruthTables) {
  const std::uint32_t p = 0x00F0F0, s = 0x0F0FF0, d = 0x3C3CCC;
  struct Case {
    RasterOp op;
    std::uint32_t expected;
    bool uses_s, uses_d, uses_p;
  };
  const Case cases[] = {
      {kSrcCopy, s, true, false, false},        {kSrcAnd, s & d, true, true, false},
      {kSrcPaint, s | d, true, true, false},    {kSrcInvert, s ^ d, true, true, false},
      {kNotSrcCopy, ~s, true, false, false},    {kSrcErase, s & ~d, true, true, false},
      {kMergePaint, ~s | d, true, true, false}, {kDstCopy, d, false, true, false},
      {kDstInvert, ~d, false, true, false},     {kPatCopy, p, false, false, true},
      {kBlackness, 0, false, false, false},     {kWhiteness, 0xFFFFFFFF, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(apply_rop(c.op, p, s, d), c.expected) << std::hex << c.op;
    EXPECT_EQ(rop_uses_source(c.op), c.uses_s) << std::hex << c.op;
    EXPECT_EQ(rop_uses_destination(c.op), c.uses_d) << std::hex << c.op;
    EXPECT_EQ(rop_uses_brush(c.op), c.uses_p) << std::hex << c.op;
  }
}

TEST(Canvas, BlitRulesOnColourPixels) {
  const Color s = rgb(0x0F, 0xF0, 0x33), d = rgb(0xFF, 0x0F, 0x55), p = rgb(0x80, 0x80, 0x80);
  struct Case {
    RasterOp op;
    Color expected;
  };
  const Case cases[] = {
      {kSrcCopy, s},
      {kSrcAnd, rgb(0x0F, 0x00, 0x11)},
      {kSrcPaint, rgb(0xFF, 0xFF, 0x77)},
      {kSrcInvert, rgb(0xF0, 0xFF, 0x66)},
      {kNotSrcCopy, rgb(0xF0, 0x0F, 0xCC)},
      {kDstCopy, d},
      {kDstInvert, rgb(0x00, 0xF0, 0xAA)},
      {kBlackness, kBlack},
      {kWhiteness, kWhite},
      {0x00FC008A /* P | S */, rgb(0x8F, 0xF0, 0xB3)},
  };
  for (const PixelFormat df : {PixelFormat::k24Bit, PixelFormat::k32Bit}) {
    for (const Case& c : cases) {
      Bitmap src = row_of({s});
      Bitmap dst = row_of({d}, df);
      dst.canvas().set_brush_color(p);
      dst.canvas().bit_blt(0, 0, 1, 1, src.canvas(), 0, 0, c.op);
      EXPECT_EQ(dst.pixel(0, 0), c.expected) << std::hex << c.op;
      if (df == PixelFormat::k32Bit) {
        EXPECT_EQ(dst.row(0)[3], 0);  // the unused byte stays 0
      }
    }
  }
}

TEST(Canvas, MonochromeSourceTakesTheDestinationTextAndBackgroundColours) {
  Bitmap mono(4, 1, PixelFormat::k1Bit);
  mono.set_pixel(0, 0, kBlack);
  mono.set_pixel(2, 0, kBlack);  // bits 0 1 0 1
  Bitmap dst = row_of({kBlack, kBlack, kBlack, kBlack});
  EXPECT_EQ(dst.canvas().set_text_color(rgb(1, 2, 3)), kBlack);
  EXPECT_EQ(dst.canvas().set_background_color(rgb(4, 5, 6)), kWhite);
  dst.canvas().bit_blt(0, 0, 4, 1, mono.canvas(), 0, 0, kSrcCopy);
  EXPECT_EQ(colors_of_row(dst),
            (std::vector<Color>{rgb(1, 2, 3), rgb(4, 5, 6), rgb(1, 2, 3), rgb(4, 5, 6)}));
}

TEST(Canvas, ColourSourceToMonochromeMarksTheSourceBackgroundColour) {
  Bitmap src = row_of({rgb(9, 9, 9), kWhite, rgb(9, 9, 9), kBlack});
  src.canvas().set_background_color(rgb(9, 9, 9));
  Bitmap mono(4, 1, PixelFormat::k1Bit);
  mono.canvas().bit_blt(0, 0, 4, 1, src.canvas(), 0, 0, kSrcCopy);
  std::vector<std::uint32_t> bits;
  for (std::int32_t x = 0; x < 4; ++x) bits.push_back(mono.pixel_value(x, 0));
  EXPECT_EQ(bits, (std::vector<std::uint32_t>{1, 0, 1, 0}));
  // Mono to mono copies bits, whatever the colours.
  Bitmap mono2(4, 1, PixelFormat::k1Bit);
  mono2.canvas().set_text_color(kWhite);
  mono2.canvas().bit_blt(0, 0, 4, 1, mono.canvas(), 0, 0, kNotSrcCopy);
  EXPECT_EQ(mono2.pixel_value(0, 0), 0u);
  EXPECT_EQ(mono2.pixel_value(1, 0), 1u);
}

TEST(Canvas, PalettedSourceDrawsItsColoursOrCopiesIndicesUnderTheSamePalette) {
  const PaletteHandle palette =
      make_palette(std::vector<Rgb>{{255, 0, 0}, {0, 0, 255}, {0, 255, 0}});
  Bitmap src(3, 1, PixelFormat::k8Bit, palette);
  for (std::int32_t x = 0; x < 3; ++x) src.row(0)[x] = static_cast<std::uint8_t>(2 - x);
  Bitmap colour(3, 1, PixelFormat::k32Bit);
  colour.canvas().draw(0, 0, src);
  EXPECT_EQ(colors_of_row(colour),
            (std::vector<Color>{rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 0, 0)}));
  Bitmap same(3, 1, PixelFormat::k8Bit, palette);
  same.canvas().draw(0, 0, src);
  EXPECT_EQ(same.row(0)[0], 2);
  // Another palette with the colours in another order: colours are kept.
  Bitmap other(3, 1, PixelFormat::k8Bit,
               make_palette(std::vector<Rgb>{{0, 255, 0}, {255, 0, 0}, {0, 0, 255}}));
  other.canvas().draw(0, 0, src);
  EXPECT_EQ(colors_of_row(other), colors_of_row(colour));
  EXPECT_EQ(other.row(0)[0], 0);
}

TEST(Canvas, StretchDrawMapsPixelsByRoundingDown) {
  const Color a = rgb(1, 0, 0), b = rgb(2, 0, 0), c = rgb(3, 0, 0);
  struct Case {
    std::vector<Color> source;
    std::int32_t dest_width;
    std::vector<Color> expected;
  };
  const Case cases[] = {
      {{a, b}, 4, {a, a, b, b}},
      {{a, b, c}, 2, {a, b}},           // 0*3/2 = 0, 1*3/2 = 1
      {{a, b, c}, 5, {a, a, b, b, c}},  // i * 3 / 5 = 0 0 1 1 2
      {{a, b, c, a}, 2, {a, c}},
  };
  for (const Case& k : cases) {
    Bitmap src = row_of(k.source);
    Bitmap dst(k.dest_width, 1, PixelFormat::k24Bit);
    dst.canvas().stretch_draw({0, 0, k.dest_width, 1}, src);
    EXPECT_EQ(colors_of_row(dst), k.expected);
  }
  // Vertically: a 1 x 2 source into 1 x 4.
  Bitmap tall(1, 2, PixelFormat::k32Bit);
  tall.set_pixel(0, 1, a);
  Bitmap dst(1, 4, PixelFormat::k32Bit);
  dst.canvas().stretch_draw({0, 0, 1, 4}, tall);
  EXPECT_EQ(dst.pixel(0, 0), kWhite);
  EXPECT_EQ(dst.pixel(0, 1), kWhite);
  EXPECT_EQ(dst.pixel(0, 2), a);
  EXPECT_EQ(dst.pixel(0, 3), a);
}

TEST(Canvas, StretchDrawUsesTheCopyMode) {
  Bitmap src = row_of({rgb(0x0F, 0x0F, 0x0F)});
  Bitmap dst = row_of({rgb(0x33, 0x33, 0x33)});
  dst.canvas().set_copy_mode(kSrcPaint);
  dst.canvas().stretch_draw({0, 0, 1, 1}, src);
  EXPECT_EQ(dst.pixel(0, 0), rgb(0x3F, 0x3F, 0x3F));
}

TEST(Canvas, TransfersClipToBothBitmaps) {
  const Color s = rgb(7, 7, 7);
  Bitmap src(2, 2, PixelFormat::k32Bit);
  src.canvas().set_brush_color(s);
  src.canvas().fill_rect({0, 0, 2, 2});
  Bitmap dst(4, 1, PixelFormat::k24Bit);
  // Destination partly off the left edge: columns -1 and 0 from source 0 and 1.
  dst.canvas().bit_blt(-1, 0, 2, 1, src.canvas(), 0, 0, kSrcCopy);
  EXPECT_EQ(colors_of_row(dst), (std::vector<Color>{s, kWhite, kWhite, kWhite}));
  // Source partly outside its bitmap: those destination pixels stay as they were.
  dst.canvas().bit_blt(1, 0, 3, 1, src.canvas(), 1, 0, kSrcCopy);
  EXPECT_EQ(colors_of_row(dst), (std::vector<Color>{s, s, kWhite, kWhite}));
  // Empty and negative sizes draw nothing.
  dst.canvas().bit_blt(0, 0, 0, 1, src.canvas(), 0, 0, kBlackness);
  dst.canvas().stretch_blt(0, 0, -2, 1, src.canvas(), 0, 0, 1, 1, kBlackness);
  EXPECT_EQ(dst.pixel(2, 0), kWhite);
}

TEST(Canvas, OverlappingCopyWithinOneBitmap) {
  Bitmap b = row_of({rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0)});
  b.canvas().bit_blt(1, 0, 3, 1, b.canvas(), 0, 0, kSrcCopy);
  EXPECT_EQ(colors_of_row(b),
            (std::vector<Color>{rgb(1, 0, 0), rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0)}));
}

TEST(Canvas, FillRectUsesTheBrushAndClips) {
  Bitmap b(3, 2, PixelFormat::k8Bit,
           make_palette(std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}, {200, 0, 0}}));
  b.canvas().set_brush_color(rgb(190, 10, 10));
  b.canvas().fill_rect({2, 1, 10, 10});
  EXPECT_EQ(b.row(1)[2], 2);  // nearest palette entry
  EXPECT_EQ(b.row(0)[2], 1);  // white
  EXPECT_EQ(b.row(1)[1], 1);
}

TEST(Canvas, MaskBltChoosesTheOperationPerMaskBit) {
  Bitmap src = row_of({rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(4, 4, 4)});
  Bitmap dst = row_of({rgb(9, 9, 9), rgb(9, 9, 9), rgb(9, 9, 9), rgb(9, 9, 9)});
  Bitmap mask(3, 1, PixelFormat::k1Bit);  // white: all 1
  mask.set_pixel(1, 0, kBlack);           // mask bits 1 0 1, then outside (0)
  dst.canvas().mask_blt(0, 0, 4, 1, src.canvas(), 0, 0, mask, 0, 0, kDstCopy, kSrcCopy);
  EXPECT_EQ(colors_of_row(dst),
            (std::vector<Color>{rgb(9, 9, 9), rgb(2, 2, 2), rgb(9, 9, 9), rgb(4, 4, 4)}));
}

TEST(Canvas, EachOperationNotifiesOnceAndUpdatesGroupThem) {
  Bitmap src(2, 2, PixelFormat::k32Bit);
  Bitmap dst(2, 2, PixelFormat::k32Bit);
  int changes = 0;
  dst.set_on_change([&](Bitmap& b) {
    EXPECT_EQ(&b, &dst);
    ++changes;
  });
  dst.canvas().fill_rect({0, 0, 1, 1});
  dst.canvas().copy_rect({0, 0, 2, 2}, src.canvas(), {0, 0, 2, 2});
  EXPECT_EQ(changes, 2);
  // The source of a copy is only read.
  int source_changes = 0;
  src.set_on_change([&](Bitmap&) { ++source_changes; });
  dst.canvas().draw(0, 0, src);
  EXPECT_EQ(source_changes, 0);
  changes = 0;
  {
    Canvas::UpdateScope scope(dst.canvas());
    dst.canvas().fill_rect({0, 0, 1, 1});
    dst.canvas().begin_update();
    dst.canvas().draw(0, 0, src);
    dst.canvas().end_update();
    dst.canvas().changed();
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(changes, 1);
  // An update without any change raises nothing.
  dst.canvas().begin_update();
  dst.canvas().end_update();
  EXPECT_EQ(changes, 1);
  // Left by an exception: the grouped notification is dropped.
  try {
    Canvas::UpdateScope scope(dst.canvas());
    dst.canvas().fill_rect({0, 0, 1, 1});
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(dst.canvas().updating());
}

}  // namespace
}  // namespace zephlet::graphics
