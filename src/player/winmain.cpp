// The Windows player's entry point.
#include <windows.h>

#include "player/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return zephlet::RunPlayer();
}
