#include "gif/gif_error.h"

namespace zephlet {

ListIndexError::ListIndexError(long long index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

FileOpenError::FileOpenError(const std::string& file_name)
    : std::runtime_error("Cannot open file \"" + file_name + "\"") {}

void RaiseGIFError(const std::string& message) {
  throw GIFException(message);
}

}  // namespace zephlet
