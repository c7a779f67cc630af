#include "runtime/random.h"

#include "runtime/clock.h"

namespace zephlet::runtime {
namespace {

uint32_t seed_value = 0;

uint32_t Next() {
  seed_value = seed_value * 0x08088405u + 1u;
  return seed_value;
}

}  // namespace

void Randomize() {
  seed_value = NowMs();
}
void SetRandSeed(uint32_t seed) {
  seed_value = seed;
}
uint32_t RandSeed() {
  return seed_value;
}

int32_t Random(int32_t range) {
  const uint64_t r = Next();
  if (range <= 0) return 0;
  return static_cast<int32_t>((r * static_cast<uint64_t>(range)) >> 32);
}

double RandomReal() {
  return static_cast<double>(Next()) / 4294967296.0;
}

}  // namespace zephlet::runtime
