#include "gif_oracle/giflib_reference.h"

#include <gif_lib.h>

#include <cstring>
#include <string>

namespace zephlet::oracle {
namespace {

struct MemoryInput {
  const uint8_t* data;
  size_t size;
  size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  size_t n = static_cast<size_t>(count);
  if (n > input->size - input->position) n = input->size - input->position;
  std::memcpy(buffer, input->data + input->position, n);
  input->position += n;
  return static_cast<int>(n);
}

std::vector<uint8_t> ColorBytes(const ColorMapObject* map) {
  std::vector<uint8_t> out;
  if (map == nullptr) return out;
  for (int i = 0; i < map->ColorCount; ++i) {
    out.push_back(map->Colors[i].Red);
    out.push_back(map->Colors[i].Green);
    out.push_back(map->Colors[i].Blue);
  }
  return out;
}

// giflib's text for an error code; it has none for some codes (0 among them, which
// DGifSlurp leaves when it rejects a zero-sized image).
std::string ErrorText(int code) {
  const char* text = GifErrorString(code);
  return text != nullptr ? text : "giflib error " + std::to_string(code);
}

// Opens and slurps; on success returns the file, else nullptr with `error` set.
GifFileType* Slurp(MemoryInput& input, std::string& error) {
  int code = 0;
  GifFileType* gif = DGifOpen(&input, ReadFromMemory, &code);
  if (gif == nullptr) {
    error = ErrorText(code);
    return nullptr;
  }
  if (DGifSlurp(gif) != GIF_OK) {
    error = ErrorText(gif->Error);
    DGifCloseFile(gif, &code);
    return nullptr;
  }
  return gif;
}

// The loop count of the first loop block ("NETSCAPE2.0" or "ANIMEXTS1.0") among an image's
// extensions, or -1. giflib keeps the block's data sub-blocks as continuation blocks after
// it; a sub-block whose identifier (low 3 bits) is 1 holds the count, and a later one wins.
int LoopCountOf(const SavedImage& image) {
  for (int e = 0; e < image.ExtensionBlockCount; ++e) {
    const ExtensionBlock& block = image.ExtensionBlocks[e];
    if (block.Function != APPLICATION_EXT_FUNC_CODE || block.ByteCount != 11) continue;
    const std::string signature(reinterpret_cast<const char*>(block.Bytes), 11);
    if (signature != "NETSCAPE2.0" && signature != "ANIMEXTS1.0") continue;
    int loop = 0;
    for (int d = e + 1; d < image.ExtensionBlockCount; ++d) {
      const ExtensionBlock& data = image.ExtensionBlocks[d];
      if (data.Function != CONTINUE_EXT_FUNC_CODE) break;
      if (data.ByteCount >= 3 && (data.Bytes[0] & 7) == 1) {
        loop = data.Bytes[1] | (data.Bytes[2] << 8);
      }
    }
    return loop;
  }
  return -1;
}

}  // namespace

DecodedGif DecodeWithGiflib(const std::vector<uint8_t>& bytes) {
  DecodedGif out;
  MemoryInput input{bytes.data(), bytes.size()};
  GifFileType* gif = Slurp(input, out.error);
  if (gif == nullptr) {
    out.outcome = DecodeOutcome::OtherError;
    return out;
  }

  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.background = gif->SBackGroundColor;
  out.global_colors = ColorBytes(gif->SColorMap);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    if (out.loop_count < 0) out.loop_count = LoopCountOf(image);
    DecodedFrame frame;
    frame.left = image.ImageDesc.Left;
    frame.top = image.ImageDesc.Top;
    frame.width = image.ImageDesc.Width;
    frame.height = image.ImageDesc.Height;
    frame.interlaced = image.ImageDesc.Interlace;
    frame.local_colors = ColorBytes(image.ImageDesc.ColorMap);
    frame.indices.assign(image.RasterBits,
                         image.RasterBits + static_cast<size_t>(frame.width) * frame.height);
    // Like our reader, giflib takes the first graphic control extension before the image.
    GraphicsControlBlock control;
    if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
      frame.has_control = true;
      frame.disposal = control.DisposalMode;
      frame.delay = control.DelayTime;
      frame.transparent = control.TransparentColor;
    }
    out.frames.push_back(std::move(frame));
  }
  int code = 0;
  DGifCloseFile(gif, &code);
  return out;
}

int64_t SlurpPixelCount(const uint8_t* data, size_t size) {
  MemoryInput input{data, size};
  std::string error;
  GifFileType* gif = Slurp(input, error);
  if (gif == nullptr) return -1;
  int64_t pixels = 0;
  for (int i = 0; i < gif->ImageCount; ++i) {
    pixels += int64_t{gif->SavedImages[i].ImageDesc.Width} * gif->SavedImages[i].ImageDesc.Height;
  }
  int code = 0;
  DGifCloseFile(gif, &code);
  return pixels;
}

}  // namespace zephlet::oracle
