// TGIFSubImage, one frame: its image descriptor, local colour table, extensions and decoded
// pixel indices; and TGIFImageList, the image's frames in file order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/color_map.h"
#include "gif/extension_list.h"
#include "gif/gif_item.h"

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
  // Rendering caches come later; a new frame wants a mask.
  bool MaskWanted = true;

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
