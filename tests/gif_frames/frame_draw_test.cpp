// Drawing frames: placement, scaling, tiling, transparency, and one change notification
// of the target per drawing call.
#include <gtest/gtest.h>

#include "frame_fixtures.h"
#include "gif/frame_bitmap.h"

namespace zephlet::test {
namespace {

using graphics::Bitmap;
using graphics::Color;
using graphics::PixelFormat;
using graphics::Rect;

Color TestRgb(int i) {
  uint8_t rgb[3];
  TestColor(i, rgb);
  return graphics::rgb(rgb[0], rgb[1], rgb[2]);
}

constexpr Color kBackground = graphics::rgb(10, 20, 200);

Bitmap Target(int w, int h) {
  Bitmap target(w, h, PixelFormat::k32Bit);
  target.canvas().set_brush_color(kBackground);
  target.canvas().fill_rect({0, 0, w, h});
  return target;
}

TEST(ScaledFrameRect, MapsTheFrameIntoTheRectangle) {
  struct Case {
    uint16_t screen_w, screen_h, left, top, w, h;
    Rect rect;
    Rect expected;
  };
  const Case cases[] = {
      {20, 20, 5, 5, 10, 10, {0, 0, 40, 40}, {10, 10, 30, 30}},
      {20, 20, 5, 5, 10, 10, {100, 50, 140, 90}, {110, 60, 130, 80}},
      // 1 x 10 / 3 = 3.33 and 2 x 10 / 3 = 6.67: rounded to the nearest.
      {3, 3, 1, 1, 1, 1, {0, 0, 10, 10}, {3, 3, 7, 7}},
      {4, 2, 0, 0, 4, 2, {0, 0, 2, 1}, {0, 0, 2, 1}},
  };
  for (const Case& c : cases) {
    auto image = LoadImage(
        OneFrameGif(c.screen_w, c.screen_h, c.left, c.top, c.w, c.h, Bytes(size_t{c.w} * c.h, 1)));
    EXPECT_EQ(image->Frames().SubImage(0).ScaledFrameRect(c.rect), c.expected)
        << c.left << "," << c.top << " " << c.w << "x" << c.h;
  }
}

TEST(DrawFrame, ScalesTheFrameToItsPlaceInTheRectangle) {
  // 2 x 2 frame at (1, 1) of a 4 x 4 screen drawn into 8 x 8: each pixel becomes 2 x 2.
  auto image = LoadImage(OneFrameGif(4, 4, 1, 1, 2, 2, {0, 1, 2, 3}));
  Bitmap target = Target(8, 8);
  image->Frames().SubImage(0).DrawFrame(target.canvas(), {0, 0, 8, 8}, false, false);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
      const Color expected = inside ? TestRgb((y - 2) / 2 * 2 + (x - 2) / 2) : kBackground;
      ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
    }
  }
}

// A 20 x 20 frame at (5, 5) of a 40 x 40 screen tiled over (0, 0, 100, 100): tiles at
// left and top 5, 45 and 85, each 20 x 20 and unscaled, the last ones cut by the target.
class TiledDraw : public testing::TestWithParam<bool> {};

TEST_P(TiledDraw, RepeatsTheFrameAtTheScreenSize) {
  const bool transparent = GetParam();
  Bytes pixels(400, 1);
  pixels[0] = 3;  // the frame's top-left pixel is transparent when drawn masked
  auto image = LoadImage(OneFrameGif(40, 40, 5, 5, 20, 20, pixels, 0x01, 3));
  Bitmap target = Target(100, 100);
  ChangeCounter changes;
  changes.Attach(target);
  image->Frames().SubImage(0).DrawFrame(target.canvas(), {0, 0, 100, 100}, true, transparent);
  EXPECT_EQ(changes.count, 1);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const int fx = x % 40 - 5;
      const int fy = y % 40 - 5;
      Color expected = kBackground;
      if (fx >= 0 && fx < 20 && fy >= 0 && fy < 20) {
        expected = fx == 0 && fy == 0 ? (transparent ? kBackground : TestRgb(3)) : TestRgb(1);
      }
      ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Masked, TiledDraw, testing::Bool());

TEST(StretchDrawFrame, TransparentPixelsKeepTheTarget) {
  // Index 3 is transparent.
  const Bytes pixels = {0, 3, 1, 3, 3, 2, 3, 0};
  auto image = LoadImage(OneFrameGif(4, 2, 0, 0, 4, 2, pixels, 0x01, 3));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  struct Case {
    const char* name;
    int scale;  // 1: the single masked transfer; 2: stretched, the two-pass method
    bool transparent;
  };
  for (const Case& c :
       {Case{"unstretched", 1, true}, Case{"stretched", 2, true}, Case{"without mask", 2, false}}) {
    SCOPED_TRACE(c.name);
    Bitmap target = Target(4 * c.scale, 2 * c.scale);
    target.canvas().set_text_color(graphics::rgb(1, 2, 3));
    target.canvas().set_background_color(graphics::rgb(4, 5, 6));
    frame.StretchDrawFrame(target.canvas(), {0, 0, 4 * c.scale, 2 * c.scale}, false, c.transparent);
    for (int y = 0; y < 2 * c.scale; ++y) {
      for (int x = 0; x < 4 * c.scale; ++x) {
        const uint8_t index = pixels[static_cast<size_t>(y / c.scale * 4 + x / c.scale)];
        const Color expected = index == 3 && c.transparent ? kBackground : TestRgb(index);
        ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
      }
    }
    // The two-pass method sets black and white for its transfers and puts them back.
    EXPECT_EQ(target.canvas().text_color(), graphics::rgb(1, 2, 3));
    EXPECT_EQ(target.canvas().background_color(), graphics::rgb(4, 5, 6));
  }
}

TEST(StretchDrawFrame, WithoutMaskATransparentDrawIsAPlainOne) {
  // Transparency on, but no pixel holds index 3: no mask, every pixel is drawn.
  auto image = LoadImage(OneFrameGif(2, 1, 0, 0, 2, 1, {0, 1}, 0x01, 3));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  Bitmap target = Target(2, 1);
  frame.StretchDrawFrame(target.canvas(), {0, 0, 2, 1}, false, true);
  EXPECT_EQ(frame.MaskBitmap, nullptr);
  EXPECT_EQ(target.pixel(0, 0), TestRgb(0));
  EXPECT_EQ(target.pixel(1, 0), TestRgb(1));
}

TEST(DrawFrame, RaisesExactlyOneChangeNotificationPerCall) {
  auto image = LoadImage(OneFrameGif(4, 4, 1, 1, 2, 2, {0, 3, 1, 2}, 0x01, 3));
  TGIFSubImage& frame = image->Frames().SubImage(0);
  struct Case {
    bool tile;
    bool transparent;
    Rect rect;
  };
  const Case cases[] = {
      {false, false, {0, 0, 8, 8}}, {false, true, {0, 0, 8, 8}},
      {false, true, {0, 0, 4, 4}},  {true, false, {0, 0, 16, 16}},
      {true, true, {0, 0, 16, 16}}, {true, false, {-20, -20, -10, -10}},
  };
  for (const Case& c : cases) {
    Bitmap target = Target(16, 16);
    ChangeCounter changes;
    changes.Attach(target);
    frame.DrawFrame(target.canvas(), c.rect, c.tile, c.transparent);
    EXPECT_EQ(changes.count, 1) << "tile " << c.tile << " transparent " << c.transparent;
    frame.StretchDrawFrame(target.canvas(), c.rect, c.tile, c.transparent);
    EXPECT_EQ(changes.count, 2) << "tile " << c.tile << " transparent " << c.transparent;
  }

  // A caller's own update scope gathers it with the caller's other changes.
  Bitmap target = Target(16, 16);
  ChangeCounter changes;
  changes.Attach(target);
  {
    graphics::Canvas::UpdateScope scope(target.canvas());
    frame.DrawFrame(target.canvas(), {0, 0, 16, 16}, true, true);
    target.canvas().fill_rect({0, 0, 1, 1});
    EXPECT_EQ(changes.count, 0);
  }
  EXPECT_EQ(changes.count, 1);
}

TEST(DrawFrame, AnEmptyFrameDrawsNothingAndStillReportsOnce) {
  // A graphic control extension at the end makes a last frame without an image.
  const Bytes gif = GifWriter()
                        .Header(2, 2, 4)
                        .Image(0, 0, 2, 2, {0, 1, 2, 3})
                        .GraphicControl(0, 5, 0)
                        .Trailer()
                        .Data();
  auto image = LoadImage(gif);
  ASSERT_EQ(image->Frames().Count(), 2);
  TGIFSubImage& frame = image->Frames().SubImage(1);
  ASSERT_TRUE(frame.IsEmpty());
  EXPECT_EQ(frame.FrameBitmap(), nullptr);
  Bitmap target = Target(2, 2);
  ChangeCounter changes;
  changes.Attach(target);
  frame.DrawFrame(target.canvas(), {0, 0, 2, 2}, false, true);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(target.pixel(0, 0), kBackground);
}

}  // namespace
}  // namespace zephlet::test
