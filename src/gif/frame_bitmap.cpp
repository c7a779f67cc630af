// Frame bitmaps, masks and palettes: how they are built, cached and dropped.
#include "gif/frame_bitmap.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <optional>
#include <span>
#include <vector>

#include "gif/dib_writer.h"
#include "gif/extensions.h"
#include "gif/gif_image.h"
#include "gif/sub_image.h"
#include "graphics/floyd_steinberg.h"
#include "graphics/mask_bits.h"
#include "graphics/web_cube.h"

namespace zephlet {

namespace {

constexpr uint16_t kDitherOption = 0x0200;
constexpr uint16_t kAutoDitherOption = 0x0400;
// Above this many pixels the new bitmap object is made 1 bit deep before its DIB arrives,
// so that no screen-deep bitmap of full size is made in between.
constexpr uint32_t kOneBitStepPixels = 500000;

std::atomic<int> display_color_depth{32};

std::vector<graphics::Rgb> ColorsOf(const TGIFColorMap& map) {
  std::vector<graphics::Rgb> colors;
  colors.reserve(static_cast<size_t>(map.EntryCount()));
  for (int i = 0; i < map.EntryCount(); ++i) {
    const GIFColor c = map.Entry(i);
    colors.push_back({c.Red, c.Green, c.Blue});
  }
  return colors;
}

// Row y of the frame's indices, FrameWidth bytes; rows the pixel data does not reach
// read as index 0 (the data always covers the frame unless its size was changed).
std::span<const uint8_t> IndexRow(const TGIFSubImage& frame, int32_t y,
                                  std::vector<uint8_t>& spare) {
  const int64_t width = frame.FrameWidth;
  const int64_t offset = int64_t{y} * width;
  const uint8_t* pixels = frame.Pixels();
  if (pixels != nullptr && offset + width <= frame.PixelCount()) {
    return {pixels + offset, static_cast<size_t>(width)};
  }
  spare.assign(static_cast<size_t>(width), 0);
  if (pixels != nullptr && offset < frame.PixelCount()) {
    std::copy(pixels + offset, pixels + frame.PixelCount(), spare.begin());
  }
  return spare;
}

// The bitmap of a frame: its DIB rows from the indices as they are (direct) or dithered
// onto the web cube, and the mask when one is wanted and a pixel is transparent.
std::unique_ptr<graphics::Bitmap> BuildBitmap(TGIFSubImage& frame, bool dithered) {
  TGIFImage* image = frame.Image();
  const int32_t width = frame.FrameWidth;
  const int32_t height = frame.FrameHeight;
  auto bitmap = std::make_unique<graphics::Bitmap>();
  if (uint32_t(frame.FrameWidth) * uint32_t(frame.FrameHeight) > kOneBitStepPixels) {
    bitmap->set_pixel_format(graphics::PixelFormat::k1Bit);
  }
  if (frame.IsEmpty()) {
    bitmap->set_palette(graphics::copy_palette(frame.FramePalette()));
    bitmap->set_size(width, height);
    return bitmap;
  }

  TDIBWriter writer(*bitmap, frame.FramePalette(), height, width, kDIBFormat8Bit);

  const bool mask_wanted = frame.MaskWanted && frame.HasTransparency;
  frame.MaskWanted = false;
  std::optional<graphics::MaskBits> mask;
  std::optional<uint8_t> transparent;
  if (mask_wanted && frame.MaskBitmap == nullptr && frame.FrameControl != nullptr) {
    transparent = frame.FrameControl->TransparentIndex();
    mask.emplace(width, height);
  }

  std::vector<graphics::Rgb> colors;
  std::optional<graphics::FloydSteinbergDitherer> ditherer;
  if (dithered) {
    colors = ColorsOf(frame.ActiveMap());
    ditherer.emplace(width);
  }

  bool any_transparent = false;
  std::vector<uint8_t> spare;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = writer.RowPointer(y);
    if (y % 32 == 0 && image != nullptr) {
      image->Progress(&frame, ProgressStage::Running, PercentOf(y, height), false,
                      gif_msg::kRendering);
    }
    const std::span<const uint8_t> indices = IndexRow(frame, y, spare);
    if (dithered) {
      ditherer->dither_indexed_row(indices, colors, transparent, {row, static_cast<size_t>(width)});
    } else {
      std::memcpy(row, indices.data(), indices.size());
    }
    if (mask) any_transparent = mask->mark_row(y, indices, *transparent) || any_transparent;
  }
  if (mask && any_transparent) {
    frame.MaskBitmap = std::make_unique<graphics::Bitmap>(graphics::make_monochrome_bitmap(*mask));
  }
  writer.CommitToBitmap();
  return bitmap;
}

}  // namespace

void SetDisplayColorDepth(int bits_per_pixel_times_planes) {
  display_color_depth.store(bits_per_pixel_times_planes);
}

int DisplayColorDepth() {
  return display_color_depth.load();
}

bool PalettedDisplay() {
  return DisplayColorDepth() < 9;
}

graphics::PaletteHandle MakePaletteHandle(const TGIFColorMap& map) {
  const std::vector<graphics::Rgb> colors = ColorsOf(map);
  return graphics::make_palette(colors);
}

graphics::PaletteHandle WebCubePalette() {
  return graphics::web_cube_palette();
}

bool TGIFImage::IsDithering() const {
  return (PaintOptions & kDitherOption) != 0 &&
         ((PaintOptions & kAutoDitherOption) == 0 || PalettedDisplay());
}

graphics::PaletteHandle TGIFImage::ImagePalette() {
  // Frame 0 without a table of its own asks the image again: no table anywhere.
  if (in_image_palette_) RaiseGIFError(gif_msg::kNoColorTable);
  in_image_palette_ = true;
  struct Leave {
    bool& flag;
    ~Leave() { flag = false; }
  } leave{in_image_palette_};

  if (DrawCache && DrawCache->palette()) return DrawCache->palette();
  if (SharedPalette) return SharedPalette;
  graphics::PaletteHandle result;
  if (IsDithering()) {
    result = WebCubePalette();
  } else if (GlobalMap().EntryCount() == 0) {
    return frames_.Count() > 0 ? frames_.SubImage(0).FramePalette() : nullptr;
  } else {
    result = MakePaletteHandle(GlobalMap());
  }
  SharedPalette = result;
  return result;
}

void TGIFImage::SetImagePalette(graphics::PaletteHandle palette) {
  if (palette == SharedPalette) return;
  SharedPalette = std::move(palette);
  // The draw cache carries a copy of the old palette.
  if (DrawCache && DrawCache->palette() != SharedPalette) {
    ReleaseDrawCache();
    PaletteModified = true;
    Changed(this);
  }
}

graphics::Bitmap* TGIFSubImage::FrameBitmap() {
  if (CachedBitmap || IsEmpty()) return CachedBitmap.get();
  TGIFImage* image = Image();
  if (image != nullptr) {
    image->Progress(this, ProgressStage::Starting, 0, false, gif_msg::kRendering);
  }
  std::exception_ptr error;
  try {
    CachedBitmap = BuildBitmap(*this, image != nullptr && image->IsDithering());
  } catch (...) {
    error = std::current_exception();
  }
  if (image != nullptr) {
    const bool modified = image->PaletteModified;
    image->Progress(this, ProgressStage::Ending, error ? 0 : 100, modified, gif_msg::kRendering);
    if (modified) image->Changed(this);
  }
  if (error) {
    try {
      std::rethrow_exception(error);
    } catch (const SilentAbort&) {
      return nullptr;
    }
  }
  return CachedBitmap.get();
}

graphics::PaletteHandle TGIFSubImage::FramePalette() {
  if (CachedBitmap && CachedBitmap->palette()) return CachedBitmap->palette();
  if (PaletteHandle) return PaletteHandle;
  graphics::PaletteHandle result;
  if (Image() != nullptr && Image()->IsDithering()) {
    result = WebCubePalette();
  } else if (LocalMap.EntryCount() == 0) {
    return Image() != nullptr ? Image()->ImagePalette() : nullptr;
  } else {
    result = MakePaletteHandle(LocalMap);
  }
  PaletteHandle = result;
  return result;
}

void TGIFSubImage::SetFramePalette(graphics::PaletteHandle palette) {
  if (palette == PaletteHandle) return;
  PaletteHandle = std::move(palette);
  if (CachedBitmap && CachedBitmap->palette() != PaletteHandle) {
    CachedBitmap.reset();
    if (Image() != nullptr) {
      Image()->PaletteModified = true;
      Image()->Changed(this);
    }
  }
}

bool TGIFSubImage::MaskReady() {
  if (MaskWanted && HasTransparency) {
    FreeFrameBitmap();
    FrameBitmap();
  }
  return MaskBitmap != nullptr;
}

void TGIFSubImage::FreeFrameBitmap() {
  CachedBitmap.reset();
}

void TGIFSubImage::FreeFrameMask() {
  MaskBitmap.reset();
  MaskWanted = true;
}

void TGIFSubImage::SetFrameBounds(uint16_t left, uint16_t top, uint16_t width, uint16_t height) {
  if (width != FrameWidth || height != FrameHeight) {
    FreeFrameBitmap();
    FreeFrameMask();
  }
  FrameLeft = left;
  FrameTop = top;
  FrameWidth = width;
  FrameHeight = height;
}

}  // namespace zephlet
