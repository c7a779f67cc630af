#include "graphics/mask_bits.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/graphics_error.h"

namespace zephlet::graphics {
namespace {

TEST(MaskBits, RowsArePaddedTo16Bits) {
  const std::pair<std::int32_t, std::size_t> cases[] = {
      {1, 2}, {16, 2}, {17, 4}, {186, 24}, {0, 0}};
  for (const auto& [width, stride] : cases) {
    const MaskBits m(width, 3);
    EXPECT_EQ(m.stride(), stride) << width;
    EXPECT_EQ(m.bytes().size(), stride * 3) << width;
  }
}

TEST(MaskBits, MarkRowSetsMostSignificantBitFirst) {
  MaskBits m(18, 2);
  const std::vector<std::uint8_t> row = {15, 0, 0, 0, 0, 0, 0, 0, 15, 15, 0, 0, 0, 0, 0, 0, 0, 15};
  EXPECT_TRUE(m.mark_row(1, row, 15));
  EXPECT_FALSE(m.mark_row(0, row, 7));
  EXPECT_TRUE(m.any());
  const std::vector<std::uint8_t> expected = {0, 0, 0, 0, 0x80, 0xC0, 0x40, 0x00};
  EXPECT_EQ(std::vector<std::uint8_t>(m.bytes().begin(), m.bytes().end()), expected);
  EXPECT_TRUE(m.test(17, 1));
  EXPECT_FALSE(m.test(16, 1));
  EXPECT_THROW(m.test(18, 0), GraphicsError);
  EXPECT_FALSE(MaskBits(5, 5).any());
}

TEST(MaskBits, MonochromeBitmapFromPaddedRows) {
  MaskBits m(20, 2);
  m.set(0, 0);
  m.set(19, 1);
  const Bitmap b = make_monochrome_bitmap(m);
  EXPECT_EQ(b.pixel_format(), PixelFormat::k1Bit);
  EXPECT_FALSE(b.palette());
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 20; ++x) {
      EXPECT_EQ(b.pixel_value(x, y), m.test(x, y) ? 1u : 0u) << x << "," << y;
    }
  }
  const std::vector<std::uint8_t> short_bits(7, 0);  // 2 rows of 20 pixels need 8 bytes
  EXPECT_THROW(make_monochrome_bitmap(20, 2, short_bits), GraphicsError);
  EXPECT_THROW(MaskBits(-1, 1), GraphicsError);
}

}  // namespace
}  // namespace zephlet::graphics
