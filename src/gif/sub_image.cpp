#include "gif/sub_image.h"

#include <algorithm>

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/gif_image.h"
#include "gif/gif_limits.h"
#include "gif/lzw_decoder.h"

namespace zephlet {

TGIFSubImage::TGIFSubImage(TGIFImage* image)
    : TGIFItem(image), LocalMap(this), ExtensionBlocks(this) {}

TGIFSubImage::~TGIFSubImage() {
  // Extensions reach back into the frame when freed, so they go while it is whole.
  ExtensionBlocks.Clear();
  FreePixels();
}

void TGIFSubImage::AllocatePixels(uint8_t fill) {
  FreePixels();
  // 64-bit arithmetic: 65535 x 65535 does not fit a 32-bit size.
  const int64_t count = int64_t{FrameWidth} * int64_t{FrameHeight};
  if (count == 0) return;
  if (count > kMaxFramePixels) throw OutOfMemoryError();
  if (Image() != nullptr) Image()->ReservePixels(count);
  try {
    pixels_.assign(static_cast<size_t>(count), fill);
  } catch (...) {
    if (Image() != nullptr) Image()->ReleasePixels(count);
    throw;
  }
}

void TGIFSubImage::FreePixels() {
  if (pixels_.empty()) return;
  if (Image() != nullptr) Image()->ReleasePixels(static_cast<int64_t>(pixels_.size()));
  std::vector<uint8_t>().swap(pixels_);
}

bool TGIFSubImage::IsEmpty() const {
  return pixels_.empty() || FrameWidth == 0 || FrameHeight == 0;
}

TGIFColorMap& TGIFSubImage::ActiveMap() {
  if (LocalMap.EntryCount() > 0) return LocalMap;
  if (Image() != nullptr && Image()->GlobalMap().EntryCount() > 0) return Image()->GlobalMap();
  return LocalMap;
}

void TGIFSubImage::Clear() {
  FreeFrameBitmap();
  FreeFrameMask();
  ExtensionBlocks.Clear();
  LocalMap.Clear();
  LocalMap.Changed();
  FreePixels();
  FrameWidth = 0;
  FrameHeight = 0;
  HasTransparency = false;
  FrameControl = nullptr;
}

void TGIFSubImage::LoadFromStream(Stream& stream) {
  Clear();
  ExtensionBlocks.LoadFromStream(stream, this);

  uint8_t next = 0;
  if (!ReadByte(stream, next)) return;  // extensions only, at the end of the data
  stream.Seek(-1);
  if (next == 0x3B || next == 0x00) return;  // extensions only

  // Any other byte starts an image descriptor; the separator is kept, not checked.
  uint8_t descriptor[10];
  ReadExact(stream, descriptor, sizeof descriptor);
  Separator = descriptor[0];
  FrameLeft = static_cast<uint16_t>(descriptor[1] | (descriptor[2] << 8));
  FrameTop = static_cast<uint16_t>(descriptor[3] | (descriptor[4] << 8));
  FrameWidth = static_cast<uint16_t>(descriptor[5] | (descriptor[6] << 8));
  FrameHeight = static_cast<uint16_t>(descriptor[7] | (descriptor[8] << 8));
  FrameFlags = descriptor[9];

  if (FrameWidth == 0 || FrameHeight == 0) {
    if (Image() != nullptr) {
      FrameHeight = Image()->ScreenHeader().LogicalHeight;
      FrameWidth = Image()->ScreenHeader().LogicalWidth;
    }
    ReportWarning(1, gif_msg::kImageExceedsScreen);
  }

  if (HasLocalMap()) {
    LocalMap.ReadTable(stream, 2 << (FrameFlags & 7));
    LocalMap.Changed();
  }

  DecodeFrameData(*this, stream);
}

void TGIFSubImage::SaveToStream(Stream& stream) {
  ExtensionBlocks.SaveToStream(stream);
  if (!IsEmpty()) RaiseGIFError(gif_msg::kWriteNotSupported);
}

void TGIFSubImage::Assign(const TGIFSubImage& source) {
  if (&source == this) return;
  Clear();
  if (source.IsEmpty()) return;

  Separator = source.Separator;
  FrameLeft = source.FrameLeft;
  FrameTop = source.FrameTop;
  FrameWidth = source.FrameWidth;
  FrameHeight = source.FrameHeight;
  FrameFlags = source.FrameFlags;
  HasTransparency = source.HasTransparency;

  AllocatePixels(0);
  const int32_t count = std::min(PixelCount(), source.PixelCount());
  if (count > 0) std::copy_n(source.Pixels(), count, Pixels());

  LocalMap.Assign(source.LocalMap);

  if (source.ExtensionBlocks.Count() > 0) {
    // The extensions travel through their written form, so this frame gets its own.
    MemoryStream buffer;
    for (int i = 0; i < source.ExtensionBlocks.Count(); ++i) {
      source.ExtensionBlocks.Extension(i).SaveToStream(buffer);
    }
    buffer.SetPosition(0);
    ExtensionBlocks.LoadFromStream(buffer, this);
  }

  // The bitmap is copied, the mask is not: MaskWanted stays set, so the first transparent
  // drawing of the copy rebuilds both.
  if (source.CachedBitmap) CachedBitmap = std::make_unique<graphics::Bitmap>(*source.CachedBitmap);
}

TGIFSubImage& TGIFImageList::SubImage(int index) const {
  return static_cast<TGIFSubImage&>(Item(index));
}

namespace {

// Reads the next byte that is not 0x00; false when the stream ends first.
bool ReadBlockStart(Stream& stream, uint8_t& value) {
  do {
    if (!ReadByte(stream, value)) return false;
  } while (value == 0x00);
  return true;
}

}  // namespace

void TGIFImageList::LoadFromStream(Stream& stream, TGIFObject* parent) {
  auto* image = dynamic_cast<TGIFImage*>(parent);
  if (image == nullptr) image = Image();
  uint8_t value = 0;
  if (!ReadBlockStart(stream, value)) return;
  while (value != 0x3B) {
    stream.Seek(-1);
    if (value != 0x21 && value != 0x2C) {
      ReportWarning(1, gif_msg::kUnknownBlockType);
      return;  // the trailer read follows at this byte
    }
    // A frame that fails is freed on the way out; the frames before it stay.
    auto frame = std::make_unique<TGIFSubImage>(image);
    frame->LoadFromStream(stream);
    Add(std::move(frame));
    if (image != nullptr) {
      image->Progress(this, ProgressStage::Running, PercentOf(stream.Position(), stream.Size()),
                      RenderOnLoad, "Loading...");
    }
    if (!ReadBlockStart(stream, value)) return;
  }
  stream.Seek(-1);
}

}  // namespace zephlet
