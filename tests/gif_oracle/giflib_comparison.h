// GoogleTest expectations that our reader reads a GIF as giflib does.
#pragma once

#include <cstdint>
#include <vector>

namespace zephlet::oracle {

enum class Warnings { Forbidden, Allowed };

// Expects the same logical screen, colour tables and loop count, and per frame holding an
// image the same geometry, interlace flag, graphic control values and colour indices.
// giflib must read the file; our reader must load it, and with `Warnings::Forbidden` report
// no warning.
void ExpectSameAsGiflib(const std::vector<uint8_t>& bytes, Warnings warnings);

}  // namespace zephlet::oracle
