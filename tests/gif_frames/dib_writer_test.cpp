// The DIB writer: its information block, its rows, its errors and its size bound.
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "gif/dib_writer.h"
#include "gif/frame_bitmap.h"
#include "graphics/web_cube.h"

namespace zephlet::test {
namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}

TEST(TDIBWriter, WritesAnEightBitDIBAndLoadsItIntoTheBitmap) {
  graphics::Bitmap target;
  const graphics::PaletteHandle palette =
      graphics::make_palette(std::vector<graphics::Rgb>{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  TDIBWriter writer(target, palette, 3, 5, kDIBFormat8Bit);
  EXPECT_TRUE(writer.PixelBlock().empty()) << "no memory before the first row";
  for (int y = 0; y < 3; ++y) {
    uint8_t* row = writer.RowPointer(y);
    for (int x = 0; x < 5; ++x) row[x] = static_cast<uint8_t>((x + y) % 3);
  }
  // Header: 40 bytes, width 5, height 3 (bottom-up), 1 plane, 8 bits, colours used 256,
  // colours important 3; table entries (blue, green, red, 0), then zeros.
  const std::vector<uint8_t>& info = writer.InfoBlock();
  ASSERT_EQ(info.size(), 1064u);
  EXPECT_EQ(writer.InfoSize(), 1064u);
  EXPECT_EQ(Get32(info, 0), 40u);
  EXPECT_EQ(Get32(info, 4), 5u);
  EXPECT_EQ(Get32(info, 8), 3u);
  EXPECT_EQ(info[12] | info[13] << 8, 1);
  EXPECT_EQ(info[14] | info[15] << 8, 8);
  EXPECT_EQ(Get32(info, 16), 0u);
  EXPECT_EQ(Get32(info, 32), 256u);
  EXPECT_EQ(Get32(info, 36), 3u);
  EXPECT_EQ(Get32(info, 40), 0x00010203u);
  EXPECT_EQ(Get32(info, 48), 0x00070809u);
  EXPECT_EQ(Get32(info, 52), 0u);
  // Rows of 8 bytes; the top row is stored last.
  EXPECT_EQ(writer.RowBytes(), 8u);
  EXPECT_EQ(writer.PixelBlockSize(), 24u);
  EXPECT_EQ(writer.RowPointer(0), writer.PixelBlock().data() + 16);

  writer.CommitToBitmap();
  EXPECT_TRUE(writer.PixelBlock().empty());
  ASSERT_EQ(target.width(), 5);
  ASSERT_EQ(target.height(), 3);
  EXPECT_EQ(target.pixel_format(), graphics::PixelFormat::k8Bit);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(target.pixel_value(x, y), uint32_t((x + y) % 3));
  }
  EXPECT_EQ(target.pixel(1, 0), graphics::rgb(4, 5, 6));
}

TEST(TDIBWriter, TwentyFourBitsHasAHeaderOnly) {
  graphics::Bitmap target;
  TDIBWriter writer(target, nullptr, 1, 2, kDIBFormat24Bit);
  uint8_t* row = writer.RowPointer(0);
  const uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
  std::memcpy(row, bgr, 6);
  EXPECT_EQ(writer.InfoSize(), 40u);
  EXPECT_EQ(Get32(writer.InfoBlock(), 32), 0u);
  writer.CommitToBitmap();
  EXPECT_EQ(target.pixel(1, 0), graphics::rgb(6, 5, 4));
}

TEST(TDIBWriter, RefusesBadFormatsSizesAndRows) {
  graphics::Bitmap target;
  const auto message = [](const std::function<void()>& fn) -> std::string {
    try {
      fn();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "no error";
  };
  for (uint8_t format : {uint8_t{0}, kDIBFormat1Bit, kDIBFormat4Bit, uint8_t{4}, uint8_t{7}}) {
    EXPECT_EQ(message([&] { TDIBWriter(target, nullptr, 1, 1, format); }),
              "Unsupported PixelFormat");
  }
  EXPECT_EQ(message([&] { TDIBWriter(target, nullptr, 0, 1, kDIBFormat8Bit); }),
            "Invalid image dimensions");
  EXPECT_EQ(message([&] { TDIBWriter(target, nullptr, 1, 0, kDIBFormat8Bit); }),
            "Invalid image dimensions");

  TDIBWriter writer(target, nullptr, 2, 2, kDIBFormat8Bit);
  EXPECT_THROW(writer.RowPointer(-1), InvalidGraphicOperationError);
  EXPECT_EQ(message([&] { writer.RowPointer(2); }), "Scan line index out of range");
  EXPECT_NE(writer.RowPointer(1), nullptr);

  // 65535 x 65535 at 8 bits is 4 GiB: refused before anything of that size is allocated,
  // as the platform's out-of-memory error.
  TDIBWriter huge(target, nullptr, 65535, 65535, kDIBFormat8Bit);
  EXPECT_EQ(huge.PixelBlockSize(), uint64_t{65536} * 65535);
  EXPECT_THROW(huge.RowPointer(0), OutOfMemoryError);
  EXPECT_EQ(message([&] { huge.RowPointer(0); }), "Failed to allocate memory for GIF DIB");
  EXPECT_TRUE(huge.InfoBlock().empty());
  EXPECT_TRUE(huge.PixelBlock().empty());
  // Nothing was handed out: committing leaves the target as it was.
  huge.CommitToBitmap();
  EXPECT_TRUE(target.empty());
}

TEST(TDIBReader, SetsTheFormatAndHandsOutTheBitmapsRows) {
  graphics::Bitmap target(3, 2, graphics::PixelFormat::k24Bit);
  TDIBReader reader(target, kDIBFormat8Bit);
  EXPECT_EQ(target.pixel_format(), graphics::PixelFormat::k8Bit);
  EXPECT_EQ(reader.RowPointer(1), target.row(1));
  EXPECT_THROW(reader.RowPointer(2), InvalidGraphicOperationError);
  EXPECT_THROW(TDIBReader(target, kDIBFormat4Bit), GIFException);
}

TEST(UnitRoutines, RowSizesPalettesAndHandles) {
  struct Row {
    uint64_t width, bits, alignment, bytes;
  };
  for (const Row& r : {Row{186, 8, 32, 188}, Row{186, 1, 16, 24}, Row{1, 24, 32, 4},
                       Row{0, 8, 32, 0}, Row{5, 8, 8, 5}, Row{65535, 24, 32, 196608}}) {
    EXPECT_EQ(AlignedRowBytes(r.width, r.bits, r.alignment), r.bytes) << r.width << "x" << r.bits;
  }
  const graphics::PaletteHandle cube = WebCubePalette();
  ASSERT_EQ(cube->entry_count(), 216u);
  EXPECT_EQ(cube->version(), 0x300);
  EXPECT_EQ(cube->entries()[36 * 4 + 6 * 0 + 5], (graphics::PaletteEntry{204, 0, 255, 0}));
  EXPECT_NE(WebCubePalette(), cube) << "each call makes a new palette";

  int value = 0;
  EXPECT_EQ(EnsureGDIHandle(&value), &value);
  try {
    EnsureGDIHandle(static_cast<int*>(nullptr));
    FAIL() << "no error";
  } catch (const OutOfResourcesError& e) {
    EXPECT_STREQ(e.what(), "Out of system resources");
  }
}

}  // namespace
}  // namespace zephlet::test
