// The background music's place in start-up and shutdown. Playback through the
// media device is not built yet: the music file is written and deleted only.
#include "player/form.h"

namespace zephlet {

void TFrmMain::StartMusic() {}
void TFrmMain::CloseMusic() {}

}  // namespace zephlet
