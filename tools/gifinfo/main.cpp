// zephlet-gifinfo FILE: loads a GIF with the player's reader and prints what it read as JSON.
#include <cstdio>
#include <string>

#include "gif_info.h"

int main(int argc, char** argv) {
  std::string file_name;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!file_name.empty() || arg.empty() || (arg[0] == '-' && arg != "-")) {
      std::fprintf(stderr, "usage: zephlet-gifinfo FILE\n");
      return 2;
    }
    file_name = arg;
  }
  if (file_name.empty()) {
    std::fprintf(stderr, "usage: zephlet-gifinfo FILE\n");
    return 2;
  }
  const zephlet::GifInfo info = zephlet::LoadGifInfoFromFile(file_name);
  const std::string json = zephlet::GifInfoJson(info);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return info.error ? 1 : 0;
}
