#include "gif_oracle/decoded_gif.h"

#include <fstream>
#include <iterator>

namespace zephlet::oracle {

std::ostream& operator<<(std::ostream& out, DecodeOutcome outcome) {
  switch (outcome) {
    case DecodeOutcome::Loaded:
      return out << "loaded";
    case DecodeOutcome::GifError:
      return out << "GIFException";
    case DecodeOutcome::OutOfMemory:
      return out << "out of memory";
    case DecodeOutcome::OtherError:
      return out << "other error";
  }
  return out;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

}  // namespace zephlet::oracle
