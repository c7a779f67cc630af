// Errors of file and stream access, shared by the player and the GIF unit.
// Their messages are shown to the user as they stand.
#pragma once

#include <stdexcept>
#include <string>

namespace zephlet {

// A file could not be opened for reading.
class FileOpenError : public std::runtime_error {
 public:
  explicit FileOpenError(const std::string& path)
      : std::runtime_error("Cannot open file " + path) {}
};

// A file could not be created or written.
class FileCreateError : public std::runtime_error {
 public:
  explicit FileCreateError(const std::string& path)
      : std::runtime_error("Cannot create file " + path) {}
};

// A read ran past the end of a file or stream.
class StreamReadError : public std::runtime_error {
 public:
  StreamReadError() : std::runtime_error("Stream read error") {}
};

}  // namespace zephlet
