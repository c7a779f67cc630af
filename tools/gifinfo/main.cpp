// zephlet-gifinfo FILE: loads a GIF with the player's reader and prints what it read as JSON.
// zephlet-gifinfo --frames DIR FILE: writes the pictures the player's capture takes of it
// to DIR/frame-NNN.bmp instead.
// Exit status: 0 loaded, 1 the load failed (the frames read before the error are printed;
// with --frames nothing is written), 2 wrong arguments.
#include <cstdio>
#include <optional>
#include <string>

#include "capture_frames.h"
#include "gif_info.h"

namespace {

struct Options {
  std::string file_name;
  std::optional<std::string> frames_dir;
};

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--frames" && !options.frames_dir && i + 1 < argc) {
      options.frames_dir = argv[++i];
      continue;
    }
    if (arg.empty() || arg[0] == '-' || !options.file_name.empty()) return std::nullopt;
    options.file_name = arg;
  }
  if (options.file_name.empty()) return std::nullopt;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: zephlet-gifinfo [--frames DIR] FILE\n");
    return 2;
  }
  if (options->frames_dir) {
    return zephlet::WriteCapturedFrames(*options->frames_dir, options->file_name);
  }
  const zephlet::GifInfo info = zephlet::LoadGifInfoFromFile(options->file_name);
  const std::string json = zephlet::GifInfoJson(info);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return info.error ? 1 : 0;
}
