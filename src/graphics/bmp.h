// The BMP file image: a 14-byte file header ("BM", file size, two reserved 16-bit
// fields, pixel offset), a 40-byte bitmap information header (size, width, height,
// planes, bits per pixel, compression, image size, horizontal and vertical resolution,
// colours used, colours important; little-endian), a colour table of (blue, green, red,
// 0) entries for up to 8 bits per pixel, and the pixel rows, each padded to 4 bytes,
// bottom-up for a positive height and top-down for a negative one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/palette.h"

namespace zephlet::graphics {

constexpr std::uint32_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;

// The information block of an uncompressed DIB: the 40-byte header (width, height,
// planes 1, bits, compression 0, image size 0, resolutions 0) followed, for 8 bits per
// pixel, by a colour table of 256 entries: entries 0..n-1 from the palette as (blue,
// green, red, 0), the rest zero, colours used 256 and colours important n (n = entries
// of the palette, at most 256; 0 without palette). For other depths colours used and
// important are 0 and there is no table. Throws GraphicsError for bits other than 8 or 24.
std::vector<std::uint8_t> make_dib_info(std::int32_t width, std::int32_t height, int bits,
                                        const Palette* palette);

// A BMP file image of an information block and a pixel block: the file header (file
// size 14 + info + pixels, pixel offset 14 + info), then both blocks.
std::vector<std::uint8_t> assemble_bmp_file(std::span<const std::uint8_t> info,
                                            std::span<const std::uint8_t> pixels);

// Reads a BMP file image into a new bitmap. Accepted: information headers of 40 bytes
// or more (the later versions' extra fields are skipped), 1, 8, 24 or 32 bits per pixel,
// no compression, 1 plane, a width and height other than 0. An indexed image gets a
// palette of its colour table (flags 0; colours used, or 2^bits when 0). Throws
// GraphicsError for anything else, for sizes beyond the bitmap limits and for a table
// or pixel rows that do not fit in the bytes given; it never reads past them.
Bitmap read_bmp(std::span<const std::uint8_t> file);

// A BMP file image of a bitmap in its own format (indexed formats with their colour
// table: the palette, black and white for a monochrome bitmap, greys for an 8-bit one
// without palette), rows bottom-up.
std::vector<std::uint8_t> write_bmp(const Bitmap& bitmap);

// A 24-bit BMP file image of a bitmap's colours, rows bottom-up.
std::vector<std::uint8_t> write_bmp24(const Bitmap& bitmap);

}  // namespace zephlet::graphics
