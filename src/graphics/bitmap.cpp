#include "graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "graphics/bmp.h"
#include "graphics/canvas.h"
#include "graphics/graphics_error.h"
#include "graphics/pixel_convert.h"

namespace zephlet::graphics {

namespace {

// Bytes per row for a checked size; throws when the size is out of bounds.
std::size_t checked_stride(std::int32_t width, std::int32_t height, PixelFormat format) {
  if (width < 0 || height < 0) throw GraphicsError("Invalid bitmap dimensions");
  if (width > kMaxBitmapSide || height > kMaxBitmapSide) throw GraphicsError("Bitmap too large");
  const std::uint64_t stride = aligned_row_bytes(
      static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(bits_per_pixel(format)), 32);
  if (stride * static_cast<std::uint64_t>(height) > kMaxBitmapBytes) {
    throw GraphicsError("Bitmap too large");
  }
  return static_cast<std::size_t>(stride);
}

// Fills part of a row (pixels x0..x1-1) with the white value of the bitmap.
void fill_white(const Bitmap& b, std::uint8_t* row, std::int32_t x0, std::int32_t x1) {
  const std::uint32_t white = value_of_color(b, kWhite);
  const PixelFormat f = b.pixel_format();
  if (f == PixelFormat::k8Bit) {
    std::memset(row + x0, static_cast<int>(white), static_cast<std::size_t>(x1 - x0));
    return;
  }
  if (f == PixelFormat::k24Bit) {
    std::memset(row + 3 * static_cast<std::size_t>(x0), 0xFF,
                3 * static_cast<std::size_t>(x1 - x0));
    return;
  }
  for (std::int32_t x = x0; x < x1; ++x) store_value(row, f, x, white);
}

}  // namespace

Bitmap::Bitmap() : canvas_(std::make_unique<Canvas>(*this)) {}

Bitmap::Bitmap(std::int32_t width, std::int32_t height, PixelFormat format, PaletteHandle palette)
    : format_(format),
      palette_(palette && palette->entry_count() > 0 ? std::move(palette) : nullptr),
      canvas_(std::make_unique<Canvas>(*this)) {
  stride_ = checked_stride(width, height, format);
  width_ = width;
  height_ = height;
  pixels_.resize(stride_ * static_cast<std::size_t>(height));
  for (std::int32_t y = 0; y < height_; ++y) fill_white(*this, row(y), 0, width_);
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_),
      height_(other.height_),
      format_(other.format_),
      stride_(other.stride_),
      palette_(other.palette_),
      pixels_(other.pixels_),
      canvas_(std::make_unique<Canvas>(*this)) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) {
    Bitmap copy(other);
    assign_content(std::move(copy));
  }
  return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      format_(other.format_),
      stride_(std::exchange(other.stride_, 0)),
      palette_(std::move(other.palette_)),
      pixels_(std::move(other.pixels_)),
      canvas_(std::move(other.canvas_)),
      on_change_(std::move(other.on_change_)) {
  if (canvas_) canvas_->bitmap_ = this;
  other.pixels_.clear();
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    assign_content(std::move(other));
    other.width_ = 0;
    other.height_ = 0;
    other.stride_ = 0;
    other.pixels_.clear();
  }
  return *this;
}

Bitmap::~Bitmap() = default;

Canvas& Bitmap::canvas() {
  if (!canvas_) canvas_ = std::make_unique<Canvas>(*this);
  return *canvas_;
}

const Canvas& Bitmap::canvas() const {
  if (!canvas_) canvas_ = std::make_unique<Canvas>(const_cast<Bitmap&>(*this));
  return *canvas_;
}

std::uint8_t* Bitmap::row(std::int32_t y) {
  if (y < 0 || y >= height_) throw GraphicsError("Scan line index out of range");
  return pixels_.data() + static_cast<std::size_t>(y) * stride_;
}

const std::uint8_t* Bitmap::row(std::int32_t y) const {
  if (y < 0 || y >= height_) throw GraphicsError("Scan line index out of range");
  return pixels_.data() + static_cast<std::size_t>(y) * stride_;
}

void Bitmap::set_size(std::int32_t width, std::int32_t height) {
  if (width == width_ && height == height_) return;
  Bitmap resized(width, height, format_, palette_);
  const std::int32_t keep_w = std::min(width, width_);
  const std::int32_t keep_h = std::min(height, height_);
  if (keep_w > 0) {
    const bool mono = format_ == PixelFormat::k1Bit;
    const std::size_t full_bytes = mono ? static_cast<std::size_t>(keep_w / 8)
                                        : static_cast<std::size_t>(keep_w) * (bits_per_pixel() / 8);
    for (std::int32_t y = 0; y < keep_h; ++y) {
      const std::uint8_t* from = row(y);
      std::uint8_t* to = resized.row(y);
      std::memcpy(to, from, full_bytes);
      // The partial last byte of a mono row: copy its bits one by one.
      for (std::int32_t x = mono ? (keep_w & ~7) : keep_w; x < keep_w; ++x) {
        store_value(to, format_, x, load_value(from, format_, x));
      }
    }
  }
  assign_content(std::move(resized));
  changed();
}

void Bitmap::set_pixel_format(PixelFormat format) {
  if (format == format_) return;
  Bitmap converted(width_, height_, format, palette_);
  for (std::int32_t y = 0; y < height_; ++y) {
    const std::uint8_t* from = row(y);
    std::uint8_t* to = converted.row(y);
    for (std::int32_t x = 0; x < width_; ++x) {
      store_value(to, format, x,
                  value_of_color(converted, color_of_value(*this, load_value(from, format_, x))));
    }
  }
  assign_content(std::move(converted));
  changed();
}

void Bitmap::set_palette(PaletteHandle palette) {
  palette_ = palette && palette->entry_count() > 0 ? std::move(palette) : nullptr;
  changed();
}

Color Bitmap::pixel(std::int32_t x, std::int32_t y) const {
  return color_of_value(*this, pixel_value(x, y));
}

std::uint32_t Bitmap::pixel_value(std::int32_t x, std::int32_t y) const {
  if (x < 0 || x >= width_) throw GraphicsError("Pixel index out of range");
  return load_value(row(y), format_, x);
}

void Bitmap::set_pixel(std::int32_t x, std::int32_t y, Color c) {
  if (x < 0 || x >= width_) throw GraphicsError("Pixel index out of range");
  store_value(row(y), format_, x, value_of_color(*this, c));
}

void Bitmap::load_bmp(std::span<const std::uint8_t> file) {
  assign_content(read_bmp(file));
  changed();
}

void Bitmap::changed() {
  canvas().changed();
}

void Bitmap::raise_change() {
  if (on_change_) on_change_(*this);
}

void Bitmap::assign_content(Bitmap&& other) {
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  stride_ = other.stride_;
  palette_ = std::move(other.palette_);
  pixels_ = std::move(other.pixels_);
}

}  // namespace zephlet::graphics
