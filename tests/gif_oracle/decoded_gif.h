// What a decoder made of a GIF, in plain structures that tests compare between our reader,
// giflib and the peer suites' expectations.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace zephlet::oracle {

struct DecodedFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  std::vector<uint8_t> local_colors;  // red, green, blue per entry; empty without a table
  std::vector<uint8_t> indices;       // width x height, rows top to bottom
  bool has_control = false;           // a graphic control extension precedes the image
  int disposal = 0;                   // of the first graphic control extension
  int delay = 0;
  int transparent = -1;  // -1 when the transparency flag is clear
};

enum class DecodeOutcome { Loaded, GifError, OutOfMemory, OtherError };
std::ostream& operator<<(std::ostream& out, DecodeOutcome outcome);

struct DecodedGif {
  int width = 0;
  int height = 0;
  int background = 0;
  std::vector<uint8_t> global_colors;
  std::vector<DecodedFrame> frames;  // the frames that hold an image, file order
  int frames_without_image = 0;      // our reader's frames without pixels (extensions only)
  int loop_count = -1;               // of the first loop extension; -1 without one
  std::vector<std::string> warnings;
  DecodeOutcome outcome = DecodeOutcome::Loaded;
  std::string error;  // the error's message when the load failed
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);

}  // namespace zephlet::oracle
