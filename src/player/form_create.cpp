// The start-up sequence of the character's form.
#include <exception>

#include "player/form.h"
#include "player/player_state.h"
#include "runtime/random.h"

namespace zephlet {

void TFrmMain::FormCreate() {
  runtime::Randomize();
  CreateMoveWorker();
  RegisterHandCursor();
  HookScreenAreaItems();
  CheckScreenAreaItem();
  CheckRunOnStartupItem();
  BeginSoundPending = true;
  Visible = false;
  AddDirectPaintOption();
  PrepareCapture();
  try {
    ReadPayload();
  } catch (const std::exception& error) {
    // The user learns why the character does not show; the player then ends
    // instead of staying behind without a window.
    ShowStartupError(error.what());
    Close();
    return;
  }
  // After a start-up failure closed the window nothing more is started.
  if (closed_) return;
  StartMusic();
  PlaceWindow();
  StartMoving();
}

void TFrmMain::PrepareCapture() {
  CapturedFrames = 0;
  StripReady = false;
}

}  // namespace zephlet
