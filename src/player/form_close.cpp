// Shutdown: the window's close handler and the form's destroy handler.
#include "animation/region_table.h"
#include "player/file_io.h"
#include "player/form.h"
#include "player/player_settings.h"
#include "player/player_state.h"

namespace zephlet {

void TFrmMain::FormClose() {
  ReleaseCharacterGif();
  // A file that cannot be deleted stays; the steps after it are skipped.
  if (!DeleteFileIfExists(SettingsFileName)) return;
  if (!DeleteFileIfExists(GifFileName)) return;
  if (PlayerSettings.BGMusic) {
    CloseMusic();
    if (!DeleteFileIfExists(MusicFileName)) return;
    DeleteFileIfExists(MusicReserveFileName);
  }
}

void TFrmMain::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  SoundClip.clear();
  SoundClip.shrink_to_fit();
  StopAnimation();
  StopImagePainters();
  ReleaseCaptureBitmaps();
  RegionTable.clear();
  RegionTable.shrink_to_fit();
  ReleaseMoveWorker();
}

}  // namespace zephlet
