#include "graphics/bmp.h"

#include <algorithm>
#include <cstring>

#include "graphics/graphics_error.h"
#include "graphics/pixel_convert.h"

namespace zephlet::graphics {

namespace {

void put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t get16(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
}
std::uint32_t get32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

void put_header(std::uint8_t* h, std::int32_t width, std::int32_t height, int bits,
                std::uint32_t used, std::uint32_t important) {
  put32(h + 0, kBmpInfoHeaderSize);
  put32(h + 4, static_cast<std::uint32_t>(width));
  put32(h + 8, static_cast<std::uint32_t>(height));
  put16(h + 12, 1);
  put16(h + 14, static_cast<std::uint32_t>(bits));
  // Compression, image size, resolutions: 0.
  put32(h + 32, used);
  put32(h + 36, important);
}

// Colour table entries of an indexed bitmap as written.
std::vector<PaletteEntry> table_of(const Bitmap& b) {
  const std::size_t n = std::size_t{1} << b.bits_per_pixel();
  std::vector<PaletteEntry> table;
  for (std::size_t i = 0; i < n; ++i) {
    const Color c = color_of_value(b, static_cast<std::uint32_t>(i));
    table.push_back({red_of(c), green_of(c), blue_of(c), 0});
  }
  return table;
}

std::vector<std::uint8_t> write_rows(const Bitmap& b, PixelFormat format,
                                     const std::vector<PaletteEntry>& table) {
  if (b.empty()) throw GraphicsError("Invalid image dimensions");
  const int bits = bits_per_pixel(format);
  const auto stride = static_cast<std::size_t>(aligned_row_bytes(
      static_cast<std::uint64_t>(b.width()), static_cast<std::uint64_t>(bits), 32));
  const std::size_t info_size = kBmpInfoHeaderSize + 4 * table.size();
  std::vector<std::uint8_t> info(info_size, 0);
  put_header(info.data(), b.width(), b.height(), bits, static_cast<std::uint32_t>(table.size()), 0);
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::uint8_t* e = info.data() + kBmpInfoHeaderSize + 4 * i;
    e[0] = table[i].blue;
    e[1] = table[i].green;
    e[2] = table[i].red;
  }
  std::vector<std::uint8_t> pixels(stride * static_cast<std::size_t>(b.height()), 0);
  for (std::int32_t y = 0; y < b.height(); ++y) {
    std::uint8_t* out = pixels.data() + static_cast<std::size_t>(b.height() - 1 - y) * stride;
    const std::uint8_t* in = b.row(y);
    if (format == b.pixel_format()) {
      std::memcpy(out, in, std::min(stride, b.stride()));
      if (format == PixelFormat::k1Bit && b.width() % 8 != 0) {
        // Padding bits past the width are written as 0.
        const std::size_t last = static_cast<std::size_t>(b.width() / 8);
        out[last] = static_cast<std::uint8_t>(out[last] & (0xFF00u >> (b.width() % 8)));
        std::fill(out + last + 1, out + stride, std::uint8_t{0});
      } else {
        const std::size_t used =
            static_cast<std::size_t>(b.width()) * static_cast<std::size_t>(bits / 8);
        std::fill(out + used, out + stride, std::uint8_t{0});
      }
    } else {
      for (std::int32_t x = 0; x < b.width(); ++x) {
        store_value(out, format, x, value_from_color(b.pixel(x, y)));
      }
    }
  }
  return assemble_bmp_file(info, pixels);
}

}  // namespace

std::vector<std::uint8_t> make_dib_info(std::int32_t width, std::int32_t height, int bits,
                                        const Palette* palette) {
  if (bits != 8 && bits != 24) throw GraphicsError("Unsupported PixelFormat");
  const std::size_t size = bits == 8 ? kBmpInfoHeaderSize + 256 * 4 : kBmpInfoHeaderSize;
  std::vector<std::uint8_t> info(size, 0);
  if (bits == 24) {
    put_header(info.data(), width, height, bits, 0, 0);
    return info;
  }
  const std::size_t n = palette ? std::min<std::size_t>(palette->entry_count(), 256) : 0;
  put_header(info.data(), width, height, bits, 256, static_cast<std::uint32_t>(n));
  for (std::size_t i = 0; i < n; ++i) {
    const PaletteEntry& e = palette->entries()[i];
    std::uint8_t* t = info.data() + kBmpInfoHeaderSize + 4 * i;
    t[0] = e.blue;
    t[1] = e.green;
    t[2] = e.red;
  }
  return info;
}

std::vector<std::uint8_t> assemble_bmp_file(std::span<const std::uint8_t> info,
                                            std::span<const std::uint8_t> pixels) {
  const std::uint64_t total = std::uint64_t{kBmpFileHeaderSize} + info.size() + pixels.size();
  if (total > 0xFFFFFFFFu) throw GraphicsError("BMP image too large");
  std::vector<std::uint8_t> file(static_cast<std::size_t>(total), 0);
  file[0] = 'B';
  file[1] = 'M';
  put32(file.data() + 2, static_cast<std::uint32_t>(total));
  put32(file.data() + 10, static_cast<std::uint32_t>(kBmpFileHeaderSize + info.size()));
  std::copy(info.begin(), info.end(), file.begin() + kBmpFileHeaderSize);
  std::copy(pixels.begin(), pixels.end(),
            file.begin() + static_cast<std::ptrdiff_t>(kBmpFileHeaderSize + info.size()));
  return file;
}

Bitmap read_bmp(std::span<const std::uint8_t> file) {
  const std::uint64_t size = file.size();
  if (size < kBmpFileHeaderSize + kBmpInfoHeaderSize || file[0] != 'B' || file[1] != 'M') {
    throw GraphicsError("Not a BMP image");
  }
  const std::uint8_t* h = file.data() + kBmpFileHeaderSize;
  const std::uint32_t header_size = get32(h);
  if (header_size < kBmpInfoHeaderSize || kBmpFileHeaderSize + std::uint64_t{header_size} > size) {
    throw GraphicsError("Unsupported BMP header");
  }
  const auto width = static_cast<std::int32_t>(get32(h + 4));
  const auto raw_height = static_cast<std::int32_t>(get32(h + 8));
  const std::uint32_t planes = get16(h + 12);
  const std::uint32_t bits = get16(h + 14);
  const std::uint32_t compression = get32(h + 16);
  const std::uint32_t used = get32(h + 32);
  if (planes != 1) throw GraphicsError("Unsupported BMP planes");
  if (compression != 0) throw GraphicsError("Unsupported BMP compression");
  PixelFormat format;
  switch (bits) {
    case 1:
      format = PixelFormat::k1Bit;
      break;
    case 8:
      format = PixelFormat::k8Bit;
      break;
    case 24:
      format = PixelFormat::k24Bit;
      break;
    case 32:
      format = PixelFormat::k32Bit;
      break;
    default:
      throw GraphicsError("Unsupported BMP bit count");
  }
  if (width <= 0 || raw_height == 0 || raw_height == INT32_MIN) {
    throw GraphicsError("Invalid BMP dimensions");
  }
  const bool top_down = raw_height < 0;
  const std::int32_t height = top_down ? -raw_height : raw_height;

  PaletteHandle palette;
  if (bits <= 8) {
    const std::uint32_t max_entries = 1u << bits;
    const std::uint32_t n = used == 0 ? max_entries : used;
    if (n > max_entries) throw GraphicsError("Invalid BMP colour table");
    const std::uint64_t table_at = kBmpFileHeaderSize + std::uint64_t{header_size};
    if (table_at + 4ull * n > size) throw GraphicsError("Truncated BMP colour table");
    std::vector<PaletteEntry> entries(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint8_t* e = file.data() + table_at + 4ull * i;
      entries[i] = {e[2], e[1], e[0], 0};
    }
    palette = std::make_shared<const Palette>(std::move(entries));
  }

  const std::uint64_t stride = aligned_row_bytes(static_cast<std::uint64_t>(width), bits, 32);
  const std::uint64_t offset = get32(file.data() + 10);
  if (offset > size || stride * static_cast<std::uint64_t>(height) > size - offset) {
    throw GraphicsError("Truncated BMP pixels");
  }
  Bitmap bitmap(width, height, format, std::move(palette));  // checks the size limits
  const std::size_t copy = std::min(static_cast<std::size_t>(stride), bitmap.stride());
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t file_row = top_down ? y : height - 1 - y;
    const std::uint8_t* in = file.data() + offset + static_cast<std::uint64_t>(file_row) * stride;
    std::uint8_t* out = bitmap.row(y);
    std::memcpy(out, in, copy);
    if (format == PixelFormat::k32Bit) {
      for (std::int32_t x = 0; x < width; ++x) out[4 * static_cast<std::size_t>(x) + 3] = 0;
    }
  }
  return bitmap;
}

std::vector<std::uint8_t> write_bmp(const Bitmap& bitmap) {
  if (is_indexed(bitmap.pixel_format())) {
    return write_rows(bitmap, bitmap.pixel_format(), table_of(bitmap));
  }
  return write_rows(bitmap, bitmap.pixel_format(), {});
}

std::vector<std::uint8_t> write_bmp24(const Bitmap& bitmap) {
  return write_rows(bitmap, PixelFormat::k24Bit, {});
}

}  // namespace zephlet::graphics
