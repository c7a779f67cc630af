// Device-independent bitmaps: TDIB, the base that hands out rows of a target bitmap;
// TDIBReader, which reads a bitmap's own rows; and TDIBWriter, which assembles an 8- or
// 24-bit DIB in memory and loads the target bitmap from it in one step.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/palette.h"

namespace zephlet {

// Pixel format codes of a DIB target.
inline constexpr uint8_t kDIBFormat1Bit = 1;
inline constexpr uint8_t kDIBFormat4Bit = 2;
inline constexpr uint8_t kDIBFormat8Bit = 3;
inline constexpr uint8_t kDIBFormat24Bit = 6;

class TDIB {
 public:
  TDIB(graphics::Bitmap& target, uint8_t format) : TargetBitmap(target), TargetFormat(format) {}
  TDIB(const TDIB&) = delete;
  TDIB& operator=(const TDIB&) = delete;
  virtual ~TDIB() = default;

  // The address of `row`, counted from the top.
  virtual uint8_t* RowPointer(int32_t row) = 0;

  graphics::Bitmap& TargetBitmap;
  uint8_t TargetFormat;
};

// Sets the bitmap's pixel format (1, 8 or 24 bits; others raise "Unsupported
// PixelFormat") and answers the bitmap's own rows.
class TDIBReader : public TDIB {
 public:
  TDIBReader(graphics::Bitmap& target, uint8_t format);
  uint8_t* RowPointer(int32_t row) override;
};

class TDIBWriter : public TDIB {
 public:
  // format: kDIBFormat8Bit or kDIBFormat24Bit, else "Unsupported PixelFormat"; width and
  // height must not be 0, else "Invalid image dimensions". No memory is taken yet.
  TDIBWriter(graphics::Bitmap& target, graphics::PaletteHandle palette, int32_t height,
             int32_t width, uint8_t format);

  // Row `row` of the pixel block, allocating the blocks on first use. A pixel block past
  // the graphics layer's size limit, or one that cannot be had, raises
  // OutOfMemoryMessageError "Failed to allocate memory for GIF DIB" before anything of
  // that size is allocated; a row outside 0..RowCount-1 raises
  // InvalidGraphicOperationError "Scan line index out of range".
  uint8_t* RowPointer(int32_t row) override;

  // Loads the target bitmap from the assembled DIB (when rows were handed out) and
  // releases the blocks. Freeing the writer without it only releases them, so a failed
  // build never half-changes the target.
  void CommitToBitmap();
  void ReleaseDIB();

  const std::vector<uint8_t>& InfoBlock() const { return info_block_; }
  const std::vector<uint8_t>& PixelBlock() const { return pixel_block_; }
  uint32_t InfoSize() const;
  uint64_t PixelBlockSize() const;
  uint64_t RowBytes() const;

  graphics::PaletteHandle SourcePalette;
  int32_t RowCount;
  int32_t RowWidth;

 private:
  void AllocateDIB();
  int Bits() const { return TargetFormat == kDIBFormat8Bit ? 8 : 24; }

  std::vector<uint8_t> info_block_;
  std::vector<uint8_t> pixel_block_;
};

}  // namespace zephlet
