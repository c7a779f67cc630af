// The movement worker's place in start-up and shutdown. The worker itself and
// its movers are not built yet: the character stands where it was placed.
#include "player/form.h"

namespace zephlet {

void TFrmMain::CreateMoveWorker() {}
void TFrmMain::StartMoving() {}
void TFrmMain::ReleaseMoveWorker() {}

}  // namespace zephlet
