// The platform's multiply-then-divide (MulDiv): a * b / c computed in 64 bits, rounded
// to the nearest integer with halves away from zero; -1 when c is 0 or the result does
// not fit in 32 bits.
#pragma once

#include <cstdint>

namespace zephlet::graphics {

constexpr std::int32_t mul_div(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  const std::uint64_t magnitude =
      product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor =
      c < 0 ? 0 - static_cast<std::uint64_t>(std::int64_t{c}) : static_cast<std::uint64_t>(c);
  const std::uint64_t rounded = (magnitude + divisor / 2) / divisor;
  const bool negative = (product < 0) != (c < 0) && rounded != 0;
  if (negative ? rounded > std::uint64_t{1} << 31 : rounded > INT32_MAX) return -1;
  return negative ? static_cast<std::int32_t>(0 - static_cast<std::int64_t>(rounded))
                  : static_cast<std::int32_t>(rounded);
}

}  // namespace zephlet::graphics
