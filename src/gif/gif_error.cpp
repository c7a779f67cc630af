#include "gif/gif_error.h"

namespace zephlet {

ListIndexError::ListIndexError(long long index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

void RaiseGIFError(const std::string& message) {
  throw GIFException(message);
}

}  // namespace zephlet
