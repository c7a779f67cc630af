// The logical screen descriptor with the global colour table, and the trailer.
#pragma once

#include <array>
#include <cstdint>

#include "gif/color_map.h"
#include "gif/gif_item.h"

namespace zephlet {

class TGIFHeader : public TGIFItem {
 public:
  explicit TGIFHeader(TGIFImage* image) : TGIFItem(image), GlobalMap(this) {}

  // The six signature bytes as read ("GIF" and the version, which is never checked);
  // zero until a signature has been read.
  std::array<char, 6> Signature{};
  // The 7-byte logical screen descriptor, in file order.
  uint16_t LogicalWidth = 0;
  uint16_t LogicalHeight = 0;
  uint8_t ScreenFlags = 0;  // bit 7 global table, 4-6 colour resolution, 3 sort, 0-2 size
  uint8_t BackgroundIndex = 0;
  uint8_t PixelAspect = 0;
  TGIFGlobalColorMap GlobalMap;

  bool HasGlobalMap() const { return (ScreenFlags & 0x80) != 0; }

  // Reads the signature (also 4 bytes further on), the descriptor and the global table.
  void LoadFromStream(Stream& stream) override;
  // Writes the signature, the descriptor and the global table.
  void SaveToStream(Stream& stream) override;
  // Copies the seven descriptor bytes, the signature and the global map.
  void Assign(const TGIFHeader& source);
};

class TGIFTrailer : public TGIFItem {
 public:
  explicit TGIFTrailer(TGIFImage* image) : TGIFItem(image) {}
  // Reads one byte; a byte other than 0x3B reports "Invalid Image trailer".
  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) override;
};

}  // namespace zephlet
