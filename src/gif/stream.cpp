#include "gif/stream.h"

#include <algorithm>
#include <cstring>

#include "gif/gif_error.h"

namespace zephlet {

int64_t Stream::Remaining() const {
  const int64_t left = Size() - Position();
  return left > 0 ? left : 0;
}

bool ReadByte(Stream& stream, uint8_t& value) {
  return stream.Read(&value, 1) == 1;
}

void ReadExact(Stream& stream, void* buffer, size_t count) {
  if (count != 0 && stream.Read(buffer, count) != count) RaiseGIFError(gif_msg::kPrematureEnd);
}

void WriteBytes(Stream& stream, const void* buffer, size_t count) {
  if (count != 0 && stream.Write(buffer, count) != count) {
    RaiseGIFError("Stream write error");
  }
}

void WriteByte(Stream& stream, uint8_t value) {
  WriteBytes(stream, &value, 1);
}

namespace {

// Copies up to `count` bytes of `data` (of `size` bytes) from `position` on.
size_t CopyOut(const uint8_t* data, size_t size, int64_t& position, void* buffer, size_t count) {
  if (position >= static_cast<int64_t>(size)) return 0;
  const size_t at = static_cast<size_t>(position);
  const size_t n = std::min(count, size - at);
  if (n != 0) std::memcpy(buffer, data + at, n);
  position += static_cast<int64_t>(n);
  return n;
}

}  // namespace

size_t ByteViewStream::Read(void* buffer, size_t count) {
  return CopyOut(data_, size_, position_, buffer, count);
}

size_t MemoryStream::Read(void* buffer, size_t count) {
  return CopyOut(bytes_.data(), bytes_.size(), position_, buffer, count);
}

size_t MemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  const auto end = static_cast<uint64_t>(position_) + count;
  if (end > bytes_.max_size()) return 0;
  if (end > bytes_.size()) bytes_.resize(static_cast<size_t>(end));
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ = static_cast<int64_t>(end);
  return count;
}

FileReadStream::FileReadStream(const std::string& file_name) {
  if (file_.open(file_name, std::ios::in | std::ios::binary) == nullptr) {
    throw FileOpenError(file_name);
  }
  const auto end = file_.pubseekoff(0, std::ios::end, std::ios::in);
  if (end == std::streampos(std::streamoff(-1))) {
    file_.close();
    throw FileOpenError(file_name);
  }
  size_ = static_cast<int64_t>(std::streamoff(end));
  file_position_ = size_;
}

size_t FileReadStream::Read(void* buffer, size_t count) {
  if (count == 0 || position_ >= size_) return 0;
  if (file_position_ != position_) {
    if (file_.pubseekpos(std::streamoff(position_), std::ios::in) ==
        std::streampos(std::streamoff(-1))) {
      return 0;
    }
    file_position_ = position_;
  }
  const int64_t left = size_ - position_;
  const auto want = static_cast<std::streamsize>(
      std::min<int64_t>(static_cast<int64_t>(std::min<size_t>(count, 0x40000000)), left));
  const std::streamsize got = file_.sgetn(static_cast<char*>(buffer), want);
  if (got <= 0) return 0;
  position_ += got;
  file_position_ = position_;
  return static_cast<size_t>(got);
}

}  // namespace zephlet
