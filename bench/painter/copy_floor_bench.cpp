// The cost floor of painting one frame: block copies of a 320 x 240 frame onto a 32-bit
// target, the least a painter can do per frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/mask_bits.h"
#include "graphics/masked_blit.h"
#include "graphics/palette.h"
#include "graphics/web_cube.h"

namespace zephlet::graphics {
namespace {

constexpr std::int32_t kWidth = 320;
constexpr std::int32_t kHeight = 240;

Bitmap patterned(PixelFormat format, PaletteHandle palette = nullptr) {
  Bitmap b(kWidth, kHeight, format, std::move(palette));
  for (std::int32_t y = 0; y < kHeight; ++y) {
    std::uint8_t* row = b.row(y);
    for (std::size_t i = 0; i < b.stride(); ++i)
      row[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(y)) % 216);
  }
  return b;
}

void set_counters(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}

// One plain copy of a 32-bit frame: the floor.
void BM_PlainCopy32(benchmark::State& state) {
  const Bitmap frame = patterned(PixelFormat::k32Bit);
  Bitmap target(kWidth, kHeight, PixelFormat::k32Bit);
  for (auto _ : state) {
    target.canvas().bit_blt(0, 0, kWidth, kHeight, frame.canvas(), 0, 0, kSrcCopy);
    benchmark::DoNotOptimize(target.pixels().data());
    benchmark::ClobberMemory();
  }
  set_counters(state);
}
BENCHMARK(BM_PlainCopy32);

// An 8-bit palette frame drawn onto the 32-bit target (a plain frame draw).
void BM_PaletteFrameTo32(benchmark::State& state) {
  const Bitmap frame = patterned(PixelFormat::k8Bit, web_cube_palette());
  Bitmap target(kWidth, kHeight, PixelFormat::k32Bit);
  for (auto _ : state) {
    target.canvas().draw(0, 0, frame);
    benchmark::DoNotOptimize(target.pixels().data());
    benchmark::ClobberMemory();
  }
  set_counters(state);
}
BENCHMARK(BM_PaletteFrameTo32);

// The same frame through its mask, by each method.
void BM_MaskedFrameTo32(benchmark::State& state) {
  const Bitmap frame = patterned(PixelFormat::k8Bit, web_cube_palette());
  MaskBits bits(kWidth, kHeight);
  for (std::int32_t y = 0; y < kHeight; ++y) {
    bits.mark_row(y, std::span<const std::uint8_t>(frame.row(y), static_cast<std::size_t>(kWidth)),
                  0);
  }
  const Bitmap mask = make_monochrome_bitmap(bits);
  Bitmap target(kWidth, kHeight, PixelFormat::k32Bit);
  const auto method = static_cast<MaskedBlitMethod>(state.range(0));
  for (auto _ : state) {
    masked_stretch_blit(target.canvas(), {0, 0, kWidth, kHeight}, frame, {0, 0, kWidth, kHeight},
                        mask, 0, 0, method);
    benchmark::DoNotOptimize(target.pixels().data());
    benchmark::ClobberMemory();
  }
  set_counters(state);
}
BENCHMARK(BM_MaskedFrameTo32)
    ->Arg(static_cast<int>(MaskedBlitMethod::kSinglePass))
    ->Arg(static_cast<int>(MaskedBlitMethod::kTwoPass));

}  // namespace
}  // namespace zephlet::graphics
