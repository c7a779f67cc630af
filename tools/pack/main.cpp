// zephlet-pack: writes a player file from a player program and a character.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "player_file_writer.h"

namespace {

using zephlet::pack::Bytes;

constexpr const char* kUsage =
    "usage: zephlet-pack --player PROGRAM --settings SETTINGS.ini --gif CHARACTER.gif\n"
    "                    [--regions REGIONS.bin] [--sound EFFECT.wav] [--music MUSIC]\n"
    "                    --output PLAYER.exe\n"
    "Appends the character to a copy of the player program and fills the size keys\n"
    "of the settings (GifSize, RgnAllSize, RgnNum, Rgn<n>, SndSize, BGMusicSize).\n";

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return bytes;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  std::string player, settings, gif, regions, sound, music, output;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    std::string* target = nullptr;
    if (arg == "--player")
      target = &player;
    else if (arg == "--settings")
      target = &settings;
    else if (arg == "--gif")
      target = &gif;
    else if (arg == "--regions")
      target = &regions;
    else if (arg == "--sound")
      target = &sound;
    else if (arg == "--music")
      target = &music;
    else if (arg == "--output" || arg == "-o")
      target = &output;
    else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (target == nullptr || i + 1 >= argc) {
      std::cerr << "zephlet-pack: unexpected argument '" << arg << "'\n" << kUsage;
      return 2;
    }
    *target = argv[++i];
  }
  if (player.empty() || settings.empty() || gif.empty() || output.empty()) {
    std::cerr << "zephlet-pack: --player, --settings, --gif and --output are required\n" << kUsage;
    return 2;
  }
  try {
    zephlet::pack::PlayerFileParts parts;
    parts.program = ReadFile(player);
    const Bytes text = ReadFile(settings);
    parts.settings.assign(text.begin(), text.end());
    parts.gif = ReadFile(gif);
    if (!regions.empty()) parts.regions = zephlet::pack::SplitRegionData(ReadFile(regions));
    if (!sound.empty()) parts.sound = ReadFile(sound);
    if (!music.empty()) parts.music = ReadFile(music);
    WriteFile(output, zephlet::pack::BuildPlayerFile(parts));
  } catch (const std::exception& error) {
    std::cerr << "zephlet-pack: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
