// What zephlet-gifinfo reports about a GIF: loading with the warnings collected, and the
// report as one JSON object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gif/gif_image.h"
#include "gif/stream.h"

namespace zephlet {

struct GifInfo {
  std::unique_ptr<TGIFImage> image;
  std::vector<std::string> warnings;
  std::optional<std::string> error;  // the message of the error that ended the load
};

// Loads a GIF with our reader, collecting every warning and the error, if any.
GifInfo LoadGifInfo(Stream& stream);
GifInfo LoadGifInfoFromFile(const std::string& file_name);

// FNV-1a, 64 bits.
uint64_t Fnv1a64(const uint8_t* data, size_t size);

// {"signature", "width", "height", "global_colors", "background", "frames": [...],
//  "warnings": [...], "error": null or "message"}; one frame per entry of the frame list.
std::string GifInfoJson(const GifInfo& info);

}  // namespace zephlet
