// The player's own error classes. Their messages are shown to the user as they
// stand (see ShowStartupError), so the texts are fixed.
#pragma once

#include <stdexcept>
#include <string>

namespace zephlet {

class PlayerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file could not be opened for reading.
class FileOpenError : public PlayerError {
 public:
  explicit FileOpenError(const std::string& path) : PlayerError("Cannot open file " + path) {}
};

// A file could not be created or written.
class FileCreateError : public PlayerError {
 public:
  explicit FileCreateError(const std::string& path) : PlayerError("Cannot create file " + path) {}
};

// A read ran past the end of a file or stream.
class StreamReadError : public PlayerError {
 public:
  StreamReadError() : PlayerError("Stream read error") {}
};

}  // namespace zephlet
