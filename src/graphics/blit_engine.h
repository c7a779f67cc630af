// The one transfer routine behind every canvas operation: clipping, stretching, format
// conversion of source pixels into destination values, raster operation and optional
// mask, row by row over arrays of pixel values.
#pragma once

#include <cstdint>

#include "graphics/bitmap.h"
#include "graphics/color.h"
#include "graphics/raster_op.h"

namespace zephlet::graphics {

struct BlitRequest {
  Bitmap* dest = nullptr;
  Color dest_text = kBlack;
  Color dest_background = kWhite;
  Color brush = kWhite;
  std::int32_t x = 0, y = 0, w = 0, h = 0;
  const Bitmap* source = nullptr;  // none for operations without a source
  Color source_background = kWhite;
  std::int32_t sx = 0, sy = 0, sw = 0, sh = 0;
  const Bitmap* mask = nullptr;  // monochrome; 1 selects `foreground`, 0 `background`
  std::int32_t mx = 0, my = 0;
  RasterOp foreground = kSrcCopy;
  RasterOp background = kSrcCopy;
};

// Runs a transfer as canvas.h describes; raises no notification.
void run_blit(const BlitRequest& request);

}  // namespace zephlet::graphics
