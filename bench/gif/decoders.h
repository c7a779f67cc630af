// The three decoders the benchmark times on the same bytes. Each decodes every frame and
// returns the number of pixels it produced, or -1 when it rejects the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zephlet::bench {

// Our reader: TGIFImage::LoadFromStream, colour indices of every frame.
int64_t DecodeOurs(const uint8_t* data, size_t size);
// giflib's DGifSlurp: colour indices of every frame.
int64_t DecodeGiflib(const uint8_t* data, size_t size);
// stb_image's stbi_load_gif_from_memory: every frame composed onto the canvas as RGBA, so
// its pixel count is frames x canvas.
int64_t DecodeStb(const uint8_t* data, size_t size);

}  // namespace zephlet::bench
