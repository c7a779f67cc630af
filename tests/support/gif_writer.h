// Builds GIF streams for tests, byte by byte, so a test can make exactly the stream that
// shows a fault: real LZW coding with any minimum code size, hand-picked code sequences,
// chosen sub-block sizes, interlaced rows, extensions and raw bytes anywhere.
//
//   std::vector<uint8_t> gif = GifWriter()
//       .Header(4, 2, 4)                      // "GIF89a", 4 x 2 screen, 4-entry global table
//       .GraphicControl(0x01, 10, 3)          // transparency on, delay 10, index 3
//       .Image(0, 0, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0})
//       .Trailer()
//       .Data();
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zephlet::test {

using Bytes = std::vector<uint8_t>;

// Packs codes least significant bit first, each in the width given.
class BitPacker {
 public:
  void Put(int code, int width);
  // The packed bytes; a last partial byte is padded with zero bits.
  Bytes Finish() const;
  int BitCount() const { return bit_count_; }

 private:
  Bytes bytes_;
  int bit_count_ = 0;
};

// Tracks the code width the decoder reads with: it starts at min_code_size + 1, and every
// code that is not a clear code, not the first code after a clear code (or the start) and
// not the end code defines a table entry, which may widen the next code.
class CodeWidthTracker {
 public:
  explicit CodeWidthTracker(int min_code_size);
  int Width() const { return width_; }
  // Moves on past `code`, read with Width().
  void Advance(int code);

 private:
  int min_code_size_;
  int clear_;
  int width_;
  int next_free_;
  int width_limit_;
  bool after_clear_ = true;
};

// Packs a hand-made code sequence with the widths the decoder will read them with.
Bytes PackCodes(const std::vector<int>& codes, int min_code_size);

struct LzwOptions {
  bool initial_clear = true;    // start the data with a clear code
  bool end_code = true;         // end the data with the end code
  bool clear_when_full = true;  // false: go on with the full 4096-entry table, no clear code
};

// LZW-codes values (each below 2^min_code_size) into packed codes, without sub-blocks.
// Minimum code sizes 2 to 11 (below 2 the first table entry does not fit the first code
// width); hand-made codes of any size go through PackCodes.
Bytes LzwEncode(const Bytes& values, int min_code_size, const LzwOptions& options = {});

// Cuts data into sub-blocks: each a size byte and that many bytes. The sizes are taken from
// `sizes` in turn (the last one repeats); a terminator (size 0) follows when asked.
Bytes SubBlocks(const Bytes& data, const std::vector<int>& sizes = {255}, bool terminator = true);

// Rows of a width x height picture in interlaced order (rows 0, 8, ..; 4, 12, ..; 2, 6, ..;
// 1, 3, ..).
Bytes InterlaceRows(const Bytes& pixels, int width, int height);

// The smallest minimum code size (at least 2) whose literals hold every value.
int MinCodeSizeFor(const Bytes& values);

struct ImageDataOptions {
  int min_code_size = -1;            // -1: MinCodeSizeFor(pixels)
  std::vector<int> sub_blocks{255};  // sub-block sizes, as for SubBlocks
  LzwOptions lzw;
  bool terminator = true;
};

class GifWriter {
 public:
  // Signature, logical screen of w x h and, when global_colors > 0, a global table of that
  // many entries (a power of two from 2 to 256) from TestColor.
  GifWriter& Header(uint16_t width, uint16_t height, int global_colors = 0,
                    std::string_view signature = "GIF89a");
  GifWriter& Signature(std::string_view signature);
  // The 7-byte logical screen descriptor as given.
  GifWriter& Screen(uint16_t width, uint16_t height, uint8_t flags, uint8_t background = 0,
                    uint8_t aspect = 0);
  // `entries` colours from TestColor (3 bytes each), no size check.
  GifWriter& ColorTable(int entries);

  // Extensions (introducer 0x21 included).
  GifWriter& GraphicControl(uint8_t flags, uint16_t delay, uint8_t transparent_index);
  GifWriter& NetscapeLoop(uint16_t loop_count);
  // Application block: block size byte, signature bytes, then each data sub-block and 0x00.
  GifWriter& Application(std::string_view signature, const std::vector<Bytes>& sub_blocks,
                         int block_size = -1);  // -1: the signature's length
  GifWriter& Comment(std::string_view text);    // split into sub-blocks of at most 255
  GifWriter& PlainText(std::string_view text);  // a 12-byte text header, then the text

  GifWriter& ImageDescriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                             uint8_t flags = 0, uint8_t separator = 0x2C);
  // Minimum code size byte, then the coded pixels in sub-blocks. Pixels are in natural row
  // order; pass `interlace_width` and `interlace_height` to write them interlaced.
  GifWriter& ImageData(const Bytes& pixels, const ImageDataOptions& options = {},
                       int interlace_width = 0, int interlace_height = 0);
  // Descriptor (with a local table of local_colors entries when given) and image data;
  // flags bit 6 writes the rows interlaced.
  GifWriter& Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height,
                   const Bytes& pixels, uint8_t flags = 0, int local_colors = 0,
                   const ImageDataOptions& options = {});

  GifWriter& Raw(const Bytes& bytes);
  GifWriter& Byte(uint8_t value);
  GifWriter& Word(uint16_t value);  // little-endian
  GifWriter& Trailer();

  const test::Bytes& Data() const { return bytes_; }

 private:
  test::Bytes bytes_;
};

// The colour at `index` of tables written by GifWriter: red i, green 255 - i, blue 7i mod 256.
void TestColor(int index, uint8_t rgb[3]);
// The table size code (flags bits 0-2) for a table of `entries` entries, a power of two.
uint8_t TableSizeCode(int entries);

// A GIF shaped like the player's character: a 186 x 32 screen with 16 global colours, a
// "NETSCAPE2.0" block with loop count 0, a graphic control extension with flags 0x09
// (disposal 2, transparency), delay 3 and transparent index 15, one 186 x 32 frame with
// minimum code size 4 (pixels from CharacterPixels), and the trailer.
test::Bytes CharacterGif();
test::Bytes CharacterPixels();

}  // namespace zephlet::test
