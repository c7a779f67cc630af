// A headless desktop with a player file on it, for tests that start the player.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "player/form.h"
#include "player/player_state.h"

namespace zephlet::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// A one-pixel GIF (35 bytes), padded after its trailer to `size` bytes.
inline Bytes TinyGif(size_t size = 35) {
  Bytes gif = {'G',  'I', 'F',  '8',  '9', 'a', 1, 0, 1, 0,
               0x80, 0,   0,                                 // 1 x 1, a global map of 2 colours
               0,    0,   0,    255,  255, 255,              // black, white
               0x2C, 0,   0,    0,    0,   1,   0, 1, 0, 0,  // one frame at (0, 0), 1 x 1
               2,    2,   0x44, 0x01, 0,                     // LZW: clear, index 1, end
               0x3B};                                        // trailer
  if (gif.size() < size) gif.resize(size, 0);
  return gif;
}

// A payload laid out by hand, so that tests can give sizes the pieces do not have.
inline Bytes Concat(std::initializer_list<Bytes> pieces) {
  Bytes out;
  for (const Bytes& piece : pieces) out.insert(out.end(), piece.begin(), piece.end());
  return out;
}

inline Bytes LittleEndian32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

// program bytes + pieces + settings text + its length
inline Bytes PlayerFile(const Bytes& program, const Bytes& pieces, const std::string& settings) {
  return Concat(
      {program, pieces, ToBytes(settings), LittleEndian32(static_cast<uint32_t>(settings.size()))});
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Headless().Reset();
    ResetPlayerState();
    char pattern[] = "/tmp/zephlet-player-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    program_dir_ = pattern;
    headless::Headless().own_path = program_dir_ + "/character.exe";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(program_dir_, ignored);
    FrmMain = nullptr;
  }

  headless::HeadlessPlatform& platform() { return headless::Headless(); }

  void WriteOwnFile(const Bytes& bytes) {
    std::FILE* f = std::fopen(platform().own_path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  static Bytes ReadFile(const std::string& path) {
    Bytes bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
  }

  std::string program_dir_;
};

}  // namespace zephlet::testing
