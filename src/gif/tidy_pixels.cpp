// Pixel work of the clean-up: pixels that repeat the earlier frame made transparent, and
// transparent borders cropped.
#include <algorithm>
#include <array>
#include <vector>

#include "gif/extensions.h"
#include "gif/gif_image.h"
#include "gif/tidy_frames.h"

namespace zephlet {

namespace {

int DisposalOf(const TGIFSubImage& frame) {
  return frame.FrameControl != nullptr ? frame.FrameControl->DisposalMode() : 1;
}

// The frame's transparent index when it shows transparency, else -1.
int TransparentIndexOf(const TGIFSubImage& frame) {
  return frame.HasTransparency && frame.FrameControl != nullptr
             ? frame.FrameControl->TransparentIndex()
             : -1;
}

uint8_t PixelAt(const TGIFSubImage& frame, int32_t screen_x, int32_t screen_y) {
  const int64_t at =
      int64_t{screen_y - frame.FrameTop} * frame.FrameWidth + (screen_x - frame.FrameLeft);
  return at >= 0 && at < frame.PixelCount() ? frame.Pixels()[at] : 0;
}

bool SameColor(TGIFColorMap& a, int i, TGIFColorMap& b, int j) {
  if (&a == &b && i == j) return true;
  if (i >= a.EntryCount() || j >= b.EntryCount()) return false;
  const GIFColor x = a.Entry(i);
  const GIFColor y = b.Entry(j);
  return x.Red == y.Red && x.Green == y.Green && x.Blue == y.Blue;
}

// An index the frame can take as its transparent index: one that no pixel of it uses,
// from another transparent frame of the global table, or a new table entry. -1 when the
// table is full or missing.
int ChooseTransparentIndex(TGIFImage& image, TGIFSubImage& frame, bool& new_entry) {
  new_entry = false;
  TGIFColorMap& map = frame.ActiveMap();
  if (map.EntryCount() == 0) return -1;
  std::array<bool, 256> used{};
  const uint8_t* pixels = frame.Pixels();
  for (int32_t i = 0; pixels != nullptr && i < frame.PixelCount(); ++i) used[pixels[i]] = true;
  if (&map == &image.GlobalMap()) {
    for (int i = 0; i < image.Frames().Count(); ++i) {
      TGIFSubImage& other = image.Frames().SubImage(i);
      const int index = TransparentIndexOf(other);
      if (&other != &frame && index >= 0 && &other.ActiveMap() == &map &&
          !used[static_cast<size_t>(index)]) {
        return index;
      }
    }
  }
  if (map.EntryCount() >= TGIFColorMap::kMaxEntries) return -1;
  new_entry = true;
  return map.EntryCount();
}

void DropRepeatsOf(TGIFImage& image, int n) {
  TGIFImageList& frames = image.Frames();
  TGIFSubImage& frame = frames.SubImage(n);
  // What the screen shows before this frame: the nearest earlier frame that is not
  // undone again (disposal 3), provided it stays (not restored to the background).
  int k = n - 1;
  while (k >= 0 && DisposalOf(frames.SubImage(k)) == 3) --k;
  if (k < 0) return;
  TGIFSubImage& earlier = frames.SubImage(k);
  if (frame.IsEmpty() || earlier.IsEmpty() || DisposalOf(earlier) == 2) return;
  const int32_t left = std::max<int32_t>(frame.FrameLeft, earlier.FrameLeft);
  const int32_t top = std::max<int32_t>(frame.FrameTop, earlier.FrameTop);
  const int32_t right = std::min(int32_t{frame.FrameLeft} + frame.FrameWidth,
                                 int32_t{earlier.FrameLeft} + earlier.FrameWidth);
  const int32_t bottom = std::min(int32_t{frame.FrameTop} + frame.FrameHeight,
                                  int32_t{earlier.FrameTop} + earlier.FrameHeight);
  if (left >= right || top >= bottom) return;

  bool new_entry = false;
  int transparent = TransparentIndexOf(frame);
  if (transparent < 0) transparent = ChooseTransparentIndex(image, frame, new_entry);
  if (transparent < 0) return;
  const int earlier_transparent = TransparentIndexOf(earlier);
  TGIFColorMap& map = frame.ActiveMap();
  TGIFColorMap& earlier_map = earlier.ActiveMap();

  bool changed = false;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      const int shown = PixelAt(earlier, x, y);
      const int own = PixelAt(frame, x, y);
      if (shown == earlier_transparent || own == transparent) continue;
      if (!SameColor(map, own, earlier_map, shown)) continue;
      frame.Pixels()[int64_t{y - frame.FrameTop} * frame.FrameWidth + (x - frame.FrameLeft)] =
          static_cast<uint8_t>(transparent);
      changed = true;
    }
  }
  if (!changed) return;
  if (!frame.HasTransparency) {
    if (new_entry) {
      map.Grow(transparent + 1);
      map.SetEntryCount(transparent + 1);
      map.SetEntry(transparent, GIFColor{});
      map.Changed();
    }
    if (frame.FrameControl == nullptr) {
      frame.ExtensionBlocks.Add(std::make_unique<TGIFGraphicControlExtension>(&frame));
    }
    frame.FrameControl->SetTransparentIndex(static_cast<uint8_t>(transparent));
    frame.FrameControl->SetTransparencyFlag(true);
    frame.HasTransparency = true;
  }
  frame.FreeFrameBitmap();
  frame.FreeFrameMask();
}

// True when the frame's blocks are graphic control extensions only.
bool CarriesOnlyFrameControl(const TGIFSubImage& frame) {
  for (int i = 0; i < frame.ExtensionBlocks.Count(); ++i) {
    if (dynamic_cast<const TGIFGraphicControlExtension*>(&frame.ExtensionBlocks.Extension(i)) ==
        nullptr) {
      return false;
    }
  }
  return true;
}

// Crops the frame to its pixels that are not transparent; false when it has none.
bool TrimFrame(TGIFSubImage& frame) {
  const uint8_t index = frame.FrameControl->TransparentIndex();
  const int32_t width = frame.FrameWidth;
  const int32_t height = frame.FrameHeight;
  const uint8_t* pixels = frame.Pixels();
  int32_t x0 = width, y0 = height, x1 = -1, y1 = -1;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (pixels[int64_t{y} * width + x] == index) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  if (x1 < 0) return false;
  if (x0 == 0 && y0 == 0 && x1 == width - 1 && y1 == height - 1) return true;
  const std::vector<uint8_t> old(pixels, pixels + frame.PixelCount());
  frame.SetFrameBounds(static_cast<uint16_t>(frame.FrameLeft + x0),
                       static_cast<uint16_t>(frame.FrameTop + y0),
                       static_cast<uint16_t>(x1 - x0 + 1), static_cast<uint16_t>(y1 - y0 + 1));
  frame.AllocatePixels(0);
  for (int32_t y = y0; y <= y1; ++y) {
    std::copy_n(old.data() + int64_t{y} * width + x0, x1 - x0 + 1,
                frame.Pixels() + int64_t{y - y0} * frame.FrameWidth);
  }
  return true;
}

}  // namespace

void TidyDropRepeats(TidyRun& run) {
  TGIFImageList& frames = run.image.Frames();
  for (int n = frames.Count() - 1; n >= 1; --n) {
    ++run.done;
    DropRepeatsOf(run.image, n);
    run.Report();
  }
  if (frames.Count() > 0) ++run.done;
}

void TidyTrimBorders(TidyRun& run) {
  TGIFImageList& frames = run.image.Frames();
  for (int n = frames.Count() - 1; n >= 0; --n) {
    ++run.done;
    TGIFSubImage& frame = frames.SubImage(n);
    // A frame restored to the background clears its whole area, borders included, so
    // its area stays as it is.
    if (frame.IsEmpty() || !frame.HasTransparency || frame.FrameControl == nullptr ||
        DisposalOf(frame) == 2 ||
        frame.PixelCount() != int64_t{frame.FrameWidth} * frame.FrameHeight) {
      continue;
    }
    if (!TrimFrame(frame) && CarriesOnlyFrameControl(frame)) {
      // Transparent all over: it shows nothing; its time goes to the frame before.
      if (n > 0) {
        TGIFSubImage& previous = frames.SubImage(n - 1);
        if (previous.HasTransparency && previous.FrameControl != nullptr) {
          const int sum = previous.FrameControl->FrameDelay() + frame.FrameControl->FrameDelay();
          previous.FrameControl->SetFrameDelay(static_cast<uint16_t>(std::min(sum, 0xFFFF)));
        }
      }
      frames.Delete(n);
    }
    run.Report();
  }
}

}  // namespace zephlet
