#include "graphics/mul_div.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zephlet::graphics {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFlagsFailure) {
  struct Case {
    std::int32_t a, b, c, expected;
  };
  const Case cases[] = {
      {120, 100, 100, 120},   {120, 100, 1000, 12},
      {36, 100, 1000, 4},  // 3.6
      {5, 1, 2, 3},           {-5, 1, 2, -3},
      {5, -1, 2, -3},         {5, 1, -2, -3},
      {-5, -1, 2, 3},         {1, 1, 3, 0},
      {-1, 1, 3, 0},          {2, 1, 3, 1},
      {7, 0, 5, 0},           {1, 1, 0, -1},
      {INT32_MAX, 2, 1, -1},  {INT32_MIN, 1, 1, INT32_MIN},
      {INT32_MIN, -1, 1, -1}, {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
      {10, 40, 20, 20},       {15, 40, 20, 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mul_div(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
  }
}

}  // namespace
}  // namespace zephlet::graphics
