// Colour tables sorted by use: most used entry first, unused entries dropped from the end,
// the pixel indices renumbered to match.
#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "gif/extensions.h"
#include "gif/gif_image.h"
#include "gif/tidy_frames.h"

namespace zephlet {

namespace {

// Sorts `map` by how many pixels of `users` (the frames drawn with it) use each entry.
// Entries that something else refers to (the background index, the transparent indices)
// are kept even when no pixel uses them, and every such index is renumbered too, so the
// picture stays as it was.
void SortMap(TGIFColorMap& map, const std::vector<TGIFSubImage*>& users, uint8_t* background) {
  const int count = map.EntryCount();
  std::array<int64_t, 256> uses{};
  std::array<bool, 256> kept{};
  for (TGIFSubImage* frame : users) {
    const uint8_t* pixels = frame->Pixels();
    for (int32_t i = 0; pixels != nullptr && i < frame->PixelCount(); ++i) ++uses[pixels[i]];
    if (frame->FrameControl != nullptr) kept[frame->FrameControl->TransparentIndex()] = true;
  }
  if (background != nullptr) kept[*background] = true;

  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (uses[static_cast<size_t>(a)] != uses[static_cast<size_t>(b)]) {
      return uses[static_cast<size_t>(a)] > uses[static_cast<size_t>(b)];
    }
    return kept[static_cast<size_t>(a)] && !kept[static_cast<size_t>(b)];
  });

  std::array<uint8_t, 256> position{};
  std::iota(position.begin(), position.end(), uint8_t{0});
  std::vector<GIFColor> colors(static_cast<size_t>(count));
  int new_count = 0;
  for (int i = 0; i < count; ++i) {
    const auto old = static_cast<size_t>(order[static_cast<size_t>(i)]);
    position[old] = static_cast<uint8_t>(i);
    colors[static_cast<size_t>(i)] = map.Entry(static_cast<int>(old));
    if (uses[old] > 0 || kept[old]) new_count = i + 1;
  }
  for (int i = 0; i < count; ++i) map.SetEntry(i, colors[static_cast<size_t>(i)]);
  map.SetEntryCount(new_count);
  map.SetSorted(true);

  // Indices past the old table stay as they were: they were invalid and still are.
  const auto renumber = [&](uint8_t index) { return index < count ? position[index] : index; };
  for (TGIFSubImage* frame : users) {
    uint8_t* pixels = frame->Pixels();
    for (int32_t i = 0; pixels != nullptr && i < frame->PixelCount(); ++i) {
      pixels[i] = renumber(pixels[i]);
    }
    if (frame->FrameControl != nullptr) {
      frame->FrameControl->SetTransparentIndex(renumber(frame->FrameControl->TransparentIndex()));
    }
    frame->FreeFrameBitmap();
  }
  if (background != nullptr) *background = renumber(*background);
  map.Changed();
}

}  // namespace

void TidySortColorMaps(TidyRun& run) {
  TGIFImage& image = run.image;
  TGIFImageList& frames = image.Frames();
  TGIFGlobalColorMap& global = image.GlobalMap();
  if (frames.Count() > 0 && global.EntryCount() > 1) {
    std::vector<TGIFSubImage*> users;
    for (int i = 0; i < frames.Count(); ++i) {
      TGIFSubImage& frame = frames.SubImage(i);
      if (&frame.ActiveMap() == &global) users.push_back(&frame);
    }
    SortMap(global, users, &image.ScreenHeader().BackgroundIndex);
  }
  for (int i = 0; i < frames.Count(); ++i) {
    ++run.done;
    TGIFSubImage& frame = frames.SubImage(i);
    if (frame.LocalMap.EntryCount() <= 1) continue;
    SortMap(frame.LocalMap, {&frame}, nullptr);
    run.Report();
  }
}

}  // namespace zephlet
