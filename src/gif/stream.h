// The byte streams the GIF readers work on: read up to n bytes, move the position
// (also past the end, where reads give nothing), and ask the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace zephlet {

class Stream {
 public:
  virtual ~Stream() = default;
  // Reads up to `count` bytes and returns how many were read (0 at or past the end).
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes `count` bytes at the position; streams that cannot write return 0.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  virtual int64_t Position() const = 0;
  // Any position is accepted; before 0 it is taken as 0.
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t Size() const = 0;

  void Seek(int64_t delta) { SetPosition(Position() + delta); }
  // Bytes between the position and the end, 0 when the position is past the end.
  int64_t Remaining() const;
};

// Reads one byte; false when the stream has ended.
bool ReadByte(Stream& stream, uint8_t& value);
// Reads exactly `count` bytes or raises "Premature end of data".
void ReadExact(Stream& stream, void* buffer, size_t count);
void WriteBytes(Stream& stream, const void* buffer, size_t count);
void WriteByte(Stream& stream, uint8_t value);

// A read-only view of bytes the caller keeps alive.
class ByteViewStream : public Stream {
 public:
  ByteViewStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit ByteViewStream(const std::vector<uint8_t>& bytes)
      : ByteViewStream(bytes.data(), bytes.size()) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t Size() const override { return static_cast<int64_t>(size_); }

 private:
  const uint8_t* data_;
  size_t size_;
  int64_t position_ = 0;
};

// A growable in-memory stream that owns its bytes.
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int64_t position_ = 0;
};

// A file opened for reading; raises FileOpenError when it cannot be opened.
class FileReadStream : public Stream {
 public:
  explicit FileReadStream(const std::string& file_name);
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t Size() const override { return size_; }

 private:
  std::filebuf file_;
  int64_t size_ = 0;
  int64_t position_ = 0;
  int64_t file_position_ = 0;  // where the file buffer stands
};

}  // namespace zephlet
