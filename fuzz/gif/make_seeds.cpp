// Writes the seed corpus of the GIF fuzzer: small GIFs that reach every kind of block.
//   gif_fuzz_seeds DIR
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/gif_writer.h"

using zephlet::test::Bytes;
using zephlet::test::GifWriter;
using zephlet::test::ImageDataOptions;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gif_fuzz_seeds DIR\n");
    return 2;
  }
  const Bytes pixels = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 1, 1, 2, 2, 2, 2};
  ImageDataOptions small_blocks;
  small_blocks.sub_blocks = {1, 2, 3};
  ImageDataOptions no_clear;
  no_clear.lzw.initial_clear = false;
  no_clear.lzw.end_code = false;
  ImageDataOptions wide;
  wide.min_code_size = 9;

  std::vector<std::pair<std::string, Bytes>> seeds = {
      {"character.gif", zephlet::test::CharacterGif()},
      {"two-frames.gif", GifWriter()
                             .Header(4, 4, 4)
                             .NetscapeLoop(0)
                             .GraphicControl(0x09, 3, 3)
                             .Image(0, 0, 4, 4, pixels)
                             .GraphicControl(0x04, 5, 0)
                             .Image(1, 1, 2, 2, {1, 2, 3, 0}, 0, 4)
                             .Trailer()
                             .Data()},
      {"interlaced.gif",
       GifWriter().Header(2, 8, 4).Image(0, 0, 2, 8, pixels, 0x40).Trailer().Data()},
      {"sub-blocks.gif",
       GifWriter().Header(4, 4, 4).Image(0, 0, 4, 4, pixels, 0, 0, small_blocks).Data()},
      {"no-clear.gif",
       GifWriter().Header(4, 4, 4).Image(0, 0, 4, 4, pixels, 0, 0, no_clear).Data()},
      {"code-size-9.gif",
       GifWriter().Header(4, 4, 4, "gif87a").Image(0, 0, 4, 4, pixels, 0, 0, wide).Data()},
      {"extensions.gif", GifWriter()
                             .Header(4, 4, 2)
                             .Comment("hello")
                             .PlainText("text")
                             .Application("ANIMEXTS1.0", {{1, 2, 0}, {2, 0, 1, 0, 0}})
                             .Application("XMP DataXMP", {{1, 2, 3}})
                             .Application("ABCDEFGHIJ", {{4}}, 10)
                             .Byte(0)
                             .Image(0, 0, 0, 4, pixels)
                             .Comment("tail")
                             .Trailer()
                             .Data()},
      {"offset.gif",
       GifWriter().Raw({1, 2, 3, 4}).Header(2, 2).Image(0, 0, 2, 2, {0, 1, 1, 0}).Data()},
  };
  for (const auto& [name, bytes] : seeds) {
    const std::string path = std::string(argv[1]) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(file);
  }
  return 0;
}
