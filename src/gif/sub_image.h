// TGIFSubImage, one frame: its image descriptor, local colour table, extensions and decoded
// pixel indices; and TGIFImageList, the image's frames in file order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/color_map.h"
#include "gif/extension_list.h"
#include "gif/gif_item.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/geometry.h"
#include "graphics/palette.h"

namespace zephlet {

class TGIFGraphicControlExtension;

class TGIFSubImage : public TGIFItem {
 public:
  // A new frame is empty: descriptor zero, separator 0x2C, MaskWanted true.
  explicit TGIFSubImage(TGIFImage* image);
  ~TGIFSubImage() override;

  // The 10-byte image descriptor, in file order; the separator is stored, never checked.
  uint8_t Separator = 0x2C;
  uint16_t FrameLeft = 0;
  uint16_t FrameTop = 0;
  uint16_t FrameWidth = 0;
  uint16_t FrameHeight = 0;
  uint8_t FrameFlags = 0;  // bit 7 local table, 6 interlaced, 5 sort, 0-2 size

  TGIFLocalColorMap LocalMap;
  TGIFExtensionList ExtensionBlocks;
  // Set when a graphic control extension of this frame with its transparency flag is read.
  bool HasTransparency = false;
  // The first graphic control extension created for this frame; it lives in ExtensionBlocks.
  TGIFGraphicControlExtension* FrameControl = nullptr;
  // Rendering caches (frame_bitmap.cpp), built on first use and dropped when what they
  // were built from changes. The frame's 8-bit bitmap, or none.
  std::unique_ptr<graphics::Bitmap> CachedBitmap;
  // The monochrome transparency mask (bit 1 = transparent), or none; kept only when at
  // least one pixel is transparent.
  std::unique_ptr<graphics::Bitmap> MaskBitmap;
  // True until the next bitmap build; a build that finds it set (and HasTransparency)
  // makes the mask.
  bool MaskWanted = true;
  // The palette of the frame's bitmap, or none.
  graphics::PaletteHandle PaletteHandle;

  // The frame's bitmap, built on first use; none for an empty frame.
  graphics::Bitmap* FrameBitmap();
  // The palette for the frame's bitmap: the bitmap's own, PaletteHandle, the web cube
  // when dithering, the image palette when the local table is empty, else one made from
  // the local table (stored as PaletteHandle).
  graphics::PaletteHandle FramePalette();
  // Replaces PaletteHandle; a cached bitmap with another palette is dropped.
  void SetFramePalette(graphics::PaletteHandle palette);
  // Rebuilds bitmap and mask when a mask is still wanted; true when the frame has a mask.
  bool MaskReady();
  void FreeFrameBitmap();
  // Drops the mask and asks for a new one at the next build.
  void FreeFrameMask();
  // Sets position and size; a change of size drops bitmap and mask, a move keeps them.
  void SetFrameBounds(uint16_t left, uint16_t top, uint16_t width, uint16_t height);

  // The frame's rectangle on the logical screen mapped into `rect`.
  graphics::Rect ScaledFrameRect(const graphics::Rect& rect) const;
  // Draws the frame at ScaledFrameRect(rect), or, with `tile`, unscaled at its place in
  // every logical-screen-sized tile over rect. With `transparent` and a mask, the pixels
  // under the mask keep the canvas's pixels.
  //
  // Each call raises exactly one change notification of the canvas, whatever it drew
  // (one tile, many tiles, or nothing); a caller that groups changes in an UpdateScope
  // gets it at the end of its scope. The painter's one notification per frame rests on it.
  void DrawFrame(graphics::Canvas& canvas, const graphics::Rect& rect, bool tile, bool transparent);
  // Like DrawFrame, but the frame fills `rect` itself (tiles as in DrawFrame).
  void StretchDrawFrame(graphics::Canvas& canvas, const graphics::Rect& rect, bool tile,
                        bool transparent);

  // FrameWidth x FrameHeight colour indices, rows top to bottom; null when there are none.
  const uint8_t* Pixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }
  uint8_t* Pixels() { return pixels_.empty() ? nullptr : pixels_.data(); }
  int32_t PixelCount() const { return static_cast<int32_t>(pixels_.size()); }
  // Frees Pixels and allocates FrameWidth x FrameHeight bytes of `fill` (none when the
  // product is 0). Past the limits of gif_limits.h it raises OutOfMemoryError first.
  void AllocatePixels(uint8_t fill);
  void FreePixels();

  bool IsInterlaced() const { return (FrameFlags & 0x40) != 0; }
  bool HasLocalMap() const { return (FrameFlags & 0x80) != 0; }
  bool IsEmpty() const;
  // LocalMap when it has entries, else the global map when it has entries, else LocalMap.
  TGIFColorMap& ActiveMap();

  // Short names of the descriptor fields, for readers of the object model.
  int Left() const { return FrameLeft; }
  int Top() const { return FrameTop; }
  int Width() const { return FrameWidth; }
  int Height() const { return FrameHeight; }
  bool Interlaced() const { return IsInterlaced(); }

  // Frees extensions, local map and pixels; width, height, transparency and the frame
  // control are reset. The image's logical screen is never changed.
  void Clear();
  // Reads extensions, then an image descriptor, local table and image data when one follows.
  void LoadFromStream(Stream& stream) override;
  // Writes the extensions; image data belongs to the writing half and raises GIFException.
  void SaveToStream(Stream& stream) override;
  // Copies another frame (an empty source gives an empty frame without extensions).
  void Assign(const TGIFSubImage& source);

 private:
  std::vector<uint8_t> pixels_;
};

class TGIFImageList : public TGIFList {
 public:
  explicit TGIFImageList(TGIFImage* image) : TGIFList(image) {}

  TGIFSubImage& SubImage(int index) const;
  TGIFSubImage& operator[](int index) const { return SubImage(index); }

  // Reads frames until the trailer byte (left unread), an unknown block type or the end.
  void LoadFromStream(Stream& stream, TGIFObject* parent) override;
};

}  // namespace zephlet
