#include "decoders.h"

#include <stb/stb_image.h>

#include <climits>
#include <exception>

#include "gif/gif_image.h"
#include "gif_oracle/giflib_reference.h"

namespace zephlet::bench {

int64_t DecodeOurs(const uint8_t* data, size_t size) {
  TGIFImage image;
  ByteViewStream stream(data, size);
  try {
    image.LoadFromStream(stream);
  } catch (const std::exception&) {  // GIFException, or the reader's pixel limits
    return -1;
  }
  int64_t pixels = 0;
  for (int i = 0; i < image.Frames().Count(); ++i) pixels += image.Frames()[i].PixelCount();
  return pixels;
}

int64_t DecodeGiflib(const uint8_t* data, size_t size) {
  return oracle::SlurpPixelCount(data, size);
}

int64_t DecodeStb(const uint8_t* data, size_t size) {
  if (size > INT_MAX) return -1;
  int* delays = nullptr;
  int width = 0;
  int height = 0;
  int frames = 0;
  int channels = 0;
  stbi_uc* pixels = stbi_load_gif_from_memory(data, static_cast<int>(size), &delays, &width,
                                              &height, &frames, &channels, 4);
  if (pixels == nullptr) return -1;
  stbi_image_free(pixels);
  stbi_image_free(delays);
  return int64_t{width} * height * frames;
}

}  // namespace zephlet::bench
