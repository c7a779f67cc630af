// TidyFrames and its main clean-up: transparency no pixel uses, disposal the next frame
// makes pointless, and blocks, graphic control extensions and frames that carry nothing.
#include "gif/tidy_frames.h"

#include <algorithm>

#include "gif/extensions.h"
#include "gif/gif_error.h"
#include "gif/gif_image.h"
#include "graphics/mul_div.h"

namespace zephlet {

namespace {

// The disposal the painter applies: a frame without graphic control extension counts as 1.
int DisposalOf(const TGIFSubImage& frame) {
  return frame.FrameControl != nullptr ? frame.FrameControl->DisposalMode() : 1;
}

struct FrameRect {
  int32_t left, top, right, bottom;
  bool operator==(const FrameRect&) const = default;
};

FrameRect RectOf(const TGIFSubImage& frame) {
  return {frame.FrameLeft, frame.FrameTop, int32_t{frame.FrameLeft} + frame.FrameWidth,
          int32_t{frame.FrameTop} + frame.FrameHeight};
}

// The intersection of two rectangles, or none when they do not overlap.
bool Intersect(const FrameRect& a, const FrameRect& b, FrameRect& out) {
  out = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return out.left < out.right && out.top < out.bottom;
}

}  // namespace

void TidyRun::Report() {
  image.Progress(&image, ProgressStage::Running, graphics::mul_div(done, 100, total), false,
                 gif_msg::kOptimizing);
}

void TGIFImage::TidyFrames(uint8_t options, uint8_t color_reduction, uint8_t /*dither_mode*/,
                           int32_t /*reduction_bits*/) {
  if (frames_.Count() == 0) return;
  StopPainters();
  // No painter can be created while the frames change.
  auto lock = Painters.Lock();
  Progress(this, ProgressStage::Starting, 0, false, gif_msg::kOptimizing);
  TidyRun run{*this, 6 * frames_.Count(), 0};
  try {
    if ((options & SortColorMapsOption) != 0) TidySortColorMaps(run);
    if ((options & CleanUpOption) != 0) {
      TidyCleanUpTransparency(run);
      TidyCleanUpDisposal(run);
    } else {
      run.done += 2 * frames_.Count();
    }
    if ((options & DropRepeatsOption) != 0) {
      TidyDropRepeats(run);
    } else {
      run.done += frames_.Count();
    }
    if ((options & TrimBordersOption) != 0) {
      TidyTrimBorders(run);
    } else {
      run.done += frames_.Count();
    }
    run.done += frames_.Count();
    if ((options & CleanUpOption) != 0) {
      TidyCleanUpBlocks(run);
      run.Report();
    } else if ((options & ColorReductionOption) != 0 && color_reduction == kRefusedColorReduction) {
      RaiseGIFError(gif_msg::kInvalidReductionMethod);
    }
  } catch (...) {
    Progress(this, ProgressStage::Ending, 0, false, gif_msg::kOptimizing);
    throw;
  }
  Progress(this, ProgressStage::Ending, 100, false, gif_msg::kOptimizing);
}

void TidyCleanUpTransparency(TidyRun& run) {
  TGIFImageList& frames = run.image.Frames();
  for (int i = 0; i < frames.Count(); ++i) {
    ++run.done;
    TGIFSubImage& frame = frames.SubImage(i);
    if (!frame.HasTransparency || frame.FrameControl == nullptr) continue;
    const uint8_t index = frame.FrameControl->TransparentIndex();
    const uint8_t* pixels = frame.Pixels();
    if (pixels != nullptr &&
        std::find(pixels, pixels + frame.PixelCount(), index) != pixels + frame.PixelCount()) {
      continue;
    }
    // The index stays stored; only the flag goes.
    frame.FrameControl->SetTransparencyFlag(false);
    frame.HasTransparency = false;
    run.Report();
  }
}

void TidyCleanUpDisposal(TidyRun& run) {
  TGIFImageList& frames = run.image.Frames();
  for (int i = 0; i + 1 < frames.Count(); ++i) {
    ++run.done;
    TGIFSubImage& frame = frames.SubImage(i);
    const TGIFSubImage& next = frames.SubImage(i + 1);
    if (frame.FrameControl == nullptr) continue;
    const int disposal = frame.FrameControl->DisposalMode();
    if ((disposal != 2 && disposal != 3) || next.HasTransparency) continue;
    const FrameRect r1 = RectOf(frame);
    FrameRect common;
    if (!Intersect(r1, RectOf(next), common)) continue;
    // The disposal is pointless only when the next frame, drawn opaque, covers all of
    // this frame's area and leaves it covered: it must have pixels (an empty frame ends
    // the pass undrawn) and must not restore the picture from before it (disposal 3
    // would bring this frame's pixels back instead of the background).
    const int next_disposal = DisposalOf(next);
    if (common == r1 && !next.IsEmpty() && next_disposal >= 0 && next_disposal <= 2) {
      frame.FrameControl->SetDisposalMode(0);
    }
    run.Report();
  }
}

void TidyCleanUpBlocks(TidyRun& run) {
  TGIFImageList& frames = run.image.Frames();
  // The painter reads only the first loop block it meets; the others carry nothing.
  TGIFAppExtNSLoop* first_loop = nullptr;
  for (int n = 0; n < frames.Count() && first_loop == nullptr; ++n) {
    first_loop = frames.SubImage(n).ExtensionBlocks.FindFirst<TGIFAppExtNSLoop>();
  }
  for (int n = frames.Count() - 1; n >= 0; --n) {
    TGIFSubImage& frame = frames.SubImage(n);
    TGIFExtensionList& blocks = frame.ExtensionBlocks;
    for (int k = blocks.Count() - 1; k >= 0; --k) {
      TGIFExtension& block = blocks.Extension(k);
      bool drop = dynamic_cast<TGIFCommentExtension*>(&block) != nullptr ||
                  dynamic_cast<TGIFTextExtension*>(&block) != nullptr ||
                  dynamic_cast<TGIFUnknownAppExtension*>(&block) != nullptr;
      if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&block)) {
        drop = frames.Count() == 1 || (n > 0 && loop != first_loop);
      }
      if (drop) blocks.Delete(k);
    }
    const bool one_frame = frames.Count() == 1;
    if (const TGIFGraphicControlExtension* control = frame.FrameControl) {
      const int disposal = control->DisposalMode();
      if ((control->FrameDelay() == 0 || one_frame) && !control->TransparencyFlag() &&
          !control->WaitForInput() && (disposal == 0 || disposal == 1 || one_frame)) {
        blocks.Delete(blocks.IndexOf(control));
      }
    }
    if (frame.IsEmpty() && blocks.Count() == 0) frames.Delete(n);
  }
}

}  // namespace zephlet
