// The paint option set: 16 bits, bit n is member n. An image's PaintOptions and every
// painter's Options have this type.
#pragma once

#include <cstdint>

namespace zephlet {

using TGIFPaintOptions = uint16_t;

// Runs on a thread of its own; drawing and events are handed to the main thread.
inline constexpr TGIFPaintOptions ThreadedOption = 0x0001;
// Frames are drawn through their masks; restores copy from the backdrop.
inline constexpr TGIFPaintOptions TransparentOption = 0x0002;
// Every frame is painted in turn; without it a pass paints one frame.
inline constexpr TGIFPaintOptions AnimateOption = 0x0004;
// Passes repeat while the loop count allows.
inline constexpr TGIFPaintOptions LoopOption = 0x0008;
// With AnimateOption and LoopOption: passes repeat without end.
inline constexpr TGIFPaintOptions LoopForeverOption = 0x0010;
// The painter ends itself once its target has no drawing surface any more.
inline constexpr TGIFPaintOptions CheckTargetOption = 0x0020;
// The image's Draw paints straight onto the caller's canvas instead of its draw cache.
inline constexpr TGIFPaintOptions DirectOption = 0x0040;
// Frame 0's area is restored to the background before frame 0 is drawn.
inline constexpr TGIFPaintOptions ClearAtStartOption = 0x0080;
// Frames, restores and the draw cache repeat at the image's size instead of scaling.
inline constexpr TGIFPaintOptions TileOption = 0x0100;
// Frame bitmaps are rendered dithered (read from the image's PaintOptions only).
inline constexpr TGIFPaintOptions DitherOption = 0x0200;
// With DitherOption: dither only on a paletted display.
inline constexpr TGIFPaintOptions AutoDitherOption = 0x0400;

// The player's capture options: threaded, transparent, animate, loop, loop forever,
// direct, dither and auto-dither.
inline constexpr TGIFPaintOptions kCapturePaintOptions = 0x065F;

constexpr bool HasOption(TGIFPaintOptions options, TGIFPaintOptions option) {
  return (options & option) != 0;
}

}  // namespace zephlet
