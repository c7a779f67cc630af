// zephlet-gifinfo FILE: loads a GIF with the player's reader and prints what it read as JSON.
// Exit status: 0 loaded, 1 the load failed (the frames read before the error are printed),
// 2 wrong arguments.
#include <cstdio>
#include <optional>
#include <string>

#include "gif_info.h"

namespace {

struct Options {
  std::string file_name;
};

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
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
    std::fprintf(stderr, "usage: zephlet-gifinfo FILE\n");
    return 2;
  }
  const zephlet::GifInfo info = zephlet::LoadGifInfoFromFile(options->file_name);
  const std::string json = zephlet::GifInfoJson(info);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return info.error ? 1 : 0;
}
