#include "gif/gif_header.h"

#include <cstring>

#include "gif/gif_error.h"

namespace zephlet {

namespace {

// True when the first three bytes read "GIF" in any letter case; a 0x00 ends the text.
bool IsGIFSignature(const uint8_t* bytes) {
  static constexpr char kGIF[] = "GIF";
  for (int i = 0; i < 3; ++i) {
    if (bytes[i] == 0) return false;
    const int upper = bytes[i] >= 'a' && bytes[i] <= 'z' ? bytes[i] - 'a' + 'A' : bytes[i];
    if (upper != kGIF[i]) return false;
  }
  return true;
}

}  // namespace

void TGIFHeader::LoadFromStream(Stream& stream) {
  const int64_t start = stream.Position();
  uint8_t signature[6];
  ReadExact(stream, signature, sizeof signature);
  if (!IsGIFSignature(signature)) {
    // Some files carry four bytes in front of the signature.
    stream.SetPosition(start + 4);
    ReadExact(stream, signature, sizeof signature);
    if (!IsGIFSignature(signature)) RaiseGIFError(gif_msg::kInvalidSignature);
  }
  std::memcpy(Signature.data(), signature, sizeof signature);

  uint8_t descriptor[7];
  ReadExact(stream, descriptor, sizeof descriptor);
  LogicalWidth = static_cast<uint16_t>(descriptor[0] | (descriptor[1] << 8));
  LogicalHeight = static_cast<uint16_t>(descriptor[2] | (descriptor[3] << 8));
  ScreenFlags = descriptor[4];
  BackgroundIndex = descriptor[5];
  PixelAspect = descriptor[6];

  if (HasGlobalMap()) {
    GlobalMap.ReadTable(stream, 2 << (ScreenFlags & 7));
  } else {
    GlobalMap.Clear();
  }
  GlobalMap.Changed();
}

void TGIFHeader::SaveToStream(Stream& stream) {
  WriteBytes(stream, Signature[0] != 0 ? Signature.data() : "GIF89a", Signature.size());
  const uint8_t descriptor[7] = {static_cast<uint8_t>(LogicalWidth),
                                 static_cast<uint8_t>(LogicalWidth >> 8),
                                 static_cast<uint8_t>(LogicalHeight),
                                 static_cast<uint8_t>(LogicalHeight >> 8),
                                 ScreenFlags,
                                 BackgroundIndex,
                                 PixelAspect};
  WriteBytes(stream, descriptor, sizeof descriptor);
  if (HasGlobalMap()) {
    // The table size code decides how many entries the file holds; pad with black.
    const int n = 2 << (ScreenFlags & 7);
    for (int i = 0; i < n; ++i) {
      const GIFColor c = i < GlobalMap.EntryCount() ? GlobalMap.Entry(i) : GIFColor{};
      const uint8_t rgb[3] = {c.Red, c.Green, c.Blue};
      WriteBytes(stream, rgb, 3);
    }
  }
}

void TGIFHeader::Assign(const TGIFHeader& source) {
  if (&source == this) return;
  Signature = source.Signature;
  LogicalWidth = source.LogicalWidth;
  LogicalHeight = source.LogicalHeight;
  ScreenFlags = source.ScreenFlags;
  BackgroundIndex = source.BackgroundIndex;
  PixelAspect = source.PixelAspect;
  GlobalMap.Assign(source.GlobalMap);
}

void TGIFTrailer::LoadFromStream(Stream& stream) {
  uint8_t value = 0;
  if (ReadByte(stream, value) && value != 0x3B) ReportWarning(1, gif_msg::kInvalidTrailer);
}

void TGIFTrailer::SaveToStream(Stream& stream) {
  WriteByte(stream, 0x3B);
}

}  // namespace zephlet
