// The form's small components as the player uses them: menu items, timers and
// the character control's hint. The Win32 backend gives them their face.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zephlet {

struct TMenuItem {
  std::string Name;
  std::string Caption;
  int Tag = 0;
  bool Visible = true;
  bool Enabled = true;
  bool Checked = false;
  bool RadioItem = false;
  std::function<void(TMenuItem& sender)> OnClick;
  std::vector<TMenuItem*> Items;  // submenu, in menu order

  void Click() {
    if (OnClick) OnClick(*this);
  }
};

struct TTimer {
  bool Enabled = false;
  uint32_t Interval = 1000;
  std::function<void()> OnTimer;
};

// What the player sets on the character control besides its pictures.
struct TCharacterControl {
  std::string Hint;
  bool ShowHint = false;
  int Cursor = 0;
};

}  // namespace zephlet
