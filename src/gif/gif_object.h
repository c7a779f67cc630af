// The common base of everything that can report a warning or progress, and the event types.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zephlet {

// Base of the image, its items, lists and colour maps: the sender of events.
class TGIFObject {
 public:
  TGIFObject() = default;
  TGIFObject(const TGIFObject&) = delete;
  TGIFObject& operator=(const TGIFObject&) = delete;
  virtual ~TGIFObject() = default;
};

enum class ProgressStage : uint8_t { Starting, Running, Ending };

// The rectangle handed to progress handlers; the GIF unit always passes an empty one.
struct ProgressRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// OnGIFWarning: (Sender, Severity, Message). The reader always passes severity 1.
using GIFWarningEvent =
    std::function<void(TGIFObject* sender, int severity, const std::string& message)>;

// The graphic's progress notification: (Sender, Stage, Percent 0-100, RedrawNow, Rect, Message).
using ProgressEvent =
    std::function<void(TGIFObject* sender, ProgressStage stage, int percent, bool redraw_now,
                       const ProgressRect& rect, const std::string& message)>;

// The graphic's change notification.
using ChangeEvent = std::function<void(TGIFObject* sender)>;

// a x 100 / b rounded to the nearest integer, kept within 0 to 100; 0 when b is not positive.
int PercentOf(int64_t a, int64_t b);

}  // namespace zephlet
