// The painter's event type: a handler receives the painter as sender.
#pragma once

#include <functional>

namespace zephlet {

class TGIFPainter;

using PainterEvent = std::function<void(TGIFPainter* sender)>;

}  // namespace zephlet
