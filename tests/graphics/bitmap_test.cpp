#include "graphics/bitmap.h"

#include <gtest/gtest.h>

#include "graphics/canvas.h"
#include "graphics/graphics_error.h"

namespace zephlet::graphics {
namespace {

TEST(Bitmap, NewBitmapsAreWhiteInEveryFormat) {
  const auto grey_palette = std::make_shared<const Palette>(
      std::vector<PaletteEntry>{{0, 0, 0, 0}, {250, 250, 250, 0}, {255, 0, 0, 0}});
  struct Case {
    PixelFormat format;
    PaletteHandle palette;
    std::uint32_t value;
    Color color;
  };
  const Case cases[] = {
      {PixelFormat::k1Bit, nullptr, 1, kWhite},
      {PixelFormat::k8Bit, nullptr, 255, kWhite},
      {PixelFormat::k8Bit, grey_palette, 1, rgb(250, 250, 250)},  // nearest entry to white
      {PixelFormat::k24Bit, nullptr, 0xFFFFFF, kWhite},
      {PixelFormat::k32Bit, nullptr, 0xFFFFFF, kWhite},
  };
  for (const Case& c : cases) {
    const Bitmap b(13, 3, c.format, c.palette);
    for (std::int32_t y = 0; y < 3; ++y) {
      for (std::int32_t x = 0; x < 13; ++x) {
        ASSERT_EQ(b.pixel_value(x, y), c.value) << bits_per_pixel(c.format);
        ASSERT_EQ(b.pixel(x, y), c.color);
      }
    }
  }
  // The unused byte of a 32-bit pixel is 0.
  EXPECT_EQ(Bitmap(1, 1, PixelFormat::k32Bit).row(0)[3], 0);
}

TEST(Bitmap, RowsAreFourByteAlignedAndChecked) {
  EXPECT_EQ(Bitmap(1, 1, PixelFormat::k1Bit).stride(), 4u);
  EXPECT_EQ(Bitmap(33, 1, PixelFormat::k1Bit).stride(), 8u);
  EXPECT_EQ(Bitmap(5, 1, PixelFormat::k8Bit).stride(), 8u);
  EXPECT_EQ(Bitmap(5, 1, PixelFormat::k24Bit).stride(), 16u);
  EXPECT_EQ(Bitmap(5, 1, PixelFormat::k32Bit).stride(), 20u);
  Bitmap b(4, 2, PixelFormat::k8Bit);
  EXPECT_EQ(b.row(1) - b.row(0), 4);
  EXPECT_THROW(b.row(2), GraphicsError);
  EXPECT_THROW(b.row(-1), GraphicsError);
  EXPECT_THROW(b.pixel(4, 0), GraphicsError);
}

TEST(Bitmap, AlignedRowBytes) {
  EXPECT_EQ(aligned_row_bytes(186, 8, 32), 188u);
  EXPECT_EQ(aligned_row_bytes(186, 24, 32), 560u);
  EXPECT_EQ(aligned_row_bytes(186, 1, 16), 24u);
  EXPECT_EQ(aligned_row_bytes(0, 8, 32), 0u);
}

TEST(Bitmap, UntrustedSizesFailClearly) {
  EXPECT_THROW(Bitmap(-1, 1, PixelFormat::k8Bit), GraphicsError);
  EXPECT_THROW(Bitmap(65535, 65535, PixelFormat::k32Bit), GraphicsError);
  EXPECT_THROW(Bitmap(kMaxBitmapSide + 1, 1, PixelFormat::k1Bit), GraphicsError);
  Bitmap b(2, 2, PixelFormat::k24Bit);
  EXPECT_THROW(b.set_size(40000, 40000), GraphicsError);
  EXPECT_EQ(b.width(), 2);  // unchanged after the failure
}

TEST(Bitmap, ResizeKeepsTheOverlapAndWhitensTheRest) {
  for (const PixelFormat f :
       {PixelFormat::k1Bit, PixelFormat::k8Bit, PixelFormat::k24Bit, PixelFormat::k32Bit}) {
    Bitmap b(11, 3, f);
    for (std::int32_t y = 0; y < 3; ++y) {
      for (std::int32_t x = 0; x < 11; ++x) b.set_pixel(x, y, kBlack);
    }
    b.set_size(9, 5);
    ASSERT_EQ(b.width(), 9);
    ASSERT_EQ(b.height(), 5);
    for (std::int32_t y = 0; y < 5; ++y) {
      for (std::int32_t x = 0; x < 9; ++x) {
        ASSERT_EQ(b.pixel(x, y), y < 3 ? kBlack : kWhite)
            << bits_per_pixel(f) << " " << x << "," << y;
      }
    }
    b.set_size(20, 5);
    EXPECT_EQ(b.pixel(8, 0), kBlack);
    EXPECT_EQ(b.pixel(9, 0), kWhite);  // was cut off, comes back white
  }
}

TEST(Bitmap, PixelFormatChangeConvertsColours) {
  Bitmap b(3, 1, PixelFormat::k24Bit);
  b.set_pixel(0, 0, rgb(10, 20, 30));
  b.set_pixel(1, 0, rgb(200, 200, 200));
  b.set_pixel_format(PixelFormat::k32Bit);
  EXPECT_EQ(b.pixel(0, 0), rgb(10, 20, 30));
  b.set_pixel_format(PixelFormat::k1Bit);
  EXPECT_EQ(b.pixel_value(0, 0), 0u);
  EXPECT_EQ(b.pixel_value(1, 0), 1u);
  EXPECT_EQ(b.pixel_value(2, 0), 1u);
}

TEST(Bitmap, PropertyChangesNotifyAndCopiesDropTheHandler) {
  Bitmap b(2, 2, PixelFormat::k8Bit);
  int changes = 0;
  b.set_on_change([&](Bitmap&) { ++changes; });
  b.set_size(3, 2);
  b.set_size(3, 2);  // same size: no change
  b.set_pixel_format(PixelFormat::k32Bit);
  b.set_palette(nullptr);
  EXPECT_EQ(changes, 3);
  Bitmap copy(b);
  copy.canvas().fill_rect({0, 0, 1, 1});
  EXPECT_EQ(changes, 3);
  // A moved bitmap keeps its canvas and handler.
  Bitmap moved(std::move(b));
  moved.canvas().fill_rect({0, 0, 1, 1});
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(&moved.canvas().bitmap(), &moved);
  // Assignment replaces the content only: same canvas, same handler, no notification.
  Canvas* canvas = &moved.canvas();
  moved.canvas().set_copy_mode(kSrcAnd);
  moved = Bitmap(5, 1, PixelFormat::k8Bit);
  moved = copy;
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(&moved.canvas(), canvas);
  EXPECT_EQ(moved.canvas().copy_mode(), kSrcAnd);
  EXPECT_EQ(moved.width(), 3);
  moved.canvas().fill_rect({0, 0, 1, 1});
  EXPECT_EQ(changes, 5);
}

}  // namespace
}  // namespace zephlet::graphics
