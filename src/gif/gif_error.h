// Errors of the GIF unit. GIFException carries the unit's fixed English messages;
// the other classes stand for the platform errors the reader can raise.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

#include "runtime/file_errors.h"

namespace zephlet {

// The platform's invalid-graphic error, base of every GIF error.
class InvalidGraphicError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class GIFException : public InvalidGraphicError {
 public:
  using InvalidGraphicError::InvalidGraphicError;
};

// The platform's out-of-memory error. Raised, without attempting the allocation, when a
// pixel buffer would pass the limits of gif_limits.h; real allocation failures arrive as
// std::bad_alloc, which this class also is.
class OutOfMemoryError : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "Out of memory"; }
};

// The platform's list-index error: an item index outside a list.
class ListIndexError : public std::out_of_range {
 public:
  explicit ListIndexError(long long index);
};

[[noreturn]] void RaiseGIFError(const std::string& message);

// The unit's messages, word for word.
namespace gif_msg {
inline constexpr const char* kInvalidSignature = "Invalid GIF signature";
inline constexpr const char* kPrematureEnd = "Premature end of data";
inline constexpr const char* kCircularTable = "Circular decoder table entry";
inline constexpr const char* kUnknownBlockType = "Unknown GIF block type";
inline constexpr const char* kImageExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* kBitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* kInvalidTrailer = "Invalid Image trailer";
inline constexpr const char* kInvalidColorIndex = "Invalid color index";
inline constexpr const char* kEmptyColorTable = "Color table is empty";
inline constexpr const char* kUnsupportedObject = "Object type not supported for operation";
inline constexpr const char* kUnknownExtension = "Unknown extension type";
inline constexpr const char* kUnsupportedAppBlockSize =
    "Unsupported Application Extension block size";
inline constexpr const char* kInvalidData = "Invalid GIF data";
inline constexpr const char* kInvalidIntroducer = "Invalid extension introducer";
inline constexpr const char* kExtensionLabelMismatch =
    "Internal error: Extension Instance does not match Extension Label";
// Our own: image data whose minimum code size is 12 or more cannot be decoded.
inline constexpr const char* kInvalidCodeSize = "Invalid LZW code size";
// Our own: frame writing belongs to the writing half of the unit, which is not built.
inline constexpr const char* kWriteNotSupported = "Writing image data is not supported";
}  // namespace gif_msg

}  // namespace zephlet
