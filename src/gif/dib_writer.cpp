#include "gif/dib_writer.h"

#include <new>

#include "gif/frame_bitmap.h"
#include "graphics/bmp.h"

namespace zephlet {

TDIBReader::TDIBReader(graphics::Bitmap& target, uint8_t format) : TDIB(target, format) {
  switch (format) {
    case kDIBFormat1Bit:
      target.set_pixel_format(graphics::PixelFormat::k1Bit);
      break;
    case kDIBFormat8Bit:
      target.set_pixel_format(graphics::PixelFormat::k8Bit);
      break;
    case kDIBFormat24Bit:
      target.set_pixel_format(graphics::PixelFormat::k24Bit);
      break;
    default:
      RaiseGIFError(gif_msg::kUnsupportedPixelFormat);
  }
}

uint8_t* TDIBReader::RowPointer(int32_t row) {
  if (row < 0 || row >= TargetBitmap.height()) {
    throw InvalidGraphicOperationError(gif_msg::kScanLineOutOfRange);
  }
  return TargetBitmap.row(row);
}

TDIBWriter::TDIBWriter(graphics::Bitmap& target, graphics::PaletteHandle palette, int32_t height,
                       int32_t width, uint8_t format)
    : TDIB(target, format), SourcePalette(std::move(palette)), RowCount(height), RowWidth(width) {
  if (format != kDIBFormat8Bit && format != kDIBFormat24Bit) {
    RaiseGIFError(gif_msg::kUnsupportedPixelFormat);
  }
  if (width == 0 || height == 0) RaiseGIFError(gif_msg::kInvalidImageDimensions);
}

uint32_t TDIBWriter::InfoSize() const {
  return Bits() == 8 ? graphics::kBmpInfoHeaderSize + 256 * 4 : graphics::kBmpInfoHeaderSize;
}

uint64_t TDIBWriter::RowBytes() const {
  // A negative width counts by its size; the limit check below refuses it anyway.
  const int64_t w = RowWidth < 0 ? -int64_t{RowWidth} : int64_t{RowWidth};
  return AlignedRowBytes(static_cast<uint64_t>(w), static_cast<uint64_t>(Bits()), 32);
}

uint64_t TDIBWriter::PixelBlockSize() const {
  const int64_t rows = RowCount < 0 ? -int64_t{RowCount} : int64_t{RowCount};
  return RowBytes() * static_cast<uint64_t>(rows);
}

void TDIBWriter::AllocateDIB() {
  ReleaseDIB();
  try {
    // The size is bounded before anything of it is allocated: a frame's width and height
    // come from the file, and 65535 x 65535 would not fit the 32-bit player.
    const uint64_t size = PixelBlockSize();
    if (RowWidth <= 0 || RowWidth > graphics::kMaxBitmapSide ||
        RowCount > graphics::kMaxBitmapSide || RowCount < -graphics::kMaxBitmapSide ||
        size > graphics::kMaxBitmapBytes) {
      throw OutOfMemoryMessageError(gif_msg::kDIBAllocationFailed);
    }
    info_block_ = graphics::make_dib_info(RowWidth, RowCount, Bits(), SourcePalette.get());
    try {
      pixel_block_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
      throw OutOfMemoryMessageError(gif_msg::kDIBAllocationFailed);
    }
  } catch (...) {
    ReleaseDIB();
    throw;
  }
}

uint8_t* TDIBWriter::RowPointer(int32_t row) {
  if (pixel_block_.empty()) AllocateDIB();
  if (pixel_block_.empty()) RaiseGIFError(gif_msg::kNoDIB);
  if (row < 0 || row >= RowCount) throw InvalidGraphicOperationError(gif_msg::kScanLineOutOfRange);
  // Rows are stored bottom-up (positive height): the top row comes last.
  const uint64_t offset = static_cast<uint64_t>(RowCount - 1 - row) * RowBytes();
  return pixel_block_.data() + static_cast<size_t>(offset);
}

void TDIBWriter::CommitToBitmap() {
  if (!pixel_block_.empty()) {
    const std::vector<uint8_t> file = graphics::assemble_bmp_file(info_block_, pixel_block_);
    ReleaseDIB();
    TargetBitmap.load_bmp(file);
  }
  ReleaseDIB();
}

void TDIBWriter::ReleaseDIB() {
  std::vector<uint8_t>().swap(info_block_);
  std::vector<uint8_t>().swap(pixel_block_);
}

}  // namespace zephlet
