// X key symbols -> Windows virtual-key codes. Letters map to their upper-case
// ASCII code and digits to theirs, as VK_ codes do.
#include <X11/keysym.h>

#include "x11/x11_backend.h"

namespace skinui {
namespace x11 {

std::uint32_t VirtualKeyFor(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<std::uint32_t>(sym - XK_a + 'A');
  if (sym >= XK_A && sym <= XK_Z) return static_cast<std::uint32_t>(sym);
  if (sym >= XK_0 && sym <= XK_9) return static_cast<std::uint32_t>(sym);
  if (sym >= XK_F1 && sym <= XK_F12) return static_cast<std::uint32_t>(0x70 + (sym - XK_F1));
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return static_cast<std::uint32_t>(0x60 + (sym - XK_KP_0));
  switch (sym) {
    case XK_BackSpace: return kVkBack;
    case XK_Tab:
    case XK_ISO_Left_Tab: return kVkTab;
    case XK_Return:
    case XK_KP_Enter: return kVkReturn;
    case XK_Shift_L:
    case XK_Shift_R: return kVkShift;
    case XK_Control_L:
    case XK_Control_R: return kVkControl;
    case XK_Alt_L:
    case XK_Alt_R: return kVkMenu;
    case XK_Escape: return kVkEscape;
    case XK_space: return kVkSpace;
    case XK_Prior: return kVkPrior;
    case XK_Next: return kVkNext;
    case XK_End: return kVkEnd;
    case XK_Home: return kVkHome;
    case XK_Left: return kVkLeft;
    case XK_Up: return kVkUp;
    case XK_Right: return kVkRight;
    case XK_Down: return kVkDown;
    case XK_Insert: return kVkInsert;
    case XK_Delete:
    case XK_KP_Delete: return kVkDelete;
    default: return 0;
  }
}

}  // namespace x11
}  // namespace skinui
