// The clean-up of an image before display (TGIFImage::TidyFrames): its options and the
// steps that carry them out.
#pragma once

#include <cstdint>

namespace zephlet {

class TGIFImage;

// TidyOptions: an 8-bit set.
inline constexpr uint8_t TrimBordersOption = 0x01;     // crop transparent borders
inline constexpr uint8_t DropRepeatsOption = 0x02;     // pixels repeating the earlier frame
inline constexpr uint8_t CleanUpOption = 0x04;         // blocks, transparency, disposal, frames
inline constexpr uint8_t SortColorMapsOption = 0x08;   // colour tables ordered by use
inline constexpr uint8_t ColorReductionOption = 0x10;  // checks the reduction argument only

// The colour-reduction argument that TidyFrames refuses (without CleanUpOption).
inline constexpr uint8_t kRefusedColorReduction = 9;

namespace gif_msg {
inline constexpr const char* kOptimizing = "Optimizing...";
inline constexpr const char* kInvalidReductionMethod = "Invalid reduction method";
}  // namespace gif_msg

// The counters of one run: Total = 6 x the frame count at the start; every report gives
// MulDiv(Done, 100, Total).
struct TidyRun {
  TGIFImage& image;
  int32_t total = 0;
  int32_t done = 0;
  // A running progress report.
  void Report();
};

// The steps, each over the image's frames as they are at that moment.
void TidyCleanUpTransparency(TidyRun& run);  // phase 1
void TidyCleanUpDisposal(TidyRun& run);      // phase 2
void TidyCleanUpBlocks(TidyRun& run);        // phase 3
void TidySortColorMaps(TidyRun& run);
void TidyDropRepeats(TidyRun& run);
void TidyTrimBorders(TidyRun& run);

}  // namespace zephlet
