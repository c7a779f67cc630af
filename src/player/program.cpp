#include "player/program.h"

#include <memory>

#include "gif/frame_bitmap.h"
#include "platform/platform.h"
#include "player/form.h"
#include "runtime/synchronize.h"

namespace zephlet {

int RunPlayer() {
  Platform& platform = ThePlatform();
  runtime::SetMainThread();
  platform.SetApplicationTitle(kApplicationTitle);
  // The GIF unit dithers frames only for a display of 256 colours or fewer.
  SetDisplayColorDepth(platform.DisplayBitsPerPixel());

  auto form = std::make_unique<TFrmMain>();
  FrmMain = form.get();
  FormWindowEvents events;
  events.on_close = [] {
    if (FrmMain != nullptr) FrmMain->Close();
  };
  platform.CreateFormWindow(events);
  FrmMain->FormCreate();
  if (!FrmMain->Closed()) platform.RunMessageLoop();

  FrmMain->FormDestroy();
  platform.DestroyFormWindow();
  runtime::CloseHandOvers();
  FrmMain = nullptr;
  return 0;
}

}  // namespace zephlet
