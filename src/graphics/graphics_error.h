// The error raised by the graphics layer for bad sizes, bad image bytes and misuse.
#pragma once

#include <stdexcept>
#include <string>

namespace zephlet::graphics {

class GraphicsError : public std::runtime_error {
 public:
  explicit GraphicsError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zephlet::graphics
