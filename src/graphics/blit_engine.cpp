#include "graphics/blit_engine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

#include "graphics/graphics_error.h"
#include "graphics/pixel_convert.h"

namespace zephlet::graphics {

namespace {

bool same_palette(const Bitmap& a, const Bitmap& b) {
  if (a.palette() == b.palette()) return true;
  return a.palette() && b.palette() && *a.palette() == *b.palette();
}

// Turns source pixel values into destination pixel values.
class SourceMapper {
 public:
  enum class Kind { kIdentity, kTable, kColorToMono, kColorToIndexed };

  SourceMapper(const BlitRequest& r, const Bitmap& source) : dest_(*r.dest), source_(source) {
    const PixelFormat sf = source.pixel_format();
    const PixelFormat df = dest_.pixel_format();
    if (!is_indexed(sf)) {
      if (!is_indexed(df)) {
        kind_ = Kind::kIdentity;
      } else if (is_mono_device(dest_)) {
        kind_ = Kind::kColorToMono;
        background_value_ = value_from_color(r.source_background & 0xFFFFFF);
      } else {
        kind_ = Kind::kColorToIndexed;
      }
      return;
    }
    if (sf == df &&
        (is_mono_device(source) ? is_mono_device(dest_) : same_palette(source, dest_))) {
      kind_ = Kind::kIdentity;
      return;
    }
    kind_ = Kind::kTable;
    const std::uint32_t count = sf == PixelFormat::k1Bit ? 2 : 256;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (is_mono_device(source)) {
        table_[i] = value_of_color(dest_, i == 0 ? r.dest_text : r.dest_background);
      } else {
        const Color c = color_of_value(source, i);
        table_[i] = is_mono_device(dest_) ? (c == (r.source_background & 0xFFFFFF) ? 1u : 0u)
                                          : value_of_color(dest_, c);
      }
    }
  }

  Kind kind() const { return kind_; }

  // Fetches n source values of a row at the given columns, mapped.
  void fetch(const std::uint8_t* row, const std::int32_t* xs, std::int32_t n, std::uint32_t* out) {
    switch (kind_) {
      case Kind::kIdentity:
        fetch_with(row, xs, n, out, [](std::uint32_t v) { return v; });
        break;
      case Kind::kTable:
        fetch_with(row, xs, n, out, [this](std::uint32_t v) { return table_[v]; });
        break;
      case Kind::kColorToMono:
        fetch_with(row, xs, n, out,
                   [this](std::uint32_t v) { return v == background_value_ ? 1u : 0u; });
        break;
      case Kind::kColorToIndexed:
        fetch_with(row, xs, n, out, [this](std::uint32_t v) {
          const auto it = cache_.find(v);
          if (it != cache_.end()) return it->second;
          const std::uint32_t mapped = value_of_color(dest_, color_from_value(v));
          cache_.emplace(v, mapped);
          return mapped;
        });
        break;
    }
  }

 private:
  template <class Map>
  void fetch_with(const std::uint8_t* row, const std::int32_t* xs, std::int32_t n,
                  std::uint32_t* out, Map map) {
    switch (source_.pixel_format()) {
      case PixelFormat::k1Bit:
        for (std::int32_t i = 0; i < n; ++i)
          out[i] = map((row[xs[i] >> 3] >> (7 - (xs[i] & 7))) & 1u);
        break;
      case PixelFormat::k8Bit:
        for (std::int32_t i = 0; i < n; ++i) out[i] = map(row[xs[i]]);
        break;
      case PixelFormat::k24Bit:
        for (std::int32_t i = 0; i < n; ++i) {
          const std::uint8_t* p = row + 3 * static_cast<std::size_t>(xs[i]);
          out[i] =
              map(std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16));
        }
        break;
      case PixelFormat::k32Bit:
        for (std::int32_t i = 0; i < n; ++i) {
          std::uint32_t v;
          std::memcpy(&v, row + 4 * static_cast<std::size_t>(xs[i]), 4);
          out[i] = map(v & 0xFFFFFF);
        }
        break;
    }
  }

  const Bitmap& dest_;
  const Bitmap& source_;
  Kind kind_ = Kind::kIdentity;
  std::array<std::uint32_t, 256> table_{};
  std::uint32_t background_value_ = 0;
  std::unordered_map<std::uint32_t, std::uint32_t> cache_;
};

void apply_row(RasterOp op, std::uint32_t p, const std::uint32_t* s, const std::uint32_t* d,
               std::uint32_t* out, std::int32_t n, std::uint32_t m) {
  switch (op) {
    case kSrcCopy:
      for (std::int32_t i = 0; i < n; ++i) out[i] = s[i];
      break;
    case kSrcAnd:
      for (std::int32_t i = 0; i < n; ++i) out[i] = s[i] & d[i];
      break;
    case kSrcPaint:
      for (std::int32_t i = 0; i < n; ++i) out[i] = s[i] | d[i];
      break;
    case kSrcInvert:
      for (std::int32_t i = 0; i < n; ++i) out[i] = s[i] ^ d[i];
      break;
    case kNotSrcCopy:
      for (std::int32_t i = 0; i < n; ++i) out[i] = ~s[i] & m;
      break;
    case kDstCopy:
      for (std::int32_t i = 0; i < n; ++i) out[i] = d[i];
      break;
    case kPatCopy:
      for (std::int32_t i = 0; i < n; ++i) out[i] = p;
      break;
    default:
      for (std::int32_t i = 0; i < n; ++i) out[i] = apply_rop(op, p, s[i], d[i]) & m;
      break;
  }
}

void store_row(std::uint8_t* row, PixelFormat f, std::int32_t x0, const std::uint32_t* v,
               std::int32_t n) {
  switch (f) {
    case PixelFormat::k8Bit:
      for (std::int32_t i = 0; i < n; ++i) row[x0 + i] = static_cast<std::uint8_t>(v[i]);
      break;
    case PixelFormat::k32Bit:
      for (std::int32_t i = 0; i < n; ++i) {
        const std::uint32_t w = v[i] & 0xFFFFFF;
        std::memcpy(row + 4 * static_cast<std::size_t>(x0 + i), &w, 4);
      }
      break;
    default:
      for (std::int32_t i = 0; i < n; ++i) store_value(row, f, x0 + i, v[i]);
      break;
  }
}

void load_row(const std::uint8_t* row, PixelFormat f, std::int32_t x0, std::uint32_t* v,
              std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) v[i] = load_value(row, f, x0 + i);
}

// Source coordinate of destination offset i: origin + i * source_size / dest_size.
std::int64_t map_coordinate(std::int64_t origin, std::int64_t i, std::int64_t source_size,
                            std::int64_t dest_size) {
  return origin + i * source_size / dest_size;
}

}  // namespace

void run_blit(const BlitRequest& r) {
  if (r.w <= 0 || r.h <= 0) return;
  Bitmap& dest = *r.dest;
  const RasterOp fore = r.foreground;
  const RasterOp back = r.mask ? r.background : r.foreground;
  const bool uses_source = rop_uses_source(fore) || rop_uses_source(back);
  const bool uses_dest = rop_uses_destination(fore) || rop_uses_destination(back);
  if (r.mask && r.mask->pixel_format() != PixelFormat::k1Bit) {
    throw GraphicsError("Mask bitmap is not monochrome");
  }
  if (uses_source && (!r.source || r.sw <= 0 || r.sh <= 0)) return;

  const std::int64_t x0 = std::max<std::int64_t>(r.x, 0);
  const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{r.x} + r.w, dest.width());
  const std::int64_t y0 = std::max<std::int64_t>(r.y, 0);
  const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{r.y} + r.h, dest.height());
  if (x0 >= x1 || y0 >= y1) return;

  // A source or mask that is the destination itself is read from a copy.
  std::optional<Bitmap> source_copy;
  const Bitmap* source = uses_source ? r.source : nullptr;
  if (source == &dest) source = &source_copy.emplace(dest);
  std::optional<Bitmap> mask_copy;
  const Bitmap* mask = r.mask;
  if (mask == &dest) mask = &mask_copy.emplace(dest);

  // Columns: destination x0 + i reads source column xs[i]; only [a, b) have one.
  const auto n = static_cast<std::int32_t>(x1 - x0);
  std::vector<std::int32_t> xs(static_cast<std::size_t>(n));
  std::int32_t a = 0, b = n;
  if (source) {
    a = n;
    b = 0;
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int64_t sx = map_coordinate(r.sx, x0 - r.x + i, r.sw, r.w);
      if (sx >= 0 && sx < source->width()) {
        xs[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(sx);
        a = std::min(a, i);
        b = i + 1;
      }
    }
    if (a >= b) return;
  }
  const std::int32_t count = b - a;

  std::optional<SourceMapper> mapper;
  if (source) mapper.emplace(r, *source);
  const PixelFormat df = dest.pixel_format();
  const std::uint32_t m = value_mask(df);
  const std::uint32_t p = value_of_color(dest, r.brush) & m;
  const bool plain_copy = source && !mask && fore == kSrcCopy && r.sw == r.w &&
                          mapper->kind() == SourceMapper::Kind::kIdentity &&
                          source->pixel_format() == dest.pixel_format() && df != PixelFormat::k1Bit;
  const std::size_t bytes_per_pixel = static_cast<std::size_t>(bits_per_pixel(df) / 8);

  std::vector<std::uint32_t> s(static_cast<std::size_t>(count), 0);
  std::vector<std::uint32_t> d(static_cast<std::size_t>(count), 0);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(count), 0);
  std::vector<std::uint32_t> out_back(mask ? static_cast<std::size_t>(count) : 0, 0);

  for (std::int64_t y = y0; y < y1; ++y) {
    const std::int64_t rel_y = y - r.y;
    const std::uint8_t* source_row = nullptr;
    if (source) {
      const std::int64_t sy = map_coordinate(r.sy, rel_y, r.sh, r.h);
      if (sy < 0 || sy >= source->height()) continue;
      source_row = source->row(static_cast<std::int32_t>(sy));
    }
    std::uint8_t* dest_row = dest.row(static_cast<std::int32_t>(y));
    const auto first = static_cast<std::int32_t>(x0) + a;
    if (plain_copy) {
      std::memcpy(
          dest_row + static_cast<std::size_t>(first) * bytes_per_pixel,
          source_row + static_cast<std::size_t>(xs[static_cast<std::size_t>(a)]) * bytes_per_pixel,
          static_cast<std::size_t>(count) * bytes_per_pixel);
      continue;
    }
    if (source) mapper->fetch(source_row, xs.data() + a, count, s.data());
    if (uses_dest) load_row(dest_row, df, first, d.data(), count);
    apply_row(fore, p, s.data(), d.data(), out.data(), count, m);
    if (mask) {
      apply_row(back, p, s.data(), d.data(), out_back.data(), count, m);
      const std::int64_t mask_y = std::int64_t{r.my} + rel_y;
      const std::uint8_t* mask_row = (mask_y >= 0 && mask_y < mask->height())
                                         ? mask->row(static_cast<std::int32_t>(mask_y))
                                         : nullptr;
      // Mask column of pixel i is mask_x0 + i; only [lo, hi) lie inside the mask.
      const std::int64_t mask_x0 = std::int64_t{r.mx} + (first - r.x);
      const std::int64_t lo = std::clamp<std::int64_t>(-mask_x0, 0, count);
      const std::int64_t hi = std::clamp<std::int64_t>(mask->width() - mask_x0, lo, count);
      for (std::int32_t i = 0; i < count; ++i) {
        bool bit = false;
        if (mask_row && i >= lo && i < hi) {
          const auto mx = static_cast<std::int32_t>(mask_x0 + i);
          bit = (mask_row[mx >> 3] >> (7 - (mx & 7))) & 1u;
        }
        if (!bit) out[static_cast<std::size_t>(i)] = out_back[static_cast<std::size_t>(i)];
      }
    }
    store_row(dest_row, df, first, out.data(), count);
  }
}

}  // namespace zephlet::graphics
