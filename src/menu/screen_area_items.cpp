// The Screen Area items of the popup menu.
#include "player/form.h"

namespace zephlet {

void TFrmMain::HookScreenAreaItems() {
  for (TMenuItem* item : MenuItems())
    if (item->Tag >= 1000 && item->Tag <= 1999)
      item->OnClick = [this](TMenuItem& sender) { ScreenAreaClick(sender); };
}

// Display modes are not switched yet: no item is checked and a click does nothing.
void TFrmMain::CheckScreenAreaItem() {}
void TFrmMain::ScreenAreaClick(TMenuItem&) {}

}  // namespace zephlet
