// The player file read as a payload container: pieces are found from the end
// of the file, each by its first byte and its length.
//
//   ... player program ... | SoundClip | MusicClip | RegionBlock | GifBlock |
//   SettingsText | SettingsLength (4 bytes, little-endian, 0 to 2^31 - 1)
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zephlet {

class PayloadFile {
 public:
  // Opens `path` for reading; throws FileOpenError when it cannot.
  explicit PayloadFile(const std::string& path);
  ~PayloadFile();
  PayloadFile(const PayloadFile&) = delete;
  PayloadFile& operator=(const PayloadFile&) = delete;

  int64_t Size() const { return size_; }

  // The last four bytes as a signed little-endian number; StreamReadError when
  // the file is shorter than four bytes.
  int32_t ReadTrailingLength();

  // Exactly `length` bytes from `start`. StreamReadError, before anything is
  // allocated, when the range does not lie wholly inside the file.
  std::vector<uint8_t> Read(int64_t start, int64_t length);

  // Whether the range lies wholly inside the file.
  bool Contains(int64_t start, int64_t length) const;

 private:
  std::FILE* file_ = nullptr;
  int64_t size_ = 0;
};

}  // namespace zephlet
