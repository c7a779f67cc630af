#include "gif_oracle/reader_frames.h"

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/gif_image.h"

namespace zephlet::oracle {
namespace {

std::vector<uint8_t> ColorBytes(const TGIFColorMap& map) {
  return std::vector<uint8_t>(map.Entries(), map.Entries() + 3 * map.EntryCount());
}

DecodedFrame FrameOf(const TGIFSubImage& sub) {
  DecodedFrame frame;
  frame.left = sub.FrameLeft;
  frame.top = sub.FrameTop;
  frame.width = sub.FrameWidth;
  frame.height = sub.FrameHeight;
  frame.interlaced = sub.IsInterlaced();
  frame.local_colors = ColorBytes(sub.LocalMap);
  frame.indices.assign(sub.Pixels(), sub.Pixels() + sub.PixelCount());
  if (const TGIFGraphicControlExtension* control = sub.FrameControl) {
    frame.has_control = true;
    frame.disposal = control->DisposalMode();
    frame.delay = control->FrameDelay();
    frame.transparent = control->TransparencyFlag() ? control->TransparentIndex() : -1;
  }
  return frame;
}

void Collect(const TGIFImage& image, DecodedGif& out) {
  const TGIFHeader& header = image.ScreenHeader();
  out.width = header.LogicalWidth;
  out.height = header.LogicalHeight;
  out.background = header.BackgroundIndex;
  out.global_colors = ColorBytes(header.GlobalMap);
  const TGIFImageList& frames = image.Frames();
  for (int i = 0; i < frames.Count(); ++i) {
    const TGIFSubImage& sub = frames[i];
    if (out.loop_count < 0) {
      if (const auto* loop = sub.ExtensionBlocks.FindFirst<TGIFAppExtNSLoop>()) {
        out.loop_count = loop->LoopCount;
      }
    }
    if (sub.IsEmpty()) {
      ++out.frames_without_image;
    } else {
      out.frames.push_back(FrameOf(sub));
    }
  }
}

}  // namespace

DecodedGif DecodeWithReader(const std::vector<uint8_t>& bytes) {
  DecodedGif out;
  TGIFImage image;
  image.OnGIFWarning = [&out](TGIFObject*, int, const std::string& message) {
    out.warnings.push_back(message);
  };
  ByteViewStream stream(bytes);
  try {
    image.LoadFromStream(stream);
  } catch (const GIFException& error) {
    out.outcome = DecodeOutcome::GifError;
    out.error = error.what();
  } catch (const OutOfMemoryError& error) {
    out.outcome = DecodeOutcome::OutOfMemory;
    out.error = error.what();
  } catch (const std::exception& error) {
    out.outcome = DecodeOutcome::OtherError;
    out.error = error.what();
  }
  Collect(image, out);
  return out;
}

}  // namespace zephlet::oracle
