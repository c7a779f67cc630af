// Loads arbitrary bytes as a GIF, then copies what loaded. Neither may crash, and the pixel
// buffers must match the frames that own them.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>

#include "gif/gif_image.h"
#include "gif/gif_limits.h"

namespace {

// Pixels one run may allocate. The rest of the image limit is reserved up front, so large
// frames fail on the limit (a path worth running too) instead of slowing every run down.
constexpr int64_t kRunPixels = int64_t{4} * 1024 * 1024;
constexpr int64_t kReserved = zephlet::kMaxImagePixels - kRunPixels;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckFrames(const zephlet::TGIFImage& image) {
  int64_t total = 0;
  for (int i = 0; i < image.Frames().Count(); ++i) {
    const zephlet::TGIFSubImage& frame = image.Frames()[i];
    const int64_t count = frame.PixelCount();
    Check(count == 0 || count == int64_t{frame.FrameWidth} * frame.FrameHeight);
    Check(count <= zephlet::kMaxFramePixels);
    total += count;
  }
  Check(total + kReserved == image.AllocatedPixels());
  Check(total <= kRunPixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zephlet::ByteViewStream stream(data, size);
  zephlet::TGIFImage image;
  image.ReservePixels(kReserved);
  int warnings = 0;
  image.OnGIFWarning = [&warnings](zephlet::TGIFObject*, int, const std::string&) { ++warnings; };
  try {
    image.LoadFromStream(stream);
  } catch (const std::bad_alloc&) {
  } catch (const std::exception&) {
  }
  CheckFrames(image);

  zephlet::TGIFImage copy;
  copy.ReservePixels(kReserved);
  try {
    copy.Assign(&image);
    Check(copy.Frames().Count() == image.Frames().Count());
  } catch (const std::bad_alloc&) {
  } catch (const std::exception&) {
  }
  CheckFrames(copy);
  for (int i = 0; i < copy.Frames().Count(); ++i) {
    zephlet::TGIFSubImage& frame = copy.Frames()[i];
    if (frame.Pixels() != nullptr && frame.ActiveMap().EntryCount() > 0) {
      (void)frame.ActiveMap().MapColor(frame.Pixels()[0]);
    }
  }
  return 0;
}
