// The character window's cursor and start position.
#include "player/form.h"

namespace zephlet {

// Cursor number of the hand cursor given to the character control.
constexpr int kHandCursor = 100;

void TFrmMain::RegisterHandCursor() {
  AnimatedImage.Cursor = kHandCursor;
}

// The window stays at the top-left corner until placement by StartPosition is built.
void TFrmMain::PlaceWindow() {}

}  // namespace zephlet
