// zephlet-gifinfo --frames: the pictures the player's capture takes of a GIF, one BMP per
// painted frame of the painter's first pass.
#pragma once

#include <string>

namespace zephlet {

// Loads `file_name`, tidies it with CleanUpOption and paints it as the player's capture
// does (a white 32-bit bitmap of the logical screen, options 1631, speed 1000), writing
// every picture of the first pass to dir/frame-NNN.bmp (24 bits, NNN from 000).
// Returns 0 when done, 1 when the GIF cannot be loaded (nothing is written) or a file
// cannot be written; the message goes to stderr.
int WriteCapturedFrames(const std::string& dir, const std::string& file_name);

}  // namespace zephlet
