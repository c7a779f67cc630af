#include "graphics/bmp.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graphics/graphics_error.h"

namespace zephlet::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t u32(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
         (std::uint32_t{b[at + 3]} << 24);
}
std::uint32_t u16(const Bytes& b, std::size_t at) {
  return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8);
}
void set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

PaletteHandle sixteen_colours() {
  std::vector<Rgb> colors;
  for (int i = 0; i < 16; ++i) {
    colors.push_back({static_cast<std::uint8_t>(i * 16), static_cast<std::uint8_t>(255 - i),
                      static_cast<std::uint8_t>(i)});
  }
  return make_palette(colors);
}

TEST(DibInfo, EightBitHeaderAndColourTable) {
  const PaletteHandle palette = sixteen_colours();
  const Bytes info = make_dib_info(186, 32, 8, palette.get());
  ASSERT_EQ(info.size(), 1064u);
  EXPECT_EQ(u32(info, 0), 40u);
  EXPECT_EQ(u32(info, 4), 186u);
  EXPECT_EQ(u32(info, 8), 32u);
  EXPECT_EQ(u16(info, 12), 1u);
  EXPECT_EQ(u16(info, 14), 8u);
  for (std::size_t at : {16u, 20u, 24u, 28u}) EXPECT_EQ(u32(info, at), 0u) << at;
  EXPECT_EQ(u32(info, 32), 256u);  // colours used
  EXPECT_EQ(u32(info, 36), 16u);   // colours important
  // Entry 3 as (blue, green, red, 0); entries 16 to 255 zero.
  EXPECT_EQ(info[40 + 12], 3);
  EXPECT_EQ(info[40 + 13], 252);
  EXPECT_EQ(info[40 + 14], 48);
  EXPECT_EQ(info[40 + 15], 0);
  for (std::size_t i = 40 + 16 * 4; i < info.size(); ++i) ASSERT_EQ(info[i], 0) << i;

  const Bytes rgb_info = make_dib_info(3, 2, 24, nullptr);
  ASSERT_EQ(rgb_info.size(), 40u);
  EXPECT_EQ(u16(rgb_info, 14), 24u);
  EXPECT_EQ(u32(rgb_info, 32), 0u);
  EXPECT_EQ(u32(rgb_info, 36), 0u);
  EXPECT_THROW(make_dib_info(3, 2, 4, nullptr), GraphicsError);
}

TEST(DibInfo, AssembledFileLoadsIntoAnEightBitBitmap) {
  // What a DIB writer commits: rows bottom-up, the top row stored last.
  const PaletteHandle palette = sixteen_colours();
  const std::int32_t w = 5, h = 3;
  const std::size_t stride = aligned_row_bytes(w, 8, 32);
  Bytes pixels(stride * h, 0);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      pixels[static_cast<std::size_t>(h - 1 - y) * stride + static_cast<std::size_t>(x)] =
          static_cast<std::uint8_t>(y * w + x);
    }
  }
  const Bytes info = make_dib_info(w, h, 8, palette.get());
  const Bytes file = assemble_bmp_file(info, pixels);
  ASSERT_EQ(file.size(), 14 + 1064 + pixels.size());
  EXPECT_EQ(file[0], 0x42);
  EXPECT_EQ(file[1], 0x4D);
  EXPECT_EQ(u32(file, 2), file.size());
  EXPECT_EQ(u32(file, 6), 0u);
  EXPECT_EQ(u32(file, 10), 14u + 1064u);

  Bitmap b;
  int changes = 0;
  b.set_on_change([&](Bitmap&) { ++changes; });
  b.load_bmp(file);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(b.pixel_format(), PixelFormat::k8Bit);
  ASSERT_EQ(b.width(), w);
  ASSERT_EQ(b.height(), h);
  ASSERT_TRUE(b.palette());
  EXPECT_EQ(b.palette()->entry_count(), 256u);
  EXPECT_EQ(b.palette()->color(3), palette->color(3));
  EXPECT_EQ(b.palette()->color(200), kBlack);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x)
      EXPECT_EQ(b.pixel_value(x, y), static_cast<std::uint32_t>(y * w + x));
  }
}

TEST(Bmp, RoundTripInEveryFormat) {
  const PaletteHandle two = make_palette(std::vector<Rgb>{{10, 20, 30}, {40, 50, 60}});
  struct Case {
    PixelFormat format;
    PaletteHandle palette;
  };
  const Case cases[] = {{PixelFormat::k1Bit, nullptr},           {PixelFormat::k1Bit, two},
                        {PixelFormat::k8Bit, sixteen_colours()}, {PixelFormat::k8Bit, nullptr},
                        {PixelFormat::k24Bit, nullptr},          {PixelFormat::k32Bit, nullptr}};
  for (const Case& c : cases) {
    Bitmap b(13, 4, c.format, c.palette);
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 13; ++x) {
        const auto v = static_cast<std::uint8_t>(x * 7 + y * 31);
        if (c.format == PixelFormat::k8Bit) {
          b.row(y)[x] = static_cast<std::uint8_t>(v % 16);
        } else if (c.format == PixelFormat::k1Bit) {
          b.set_pixel(x, y, c.palette ? c.palette->color(v & 1u) : ((v & 1u) ? kWhite : kBlack));
        } else {
          b.set_pixel(x, y,
                      rgb(v, static_cast<std::uint8_t>(v * 3), static_cast<std::uint8_t>(255 - v)));
        }
      }
    }
    const Bitmap back = read_bmp(write_bmp(b));
    ASSERT_EQ(back.pixel_format(), c.format);
    ASSERT_EQ(back.width(), 13);
    ASSERT_EQ(back.height(), 4);
    for (std::int32_t y = 0; y < 4; ++y) {
      for (std::int32_t x = 0; x < 13; ++x) {
        ASSERT_EQ(back.pixel(x, y), b.pixel(x, y))
            << bits_per_pixel(c.format) << " " << x << "," << y;
        ASSERT_EQ(back.pixel_value(x, y), b.pixel_value(x, y));
      }
    }
  }
}

TEST(Bmp, TwentyFourBitFileBytes) {
  Bitmap b(2, 2, PixelFormat::k8Bit, make_palette(std::vector<Rgb>{{1, 2, 3}, {4, 5, 6}}));
  b.row(0)[0] = 0;
  b.row(0)[1] = 1;
  b.row(1)[0] = 1;
  b.row(1)[1] = 0;
  const Bytes file = write_bmp24(b);
  ASSERT_EQ(file.size(), 14u + 40u + 2 * 8);
  EXPECT_EQ(u32(file, 10), 54u);
  EXPECT_EQ(u16(file, 14 + 14), 24u);
  EXPECT_EQ(u32(file, 14 + 8), 2u);  // positive height: bottom-up
  // Bottom row first: (4,5,6) (1,2,3), then the top row; each padded to 8 bytes.
  const Bytes rows(file.begin() + 54, file.end());
  EXPECT_EQ(rows, (Bytes{6, 5, 4, 3, 2, 1, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
  EXPECT_THROW(write_bmp24(Bitmap()), GraphicsError);
}

TEST(Bmp, TopDownRowsAndLaterHeaderVersions) {
  Bitmap b(3, 2, PixelFormat::k24Bit);
  b.set_pixel(0, 0, rgb(9, 8, 7));
  Bytes file = write_bmp(b);
  // Flip to top-down by hand: negative height and rows reversed.
  const std::size_t stride = 12;
  Bytes flipped(file.begin(), file.begin() + 54);
  set32(flipped, 14 + 8, static_cast<std::uint32_t>(-2));
  flipped.insert(flipped.end(), file.begin() + 54 + static_cast<std::ptrdiff_t>(stride),
                 file.end());
  flipped.insert(flipped.end(), file.begin() + 54,
                 file.begin() + 54 + static_cast<std::ptrdiff_t>(stride));
  EXPECT_EQ(read_bmp(flipped).pixel(0, 0), rgb(9, 8, 7));
  // A 108-byte header: the pixel offset says where the rows are.
  Bytes v4(file.begin(), file.begin() + 54);
  v4.insert(v4.end(), 68, 0);
  set32(v4, 14, 108);
  set32(v4, 10, 14 + 108);
  v4.insert(v4.end(), file.begin() + 54, file.end());
  EXPECT_EQ(read_bmp(v4).pixel(0, 0), rgb(9, 8, 7));
}

TEST(Bmp, BadImagesFailWithoutReadingPastTheBytes) {
  Bitmap b(5, 3, PixelFormat::k8Bit, make_palette(std::vector<Rgb>{{1, 2, 3}}));
  const Bytes good = write_bmp(b);
  ASSERT_NO_THROW(read_bmp(good));
  const std::size_t info = 14;
  struct Case {
    std::string name;
    std::function<void(Bytes&)> damage;
  };
  const Case cases[] = {
      {"too short", [](Bytes& f) { f.resize(40); }},
      {"not BM", [](Bytes& f) { f[0] = 'X'; }},
      {"header size 12", [&](Bytes& f) { set32(f, info, 12); }},
      {"header past end", [&](Bytes& f) { set32(f, info, 0x7FFFFFF0); }},
      {"4 bits", [&](Bytes& f) { f[info + 14] = 4; }},
      {"compressed", [&](Bytes& f) { set32(f, info + 16, 1); }},
      {"two planes", [&](Bytes& f) { f[info + 12] = 2; }},
      {"width 0", [&](Bytes& f) { set32(f, info + 4, 0); }},
      {"negative width", [&](Bytes& f) { set32(f, info + 4, 0xFFFFFFFF); }},
      {"height 0", [&](Bytes& f) { set32(f, info + 8, 0); }},
      {"height INT32_MIN", [&](Bytes& f) { set32(f, info + 8, 0x80000000u); }},
      {"too many colours", [&](Bytes& f) { set32(f, info + 32, 257); }},
      {"table cut", [](Bytes& f) { f.resize(14 + 40 + 100); }},
      {"rows cut", [](Bytes& f) { f.pop_back(); }},
      {"pixel offset past end", [](Bytes& f) { set32(f, 10, 0xFFFFFFFF); }},
      {"huge width", [&](Bytes& f) { set32(f, info + 4, 0x7FFFFFFF); }},
      {"huge height", [&](Bytes& f) { set32(f, info + 8, 0x7FFFFFFF); }},
  };
  for (const Case& c : cases) {
    Bytes file = good;
    c.damage(file);
    EXPECT_THROW(read_bmp(file), GraphicsError) << c.name;
  }
  // A failed load leaves the bitmap as it was.
  Bitmap kept(2, 2, PixelFormat::k32Bit);
  EXPECT_THROW(kept.load_bmp(Bytes(10, 0)), GraphicsError);
  EXPECT_EQ(kept.width(), 2);
  EXPECT_EQ(kept.pixel_format(), PixelFormat::k32Bit);
}

TEST(Bmp, DamagedHeadersAndCutFilesNeverCrash) {
  // Deterministic damage of a valid image: every outcome is a bitmap or a GraphicsError
  // (the sanitizer build checks that nothing is read out of bounds).
  Bitmap b(7, 5, PixelFormat::k8Bit, make_palette(std::vector<Rgb>(20, Rgb{9, 8, 7})));
  const Bytes good = write_bmp(b);
  std::mt19937 random(20261211);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes file = good;
    const int flips = 1 + round % 4;
    for (int i = 0; i < flips; ++i) {
      const std::size_t at = random() % 60;  // the two headers and the start of the table
      file[at] = static_cast<std::uint8_t>(random());
    }
    if (round % 3 == 0) file.resize(random() % (file.size() + 1));
    try {
      const Bitmap read = read_bmp(file);
      ASSERT_GT(read.width(), 0);
      ASSERT_GT(read.height(), 0);
      ++loaded;
    } catch (const GraphicsError&) {
    }
  }
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace zephlet::graphics
