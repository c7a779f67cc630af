// Unit routines of the frame bitmaps: the display's colour depth, palettes made from
// colour maps, the web cube, row sizes, and the errors of bitmap building and drawing.
#pragma once

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "gif/color_map.h"
#include "gif/gif_error.h"
#include "graphics/bitmap.h"
#include "graphics/palette.h"

namespace zephlet {

// The display's colour depth (bits per pixel times colour planes). The GIF unit knows
// nothing of the platform: the player hands the depth over at start-up; until then it is
// 32. A depth below 9 makes a paletted display, on which frames are dithered by default.
void SetDisplayColorDepth(int bits_per_pixel_times_planes);
int DisplayColorDepth();
bool PalettedDisplay();

// A logical palette of a colour map's entries (each with the no-collapse flag); none for
// an empty map.
graphics::PaletteHandle MakePaletteHandle(const TGIFColorMap& map);
// A new 216-entry palette of the 6 x 6 x 6 colour cube.
graphics::PaletteHandle WebCubePalette();

// Bytes in a row of `width` pixels of `bits` bits aligned to `alignment` bits.
inline uint64_t AlignedRowBytes(uint64_t width, uint64_t bits, uint64_t alignment) {
  return graphics::aligned_row_bytes(width, bits, alignment);
}

// The platform's out-of-resources error: a graphics object could not be made.
class OutOfResourcesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The platform's invalid-graphic-operation error.
class InvalidGraphicOperationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The platform's out-of-memory error with a message of its own.
class OutOfMemoryMessageError : public OutOfMemoryError {
 public:
  explicit OutOfMemoryMessageError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The platform's silent abort: a progress handler may raise it to abandon a bitmap build,
// which then answers none without a message.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// Returns `handle`; raises OutOfResourcesError "Out of system resources" when it is null.
template <typename T>
T* EnsureGDIHandle(T* handle) {
  if (handle == nullptr) throw OutOfResourcesError("Out of system resources");
  return handle;
}

namespace gif_msg {
inline constexpr const char* kNoColorTable = "No global or local color table defined";
inline constexpr const char* kRendering = "Rendering...";
inline constexpr const char* kUnsupportedPixelFormat = "Unsupported PixelFormat";
inline constexpr const char* kInvalidImageDimensions = "Invalid image dimensions";
inline constexpr const char* kDIBAllocationFailed = "Failed to allocate memory for GIF DIB";
inline constexpr const char* kNoDIB = "Image has no DIB";
inline constexpr const char* kScanLineOutOfRange = "Scan line index out of range";
}  // namespace gif_msg

}  // namespace zephlet
