#include "gif/gif_object.h"

namespace zephlet {

int PercentOf(int64_t a, int64_t b) {
  if (b <= 0 || a <= 0) return 0;
  if (a >= b) return 100;
  return static_cast<int>((a * 100 + b / 2) / b);
}

}  // namespace zephlet
