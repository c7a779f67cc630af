#include "graphics/rect_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace zephlet::graphics {
namespace {

struct TileOrigin {
  std::int32_t left, top;
  friend bool operator==(const TileOrigin&, const TileOrigin&) = default;
};

std::vector<TileOrigin> tile_origins(const Rect& area, std::int32_t left, std::int32_t top,
                                     std::int32_t step_x, std::int32_t step_y) {
  std::vector<TileOrigin> tiles;
  for_each_tile(area, left, top, step_x, step_y, [&](std::int32_t x, std::int32_t y) {
    tiles.push_back({x, y});
  });
  return tiles;
}

TEST(RectLayout, ScaleRectRoundsToNearest) {
  struct Case {
    Rect inner;
    std::int32_t space_w, space_h;
    Rect target;
    Rect expected;
  };
  const Case cases[] = {
      {{5, 5, 15, 15}, 20, 20, {0, 0, 40, 40}, {10, 10, 30, 30}},
      {{5, 5, 15, 15}, 20, 20, {100, 50, 120, 70}, {105, 55, 115, 65}},
      {{1, 1, 2, 2}, 3, 3, {0, 0, 10, 10}, {3, 3, 7, 7}},  // 3.33 -> 3, 6.67 -> 7
      {{1, 0, 2, 1}, 4, 1, {0, 0, 2, 1}, {1, 0, 1, 1}},    // 0.5 rounds away from zero
      {{0, 0, 186, 32}, 186, 32, {0, 0, 186, 32}, {0, 0, 186, 32}},
      {{3, 4, 5, 6}, 0, 0, {7, 8, 20, 20}, {7, 8, 7, 8}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(scale_rect(c.inner, c.space_w, c.space_h, c.target), c.expected)
        << c.inner.left << "," << c.inner.top;
  }
}

TEST(RectLayout, TilesStartAtTheFirstCornerAndMayReachPastTheArea) {
  const std::vector<TileOrigin> tiles = tile_origins({0, 0, 100, 100}, 5, 5, 40, 40);
  const std::vector<TileOrigin> expected = {{5, 5},   {45, 5}, {85, 5},  {5, 45}, {45, 45},
                                            {85, 45}, {5, 85}, {45, 85}, {85, 85}};
  EXPECT_EQ(tiles, expected);
  EXPECT_TRUE(tile_origins({0, 0, 10, 10}, 10, 0, 5, 5).empty());
  // A zero step gives one column and one row instead of an endless list.
  EXPECT_EQ(tile_origins({0, 0, 10, 10}, 0, 0, 0, 0), (std::vector<TileOrigin>{{0, 0}}));
  EXPECT_EQ(tile_origins({0, 0, 10, 10}, 0, 0, 6, 0), (std::vector<TileOrigin>{{0, 0}, {6, 0}}));
}

}  // namespace
}  // namespace zephlet::graphics
