// The "Run on startup" item's check mark at start-up.
#include "player/form.h"

namespace zephlet {

// The registry's Run value is not read yet: the item starts unchecked.
void TFrmMain::CheckRunOnStartupItem() {}

}  // namespace zephlet
