// Raster operations: how a source pixel S, the destination pixel D and the brush P
// combine, as the platform's three-operand codes. Bits 16 to 23 of a code hold the
// truth table: result bit = bit (4*P + 2*S + D) of that byte, applied to every bit
// of the pixel values. Colours take part as their pixel values in the destination's
// format (colour bits, palette indices, or mono bits).
#pragma once

#include <cstdint>

namespace zephlet::graphics {

using RasterOp = std::uint32_t;

constexpr RasterOp kSrcCopy = 0x00CC0020;     // S
constexpr RasterOp kSrcPaint = 0x00EE0086;    // S | D
constexpr RasterOp kSrcAnd = 0x008800C6;      // S & D
constexpr RasterOp kSrcInvert = 0x00660046;   // S ^ D
constexpr RasterOp kNotSrcCopy = 0x00330008;  // ~S
constexpr RasterOp kSrcErase = 0x00440328;    // S & ~D
constexpr RasterOp kMergePaint = 0x00BB0226;  // ~S | D
constexpr RasterOp kDstCopy = 0x00AA0029;     // D (keep the destination)
constexpr RasterOp kDstInvert = 0x00550009;   // ~D
constexpr RasterOp kPatCopy = 0x00F00021;     // P
constexpr RasterOp kBlackness = 0x00000042;   // all bits 0
constexpr RasterOp kWhiteness = 0x00FF0062;   // all bits 1

// The truth-table byte of a code.
constexpr std::uint8_t rop_table(RasterOp op) {
  return static_cast<std::uint8_t>(op >> 16);
}

// Whether the result depends on the source, the destination or the brush.
constexpr bool rop_uses_source(RasterOp op) {
  const unsigned t = rop_table(op);
  return ((t >> 2) & 0x33u) != (t & 0x33u);
}
constexpr bool rop_uses_destination(RasterOp op) {
  const unsigned t = rop_table(op);
  return ((t >> 1) & 0x55u) != (t & 0x55u);
}
constexpr bool rop_uses_brush(RasterOp op) {
  const unsigned t = rop_table(op);
  return ((t >> 4) & 0x0Fu) != (t & 0x0Fu);
}

// Applies a code to one set of pixel values.
constexpr std::uint32_t apply_rop(RasterOp op, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  const unsigned t = rop_table(op);
  std::uint32_t result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if ((t >> i) & 1u) {
      result |= ((i & 4u) ? p : ~p) & ((i & 2u) ? s : ~s) & ((i & 1u) ? d : ~d);
    }
  }
  return result;
}

}  // namespace zephlet::graphics
